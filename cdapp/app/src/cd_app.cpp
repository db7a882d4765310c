// The application object of CD: the recent-file list, the start-up picture and the main window.
#include <wx/app.h>
#include <wx/config.h>
#include <wx/filehistory.h>

#include "cd_images.h"
#include "cd_main_frame.h"
#include "controls/wx/notice_dialogs.h"

namespace cd::app {

using namespace cd::core;
using namespace cd::views;

class CCDApp : public wxApp {
 public:
  bool OnInit() override {
    if (!wxApp::OnInit()) return false;
    wxConfigBase::Set(new wxConfig("Local AppWizard-Generated Applications"));
    history_.Load(*wxConfigBase::Get());
    if (controls::SplashWanted()) {
      controls::CSplashDlg splash(nullptr, CdSplashPicture(), controls::kCdSplashTime);
      splash.ShowModal();
    }
    auto* frame = new CMainFrame();
    SetTopWindow(frame);
    frame->SetTitle("Quarvel Velnora CDROM (For ISO9660/JOLIET File System)");
    frame->Show(true);
    frame->Centre();
    return true;
  }

  int OnExit() override {
    if (wxConfigBase* config = wxConfigBase::Get(false)) history_.Save(*config);
    return wxApp::OnExit();
  }

 private:
  wxFileHistory history_{4};
};

}  // namespace cd::app

wxIMPLEMENT_APP(cd::app::CCDApp);

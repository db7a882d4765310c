// The start-up sequence of the program.
#include "start_up.h"

#include <wx/app.h>
#include <wx/config.h>

#include "app_images.h"
#include "controls/wx/notice_dialogs.h"
#include "main_frame.h"

namespace ext2::app {

using namespace ext2::core;
using namespace ext2::views;

CMainFrame* StartUserInterface(wxFileHistory& history) {
  delete wxConfigBase::Set(new wxConfig(kProfileKey));
  history.Load(*wxConfigBase::Get());
  if (controls::SplashWanted()) {
    controls::CSplashDlg notice(nullptr, ProgramPicture(wxSize(326, 231)), controls::kVelnoraSplashTime);
    notice.ShowModal();
  }
  auto* frame = new CMainFrame();
  frame->Maximize(true);
  frame->Show(true);
  wxTheApp->SetTopWindow(frame);
  frame->SetTitle(kWindowTitle);
  return frame;
}

}  // namespace ext2::app

// The application object of Quarvel Velnora FAT: settings, profile, splash and the main window.
#include <wx/app.h>
#include <wx/config.h>
#include <wx/dcmemory.h>
#include <wx/filehistory.h>

#include <chrono>

#include "controls/wx/notice_dialogs.h"
#include "ext2engine/app_state.h"
#include "ext2engine/settings_file.h"
#include "main_frame.h"

class CQuarvelVelnoraApp : public wxApp {
 public:
  CQuarvelVelnoraApp() { ReadSettings(SettingsPath(), App()); }

  bool OnInit() override {
    if (!wxApp::OnInit()) return false;
    wxConfigBase::Set(new wxConfig("Local AppWizard-Generated Applications"));
    history_.Load(*wxConfigBase::Get());
    if (!wxGetEnv("QUARVEL_NO_SPLASH", nullptr)) ShowSplash();
    auto* frame = new CMainFrame();
    frame->Maximize(true);
    frame->Show(true);
    SetTopWindow(frame);
    frame->SetTitle("Quarvel Velnora Linux 2.1");
    return true;
  }

  int OnExit() override {
    if (wxConfigBase* config = wxConfigBase::Get(false)) history_.Save(*config);
    return wxApp::OnExit();
  }

 private:
  void ShowSplash() {
    wxBitmap picture(420, 220);
    {
      wxMemoryDC dc(picture);
      dc.SetBackground(wxBrush(wxColour(20, 50, 110)));
      dc.Clear();
      dc.SetTextForeground(*wxWHITE);
      dc.SetFont(wxFontInfo(20).Bold());
      dc.DrawText("Quarvel Velnora Linux 2.1", 30, 70);
      dc.SetFont(wxFontInfo(11));
      dc.DrawText("Data Recovery Software for Linux (Ext2,Ext3 File System)", 30, 120);
    }
    controls::CSplashDlg splash(nullptr, picture, std::chrono::milliseconds(2000));
    splash.ShowModal();
  }

  wxFileHistory history_{4};
};

wxIMPLEMENT_APP(CQuarvelVelnoraApp);

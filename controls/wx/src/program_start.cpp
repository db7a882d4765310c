// The start and end of a program's user interface.
#include "controls/wx/program_start.h"

#include <wx/config.h>

#include "controls/wx/notice_dialogs.h"

namespace controls {

wxFrame* CProgramStart::Start() {
  delete wxConfigBase::Set(new wxConfig(how_.profile));
  history_.Load(*wxConfigBase::Get());
  if (SplashWanted()) {
    CSplashDlg splash(nullptr, how_.splashPicture(), how_.splashTime);
    splash.ShowModal();
  }
  wxFrame* frame = how_.makeFrame();
  wxTheApp->SetTopWindow(frame);
  frame->SetTitle(how_.title);
  // A maximised window shows at its full size at once; a centred one is centred once shown.
  if (how_.placement == WindowPlacement::Maximised) {
    frame->Maximize(true);
    frame->Show(true);
  } else {
    frame->Show(true);
    frame->Centre();
  }
  return frame;
}

void CProgramStart::End() {
  if (wxConfigBase* config = wxConfigBase::Get(false)) history_.Save(*config);
}

bool CProgramApp::OnInit() {
  if (!wxApp::OnInit()) return false;
  start_.Start();
  return true;
}

int CProgramApp::OnExit() {
  start_.End();
  return wxApp::OnExit();
}

}  // namespace controls

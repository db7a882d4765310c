// The CD main window's commands and prompts that run a dialog of their own.
#include "cd_app_state.h"
#include "cd_dialogs.h"
#include "cd_main_frame.h"

namespace cd::app {

using namespace cd::core;
using namespace cd::views;

void CMainFrame::RunSelectDriveDialog(const std::vector<std::string>& drives) {
  RunSelectDriveDlg(this, CdApp(), drives);
}

void CMainFrame::RunOverwriteDialog() { RunOverwriteDlg(this, CdApp(), *this); }

void CMainFrame::AddFileFilterCmd() { RunFileFilterDlg(this, *reader_); }

void CMainFrame::FindCmd() { RunFindDlg(this, *reader_, *leftView_); }

void CMainFrame::FileMaskCmd() { RunFileMaskDlg(this, *reader_, *leftView_, mask_); }

}  // namespace cd::app

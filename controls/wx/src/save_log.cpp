// Save Log: the chosen file and the checked write.
#include "controls/wx/save_log.h"

#include <wx/filedlg.h>

#include "controls/log_report.h"
#include "controls/wx/message_box.h"

namespace controls {

std::string ChooseLogPath(wxWindow* parent, const wxString& defaultName) {
  wxFileDialog save(parent, "Save Log To File", wxEmptyString, defaultName, "Text Document(*.txt)|*", wxFD_SAVE);
  if (save.ShowModal() != wxID_OK) return {};
  return save.GetPath().utf8_string();
}

bool SaveLogReport(const std::string& path, const std::string& report, const SaveLogTexts& texts) {
  const LogReportWrite written = WriteLogReport(LogReportPath(path), report);
  if (written == LogReportWrite::kWritten) return true;
  CMessageBoxDlg box(nullptr, written == LogReportWrite::kNotCreated ? texts.notCreated : texts.notWritten,
                     texts.caption, wxOK | wxICON_ERROR);
  box.ShowModal();
  return false;
}

}  // namespace controls

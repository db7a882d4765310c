// Save Log of both programs: the file dialog that picks the report's file and the write that
// tells its failure.
#pragma once

#include <string>

#include <wx/string.h>
#include <wx/window.h>

namespace controls {

// The messages of a failed save, shown in an error box (no owner) captioned CAPTION.
struct SaveLogTexts {
  wxString notCreated;  // the file cannot be made
  wxString notWritten;  // the file was made but the report could not be written whole
  wxString caption;
};

// Runs the save-file dialog "Save Log To File" proposing DEFAULT_NAME; answers the chosen path, or
// an empty one when it is cancelled.
std::string ChooseLogPath(wxWindow* parent, const wxString& defaultName);

// Writes REPORT to the file for the chosen PATH (see LogReportPath). When the file cannot be made
// or written whole, nothing is left of it and the matching message is shown. Answers whether the
// report was written.
bool SaveLogReport(const std::string& path, const std::string& report, const SaveLogTexts& texts);

}  // namespace controls

// Byte texts decoded for the windows.
#include "controls/wx/display_string.h"

#include "controls/display_text.h"

namespace controls {

wxString DisplayString(const std::string& bytes) { return wxString::FromUTF8(DisplayText(bytes)); }

wxString DisplayString(const char* bytes) { return bytes != nullptr ? DisplayString(std::string(bytes)) : wxString(); }

}  // namespace controls

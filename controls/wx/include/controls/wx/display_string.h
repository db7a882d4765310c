// A text made of bytes (a name on disk, a log row that holds one) as the windows show it: valid
// UTF-8 as it is, every other byte as the Latin-1 character of that value. wxString::FromUTF8 alone
// gives an empty string for a single invalid byte, so every window text goes through here.
#pragma once

#include <wx/string.h>

#include <string>

namespace controls {

wxString DisplayString(const std::string& bytes);
// A null text shows as an empty one.
wxString DisplayString(const char* bytes);

}  // namespace controls

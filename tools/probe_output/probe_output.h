// The probes' field escaping: a tab, newline, backslash or byte below 0x20 as \t, \n, \\ or \xHH.
#pragma once

#include <string>

namespace probe {

std::string EscapeField(const std::string& bytes);

}  // namespace probe

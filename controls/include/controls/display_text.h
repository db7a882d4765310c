// How a name made of bytes is shown in a window: valid UTF-8 as it is, every byte that is not part
// of a valid UTF-8 sequence as the Latin-1 character of that value.
#pragma once

#include <string>

namespace controls {

// Always returns valid UTF-8.
std::string DisplayText(const std::string& bytes);

}  // namespace controls

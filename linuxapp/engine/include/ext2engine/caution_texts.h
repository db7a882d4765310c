// The texts of the Caution dialog by message type.
#pragma once

#include <cstdint>

namespace ext2 {

struct CautionText {
  const char* line1;
  const char* line2;
  const char* caption;
};

// Types 0 to 3; any other type has empty texts.
CautionText CautionTextOf(std::uint8_t type);

}  // namespace ext2

// The texts of the Caution dialog by message type.
#pragma once

#include <cstdint>

namespace ext2 {

// The Caution dialog's message types, by what each warns of.
enum class CautionKind : std::uint8_t {
  LostFilesHint = 0,       // the tree is built: lost entries are found by Search Deleted and Lost
  SameDriveOverwrite = 1,  // recovering or saving onto the drive that holds the lost data
  CannotExit = 2,          // the main window is closed while a process runs
  LongProcess = 3,         // Search Deleted and Lost may take hours
};

struct CautionText {
  const char* line1;
  const char* line2;
  const char* caption;
};

// Any value outside the four kinds has empty texts.
CautionText CautionTextOf(CautionKind kind);

}  // namespace ext2

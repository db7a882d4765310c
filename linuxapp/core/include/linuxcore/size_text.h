// The Total and Marked texts of the status bar.
#pragma once

#include <cstdint>
#include <string>

namespace ext2::core {

// The megabyte of every size text the workbench shows ("MB"): 2^20 bytes.
inline constexpr std::uint64_t kMegabyte = std::uint64_t{1} << 20;

// "   Total 0 Bytes in %ld Files in %ld Folders" below 1 KiB, else "   Total %s.%s KB|MB|GB in ...",
// or the same with "Marked" when MARKED is set. The digits after the point are the decimal
// fraction of the unit, truncated to two digits for KB and three for MB and GB.
std::string FormatSizeText(std::uint64_t bytes, long files, long folders, bool marked);

}  // namespace ext2::core

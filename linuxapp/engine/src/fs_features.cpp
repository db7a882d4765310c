// Names of the incompatible features the engine does not read.
#include "ext2engine/fs_features.h"

namespace ext2 {

namespace {

// The features that leave what the engine reads as ext2 keeps it.
constexpr std::uint32_t kReadFeatures = 0x0002      // filetype
                                        | 0x0004    // needs_recovery
                                        | 0x0100    // mmp
                                        | 0x0200    // flex_bg
                                        | 0x0400    // ea_inode
                                        | 0x2000    // metadata_csum_seed
                                        | 0x4000    // large_dir
                                        | 0x20000;  // casefold

struct Feature {
  std::uint32_t bit;
  const char* name;
};
constexpr Feature kUnreadNames[] = {
    {0x0001, "compression"}, {0x0008, "journal_dev"}, {0x0010, "meta_bg"},     {0x0040, "extent"},
    {0x0080, "64bit"},       {0x1000, "dirdata"},     {0x8000, "inline_data"}, {0x10000, "encrypt"},
};

}  // namespace

std::string UnreadIncompatFeatures(std::uint32_t incompat) {
  std::string names;
  for (unsigned i = 0; i < 32; ++i) {
    const std::uint32_t bit = 1u << i;
    if ((incompat & bit) == 0 || (kReadFeatures & bit) != 0) continue;
    std::string name = "FEATURE_I" + std::to_string(i);
    for (const Feature& f : kUnreadNames) {
      if (f.bit == bit) name = f.name;
    }
    names += (names.empty() ? "" : ", ") + name;
  }
  return names;
}

}  // namespace ext2

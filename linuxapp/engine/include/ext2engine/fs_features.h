// The incompatible features of a super block (s_feature_incompat) that this engine does not read.
#pragma once

#include <cstdint>
#include <string>

namespace ext2 {

// The features of INCOMPAT whose layout the engine does not read (extents, the meta_bg descriptor
// layout, 64-bit descriptors, inline data, ...), named as e2fsprogs names them, in bit order and
// separated by ", "; a bit e2fsprogs has no name for is "FEATURE_I<bit>". Empty when the engine
// reads them all: file types in folder records, a journal waiting for recovery (an ext3 drive that
// was not unmounted), flexible groups and the rest that leave folders, inodes and block lists as
// ext2 keeps them.
std::string UnreadIncompatFeatures(std::uint32_t incompat);

}  // namespace ext2

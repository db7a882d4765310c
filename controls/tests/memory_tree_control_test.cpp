// The tree-control contract run against the in-memory model.
#include "controls/memory_tree_control.h"
#include "tree_control_contract.h"

namespace {
struct MemoryFactory {
  static std::unique_ptr<controls::TreeControl> Make() { return std::make_unique<controls::MemoryTreeControl>(); }
};
}  // namespace

using MemoryTypes = ::testing::Types<MemoryFactory>;
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, TreeControlContract, MemoryTypes);

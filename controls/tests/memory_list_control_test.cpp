// The list-control contract run against the in-memory model.
#include "controls/memory_list_control.h"

#include "list_control_contract.h"

namespace {
struct MemoryFactory {
  static std::unique_ptr<controls::ListControl> Make() { return std::make_unique<controls::MemoryListControl>(); }
};
}  // namespace

using MemoryTypes = ::testing::Types<MemoryFactory>;
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ListControlContract, MemoryTypes);

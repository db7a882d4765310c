// One libFuzzer entry per target, chosen at compile time by QV_FUZZ_TARGET.
#include "fuzz_targets.h"

using namespace fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return QV_FUZZ_TARGET(data, size);
}

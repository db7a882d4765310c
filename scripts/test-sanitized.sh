#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test there: first all
# but the window tests, then the window tests of both programs and of the shared controls under
# Xvfb. Any report fails the run. Usage: test-sanitized.sh [engine|gui] (default: both).
# Leak reports whose stack runs through the window toolkit's own libraries are suppressed by
# scripts/lsan-toolkit.supp; nothing of ours is left out. Test the class of a wx object with
# dynamic_cast: wxDynamicCast static-casts first, which UBSan reports for an object of another class.
set -euo pipefail
cd "$(dirname "$0")/.."
part=${1:-all}
jobs=$(nproc 2>/dev/null || echo 4)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BUILD_GUI=ON
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-toolkit.supp:print_suppressions=0
if [ "$part" != gui ]; then
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE gui
fi
if [ "$part" != engine ]; then
  # The GUI tests take turns on their displays (RESOURCE_LOCK); the sanitizers' options reach
  # them through xvfb-run. After the first half the fixture images are there already.
  again=()
  [ "$part" = gui ] || again=(-FS '.*')
  ctest --test-dir build-asan --output-on-failure -L gui "${again[@]}"
fi

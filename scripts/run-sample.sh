#!/usr/bin/env bash
# Builds the programs, makes the sample disk image and opens its first Linux drive.
# Until the window exists this runs the headless probe on the image and prints what it finds.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 4)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
mkdir -p build/sample
[ -f build/sample/sample-disk.img ] || bash tools/fixtures/make-sample-disk.sh build/sample/sample-disk.img
export QUARVEL_DISKS="$PWD/build/sample/sample-disk.img"
build/tools/qv-probe partitions open 0 tree

#!/usr/bin/env bash
# Builds the programs, makes the sample disk image and starts Quarvel Velnora FAT on it.
# Without a display it runs the headless probe on the image instead and prints what it finds.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 4)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
mkdir -p build/sample
[ -f build/sample/sample-disk.img ] || bash tools/fixtures/make-sample-disk.sh build/sample/sample-disk.img
export QUARVEL_DISKS="$PWD/build/sample/sample-disk.img"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/linuxapp/app/quarvel-velnora
fi
echo "run-sample: no display; the probe opens the first Linux drive of $QUARVEL_DISKS" >&2
build/tools/qv-probe partitions open 0 tree

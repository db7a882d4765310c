#!/usr/bin/env bash
# Builds the programs, makes the sample ISO image and starts CD with it as the one CD drive.
# Without a display it runs the headless probe on the image instead and prints what it finds.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 4)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
[ -f build/sample/cd/joliet.iso ] || bash tools/fixtures/cd/build_cd_fixtures.sh build/sample/cd
export QUARVEL_CDROMS="$PWD/build/sample/cd/joliet.iso"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/cdapp/app/cd-recovery
fi
echo "run-cd-sample: no display; the probe scans $QUARVEL_CDROMS" >&2
build/tools/cd_probe/cd-probe open-drive tree

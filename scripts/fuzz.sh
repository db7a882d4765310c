#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for SECONDS (default 60).
# Exits 3 when a run found something, any other non-zero status when the build failed.
# A run over one second or 256 MiB on an input is a finding, like a crash. Findings land in
# build-fuzz/findings/<target>/; store each as fuzz/regressions/<target>/<fault-name>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
jobs=$(nproc 2>/dev/null || echo 4)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON -DQV_BUILD_GUI=OFF >/dev/null
cmake --build build-fuzz -j "$jobs"
[ ${#targets[@]} -gt 0 ] || targets=($(cd build-fuzz/fuzz && ls fuzz_* | grep -v regression | sed 's/^fuzz_//'))
bash fuzz/make-seeds.sh build-fuzz/seeds "$PWD/build-fuzz/tools/qv-probe" "$PWD/build-fuzz/tools/cd_probe/cd-probe"
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  findings=build-fuzz/findings/$t
  mkdir -p "$corpus" "$findings"
  [ -d "build-fuzz/seeds/$t" ] && cp -n build-fuzz/seeds/"$t"/* "$corpus"/ 2>/dev/null || true
  dict=fuzz/dict/$(case $t in cd_*|iso_*) echo iso;; *) echo ext2;; esac).dict
  echo "== $t for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16:malloc_context_size=8 build-fuzz/fuzz/fuzz_"$t" "$corpus" -dict="$dict" -max_total_time="$seconds" \
    -timeout=1 -rss_limit_mb=256 -max_len=1048576 -artifact_prefix="$findings/" -print_final_stats=1 2>&1 |
    grep -E '^(#[0-9]+ *DONE|stat::|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' || true
done
found=$(find build-fuzz/findings -type f 2>/dev/null | head -20)
if [ -n "$found" ]; then
  echo "fuzz: findings (store each as fuzz/regressions/<target>/<fault-name> and mend it):" >&2
  echo "$found" >&2
  exit 3
fi

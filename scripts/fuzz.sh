#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for SECONDS (default 60),
# PARALLEL targets at a time (default 1). Usage: fuzz.sh [SECONDS [TARGET...]].
# With CPU_SECONDS=N a run ends once it has used N seconds of CPU, however long that takes on a
# busy machine (at most 8 N seconds); each run's CPU time is printed with its figures.
# Exits 3 when a run found something, any other non-zero status when the build failed.
# A run over one second or 256 MiB on an input is a finding, like a crash. A run goes on after a
# finding (libFuzzer's fork mode, one worker), so that SECONDS is spent in full. Findings land in
# build-fuzz/findings/<target>/; store each as fuzz/regressions/<target>/<fault-name>. The whole
# output of each run is kept in build-fuzz/logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
parallel=${PARALLEL:-1}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON -DQV_BUILD_GUI=OFF >/dev/null
cmake --build build-fuzz -j 4
[ ${#targets[@]} -gt 0 ] || targets=($(cd build-fuzz/fuzz && ls fuzz_* | grep -v regression | sed 's/^fuzz_//'))
bash fuzz/make-seeds.sh build-fuzz/seeds "$PWD/build-fuzz/tools/qv-probe" "$PWD/build-fuzz/tools/cd_probe/cd-probe"
mkdir -p build-fuzz/logs

# Clock ticks of PID from /proc/PID/stat fields FIELDS (0 once it has ended).
stat_ticks() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo 0; return; }
  awk -v f="$2" '{ n = split(f, k, ","); s = 0; for (i = 1; i <= n; i++) s += $(k[i]); print s }' <<<"$stat"
}

# CPU seconds used so far by process PID and its children and grandchildren, living and ended.
tree_cpu() {
  local pid=$1 ticks child grandchild
  ticks=$(stat_ticks "$pid" 14,15,16,17)
  for child in $(ps -o pid= --ppid "$pid" 2>/dev/null); do
    ticks=$((ticks + $(stat_ticks "$child" 14,15,16,17)))
    for grandchild in $(ps -o pid= --ppid "$child" 2>/dev/null); do
      ticks=$((ticks + $(stat_ticks "$grandchild" 14,15)))
    done
  done
  echo $((ticks / $(getconf CLK_TCK)))
}

# Ends process PID (a fork-mode fuzzer) and the job it runs. SIGINT would not do: the fuzzer
# waits for its job in system(), which ignores it.
stop_tree() {
  local below
  below=$(ps -o pid= --ppid "$1" 2>/dev/null; for c in $(ps -o pid= --ppid "$1" 2>/dev/null); do ps -o pid= --ppid "$c"; done || true)
  kill -TERM "$1" 2>/dev/null || true
  for c in $below; do kill -TERM "$c" 2>/dev/null || true; done
}

run_target() {
  local t=$1
  local corpus=build-fuzz/corpus/$t findings=build-fuzz/findings/$t
  mkdir -p "$corpus" "$findings"
  [ -d "build-fuzz/seeds/$t" ] && cp -n build-fuzz/seeds/"$t"/* "$corpus"/ 2>/dev/null || true
  local dict
  dict=fuzz/dict/$(case $t in cd_*|iso_*) echo iso;; *) echo ext2;; esac).dict
  local wall=$seconds
  [ -n "${CPU_SECONDS:-}" ] && wall=$((CPU_SECONDS * 8))
  local start=$SECONDS
  ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16:malloc_context_size=8 build-fuzz/fuzz/fuzz_"$t" "$corpus" \
    -dict="$dict" -max_total_time="$wall" -timeout=1 -rss_limit_mb=256 -max_len=1048576 \
    -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -artifact_prefix="$findings/" >"build-fuzz/logs/$t.log" 2>&1 &
  local pid=$! cpu=0
  while kill -0 "$pid" 2>/dev/null; do
    cpu=$(tree_cpu "$pid" || echo "$cpu")  # a job that ends while it is read must not end the watch
    [ -n "${CPU_SECONDS:-}" ] && [ "$cpu" -ge "$CPU_SECONDS" ] && stop_tree "$pid"
    sleep 2
  done
  wait "$pid" || true
  echo "== $t: $((SECONDS - start)) s, about $cpu CPU s: $(grep -E '^#[0-9]+: cov:' "build-fuzz/logs/$t.log" | tail -1)"
  echo "   corpus: $(find "$corpus" -type f | wc -l) inputs, $(du -sk "$corpus" | cut -f1) KiB"
  grep -E '^(==[0-9]+==ERROR|SUMMARY)' "build-fuzz/logs/$t.log" | sort | uniq -c || true
}

for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  run_target "$t" &
done
wait
found=$(find build-fuzz/findings -type f 2>/dev/null | head -20)
if [ -n "$found" ]; then
  echo "fuzz: findings (store each as fuzz/regressions/<target>/<fault-name> and mend it):" >&2
  echo "$found" >&2
  exit 3
fi

#!/usr/bin/env bash
# Times the advanced logical-drive search against dd over the same image, and Recover All of a
# 100,000-file drive against tsk_recover and debugfs rdump into a tmpfs.
#   usage: bench/ext2_search_recover.sh [PROBE] [WORKDIR]
#     PROBE    qv-probe to time (default: build/tools/qv-probe)
#     WORKDIR  where the images are built and kept between runs (default: /tmp/qv-bench)
# Images:
#   search-4g    a 4 GiB disk without partition tables holding three small ext2 drives
#   files-100k   an MBR disk with one ext2 drive of 100,000 files (1 to 4,000 bytes) in 5,000 folders
# Warm cache; the median of 3 rounds is printed, each round running every command once in turn.
# Targets: the search at least 0.8 of dd's throughput;
# Recover All no slower than the faster of tsk_recover and rdump. Not a test: nothing fails on a miss.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/tools/fixtures/lib.sh"
probe=${1:-$root/build/tools/qv-probe}
[ -x "$probe" ] || { echo "ext2_search_recover: no qv-probe at $probe" >&2; exit 2; }
command -v tsk_recover >/dev/null || { echo "ext2_search_recover: tsk_recover not found (package sleuthkit)" >&2; exit 2; }
work=${2:-/tmp/qv-bench}
shm=${QV_BENCH_SHM:-/dev/shm/qv-bench}
mkdir -p "$work" "$shm"

search="$work/search-4g.img"
if [ ! -f "$search.done" ]; then
  echo "building search-4g ..." >&2
  rm -f "$search"
  truncate -s 4G "$search"
  mkdir -p "$work/small"
  echo hello > "$work/small/file"
  for start in 63 1000001 6000007; do  # sectors: a track boundary and two odd places
    mke2fs -q -F -t ext2 -b 1024 -g 1024 -N 256 -E "offset=$((start * 512))" -d "$work/small" "$search" 8M
  done
  touch "$search.done"
fi

files="$work/files-100k.img"
if [ ! -f "$files.done" ]; then
  echo "building files-100k (a few minutes) ..." >&2
  rm -rf "$work/src-100k"
  python3 - "$work/src-100k" <<'PY'
import os, sys
out = sys.argv[1]
for d in range(5000):
    folder = os.path.join(out, "d%04d" % (d // 100), "f%04d" % d)
    os.makedirs(folder, exist_ok=True)
    for f in range(20):
        n = 1 + (d * 20 + f) * 7919 % 4000
        with open(os.path.join(folder, "file%02d.dat" % f), "wb") as fh:
            fh.write(bytes((i * 31 + f) & 0xFF for i in range(n)))
PY
  echo "start=2048, type=83" | qv_disk "$files" 1200
  mke2fs -q -F -E "offset=1048576" -t ext2 -b 4096 -I 256 -N 120000 -d "$work/src-100k" "$files" "$((1199 * 1024))k"
  rm -rf "$work/src-100k"
  touch "$files.done"
fi

python3 - "$probe" "$search" "$files" "$shm" <<'PY'
import os, shutil, statistics, subprocess, sys, time

probe, search, files, shm = sys.argv[1:]
RUNS = 3

def rounds(commands, before=None):
    """Median seconds of each command: one warm-up run each, then RUNS rounds in which every command
    runs once, back to back, so that load from other work on the machine weighs on all alike."""
    times = [[] for _ in commands]
    for r in range(RUNS + 1):
        for k, args in enumerate(commands):
            if before:
                before()
            start = time.perf_counter()
            subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
            if r > 0:
                times[k].append(time.perf_counter() - start)
    return [statistics.median(t) for t in times]

size = os.path.getsize(search)
t_probe, t_dd = rounds([[probe, "--disk", search, "search", "advanced"],
                        ["dd", "if=" + search, "of=/dev/null", "bs=32256"]])
print("advanced search over %.1f GiB: qv-probe %.2f s (%.2f GB/s), dd %.2f s (%.2f GB/s), ratio %.2f (target >= 0.8)"
      % (size / 2**30, t_probe, size / t_probe / 1e9, t_dd, size / t_dd / 1e9, t_dd / t_probe))

dest = os.path.join(shm, "out")
def fresh():
    shutil.rmtree(dest, ignore_errors=True)
    os.makedirs(dest)

t_rec, t_tsk, t_dbg = rounds([[probe, "--disk", files, "partitions", "open", "0", "recover", "all", dest],
                              ["tsk_recover", "-a", "-o", "2048", files, dest],
                              ["debugfs", "-R", "rdump / " + dest, files + "?offset=1048576"]], fresh)
shutil.rmtree(dest, ignore_errors=True)
best = min(t_tsk, t_dbg)
print("Recover All of 100,000 files: qv-probe %.2f s, tsk_recover %.2f s, debugfs rdump %.2f s; "
      "qv-probe / faster %.2f (target <= 1.0)" % (t_rec, t_tsk, t_dbg, t_rec / best))
PY

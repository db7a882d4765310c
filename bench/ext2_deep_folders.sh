#!/usr/bin/env bash
# Peak memory and time of Recover All of a chain of 8,000 folders with 250-byte names (a path of
# about 2 MB) and a file at its bottom, under a limit of 256 descriptors.
#   usage: bench/ext2_deep_folders.sh [PROBE] [WORKDIR]
#     PROBE    qv-probe to measure (default: build/tools/qv-probe)
#     WORKDIR  where the image is built and kept between runs (default: /tmp/qv-bench)
# Prints figures; not a test: nothing fails on a miss.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/tools/fixtures/lib.sh"
probe=${1:-$root/build/tools/qv-probe}
[ -x "$probe" ] || { echo "ext2_deep_folders: no qv-probe at $probe" >&2; exit 2; }
work=${2:-/tmp/qv-bench}
levels=8000
mkdir -p "$work"
img="$work/deep-$levels.img"
if [ ! -f "$img.done" ]; then
  echo "building deep-$levels ..." >&2
  rm -rf "$work/src-deep"
  # The path is far past PATH_MAX: the tree is made one relative mkdir and chdir at a time.
  python3 - "$work/src-deep" "$levels" <<'PY'
import os, sys
top, levels = sys.argv[1], int(sys.argv[2])
os.makedirs(top)
os.chdir(top)
for level in range(levels):
    name = "level %d " % level
    name += "n" * (250 - len(name))
    os.mkdir(name)
    os.chdir(name)
with open("bottom.txt", "w") as f:
    f.write("bottom\n")
PY
  echo "start=2048, type=83" | qv_disk "$img" 64
  mke2fs -q -F -E "offset=1048576" -t ext2 -b 1024 -I 128 -N 10000 -d "$work/src-deep" "$img" 63M
  rm -rf "$work/src-deep"
  touch "$img.done"
fi
dest="$work/deep-out"
rm -rf "$dest"
mkdir -p "$dest"
python3 - "$probe" "$img" "$dest" <<'PY'
import resource, subprocess, sys, time
probe, img, dest = sys.argv[1:]
def limit():
    resource.setrlimit(resource.RLIMIT_NOFILE, (256, 256))
start = time.perf_counter()
done = subprocess.run([probe, "--disk", img, "partitions", "open", "0", "recover", "all", dest],
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=limit)
seconds = time.perf_counter() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
out = subprocess.run(["find", dest, "-name", "bottom.txt"], capture_output=True).stdout
print("Recover All of a chain of 8,000 folders (250-byte names), 256 descriptors: exit %d, %.2f s, "
      "peak memory %.1f MiB, bottom file %s" % (done.returncode, seconds, peak, "written" if out else "missing"))
PY
rm -rf "$dest"

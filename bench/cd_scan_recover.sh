#!/usr/bin/env bash
# Times the CD scan and Recover All of cd-probe against its peers on Joliet + Rock Ridge images.
#   usage: bench/cd_scan_recover.sh [PROBE] [WORKDIR]
#     PROBE    cd-probe to time, built in Release (default: build-cdbench/tools/cd_probe/cd-probe)
#     WORKDIR  where the images are built and kept between runs (default: /tmp/qv-bench-cd)
# Images (genisoimage -J -r; file names fit 8.3, so no image needs ISO name mangling):
#   files-10k    10,000 files: 20 folders of 470 and one of 600
#   files-100k   100,000 files (1 to 4,000 bytes) in 1,000 folders of 100 under 10 top folders
#   folder-20k   one folder of 20,000 files
#   folder-40k   one folder of 40,000 files
# Scan: `cd-probe --cdrom IMG open-drive tree` against `isoinfo -J -l -i IMG` and `bsdtar -tf IMG`.
# Recover All: `cd-probe --cdrom IMG open-drive recover all DEST` against `7z x -oDEST IMG` and
# `bsdtar -xf IMG -C DEST`, every one into the same tmpfs DEST, cleared before each run.
# Warm cache (one untimed round first); cd-probe and its peers run in rounds, back to back, and the
# median of 5 rounds is printed, with cd-probe / fastest peer
# (target <= 1.0) and the scan time of folder-40k / folder-20k (linear in one folder: about 2).
# Not a test: nothing fails on a miss.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
probe=${1:-$root/build-cdbench/tools/cd_probe/cd-probe}
[ -x "$probe" ] || { echo "cd_scan_recover: no cd-probe at $probe" >&2; exit 2; }
for tool in genisoimage isoinfo bsdtar 7z; do
  command -v "$tool" >/dev/null || {
    echo "cd_scan_recover: $tool not found (bash scripts/install-deps.sh)" >&2
    exit 2
  }
done
work=${2:-/tmp/qv-bench-cd}
shm=${QV_BENCH_SHM:-/dev/shm/qv-bench-cd}
mkdir -p "$work" "$shm"
export SOURCE_DATE_EPOCH=1700000000

# image NAME LAYOUT: builds $work/NAME.iso from a generated tree unless it is already there.
image() {
  local name=$1 layout=$2 iso="$work/$1.iso" src="$work/src-$1"
  [ -f "$iso.done" ] && return
  echo "building $name ..." >&2
  rm -rf "$src" "$iso"
  python3 - "$src" "$layout" <<'PY'
import os, sys
out, layout = sys.argv[1], sys.argv[2]
block = bytes((i * 31) & 0xFF for i in range(4096))

def put(folder, name, size):
    with open(os.path.join(folder, name), "wb") as fh:
        fh.write(block[:size])

if layout == "10k":
    n = 0
    for d in range(20):
        folder = os.path.join(out, "d%02d" % d)
        os.makedirs(folder)
        for f in range(470):
            put(folder, "f%04d.txt" % f, len(str(n)))
            n += 1
    folder = os.path.join(out, "wide")
    os.makedirs(folder)
    for f in range(600):
        put(folder, "w%04d.dat" % f, f % 7)
elif layout == "100k":
    for d in range(1000):
        folder = os.path.join(out, "t%02d" % (d // 100), "d%04d" % d)
        os.makedirs(folder)
        for f in range(100):
            put(folder, "f%03d.dat" % f, 1 + (d * 100 + f) * 7919 % 4000)
else:  # one folder of N files
    count = int(layout)
    folder = os.path.join(out, "big")
    os.makedirs(folder)
    for f in range(count):
        put(folder, "f%05d.dat" % f, 1 + f * 7919 % 200)
PY
  find "$src" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  genisoimage -quiet -J -r -o "$iso" "$src" 2>/dev/null
  rm -rf "$src"
  touch "$iso.done"
}

image files-10k 10k
image files-100k 100k
image folder-20k 20000
image folder-40k 40000

python3 - "$probe" "$work" "$shm" <<'PY'
import os, shutil, statistics, subprocess, sys, time

probe, work, shm = sys.argv[1:]
dest = os.path.join(shm, "out")

def clear():
    shutil.rmtree(dest, ignore_errors=True)
    os.makedirs(dest)

def timed(args):
    clear()
    start = time.perf_counter()
    done = subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit("cd_scan_recover: %s exited with %d" % (" ".join(args), done.returncode))
    return elapsed

def compare(what, mine, peers, runs=5):
    # Rounds of cd-probe and each peer back to back, so that a busy machine weighs on all alike;
    # the first round warms the cache and is not counted.
    commands = dict([("cd-probe", mine)] + list(peers.items()))
    times = {name: [] for name in commands}
    for n in range(runs + 1):
        for name, args in commands.items():
            elapsed = timed(args)
            if n > 0:
                times[name].append(elapsed)
    med = {name: statistics.median(t) for name, t in times.items()}
    best_name = min(peers, key=lambda name: med[name])
    text = ", ".join("%s %.3f s" % (name, med[name]) for name in peers)
    print("  %-8s cd-probe %.3f s, %s; cd-probe / %s %.2f (target <= 1.0)"
          % (what, med["cd-probe"], text, best_name, med["cd-probe"] / med[best_name]))
    return med

scans = {}
for name in ["files-10k", "files-100k", "folder-20k", "folder-40k"]:
    img = os.path.join(work, name + ".iso")
    print("%s (%.0f MiB):" % (name, os.path.getsize(img) / 2**20))
    scans[name] = compare("scan", [probe, "--cdrom", img, "open-drive", "tree"],
                          {"isoinfo -J -l": ["isoinfo", "-J", "-l", "-i", img], "bsdtar -tf": ["bsdtar", "-tf", img]})
    compare("recover", [probe, "--cdrom", img, "open-drive", "recover", "all", dest],
            {"7z x": ["7z", "x", "-y", "-o" + dest, img], "bsdtar -xf": ["bsdtar", "-xf", img, "-C", dest]})
print("one folder, scan of 40,000 files / 20,000 files (linear: about 2, quadratic: about 4):")
print("  " + ", ".join("%s %.2f" % (tool, scans["folder-40k"][tool] / scans["folder-20k"][tool])
                       for tool in ["cd-probe", "isoinfo -J -l", "bsdtar -tf"]))
shutil.rmtree(dest, ignore_errors=True)
PY

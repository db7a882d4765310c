#!/usr/bin/env bash
# Times the directory-tree walk of qv-probe against fls of The Sleuth Kit on the same partitions.
#   usage: bench/ext2_walk.sh [PROBE] [WORKDIR]
#     PROBE    qv-probe to time (default: build-fixtures/tools/qv-probe, then build/tools/qv-probe)
#     WORKDIR  where the images are built and kept between runs (default: /tmp/qv-bench)
# Images (ext2, 4 KiB blocks, 256-byte inodes, partition at sector 2048 of an MBR disk):
#   spread-10k    10,000 empty files in 500 folders
#   spread-100k  100,000 empty files in 5,000 folders
#   flat-20k      20,000 empty files in one folder (linear, as mke2fs -d writes it)
#   flat-40k      40,000 empty files in one folder
# Each command runs once to warm the page cache, then 5 times, all of them in turn in each round
# (the machine may be shared). The medians are printed with the ratios probe/fls, 100k/10k and
# 40k/20k beside the targets (probe no slower than fls; 100k at most 12 times 10k; 40k at most 2.2
# times 20k). Not a test: nothing fails on a missed target.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/bench/lib.sh"
probe=${1:-}
if [ -z "$probe" ]; then
  for p in "$root/build-fixtures/tools/qv-probe" "$root/build/tools/qv-probe"; do
    [ -x "$p" ] && probe=$p && break
  done
fi
[ -x "${probe:-}" ] || { echo "ext2_walk: no qv-probe; build it or name it" >&2; exit 2; }
probe=$(realpath "$probe")  # the timings run in a folder of their own
command -v fls >/dev/null || { echo "ext2_walk: fls not found (package sleuthkit)" >&2; exit 2; }
work=${2:-/tmp/qv-bench}
mkdir -p "$work"

image spread-10k 160 spread --files 10000 --folders 500
image spread-100k 320 spread --files 100000 --folders 5000
image flat-20k 160 flat --files 20000
image flat-40k 160 flat --files 40000

python3 - "$probe" "$work" <<'EOF'
import os, statistics, subprocess, sys, tempfile, time

probe, work = sys.argv[1:]
RUNS = 5


def seconds(args, cwd):
    start = time.perf_counter()
    subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=cwd, check=True)
    return time.perf_counter() - start


def probe_entries(img, cwd):
    out = subprocess.run([probe, "--disk", img, "partitions", "open", "0", "tree"], capture_output=True,
                         cwd=cwd, check=True).stdout
    total = [l for l in out.split(b"\n") if l.startswith(b"TOTAL\t")]
    return int(total[0].split(b"\t")[1]) if total else -1


def fls_entries(img):
    out = subprocess.run(["fls", "-o", "2048", "-r", "-p", img], capture_output=True, check=True).stdout
    return out.count(b"\n")


NAMES = ["spread-10k", "spread-100k", "flat-20k", "flat-40k"]
with tempfile.TemporaryDirectory() as cwd:  # the probe reads Velnora.cfg from its folder
    commands = {}
    for name in NAMES:
        img = os.path.join(work, name + ".img")
        commands[name] = ([probe, "--disk", img, "partitions", "open", "0", "tree"],
                          ["fls", "-o", "2048", "-r", "-p", img])
    # One warm-up run of each, then rounds in which every command runs once, back to back, so that
    # a machine shared with other work weighs on all of them alike.
    times = {(name, tool): [] for name in NAMES for tool in (0, 1)}
    for round in range(RUNS + 1):
        for name in NAMES:
            for tool in (0, 1):
                t = seconds(commands[name][tool], cwd)
                if round > 0:
                    times[(name, tool)].append(t)
    results = {}
    print("%-12s %9s %9s %10s %10s %9s" % ("image", "entries", "fls rows", "probe s", "fls s", "probe/fls"))
    for name in NAMES:
        img = os.path.join(work, name + ".img")
        p, f = statistics.median(times[(name, 0)]), statistics.median(times[(name, 1)])
        results[name] = (p, f)
        print("%-12s %9d %9d %10.3f %10.3f %9.2f" % (name, probe_entries(img, cwd), fls_entries(img), p, f, p / f))

print()
target = lambda ok: "meets target" if ok else "MISSES target"
for big, small, limit in [("spread-100k", "spread-10k", 12.0), ("flat-40k", "flat-20k", 2.2)]:
    rp = results[big][0] / results[small][0]
    rf = results[big][1] / results[small][1]
    print("%s / %s: probe %.2f (limit %.1f, %s), fls %.2f" % (big, small, rp, limit, target(rp <= limit), rf))
slow = [n for n, (p, f) in results.items() if p > f]
print("probe no slower than fls on every image: %s" % ("yes" if not slow else "no (" + ", ".join(slow) + ")"))
EOF

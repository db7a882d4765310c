#!/usr/bin/env bash
# Times a scan and Recover All of many.iso (10,022 entries) in the CD main window against cd-probe
# on the same image, and how soon Stop ends a scan.
#   usage: bench/cd_window.sh [BUILD]
#     BUILD  build folder with tools/cd_probe/cd-probe, cdapp/app/cd-window-bench and the CD
#            fixtures in fixtures/cd (built by the tests; default: build)
# The window runs under Xvfb (Open Drive with the prompt answered OK, then Recover All); the probe
# runs "open-drive tree" and "open-drive recover all". The window is left 0.3 s to paint after it
# opens and after the scan, as a user sees it before the next click. Both write into the same
# tmpfs folder, cleared before each run. One untimed run warms the cache, then 5 runs each; medians are printed
# with window / probe (target: at most 2) and the status bar's repaints during the window's last run.
# When 7z is installed, "7z x" of the same image is timed the same way, and Recover All in the window
# is compared with it (target: at most 1).
# Not a test: nothing fails on a missed target.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build=$(cd "${1:-$root/build}" && pwd)
probe=$build/tools/cd_probe/cd-probe
window=$build/cdapp/app/cd-window-bench
img=$build/fixtures/cd/many.iso
for f in "$probe" "$window" "$img"; do
  [ -e "$f" ] || { echo "cd_window: $f missing; build and test first" >&2; exit 2; }
done
command -v xvfb-run >/dev/null || { echo "cd_window: xvfb-run not found" >&2; exit 2; }
shm=${QV_BENCH_SHM:-/dev/shm/qv-bench-cdwin}
mkdir -p "$shm"

python3 - "$probe" "$window" "$img" "$shm" <<'PY'
import os, shutil, statistics, subprocess, sys, time

probe, window, img, shm = sys.argv[1:]
RUNS = 5
dest = os.path.join(shm, "out")


def clear():
    shutil.rmtree(dest, ignore_errors=True)
    os.makedirs(dest)


def timed(args):
    clear()
    start = time.perf_counter()
    subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - start


def fields(line):
    words = line.split()
    return dict(zip(words[0::2], words[1::2]))


scan = [timed([probe, "--cdrom", img, "open-drive", "tree"]) for _ in range(RUNS + 1)][1:]
recover = [timed([probe, "--cdrom", img, "open-drive", "recover", "all", dest]) for _ in range(RUNS + 1)][1:]
sevenz = shutil.which("7z")
extract = [timed([sevenz, "x", "-y", "-o" + dest, img]) for _ in range(RUNS + 1)][1:] if sevenz else []

# One Xvfb for all window runs; its start is not part of any figure.
clear()
script = "for i in $(seq %d); do rm -rf %s/*; %s %s %s || exit 1; done" % (RUNS + 1, dest, window, img, dest)
out = subprocess.run(["xvfb-run", "-a", "sh", "-c", script], capture_output=True, text=True, check=True).stdout
rows = [fields(l) for l in out.splitlines()]
scans = [r for r in rows if "scan_seconds" in r][1:]
recovers = [r for r in rows if "recover_seconds" in r][1:]
stop = fields(subprocess.run(["xvfb-run", "-a", window, img, dest, "stop", "50"], capture_output=True, text=True,
                             check=True).stdout)
shutil.rmtree(shm, ignore_errors=True)

for what, p, w, last in (("scan", scan, [float(r["scan_seconds"]) for r in scans], scans[-1]),
                         ("recover all", recover, [float(r["recover_seconds"]) for r in recovers], recovers[-1])):
    pm, wm = statistics.median(p), statistics.median(w)
    extra = ", %s log rows" % last["log_rows"] if "log_rows" in last else ", %s entries" % last["entries"]
    print("%-11s probe %.3f s, window %.3f s (runs %s)%s, %s status-bar repaints; window / probe %.2f (target at most 2: %s)"
          % (what, pm, wm, " ".join("%.3f" % t for t in w), extra, last["status_paints"], wm / pm,
             "met" if wm / pm <= 2 else "MISSED"))
if extract:
    xm, wm = statistics.median(extract), statistics.median([float(r["recover_seconds"]) for r in recovers])
    print("7z x        %.3f s (runs %s); recover all window / 7z x %.2f (target at most 1: %s)"
          % (xm, " ".join("%.3f" % t for t in extract), wm / xm, "met" if wm <= xm else "MISSED"))
if float(stop["stop_seconds"]) < 0:
    print("Stop 50 ms into the scan: the scan had ended before (%s entries listed)" % stop["entries"])
else:
    print("Stop 50 ms into the scan: scan ended %s s later with %s entries listed (target under 1 s)"
          % (stop["stop_seconds"], stop["entries"]))
PY

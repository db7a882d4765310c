#!/usr/bin/env bash
# Times the tree build of the 100,000-file image in the main window against qv-probe on the same
# image, and how soon Stop ends the build.
#   usage: bench/workbench_tree.sh [BUILD] [WORKDIR]
#     BUILD    build folder with tools/qv-probe and linuxapp/app/qv-window-bench (default: build)
#     WORKDIR  where the image is built and kept between runs (default: /tmp/qv-bench)
# Image: spread-100k of bench/ext2_walk.sh (100,000 empty files in 5,000 folders).
# The window runs under Xvfb on the road Select Physical Disk -> Use Partition Table Information ->
# the first logical drive; the probe runs "partitions open 0 tree". Each runs once to warm the
# page cache, then 5 times; medians are printed with the ratio window/probe (target: at most 2),
# the status bar's repaints during a build (a step must not force one), and the seconds from Stop
# (chosen a quarter, half and three quarters into the build) to the end of the process (target:
# under 1). The Stop figures are taken twice: with the dialogs answered by the test hook, and with
# them shown for real and answered from their own modal loops, as a user's clicks are (the build
# then runs after those loops have ended); "stop not taken" there means the window could not take
# Stop before the build ended.
# Not a test: nothing fails on a missed target.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/bench/lib.sh"
build=$(cd "${1:-$root/build}" && pwd)
probe=$build/tools/qv-probe
window=$build/linuxapp/app/qv-window-bench
for tool in "$probe" "$window"; do
  [ -x "$tool" ] || { echo "workbench_tree: $tool missing; build it first" >&2; exit 2; }
done
command -v xvfb-run >/dev/null || { echo "workbench_tree: xvfb-run not found" >&2; exit 2; }
work=${2:-/tmp/qv-bench}
mkdir -p "$work"
image spread-100k 320 spread --files 100000 --folders 5000

python3 - "$probe" "$window" "$work/spread-100k.img" <<'PY'
import statistics, subprocess, sys, tempfile, time

probe, window, img = sys.argv[1:]
RUNS = 5


def run(args, cwd):
    return subprocess.run(args, capture_output=True, cwd=cwd, check=True, text=True).stdout


def fields(out):
    words = out.split()
    return dict(zip(words[0::2], words[1::2]))


with tempfile.TemporaryDirectory() as cwd:  # both read Velnora.cfg from their folder
    probe_args = [probe, "--disk", img, "partitions", "open", "0", "tree"]
    run(probe_args, cwd)
    probe_times = []
    for _ in range(RUNS):
        start = time.perf_counter()
        run(probe_args, cwd)
        probe_times.append(time.perf_counter() - start)

    # One Xvfb for all window runs; its start is not part of any figure.
    window_args = ["xvfb-run", "-a", "sh", "-c",
                   "for i in $(seq %d); do %s %s || exit 1; done" % (RUNS + 1, window, img)]
    rows = [fields(l) for l in run(window_args, cwd).splitlines() if l.startswith("seconds")]
    window_times = [float(r["seconds"]) for r in rows[1:]]
    # Stop a quarter, half and three quarters into a build of the median length.
    stops = []
    build_ms = statistics.median(window_times) * 1000
    for mode in ("stop", "stop-dialogs"):
        for ms in (int(build_ms / 4), int(build_ms / 2), int(build_ms * 3 / 4)):
            out = run(["xvfb-run", "-a", window, img, mode, str(ms)], cwd)
            stops.append((mode, ms, fields(out)))

p = statistics.median(probe_times)
w = statistics.median(window_times)
print("probe  tree of %s: median %.3f s (runs %s)" % (img, p, " ".join("%.3f" % t for t in probe_times)))
print("window tree, same image: median %.3f s (runs %s), %s entries, %s status-bar repaints in the last run"
      % (w, " ".join("%.3f" % t for t in window_times), rows[-1]["entries"], rows[-1]["status_paints"]))
print("window / probe: %.2f (target at most 2: %s)" % (w / p, "met" if w / p <= 2 else "MISSED"))
for mode, ms, f in stops:
    s = float(f["stop_seconds"])
    taken = f.get("stop_taken", "1") == "1"
    road = "dialogs shown" if mode == "stop-dialogs" else "test hook"
    print("Stop %d ms into the build (%s): process ended %.3f s later with %s entries listed%s (target under 1 s: %s)"
          % (ms, road, s, f["entries"], "" if taken else ", stop not taken", "met" if s < 1 and taken else "MISSED"))
PY

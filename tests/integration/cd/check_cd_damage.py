#!/usr/bin/env python3
"""Checks cd-probe on damaged discs against the undamaged disc they were made from.

  check_cd_damage.py shown PROBE IMAGE INTACT WORK [--joliet] [--names-equal]
                     [--fault FOLDER first|middle|last whole|short SHIM]
      scans IMAGE (with --fault, through the read-fault shim SHIM, which makes one sector of the
      Joliet directory FOLDER of INTACT unreadable: a read that touches it fails, or with "short" one
      that reaches into it from before delivers what lies before it) and Recover All. Every file of
      the `isoinfo -l` (or -J) listing of INTACT must be shown once (told by extent and size, as
      files listed from the other tree carry ISO 9660 names), every folder too, and every recovered
      file must hold the bytes INTACT holds at its extent, each row a success. With --names-equal
      every name must be the listed one. With --fault the log names the unreadable sector.
      Prints what was shown.
"""
import collections
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_cd import TIMEOUT, fail, fresh, isoinfo_listing, nodes, same_name  # noqa: E402


def directory_extent(image, folder):
    """Extent and sectors of the Joliet directory FOLDER of IMAGE, from its "." entry."""
    text = subprocess.run(["isoinfo", "-J", "-l", "-i", image], capture_output=True, check=True).stdout.decode("latin-1")
    lines = text.splitlines()
    header = "Directory listing of " + folder.rstrip("/") + "/"
    for i, line in enumerate(lines):
        if line == header:
            m = re.search(r"\s(\d+) \w{3} \d\d \d{4} \[\s*(\d+) \d\d\]  \. $", lines[i + 1])
            if m:
                return int(m.group(2)), (int(m.group(1)) + 2047) // 2048
    fail(f"no directory {folder} in {image}")


def cmd_shown(probe, image, intact, work, *flags):
    flags = list(flags)
    joliet = "--joliet" in flags
    env = dict(os.environ)
    bad = None
    if "--fault" in flags:
        folder, where, mode, shim = flags[flags.index("--fault") + 1:flags.index("--fault") + 5]
        extent, sectors = directory_extent(intact, folder)
        bad = extent + {"first": 0, "middle": sectors // 2, "last": sectors - 1}[where]
        env.update(LD_PRELOAD=shim, QV_FAULT_FILE=image, QV_FAULT_MODE=mode,
                   QV_FAULT_RANGES=f"{bad * 2048}-{(bad + 1) * 2048}")
        # A sanitized probe takes the shim ahead of its runtime.
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"), "verify_asan_link_order=0"]))
    fresh(work)
    result = subprocess.run([probe, "--cdrom", image, "open-drive", "tree", "recover", "all", work],
                            capture_output=True, timeout=TIMEOUT, env=env)
    if result.returncode != 0:
        fail(f"cd-probe exited {result.returncode}: {result.stderr.decode(errors='replace')}")
    output = result.stdout.decode("utf-8", errors="surrogateescape")
    ours = [n for n in nodes(output) if not (n["key"] == 0 and n["name"] == "Root")]
    listed = isoinfo_listing(intact, joliet)

    want_files = collections.Counter((e["key"], e["size"]) for e in listed if e["kind"] == "file")
    got_files = collections.Counter((n["key"], n["size"]) for n in ours if n["kind"] == "file")
    missing, extra = want_files - got_files, got_files - want_files
    folders = [n for n in ours if n["kind"] == "dir"]
    want_folders = [e for e in listed if e["kind"] == "dir"]
    names = collections.defaultdict(list)
    for e in listed:
        names[(e["key"], e["kind"])].append(e["name"])
    renamed = sum(1 for n in ours if not any(same_name(n["name"], x) for x in names.get((n["key"], n["kind"]), [])))
    print(f"shown {sum(want_files.values()) - sum(missing.values())} of {sum(want_files.values())} files, "
          f"{len(folders)} of {len(want_folders)} folders, {renamed} under ISO 9660 names")
    if missing or extra:
        fail(f"files missing {sorted(missing)[:5]}, extra {sorted(extra)[:5]}")
    if len(folders) != len(want_folders):
        fail(f"{len(folders)} folders shown, {len(want_folders)} listed")
    if "--names-equal" in flags and renamed:
        fail(f"{renamed} names differ from the listing")

    # Recovered bytes: each file node at its path below WORK/Root.
    by_key = {n["key"]: n for n in folders}
    disc = open(intact, "rb").read()
    for n in ours:
        if n["kind"] != "file":
            continue
        parts, parent = [n["name"]], n["parent"]
        while parent != 0:
            folder = by_key[parent]
            parts.insert(0, folder["name"])
            parent = folder["parent"]
        path = os.path.join(work, "Root", *parts)
        if not os.path.isfile(path) or open(path, "rb").read() != disc[n["key"] * 2048:n["key"] * 2048 + n["size"]]:
            fail(f"bytes of {path} differ from the intact disc")
    rows = [l for l in output.splitlines() if l.startswith("LOG\t") and "\tRecovering file\t" in l]
    if len(rows) != sum(want_files.values()) or any(not r.endswith("\tFile Recovered Successfully") for r in rows):
        fail(f"{len(rows)} file rows for {sum(want_files.values())} files, or a row that is not a success")
    if bad is not None and not any(f": sector {bad} cannot be read" in l for l in output.splitlines()):
        fail(f"no row names sector {bad}")


def main():
    if len(sys.argv) < 2 or sys.argv[1] != "shown":
        fail(__doc__)
    cmd_shown(*sys.argv[2:])
    print("ok")


if __name__ == "__main__":
    main()

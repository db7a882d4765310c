#!/usr/bin/env python3
"""The standard search of a disk of more than 2 TiB, read to its end.

  check_far_drive.py PROBE

The disk (sparse, built in a temporary folder and removed afterwards): 2 TiB + 9 MiB without a
partition table, an 8 MiB ext2 drive at sector 2048 (1 MiB) and a copy of it at sector
2^32 + 2048 (2 TiB + 1 MiB). The drive list holds 32-bit sectors: the first drive is listed and
opens with its tree, the far one gets a row giving its place and size, and no drive past sector
2^32 - 1 is listed.
"""
import os
import shutil
import subprocess
import sys
import tempfile

import compare_tree
import probe

NEAR = 2048
FAR = (1 << 32) + 2048
DRIVE_KIB = 8192
DISK_BYTES = (FAR << 9) + (DRIVE_KIB << 10) + (1 << 20)


def build(work):
    tree = os.path.join(work, "tree")
    os.makedirs(os.path.join(tree, "docs"))
    for i in range(20):
        with open(os.path.join(tree, "docs", "note-%02d.txt" % i), "w") as f:
            f.write("note %d\n" % i * (i + 1))
    drive = os.path.join(work, "drive.img")
    subprocess.run(["mke2fs", "-q", "-F", "-t", "ext2", "-b", "1024", "-d", tree, drive, "%dk" % DRIVE_KIB],
                   check=True, env=dict(os.environ, E2FSPROGS_FAKE_TIME="1262304000"), stderr=subprocess.DEVNULL)
    disk = os.path.join(work, "disk.img")
    with open(disk, "wb") as f:
        f.truncate(DISK_BYTES)
    for sector in (NEAR, FAR):
        subprocess.run(["dd", "if=" + drive, "of=" + disk, "bs=512", "seek=%d" % sector, "conv=notrunc,sparse",
                        "status=none"], check=True)
    return drive, disk


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    work = tempfile.mkdtemp(prefix="qv-far-")
    try:
        statvfs = os.statvfs(work)
        if statvfs.f_bavail * statvfs.f_frsize < (64 << 20):
            print("skipped: no room for the sparse disk")
            return 77
        drive, disk = build(work)
        fails = probe.Failures("standard search of a disk of 2 TiB + 9 MiB")
        run = probe.run(argv[1], [disk], ["--search-advanced-on-fail", "no", "search", "standard", "open", "0", "tree"],
                        timeout=240)
        sectors = DRIVE_KIB * 2
        fails.expect([(d[1], d[2]) for d in run.drives] == [(NEAR, NEAR + sectors)], "DRIVE rows %r" % run.drives)
        logs = run.log_texts()
        row = (3, "", "Logical drive at sector %d, %d sectors: past sector 4294967295, not listed" % (FAR, sectors))
        fails.expect(logs.count(row) == 1, "row %r not logged once: %r" % (row, logs))
        fails.expect((4, "Searching logical drive", "Search sector range 0 to %d" % (DISK_BYTES // 512)) in logs,
                     "search range not the whole disk: %r" % logs[:3])
        compare_tree.diff_rows(compare_tree.oracle(drive), compare_tree.probe_rows(run, fails), fails)
        print("search and tree: %.1f s" % run.seconds)
        return fails.report()
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))

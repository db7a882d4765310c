#!/usr/bin/env python3
"""The logical-drive search on disks without a partition table, against sfdisk and debugfs.

  check_search.py PROBE FIXTURES

Disks:
  the sample disk with its partition table wiped (sector 0 zeroed): a 20 MiB ext3 drive of one
  block group with 4 KiB blocks and as many inodes as blocks, and an ext2 drive of 1 KiB blocks;
  expected: the partitions sfdisk reads from the sample disk itself.
  a disk without a table holding one 100 MiB ext2 drive of 4 KiB blocks (one group of 25,600 of
  32,768 blocks, as many inodes as blocks) one track past a cylinder boundary (2 x 16065 + 63).
Both searches must list exactly those drives (the standard one without switching to the advanced
one: the sample disk's drives start at 1 MiB boundaries), and the tree of every drive found must
equal debugfs's walk of it.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

import compare_tree
import probe

CYLINDER = 16065
TRACK = 63


def sfdisk_drives(disk):
    parts = json.loads(subprocess.run(["sfdisk", "-J", disk], capture_output=True, check=True).stdout)
    return [(p["start"], p["start"] + p["size"]) for p in parts["partitiontable"]["partitions"]
            if int(p["type"], 16) == 0x83]


def wiped_sample(fixtures, work):
    source = os.path.join(fixtures, "sample.img")
    disk = os.path.join(work, "sample-wiped.img")
    subprocess.run(["cp", "--sparse=always", source, disk], check=True)
    with open(disk, "r+b") as f:
        f.write(bytes(512))
    return disk, sfdisk_drives(source)


def single_group_disk(work):
    first = 2 * CYLINDER + TRACK
    sectors = 100 * 2048
    disk = os.path.join(work, "single-group.img")
    tree = os.path.join(work, "single-group-tree")
    os.makedirs(os.path.join(tree, "docs"))
    for name, size in (("docs/notes.txt", 1000), ("docs/big.bin", 70000), ("top.txt", 5)):
        with open(os.path.join(tree, name), "wb") as f:
            f.write(bytes((i * 7 + size) & 0xFF for i in range(size)))
    with open(disk, "wb") as f:
        f.truncate((first + sectors + 4096) * 512)
    subprocess.run(["mke2fs", "-q", "-F", "-t", "ext2", "-b", "4096", "-E", "offset=%d" % (first * 512),
                    "-d", tree, disk, "100M"], check=True, env=dict(os.environ, E2FSPROGS_FAKE_TIME="1262304000"))
    return disk, [(first, first + sectors)]


def check(probe_path, disk, want):
    status = 0
    for kind in ("standard", "advanced"):
        fails = probe.Failures("%s search of %s finds %r" % (kind, os.path.basename(disk), want))
        run = probe.run(probe_path, [disk], ["--search-advanced-on-fail", "no", "search", kind])
        got = [(d[1], d[2]) for d in run.drives]
        fails.expect(got == want, "DRIVE rows %r, expected %r" % (run.drives, want))
        fails.expect([d[3] for d in run.drives] == [0x83] * len(run.drives), "types %r" % run.drives)
        status |= fails.report()
        if got != want:
            continue
        for row, (first, _) in enumerate(got):
            fails = probe.Failures("tree of %s drive %d found by the %s search equals debugfs"
                                   % (os.path.basename(disk), row, kind))
            run = probe.run(probe_path, [disk], ["--search-advanced-on-fail", "no", "search", kind,
                                                 "open", str(row), "tree"])
            expected = compare_tree.oracle("%s?offset=%d" % (disk, first * 512))
            compare_tree.diff_rows(expected, compare_tree.probe_rows(run, fails), fails)
            fails.expect(run.totals == [compare_tree.expected_total(expected)],
                         "TOTAL %r, expected %r" % (run.totals, [compare_tree.expected_total(expected)]))
            status |= fails.report()
    return status


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    work = tempfile.mkdtemp(prefix="qv-search-")
    try:
        status = 0
        for make in (lambda: wiped_sample(argv[2], work), lambda: single_group_disk(work)):
            disk, want = make()
            status |= check(argv[1], disk, want)
        return status
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))

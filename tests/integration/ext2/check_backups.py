#!/usr/bin/env python3
"""Drives whose first descriptor table or first super block is damaged are read from the backup
copies, against debugfs of the undamaged source and debugfs -s 8193 -b 1024 of the damaged copy.

  check_backups.py PROBE

The disk (built in a temporary folder, sparse): an MBR disk whose partition at sector 2048 holds
an ext2 drive of 36 groups of 8,192 1 KiB blocks and 16 inodes per group, so that its descriptor
table fills two blocks (fs blocks 2 and 3) and the 520 entries of its tree lie in groups 0 to 33.
  gdt-block-2, gdt-block-3   that descriptor block zeroed: every file listed and recovered, with
                             a row saying which backup was read
  no-table-no-super-block    sector 0 and the first super block zeroed: both searches list the
                             drive at sector 2048 (through the backup of group 1), and it opens
                             through that backup with every file, and its scan information,
                             saved and loaded again, is checked against that backup
"""
import os
import shutil
import subprocess
import sys
import tempfile

import compare_recovery
import compare_tree
import probe

FIRST = 2048
FS = FIRST * 512
BLOCKS = 36 * 8192


def build_source(work):
    tree = os.path.join(work, "tree")
    for d in range(40):
        folder = os.path.join(tree, "d%02d" % d)
        os.makedirs(folder)
        for f in range(12):
            with open(os.path.join(folder, "f%02d.bin" % f), "wb") as out:
                out.write(bytes((i * 7 + d + f) % 255 + 1 for i in range(1 + d * 211 + f * 97)))  # no zero block: mke2fs -d would store a hole
    disk = os.path.join(work, "source.img")
    with open(disk, "wb") as f:
        f.truncate(FS + BLOCKS * 1024)
    subprocess.run(["sfdisk", "-q", "--no-reread", "--no-tell-kernel", disk], input=b"start=2048, type=83\n",
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["mke2fs", "-q", "-F", "-t", "ext2", "-b", "1024", "-I", "128", "-N", "560",
                    "-E", "offset=%d" % FS, "-d", tree, disk, "%dk" % BLOCKS], check=True,
                   env=dict(os.environ, E2FSPROGS_FAKE_TIME="1262304000"), stderr=subprocess.DEVNULL)
    return disk


def damaged(source, work, name, spans):
    """A copy of SOURCE with the byte spans (offset, length) zeroed."""
    disk = os.path.join(work, name + ".img")
    subprocess.run(["cp", "--sparse=always", source, disk], check=True)
    with open(disk, "r+b") as f:
        for offset, length in spans:
            f.seek(offset)
            f.write(bytes(length))
    return disk


def check_descriptor_block(probe_path, source, work, block):
    disk = damaged(source, work, "gdt-block-%d" % block, [(FS + block * 1024, 1024)])
    row = (3, "", "Group descriptor block %d damaged, read from the backup of group 1" % (block - 2))
    fails = compare_tree.check_drive(probe_path, disk, 0, expected_logs=[row], oracle_disk=source)
    differences, count = compare_recovery.compare(probe_path, disk, 0, ["-s", "8193", "-b", "1024"])
    for d in differences:
        fails.add("Recover All: " + d)
    fails.expect(count > 500, "debugfs -s 8193 rdump gave only %d entries" % count)
    fails.title = "descriptor block %d zeroed: tree and Recover All from the backup table" % block
    return fails.report()


def check_backup_super_block(probe_path, source, work):
    disk = damaged(source, work, "no-table-no-super-block", [(0, 512), (FS + 1024, 1024)])
    status = 0
    want = [(FIRST, FIRST + BLOCKS * 2)]
    expected = compare_tree.oracle("%s?offset=%d" % (source, FS))
    for kind in ("standard", "advanced"):
        fails = probe.Failures("%s search of a disk without table and first super block" % kind)
        run = probe.run(probe_path, [disk], ["--search-advanced-on-fail", "no", "search", kind,
                                             "open", "0", "tree"], timeout=120)
        fails.expect([(d[1], d[2]) for d in run.drives] == want, "DRIVE rows %r, expected %r" % (run.drives, want))
        logs = run.log_texts()
        fails.expect((0, "", "Backup super block of group 1 used") in logs, "no backup row: %r" % logs)
        compare_tree.diff_rows(expected, compare_tree.probe_rows(run, fails), fails)
        status |= fails.report()

    # A scan saved from the drive opened through the backup loads against the same backup.
    fails = probe.Failures("scan information of a drive opened through its backup super block")
    scan = os.path.join(work, "backup.DAT")
    run = probe.run(probe_path, [disk], ["--search-advanced-on-fail", "no", "search", "standard", "open", "0",
                                         "save-scan", scan, "load-scan", scan], timeout=120)
    logs = run.log_texts()
    fails.expect(not any(row[1] == "Disk does not hold the saved drive" for row in logs), "warned: %r" % logs[-3:])
    fails.expect(not any("does not hold" in text for _, text in run.msgs), "message boxes: %r" % run.msgs)
    fails.expect((0, "", "Process completed successfully ") in logs, "load did not complete: %r" % logs[-3:])
    status |= fails.report()
    return status


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    work = tempfile.mkdtemp(prefix="qv-backups-")
    try:
        source = build_source(work)
        status = 0
        for block in (2, 3):
            status |= check_descriptor_block(argv[1], source, work, block)
        status |= check_backup_super_block(argv[1], source, work)
        return status
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))

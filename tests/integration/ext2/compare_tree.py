#!/usr/bin/env python3
"""The probe's entry list of a drive against debugfs's own walk of the same bytes.

  compare_tree.py PROBE DISK ROW [ROW...]

For each ROW: runs "qv-probe --disk DISK partitions open ROW tree", takes the drive's first sector
from its DRIVE line, and walks the file system at that offset with debugfs ("ls -p" of every
folder, "stat" of every inode). Asserted: Root first, then the same entries in the same
depth-first order with the same inode, parent, kind, size (0 for folders), atime, ctime, mtime
and name bytes; nothing deleted, lost or checked; the TOTAL line; the walk completed.
"""
import difflib
import sys

import probe
import ext2fixture

ROOT = (2, 0xFFFFFFFF, "dir")


def oracle(image):
    entries = ext2fixture.listing(image)
    times = ext2fixture.inode_times(image, [e.inode for e in entries])
    rows = []
    for e in entries:
        a, c, m = times[e.inode]
        rows.append((e.inode, e.parent, "dir" if e.is_dir else "file", e.size, a, c, m, e.name))
    return rows


def show(row):
    return "%s parent %s %s size %s times %s/%s/%s %r" % row


def probe_rows(run, fails):
    """The probe's entries after Root, as oracle rows; Root and the flags are checked on the way."""
    if not run.entries:
        fails.add("no ENTRY lines")
        return []
    root = run.entries[0]
    fails.expect(root[:3] == ROOT and root[10] == b"Root", "first entry is not Root: %r" % (root,))
    got = []
    for e in run.entries[1:]:
        inode, parent, kind, deleted, lost, check, size, a, c, m, name = e
        fails.expect((deleted, lost, check) == (0, 0, 0),
                     "%r: deleted/lost/check %d/%d/%d, expected 0/0/0" % (name, deleted, lost, check))
        got.append((inode, parent, kind, size, a, c, m, name))
    return got


def diff_rows(expected, got, fails):
    """Adds to FAILS every difference of two row lists: missing, unexpected or changed rows."""
    if got == expected:
        return
    key = lambda r: (r[0], r[1], r[2], r[7])
    sm = difflib.SequenceMatcher(a=[key(r) for r in expected], b=[key(r) for r in got], autojunk=False)
    for op, i1, i2, j1, j2 in sm.get_opcodes():
        if op == "equal":
            for i, j in zip(range(i1, i2), range(j1, j2)):
                if expected[i] != got[j]:
                    fails.add("entry %d differs: expected %s, probe %s" % (j + 1, show(expected[i]), show(got[j])))
            continue
        for r in expected[i1:i2]:
            fails.add("missing at %d: %s" % (j1 + 1, show(r)))
        for r in got[j1:j2]:
            fails.add("unexpected at %d: %s" % (j1 + 1, show(r)))


def expected_total(expected):
    folders = sum(1 for r in expected if r[2] == "dir")
    files = [r for r in expected if r[2] == "file"]
    return (len(expected), folders + 1, len(files), sum(r[3] for r in files))


def check_drive(probe_path, disk, row, expected_logs=(), oracle_disk=None):
    """Tree of ROW against debugfs on ORACLE_DISK (DISK itself unless given: a damaged copy is
    compared with its source); EXPECTED_LOGS are (icon, activity, text) rows that must appear."""
    fails = probe.Failures("tree of %s row %d equals debugfs" % (disk, row))
    run = probe.run(probe_path, [disk], ["partitions", "open", str(row), "tree"])
    if len(run.drives) <= row:
        fails.add("no DRIVE row %d: %r" % (row, run.drives))
        return fails
    first_sector = run.drives[row][1]
    image = "%s?offset=%d" % (oracle_disk or disk, first_sector * 512)
    expected = oracle(image)
    diff_rows(expected, probe_rows(run, fails), fails)
    fails.expect(run.totals == [expected_total(expected)],
                 "TOTAL %r, expected %r" % (run.totals, [expected_total(expected)]))
    logs = run.log_texts()
    fails.expect((0, "Creating directory tree", "Process completed") in logs, "walk did not complete: %r" % logs)
    for want in expected_logs:
        fails.expect(tuple(want) in logs, "log row %r missing" % (tuple(want),))
    legal = [m for m in run.msgs if m[0] != "Caution"]
    fails.expect(not legal, "unexpected messages %r" % legal)
    return fails


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    status = 0
    for row in argv[3:]:
        status |= check_drive(argv[1], argv[2], int(row)).report()
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Damaged file systems: the probe finishes in time with status 0 and reports what it should.

  check_hostile.py PROBE FIXTURES

Each case opens row 0 of a damaged copy (build-hostile-disks.sh) and expects one outcome:
  tree       the tree equals debugfs's listing of the undamaged source
  readable   inodes above LIMIT cannot be read: every entry reachable through readable folders is
             listed, those with readable inodes exactly as in the source, the others by inode,
             parent, kind and name only; nothing else is listed
  not-legal  the message " Not A Legal Linux Logical Drive" and an empty tree
  survives   either that message, or a completed walk listing nothing the source does not hold
  finishes   the root yields nothing, so the lost-folder search runs; only the run itself (in
             time, status 0, one TOTAL line) and the log rows are asserted
plus log rows (icon, activity, text) that must appear.
"""
import os
import sys

import compare_tree
import probe

SEARCH_STARTED = (4, "Searching for valid super block", "Process started")
SEARCH_FOUND = (0, "", "Valid super block found")
SEARCH_FAILED = (3, "", "No valid super block")
LOST_SEARCH = (4, "Searching missing file(s) and folder(s)", "Process started")
NOT_LEGAL = ("Quarvel Velnora Ext2 Ext3", " Not A Legal Linux Logical Drive")

BACKUP_SUPER_BLOCK = (0, "", "Backup super block of group 1 used")
BACKUP_DESCRIPTORS = (3, "", "Group descriptor block 0 damaged, read from the backup of group 1")


def unusable(field):
    return (3, "", "Super block unusable: " + field)


TWO_GROUPS = "tree-ext2-1k-i256.img"  # 128 inodes per group
CASES = [
    # (damaged disk, source disk, outcome, readable inode limit, log rows)
    ("fs-ipg-zero.img", TWO_GROUPS, "tree", None, [unusable("s_inodes_per_group 0"), BACKUP_SUPER_BLOCK]),
    ("fs-count-zero.img", TWO_GROUPS, "tree", None, [unusable("s_inodes_count 0"), BACKUP_SUPER_BLOCK]),
    ("fs-ipg-zero-no-backup.img", "tree-special-1k.img", "not-legal", None,
     [unusable("s_inodes_per_group 0"), SEARCH_STARTED, SEARCH_FAILED]),
    ("fs-cut-before-superblock.img", TWO_GROUPS, "not-legal", None, [SEARCH_STARTED, SEARCH_FAILED]),
    ("fs-cut-after-superblock.img", TWO_GROUPS, "not-legal", None, []),
    ("fs-cut-in-data.img", "tree-ext2-1k-i128.img", "tree", None, []),
    ("fs-cut-at-group1-itable.img", TWO_GROUPS, "readable", 128, []),
    # An inode table past the end of the disk: that descriptor block is read from group 1's copy.
    ("fs-itable1-past-disk.img", TWO_GROUPS, "tree", None, [BACKUP_DESCRIPTORS]),
    ("fs-itable0-past-disk.img", TWO_GROUPS, "tree", None, [BACKUP_DESCRIPTORS]),
    # The root cannot be read: the walk finds nothing and the lost-folder search takes over.
    ("fs-count-huge-empty-root.img", TWO_GROUPS, "finishes", None,
     [unusable("s_inodes_per_group 4294967295"), BACKUP_SUPER_BLOCK, LOST_SEARCH]),
    ("fs-count-huge.img", TWO_GROUPS, "tree", None, [unusable("s_inodes_count 4294967295"), BACKUP_SUPER_BLOCK]),
]


def source_rows(fixtures, source):
    return compare_tree.oracle("%s?offset=%d" % (os.path.join(fixtures, source), 2048 * 512))


def readable_rows(rows, limit):
    """The rows a walk can reach when inodes above LIMIT read as zeros: such a folder is listed
    but yields no children; such an entry keeps only its inode, parent, kind and name."""
    out = []
    cut = set()
    for r in rows:
        if r[1] in cut:
            if r[2] == "dir":
                cut.add(r[0])
            continue
        if r[0] > limit:
            out.append(r[:3] + ("?",) * 4 + r[7:])
            if r[2] == "dir":
                cut.add(r[0])
        else:
            out.append(r)
    return out


def check(probe_path, fixtures, disk, source, outcome, limit, logs):
    fails = probe.Failures("%s: %s" % (disk, outcome))
    run = probe.run(probe_path, [os.path.join(fixtures, disk)], ["partitions", "open", "0", "tree"])
    texts = run.log_texts()
    for want in logs:
        fails.expect(want in texts, "log row %r missing: %r" % (want, texts))
    legal_msgs = [m for m in run.msgs if m[0] != "Caution"]
    fails.expect(len(run.totals) == 1, "TOTAL lines %r" % run.totals)
    if outcome == "finishes":
        return fails
    if outcome == "not-legal" or (outcome == "survives" and NOT_LEGAL in legal_msgs):
        fails.expect(legal_msgs == [NOT_LEGAL], "messages %r, expected %r" % (legal_msgs, [NOT_LEGAL]))
        fails.expect(run.totals == [(0, 0, 0, 0)], "TOTAL %r, expected an empty tree" % run.totals)
        return fails
    fails.expect(not legal_msgs, "unexpected messages %r" % legal_msgs)
    expected = source_rows(fixtures, source)
    # A walk that finds nothing lists not even the Root.
    got = compare_tree.probe_rows(run, fails) if run.entries or outcome != "survives" else []
    if outcome == "tree":
        compare_tree.diff_rows(expected, got, fails)
        fails.expect(run.totals == [compare_tree.expected_total(expected)],
                     "TOTAL %r, expected %r" % (run.totals, [compare_tree.expected_total(expected)]))
    elif outcome == "readable":
        want = readable_rows(expected, limit)
        masked = [r if r[0] <= limit else r[:3] + ("?",) * 4 + r[7:] for r in got]
        compare_tree.diff_rows(want, masked, fails)
    else:
        known = {(r[0], r[1], r[2], r[7]) for r in expected}
        for r in got:
            fails.expect((r[0], r[1], r[2], r[7]) in known, "entry not in the source: %s" % compare_tree.show(r))
    return fails


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    status = 0
    for case in CASES:
        status |= check(argv[1], argv[2], *case).report()
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Drives whose super block names incompatible features (build-feature-disks.sh): those the engine
does not read get one error row naming them after the drive parameters; an ext3 drive whose journal
waits for recovery gets none, and its tree equals debugfs's.

  check_features.py PROBE FIXTURES
"""
import os
import sys

import compare_tree
import probe

ROW = "File system features not supported: "
CASES = [
    ("features-ext4.img", "extent, 64bit"),
    ("features-meta-bg.img", "meta_bg"),
    ("features-ext3-recovery.img", None),
]


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    status = 0
    for disk, names in CASES:
        path = os.path.join(argv[2], disk)
        fails = probe.Failures("%s: features row %r" % (disk, names))
        logs = probe.run(argv[1], [path], ["partitions", "open", "0", "tree"]).logs
        rows = [r for r in logs if r[2].startswith(ROW)]
        want = (3, "", ROW + names if names else "", "Files and folders may be missing")
        fails.expect(rows == ([want] if names else []), "feature rows %r" % rows)
        if names and (0, "", "", "Done") in logs:
            after = logs[logs.index((0, "", "", "Done")) + 1]
            fails.expect(after == want, "row after the drive parameters: %r" % (after,))
        status |= fails.report()
        if not names:
            status |= compare_tree.check_drive(argv[1], path, 0).report()
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""A drive of more than 2000 block groups whose folders in the groups above 2000 (the last one too)
hold files: its tree equals debugfs's walk and Recover All equals debugfs rdump. The image
(tools/fixtures/build-many-groups.sh: 16 GB, sparse) is built in a temporary folder and removed.

  check_many_groups.py PROBE
"""
import os
import subprocess
import sys
import tempfile

import compare_recovery
import compare_tree

BUILDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "fixtures",
                       "build-many-groups.sh")


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory() as work:
        disk = os.path.join(work, "many-groups.img")
        subprocess.run([BUILDER, disk], check=True, stdout=subprocess.DEVNULL)
        fails = compare_tree.check_drive(argv[1], disk, 0)
        differences, _ = compare_recovery.compare(argv[1], disk, 0)
        for d in differences:
            fails.add("Recover All: " + d)
        fails.title = "tree and Recover All of a drive of more than 2000 groups equal debugfs"
        return fails.report()


if __name__ == "__main__":
    sys.exit(main(sys.argv))

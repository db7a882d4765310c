#!/usr/bin/env python3
"""The probe only reads: each disk's sha256 is the same before and after a run of every step.

  check_source_unchanged.py PROBE FIXTURES
"""
import hashlib
import os
import sys

import probe

# A healthy two-drive disk with deleted files, a damaged file system and a looping chain.
RUNS = [
    ("sample.img", ["partitions", "open", "0", "tree", "open", "1", "tree"]),
    ("fs-ipg-zero.img", ["partitions", "open", "0", "tree"]),
    ("part-loop-self.img", ["partitions", "open", "0", "tree"]),
    # Every step that reads a drive, into folders of the probe's own working folder.
    ("sample.img", ["partitions", "open", "1", "deleted-lost", "check", "12", "recover", "selected", ".",
                    "recover", "all", ".", "recover", "deleted", ".", "save-scan", "scan",
                    "load-scan", "scan.DAT", "search", "standard", "search", "advanced", "identify"]),
]


def sha256(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for chunk in iter(lambda: f.read(1 << 20), b""):
            h.update(chunk)
    return h.hexdigest()


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    status = 0
    for disk, steps in RUNS:
        path = os.path.join(argv[2], disk)
        fails = probe.Failures("%s unchanged by %s" % (disk, " ".join(steps)))
        before = sha256(path)
        probe.run(argv[1], [path], steps)
        after = sha256(path)
        fails.expect(before == after, "sha256 %s before, %s after" % (before, after))
        status |= fails.report()
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))

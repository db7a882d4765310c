#!/usr/bin/env python3
"""Recover Deleted on the sample disk's second drive writes the deleted files' bytes as they were
before debugfs removed them: the files under "Deleted Files" hold exactly the removed files' bytes.

  check_deleted_recovery.py PROBE FIXTURES
"""
import os
import subprocess
import sys
import tempfile

import probe

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.join(HERE, "..", "..", "..", "tools", "fixtures")
DELETED = ["docs/old-report.txt", "projects/src/util.h", "projects/build.log", "photos/summer/beach 02.jpg"]


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    disk = os.path.join(argv[2], "sample.img")
    fails = probe.Failures("Recover Deleted gives the removed files' bytes")
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "source")
        subprocess.run([sys.executable, os.path.join(TOOLS, "gen_tree.py"), "sample", source], check=True)
        wanted = sorted(open(os.path.join(source, p), "rb").read() for p in DELETED)
        out = os.path.join(work, "out")
        os.mkdir(out)
        probe.run(argv[1], [disk], ["partitions", "open", "1", "deleted-lost", "recover", "deleted", out], timeout=120)
        folder = os.path.join(out, "#Root", "Deleted Files")
        got = sorted(open(os.path.join(folder, n), "rb").read() for n in os.listdir(folder)) if os.path.isdir(folder) else []
        fails.expect(got == wanted, "%d files recovered, %d deleted; contents %s" %
                     (len(got), len(wanted), "differ" if len(got) == len(wanted) else "-"))
    return fails.report()


if __name__ == "__main__":
    sys.exit(main(sys.argv))

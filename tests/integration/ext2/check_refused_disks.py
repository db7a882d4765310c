#!/usr/bin/env python3
"""A FIFO, a character device and a folder given as the disk are refused at once: the partition
walk ends promptly with a row that names the disk's path and why, and no drive is listed.

  check_refused_disks.py PROBE
"""
import os
import sys
import tempfile

import probe


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    fails = probe.Failures("what is neither a regular file nor a block device is not opened as a disk")
    with tempfile.TemporaryDirectory() as work:
        fifo = os.path.join(work, "fifo")
        os.mkfifo(fifo)
        for path, kind in ((fifo, "a FIFO"), ("/dev/null", "a character device"), (work, "a folder")):
            try:
                # A probe that waits on the open is killed after the timeout: a failure, not a hang.
                run = probe.run(argv[1], [path], ["partitions"], timeout=20)
            except AssertionError as e:
                fails.add("%s: %s" % (path, e))
                continue
            want = "Sector 0 cannot be read: %s cannot be opened: %s is neither a regular file nor a block device" % (
                path, kind)
            texts = [text for _, activity, text in run.log_texts() if activity == "Read partition table"]
            fails.expect(want in texts, "%s: rows %r" % (path, texts))
            fails.expect(not run.drives, "%s: drives listed %r" % (path, run.drives))
    return fails.report()


if __name__ == "__main__":
    sys.exit(main(sys.argv))

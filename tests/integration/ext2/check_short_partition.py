#!/usr/bin/env python3
"""A partition entry of 9,600 sectors over a 16 MiB drive: the drive is read to its file system's
size, with one row saying that it is larger than its partition, and every file of the source tree
is listed and recovered with its bytes, also those that lie past the entry's end.

  check_short_partition.py PROBE
"""
import hashlib
import os
import subprocess
import sys
import tempfile

import probe

ROW = "Drive is larger than its partition"


def sums(root):
    out = {}
    for dirpath, _, filenames in os.walk(root):
        for name in filenames:
            full = os.path.join(dirpath, name)
            with open(full, "rb") as f:
                out[os.path.relpath(full, root)] = hashlib.sha256(f.read()).hexdigest()
    return out


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    fails = probe.Failures("a drive larger than its partition entry is read whole")
    env = dict(os.environ, E2FSPROGS_FAKE_TIME="1262304000")
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "source")
        os.mkdir(source)
        for i in range(40):  # 40 files of 300 KiB: 12 MiB, most of them past the entry's 4.7 MiB
            with open(os.path.join(source, "file%02d.bin" % i), "wb") as f:
                f.write(bytes((i * 7 + k) & 0xFF for k in range(256)) * 1200)
        disk = os.path.join(work, "disk.img")
        with open(disk, "wb") as f:
            f.truncate(17 * 1024 * 1024)
        subprocess.run(["sfdisk", "-q", "--no-reread", "--no-tell-kernel", disk],
                       input=b"label: dos\nstart=2048, size=9600, type=83\n", check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["mke2fs", "-q", "-F", "-t", "ext2", "-b", "1024", "-E", "offset=1048576", "-d", source,
                        disk, "16M"], check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        out = os.path.join(work, "out")
        os.mkdir(out)
        run = probe.run(argv[1], [disk], ["partitions", "open", "0", "tree", "recover", "all", out], timeout=120)
        rows = [status for _, _, _, status in run.logs]
        fails.expect(rows.count(ROW) == 1, "rows %r: %d" % (ROW, rows.count(ROW)))
        listed = sorted(e[-1].decode() for e in run.entries if e[-1].startswith(b"file"))
        fails.expect(len(listed) == 40, "%d files listed of 40" % len(listed))
        want, got = sums(source), sums(os.path.join(out, "#Root"))
        for path, digest in sorted(want.items()):
            fails.expect(got.get(path) == digest, "%s: %s" % (path, "missing" if path not in got else "bytes differ"))
    return fails.report()


if __name__ == "__main__":
    sys.exit(main(sys.argv))

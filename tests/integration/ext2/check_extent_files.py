#!/usr/bin/env python3
"""An ext3 drive moved on to extents (tune2fs -O extent) and then written to: the files written
since are kept in extents, which the engine does not read. Recover All writes every file of block
pointers with the source's bytes, none of the files in extents, a row for each of them and a row
that counts them; the row of the drive's unread feature stays.

  check_extent_files.py PROBE

The disk (built in a temporary folder, sparse): an MBR disk whose partition at sector 2048 holds
an ext3 drive of 140,000 1 KiB blocks (more blocks than an extent header read as a block number
names, so that such a header is no pointer past the drive), made by mke2fs -d from a small tree.
"""
import os
import subprocess
import sys
import tempfile

import probe

FIRST = 2048
FS = FIRST * 512
BLOCKS = 140000
ROW = "File system features not supported: extent"
IN_EXTENTS = {"old/new-40000.bin": 40000, "old/new-3.txt": 3}


def data(n, seed):
    return bytes((i * 13 + seed) % 251 + 1 for i in range(n))


def build(work):
    tree = os.path.join(work, "tree")
    os.makedirs(os.path.join(tree, "old"))
    before = {"old/a.bin": data(5000, 1), "old/b.txt": b"block pointers\n", "old/empty": b"", "top.bin": data(70000, 2)}
    for path, content in before.items():
        with open(os.path.join(tree, path), "wb") as f:
            f.write(content)
    disk = os.path.join(work, "extent.img")
    with open(disk, "wb") as f:
        f.truncate(FS + BLOCKS * 1024)
    subprocess.run(["sfdisk", "-q", "--no-reread", "--no-tell-kernel", disk], input=b"start=2048, type=83\n",
                   check=True, stdout=subprocess.DEVNULL)
    env = dict(os.environ, E2FSPROGS_FAKE_TIME="1262304000")
    subprocess.run(["mke2fs", "-q", "-F", "-t", "ext3", "-b", "1024", "-E", "offset=%d" % FS, "-d", tree, disk,
                    "%dk" % BLOCKS], check=True, env=env, stderr=subprocess.DEVNULL)
    fs = "%s?offset=%d" % (disk, FS)
    subprocess.run(["tune2fs", "-O", "extent", fs], check=True, env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    commands = ["cd old"]
    for path, size in IN_EXTENTS.items():
        host = os.path.join(work, os.path.basename(path))
        with open(host, "wb") as f:
            f.write(data(size, 3))
        commands.append('write "%s" "%s"' % (host, os.path.basename(path)))
    subprocess.run(["debugfs", "-w", "-f", "-", fs], input="".join(c + "\n" for c in commands).encode(),
                   check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    flags = subprocess.run(["debugfs", "-R", "stat old/new-40000.bin", fs], capture_output=True, env=env).stdout
    if b"Flags: 0x80000" not in flags:
        raise RuntimeError("debugfs did not write the file in extents")
    return disk, before


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    fails = probe.Failures("files kept in extents are named and not written")
    with tempfile.TemporaryDirectory() as work:
        disk, before = build(work)
        out = os.path.join(work, "out")
        os.mkdir(out)
        logs = probe.run(argv[1], [disk], ["partitions", "open", "0", "recover", "all", out], timeout=60).logs
        root = os.path.join(out, "#Root")
        for path, content in before.items():
            target = os.path.join(root, path)
            got = open(target, "rb").read() if os.path.isfile(target) else None
            fails.expect(got == content, "%s: %s" % (path, "missing" if got is None else "bytes differ"))
        for path in IN_EXTENTS:
            fails.expect(not os.path.exists(os.path.join(root, path)), "%s written from its extent header" % path)
            started = [i for i, r in enumerate(logs) if r[2] == os.path.join(root, path)]
            after = logs[started[0] + 1][2:4] if started and started[0] + 1 < len(logs) else None
            fails.expect(after == ("File kept in extents, which are not read: file not recovered", "Not read"),
                         "%s: row after its start %r" % (path, after))
        texts = [r[2] for r in logs]
        fails.expect(any(r[2] == ROW for r in logs), "no row of the drive's extent feature")
        fails.expect(texts[-2:] == ["Recovery incomplete, 2 file(s) kept in extents not recovered: extents are not read",
                                    "Process completed, 4 file(s) recovered, 2 not recovered"],
                     "end rows %r" % texts[-2:])
    return fails.report()


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Recover Deleted on the sample disk's second drive writes the deleted files' bytes as they were
before debugfs removed them: the files under "Deleted Files" hold exactly the removed files' bytes.
On an ext3 drive whose files were deleted as the kernel deletes them there (size and block pointers
cleared, then the inode freed with its deletion time and the name removed; built by debugfs in a
temporary folder), Recover Deleted writes none of them, says in one row how many there were and why,
and ends with its end row.

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
EXT3_DELETED = ["d/one.txt", "d/two.bin", "three.log"]
GONE_ROW = "%d deleted file(s) not recovered: their data blocks are no longer recorded (ext3 clears them on delete)"


def ext3_deleted(work):
    """An MBR disk whose ext3 drive of 4 MiB holds the files of EXT3_DELETED deleted as ext3 does."""
    tree = os.path.join(work, "ext3-tree")
    os.makedirs(os.path.join(tree, "d"))
    for i, path in enumerate(EXT3_DELETED + ["d/kept.txt"]):
        with open(os.path.join(tree, path), "wb") as f:
            f.write(bytes((k * 7 + i) % 250 + 1 for k in range(300 + 20000 * i)))  # the largest one has an indirect block
    disk = os.path.join(work, "ext3.img")
    with open(disk, "wb") as f:
        f.truncate((1 << 20) + (4 << 20))
    subprocess.run(["sfdisk", "-q", "--no-reread", "--no-tell-kernel", disk], input=b"start=2048, type=83\n",
                   check=True, stdout=subprocess.DEVNULL)
    env = dict(os.environ, E2FSPROGS_FAKE_TIME="1262304000", DEBUGFS_PAGER="__none__")
    subprocess.run(["mke2fs", "-q", "-F", "-t", "ext3", "-b", "1024", "-E", "offset=%d" % (1 << 20), "-d", tree,
                    disk, "4096k"], check=True, env=env, stderr=subprocess.DEVNULL)
    fs = "%s?offset=%d" % (disk, 1 << 20)
    commands = []
    for path in EXT3_DELETED:
        commands.append('kill_file "%s"' % path)
        commands += ['sif "%s" block[%d] 0' % (path, i) for i in range(15)]
        commands += ['sif "%s" size 0' % path, 'sif "%s" blocks 0' % path, 'unlink "%s"' % path]
    subprocess.run(["debugfs", "-w", "-f", "-", fs], input="".join(c + "\n" for c in commands).encode(), check=True,
                   env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return disk


def check_ext3(probe_path, work):
    fails = probe.Failures("Recover Deleted of ext3-deleted files ends with one row and its end row")
    disk = ext3_deleted(work)
    out = os.path.join(work, "ext3-out")
    os.mkdir(out)
    run = probe.run(probe_path, [disk], ["partitions", "open", "0", "deleted-lost", "tree", "recover", "deleted", out],
                    timeout=60)
    listed = [e for e in run.entries if e[-1].startswith(b"Inode #")]
    fails.expect(len(listed) >= len(EXT3_DELETED), "%d deleted entries listed" % len(listed))
    written = [os.path.join(d, f) for d, _, files in os.walk(out) for f in files]
    fails.expect(written == [], "files written: %r" % written)
    texts = [r[2] for r in run.logs]
    start = max(i for i, r in enumerate(run.logs) if r[1] == "Recovering file")
    rows = texts[start + 1:]
    want = [GONE_ROW % len(listed), "Process completed, 0 file(s) recovered, %d not recovered" % len(listed)]
    fails.expect(rows == want, "rows after the start of the recovery: %r" % rows)
    return fails.report()


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
        status = fails.report()
        return status | check_ext3(argv[1], work)


if __name__ == "__main__":
    sys.exit(main(sys.argv))

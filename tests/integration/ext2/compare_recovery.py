"""Recover All of one drive, a sector and a block at a time, against debugfs rdump of the same drive:
every regular file, empty ones too, with the same bytes, modification and access times; symbolic
links as files holding their target text; nothing outside DEST/#Root.

usage: compare_recovery.py QV-PROBE IMAGE ROW
"""
import os
import shutil
import stat
import subprocess
import sys
import tempfile

from probe import run


def walk(root):
    """relative path (bytes) -> lstat result, for everything below ROOT."""
    out = {}
    for dirpath, dirnames, filenames in os.walk(root):
        for name in dirnames + filenames:
            full = os.path.join(dirpath, name)
            out[os.path.relpath(full, root)] = os.lstat(full)
    return out


def compare(probe, image, row, debugfs_options=()):
    """The differences of Recover All of drive ROW of IMAGE, in both read modes, from debugfs rdump
    (run with DEBUGFS_OPTIONS, for instance a backup super block of a damaged drive)."""
    first = [d[1] for d in run(probe, [image], ["partitions"]).drives if d[0] == row][0]
    failures = []
    with tempfile.TemporaryDirectory() as work:
        work = os.fsencode(work)
        oracle = os.path.join(work, b"oracle")
        os.mkdir(oracle)
        subprocess.run(["debugfs"] + list(debugfs_options) +
                       ["-R", "rdump / " + os.fsdecode(oracle), "%s?offset=%d" % (image, first * 512)],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        expected = walk(oracle)
        for mode in ("sector", "block"):
            dest = os.path.join(work, mode.encode())
            os.mkdir(dest)
            run(probe, [image], ["--read-mode", mode, "partitions", "open", str(row), "recover", "all",
                                 os.fsdecode(dest)], timeout=300)
            if sorted(os.listdir(dest)) != [b"#Root"]:
                failures.append("%s: written beside #Root: %r" % (mode, os.listdir(dest)))
            root = os.path.join(dest, b"#Root")
            got = walk(root)
            for path, st in expected.items():
                mine = got.get(path)
                if stat.S_ISDIR(st.st_mode):
                    if mine is None or not stat.S_ISDIR(mine.st_mode):
                        failures.append("%s: folder %r missing" % (mode, path))
                    continue
                if stat.S_ISLNK(st.st_mode):
                    want = os.readlink(os.path.join(oracle, path))
                elif stat.S_ISREG(st.st_mode):
                    want = None
                else:
                    continue  # devices, fifos and sockets have no bytes
                if mine is None:
                    failures.append("%s: %r missing" % (mode, path))
                    continue
                if want is None:
                    if (mine.st_mtime_ns // 10**9, mine.st_atime_ns // 10**9) != (st.st_mtime_ns // 10**9,
                                                                                  st.st_atime_ns // 10**9):
                        failures.append("%s: times of %r differ" % (mode, path))
                    with open(os.path.join(oracle, path), "rb") as f:
                        want = f.read()
                with open(os.path.join(root, path), "rb") as f:
                    if f.read() != want:
                        failures.append("%s: bytes of %r differ" % (mode, path))
    return failures, len(expected)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    failures, count = compare(sys.argv[1], sys.argv[2], int(sys.argv[3]))
    for f in failures[:40]:
        print(f)
    if failures:
        print("%d differences" % len(failures))
        sys.exit(1)
    print("recovered %d entries the same in both read modes" % count)


if __name__ == "__main__":
    main()

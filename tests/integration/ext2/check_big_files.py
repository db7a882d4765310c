#!/usr/bin/env python3
"""Files of 4 GiB and more, and a file dated 1969, on a 64 MiB drive (tools/fixtures/
build-big-files.sh, built in a temporary folder and removed): the tree equals debugfs's walk with
the sizes of debugfs stat; Recover All, a block and a sector at a time and again after a save and a
load of the scan information, gives every file with the source's bytes and times.

The big files are mostly holes: bytes are compared over the data regions of either file (SEEK_DATA),
so that the check costs what the files hold, and each recovery is removed once it is checked.

  check_big_files.py PROBE
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

import compare_tree
import ext2fixture
import probe

BUILDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "fixtures",
                       "build-big-files.sh")
BIG = (b"4g.bin", b"8g.bin", b"5g_12345.bin")
STAT_SIZE = re.compile(rb"\sSize: (\d+)")
CHUNK = 1 << 20


def stat_sizes(image, inodes):
    """{inode: size} as debugfs stat prints it."""
    out = ext2fixture.debugfs(image, ["stat <%d>" % i for i in inodes])
    return {i: int(STAT_SIZE.search(out["stat <%d>" % i]).group(1)) for i in inodes}


def data_ranges(fd, size):
    ranges = []
    at = 0
    while at < size:
        try:
            start = os.lseek(fd, at, os.SEEK_DATA)
        except OSError:
            break  # only a hole is left
        at = os.lseek(fd, start, os.SEEK_HOLE)
        ranges.append((start, at))
    return ranges


def same_bytes(path_a, path_b):
    """Whether two files hold the same bytes; reads only the regions that hold data in either."""
    with open(path_a, "rb") as a, open(path_b, "rb") as b:
        size = os.fstat(a.fileno()).st_size
        if os.fstat(b.fileno()).st_size != size:
            return False
        for start, end in sorted(data_ranges(a.fileno(), size) + data_ranges(b.fileno(), size)):
            for at in range(start, end, CHUNK):
                n = min(CHUNK, end - at)
                if os.pread(a.fileno(), n, at) != os.pread(b.fileno(), n, at):
                    return False
    return True


def fresh(work, name):
    path = os.path.join(work, name)
    os.mkdir(path)
    return path


def check_recovery(fails, what, source, times, dest):
    """The files of SOURCE against DEST/#Root, which is removed afterwards; TIMES holds the
    (mtime, atime) of each name as the inode stores them."""
    root = os.path.join(dest, "#Root")
    for name in sorted(os.listdir(source)):
        got = os.path.join(root, name)
        if not os.path.isfile(got):
            fails.add("%s: %s not recovered" % (what, name))
            continue
        want = os.path.join(source, name)
        mine = os.stat(got)  # before the bytes are read, which may set the access time
        fails.expect(mine.st_size == os.path.getsize(want), "%s: %s has %d bytes, the source %d" %
                     (what, name, mine.st_size, os.path.getsize(want)))
        fails.expect(same_bytes(want, got), "%s: bytes of %s differ" % (what, name))
        # Holes are left as holes: the big files take what their data takes, not gigabytes.
        fails.expect(mine.st_blocks * 512 <= 4 << 20, "%s: %s takes %d bytes on the destination" %
                     (what, name, mine.st_blocks * 512))
        fails.expect((mine.st_mtime_ns // 10**9, mine.st_atime_ns // 10**9) == times[os.fsencode(name)],
                     "%s: times of %s are %d/%d, the inode's %r" % (what, name, mine.st_mtime, mine.st_atime,
                                                                    times[os.fsencode(name)]))
    shutil.rmtree(dest)


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    probe_path = argv[1]
    with tempfile.TemporaryDirectory() as work:
        subprocess.run([BUILDER, work], check=True, stdout=subprocess.DEVNULL)
        disk, source = os.path.join(work, "big.img"), os.path.join(work, "src")
        fails = compare_tree.check_drive(probe_path, disk, 0)
        fails.title = "sizes of 4 GiB and more and times before 1970 listed and recovered as the source holds them"

        scan = os.path.join(work, "big.DAT")
        dest = fresh(work, "block")
        live = probe.run(probe_path, [disk], ["--read-mode", "block", "partitions", "open", "0", "tree",
                                              "save-scan", scan, "recover", "all", dest], timeout=300)
        fs = "%s?offset=%d" % (disk, live.drives[0][1] * 512)
        listed = {e.name: e for e in ext2fixture.listing(fs) if not e.is_dir}
        stored = ext2fixture.inode_times(fs, [e.inode for e in listed.values()])
        times = {name: (stored[e.inode][2], stored[e.inode][0]) for name, e in listed.items()}
        check_recovery(fails, "block mode", source, times, dest)

        files = {e[10]: e for e in live.entries if e[10] in BIG}
        sizes = stat_sizes(fs, [listed[name].inode for name in BIG])
        for name in BIG:
            e = files.get(name)
            if e is None:
                fails.add("%s not listed" % name)
                continue
            fails.expect(e[6] == sizes[e[0]] == os.path.getsize(os.path.join(source, os.fsdecode(name))),
                         "%s listed with %d bytes, debugfs stat %d" % (name, e[6], sizes[e[0]]))

        dest = fresh(work, "sector")
        probe.run(probe_path, [disk], ["--read-mode", "sector", "partitions", "open", "0", "recover", "all", dest],
                  timeout=300)
        check_recovery(fails, "sector mode", source, times, dest)

        dest = fresh(work, "loaded")
        loaded = probe.run(probe_path, [disk], ["partitions", "load-scan", scan, "tree", "recover", "all", dest],
                           timeout=300)
        fails.expect(loaded.entries == live.entries and loaded.totals == live.totals,
                     "the loaded scan lists other entries or totals: %r" % (loaded.totals,))
        check_recovery(fails, "after load-scan", source, times, dest)
        return fails.report()


if __name__ == "__main__":
    sys.exit(main(sys.argv))

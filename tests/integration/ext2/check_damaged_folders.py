#!/usr/bin/env python3
"""Folders that a deletion or a damaged block changed: the probe lists what debugfs lists.

  check_damaged_folders.py PROBE wiped      the entry after ".." of folder d deleted as Linux 6
                                            deletes it (its length added to "..", its bytes
                                            cleared), written into the image by this script
  check_damaged_folders.py PROBE mounted    the same deletion made by the kernel on a loop mount;
                                            exits 77 (skipped) where mounting is not permitted
  check_damaged_folders.py PROBE zeroed     block 0, block 5 or the indirect block of a folder of
                                            80 blocks zeroed: every file of its other blocks is
                                            listed (and, for block 0, recovered byte for byte), and
                                            one row names the folder and the block

Each disk (MBR, one partition at sector 2048, ext2 of 1 KiB blocks) is built in a temporary folder.
"""
import os
import subprocess
import sys
import tempfile

import compare_tree
import ext2fixture
import probe

START = 2048
SKIPPED = 77
SIZE_MIB = 24


def make_disk(work, tree=None, extra=()):
    """A disk image with an ext2 file system of TREE (none: empty) in its one partition."""
    disk = os.path.join(work, "disk.img")
    with open(disk, "wb") as f:
        f.truncate(SIZE_MIB << 20)
    subprocess.run(["sfdisk", "-q", "--no-reread", "--no-tell-kernel", disk], input=b"label: dos\nstart=2048, type=83\n",
                   check=True, stdout=subprocess.DEVNULL)
    sectors = (SIZE_MIB << 20) // 512 - START
    args = ["mke2fs", "-q", "-F", "-t", "ext2", "-b", "1024", "-E", "offset=%d" % (START * 512)] + list(extra)
    if tree:
        args += ["-d", tree]
    subprocess.run(args + [disk, "%dk" % (sectors // 2)], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return disk


def fs_of(disk):
    return "%s?offset=%d" % (disk, START * 512)


def folder_block(disk, path, index=0):
    """The drive block that holds block INDEX of folder PATH."""
    out = ext2fixture.debugfs(fs_of(disk), ["bmap %s %d" % (path, index)])
    return int(out["bmap %s %d" % (path, index)].strip())


def chain(block):
    """(offset, inode, record length, name) of the records on the chain of record lengths."""
    records, at = [], 0
    while at + 8 <= len(block):
        length = int.from_bytes(block[at + 4:at + 6], "little")
        name = block[at + 8:at + 8 + block[at + 6]]
        records.append((at, int.from_bytes(block[at:at + 4], "little"), length, name))
        if length < 8 or at + length > len(block):
            break
        at += length
    return records


def delete_as_linux(disk, folder, name):
    """Deletes NAME from FOLDER as Linux 6 does: the record's length is added to the record before
    it, and its bytes are cleared. The record must follow ".." (the case that hid the folder)."""
    block = folder_block(disk, folder)
    at = START * 512 + block * 1024
    with open(disk, "r+b") as f:
        f.seek(at)
        data = bytearray(f.read(1024))
        records = chain(data)
        k = [r[3] for r in records].index(name.encode())
        before, gone = records[k - 1], records[k]
        assert before[3] == b"..", "%s does not follow '..' in %s: %r" % (name, folder, records)
        data[before[0] + 4:before[0] + 6] = (before[2] + gone[2]).to_bytes(2, "little")
        data[gone[0]:gone[0] + gone[2]] = bytes(gone[2])
        f.seek(at)
        f.write(data)


def small_tree(root):
    """d/first.txt, d/second.txt, d/sub/third.txt and top.txt, made in this order (on a mount the
    order of creation is the order of the records)."""
    os.makedirs(os.path.join(root, "d"))
    for path, text in (("d/first.txt", "one\n"), ("d/second.txt", "two\n"), ("d/sub/third.txt", "three\n"),
                       ("top.txt", "top\n")):
        os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
        with open(os.path.join(root, path), "w") as f:
            f.write(text)


def expect_in_d(fails, run):
    """second.txt and sub listed in d, third.txt in sub, first.txt nowhere."""
    names = {e[0]: e[10] for e in run.entries}
    d = [e[0] for e in run.entries if e[10] == b"d"]
    in_d = sorted(e[10] for e in run.entries if d and e[1] == d[0])
    fails.expect(in_d == [b"second.txt", b"sub"], "entries of d: %r" % in_d)
    fails.expect(any(e[10] == b"third.txt" and names.get(e[1]) == b"sub" for e in run.entries), "third.txt missing")


def wiped(probe_path, work):
    fails = probe.Failures("a first entry deleted and wiped as Linux 6 does hides nothing of its folder")
    tree = os.path.join(work, "tree")
    small_tree(tree)
    disk = make_disk(work, tree)
    delete_as_linux(disk, "d", "first.txt")
    fails.items += compare_tree.check_drive(probe_path, disk, 0).items
    expect_in_d(fails, probe.run(probe_path, [disk], ["partitions", "open", "0", "tree"]))
    return fails.report()


def mounted(probe_path, work):
    disk = make_disk(work)
    mnt = os.path.join(work, "mnt")
    os.mkdir(mnt)
    if os.geteuid() != 0 or subprocess.run(["mount", "-o", "loop,offset=%d" % (START * 512), disk, mnt],
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
        print("skipped: a loop mount is not permitted here")
        return SKIPPED
    try:
        small_tree(mnt)
        subprocess.run(["sync"], check=True)
        os.remove(os.path.join(mnt, "d", "first.txt"))
    finally:
        subprocess.run(["umount", mnt], check=True)
    fails = probe.Failures("a first entry deleted by the kernel hides nothing of its folder")
    with open(disk, "rb") as f:
        f.seek(START * 512 + folder_block(disk, "d") * 1024)
        records = chain(f.read(1024))
    if records[1][2] == 12:
        fails.add("the kernel did not add the deleted record to '..': %r" % records[:4])
    fails.items += compare_tree.check_drive(probe_path, disk, 0).items
    expect_in_d(fails, probe.run(probe_path, [disk], ["partitions", "open", "0", "tree"]))
    return fails.report()


def names_in(disk, block):
    """The names of the records that drive block BLOCK holds, "." and ".." left out."""
    with open(disk, "rb") as f:
        f.seek(START * 512 + block * 1024)
        return {r[3] for r in chain(f.read(1024)) if r[1] != 0 and r[3] not in (b".", b"..")}


def zero_block(disk, block):
    with open(disk, "r+b") as f:
        f.seek(START * 512 + block * 1024)
        f.write(bytes(1024))


def zeroed(probe_path, work):
    """Block 0, a later block and the indirect block of one folder zeroed, each on its own copy:
    only the entries the block held (or listed) are missing, and one row names the folder and the block."""
    tree = os.path.join(work, "tree")
    os.makedirs(os.path.join(tree, "many"))
    for i in range(2600):
        with open(os.path.join(tree, "many", "file-%04d-of-the-folder.txt" % i), "w") as f:
            f.write("content of file %d\n" % i)
    source = make_disk(work, tree, ["-N", "4096", "-O", "^dir_index"])
    image = fs_of(source)
    oracle = compare_tree.oracle(image)
    many = [r[0] for r in oracle if r[7] == b"many"][0]
    stat = ext2fixture.debugfs(image, ["stat many"])["stat many"]
    blocks = int(stat.split(b"Blockcount: ")[1].split()[0]) // 2 - 1  # less the indirect block
    indirect = int(stat.split(b"(IND):")[1].split(b",")[0].split()[0])
    status = 0
    cases = [
        ("block 0", folder_block(source, "many", 0), range(0, 1),
         'Folder "many" (inode %d), block 0 at drive block %d: not a folder block'),
        ("block 5", folder_block(source, "many", 5), range(5, 6),
         'Folder "many" (inode %d), block 5 at drive block %d: not a folder block'),
        ("the indirect block", indirect, range(12, blocks),
         'Folder "many" (inode %%d), block 12 of %d: not in the folder\'s block list (indirect block %%d names no more)'
         % blocks),
    ]
    for what, block, lost_blocks, row in cases:
        fails = probe.Failures("%s of a folder of %d blocks zeroed hides only the entries it held" % (what, blocks))
        fails.expect(blocks >= 80, "folder many has %d blocks, not 80 or more" % blocks)
        disk = os.path.join(work, "damaged.img")
        subprocess.run(["cp", "--sparse=always", source, disk], check=True)
        held = set()
        for k in lost_blocks:
            held |= names_in(disk, folder_block(source, "many", k))
        zero_block(disk, block)
        fails.expect(len(held) > 10, "the lost blocks of many held only %r" % held)
        expected = [r for r in oracle if not (r[1] == many and r[7] in held)]

        run = probe.run(probe_path, [disk], ["partitions", "open", "0", "tree"])
        compare_tree.diff_rows(expected, compare_tree.probe_rows(run, fails), fails)
        row = row % (many, block)
        fails.expect((1, "", row) in run.log_texts(), "row %r missing: %r" % (row, run.log_texts()))
        fails.expect((0, "Creating directory tree", "Process completed") in run.log_texts(), "walk did not complete")

        # The Sleuth Kit lists the same files in the folder.
        fls = subprocess.run(["fls", "-o", str(START), "-p", "-r", disk], capture_output=True, check=True).stdout
        theirs = sorted(l.split(b"\t", 1)[1][len(b"many/"):] for l in fls.splitlines()
                        if b"\tmany/" in l and b"*" not in l.split(b"\t")[0])
        ours = sorted(r[7] for r in expected if r[1] == many)
        fails.expect(theirs == ours, "fls lists %d files in many, the probe %d" % (len(theirs), len(ours)))

        if what == "block 0":
            out = os.path.join(work, "out")
            os.mkdir(out)
            probe.run(probe_path, [disk], ["partitions", "open", "0", "recover", "all", out], timeout=120)
            for name in ours:
                path = os.path.join(os.fsencode(out), b"#Root", b"many", name)
                want = open(os.path.join(os.fsencode(tree), b"many", name), "rb").read()
                got = open(path, "rb").read() if os.path.exists(path) else None
                fails.expect(got == want, "recovered %r differs" % name)
        status |= fails.report()
    return status


def main(argv):
    if len(argv) != 3 or argv[2] not in ("wiped", "mounted", "zeroed"):
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory() as work:
        return {"wiped": wiped, "mounted": mounted, "zeroed": zeroed}[argv[2]](argv[1], work)


if __name__ == "__main__":
    sys.exit(main(sys.argv))

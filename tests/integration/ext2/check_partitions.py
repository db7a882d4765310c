#!/usr/bin/env python3
"""The probe's partition walk against sfdisk's reading of the same tables.

  check_partitions.py PROBE FIXTURES

Each case names the disk the probe walks and the disk sfdisk reads for the expected list (a
damaged copy is checked against the disk it was copied from). Expected: every Linux (0x83)
partition in depth-first order (the primaries in slot order, an extended slot standing for its
logical partitions in chain order), first sector and end sector = start + size from sfdisk,
ordinals 0, 1, 2 ...; swap, LVM, NTFS, FAT and empty slots skipped. Without Linux partitions:
the log row and the question whether to search. Every case finishes within the time limit.

The chain of 10,000 records (more than sfdisk reads) is checked against its own layout: the
drives of its first three records, and the one of its last record at most.
"""
import json
import os
import re
import subprocess
import sys

import probe

CASES = [
    # (probe's disk, oracle's disk)
    ("part-chain-05.img", "part-chain-05.img"),
    ("part-chain-0f.img", "part-chain-0f.img"),
    ("part-chain-85.img", "part-chain-85.img"),
    ("part-no-linux.img", "part-no-linux.img"),
    ("part-empty.img", "part-empty.img"),
    ("part-no-signature.img", "part-chain-05.img"),
    ("part-loop-self.img", "part-chain-05.img"),
    ("part-loop-first.img", "part-chain-05.img"),
    ("part-loop-mbr.img", "part-chain-05.img"),
    ("part-extended-twice.img", "part-chain-0f.img"),
    ("sample.img", "sample.img"),
    ("part-deep-chain.img", None),
]
DEEP_CHAIN_RECORDS = 10000  # ext2fixture.deep_chain: records two sectors apart from LBA 2048
EXTENDED = {0x05, 0x0F, 0x85}
LINUX = 0x83


def expected_drives(disk):
    done = subprocess.run(["sfdisk", "-J", disk], capture_output=True, check=False)
    if done.returncode != 0 or not done.stdout.strip():
        return []
    parts = json.loads(done.stdout)["partitiontable"].get("partitions", [])
    by_number = {}
    for p in parts:
        number = int(re.search(r"(\d+)$", p["node"]).group(1))
        by_number[number] = (p["start"], p["size"], int(p["type"], 16))
    logical = [by_number[n] for n in sorted(n for n in by_number if n > 4)]
    order = []
    for slot in range(1, 5):
        if slot not in by_number:
            continue
        start, size, kind = by_number[slot]
        if kind in EXTENDED:
            order += [p for p in logical if p[2] == LINUX]
        elif kind == LINUX:
            order.append(by_number[slot])
    return [(row, start, start + size, LINUX, row) for row, (start, size, _) in enumerate(order)]


def check(probe_path, fixtures, disk, oracle_disk):
    fails = probe.Failures("partition walk of %s" % disk)
    run = probe.run(probe_path, [os.path.join(fixtures, disk)], ["partitions"])
    if oracle_disk is None:
        want = [(row, 2049 + 2 * row, 2050 + 2 * row, LINUX, row) for row in range(3)]
        last = 2048 + 2 * (DEEP_CHAIN_RECORDS - 1) + 1
        if len(run.drives) == 4:
            want.append((3, last, last + 1, LINUX, 3))
    else:
        want = expected_drives(os.path.join(fixtures, oracle_disk))
    fails.expect(run.drives == want, "DRIVE rows %r, expected %r" % (run.drives, want))
    logs = run.log_texts()
    if want:
        row = (6, "Read partition table", "Partition table OK")
        fails.expect(row in logs, "log row %r missing: %r" % (row, logs))
        status = "%d Linux logical drive(s) found" % len(want)
        fails.expect(any(l[3] == status for l in run.logs), "status %r missing" % status)
        fails.expect(not run.msgs, "unexpected messages %r" % run.msgs)
    else:
        fails.expect((6, "Read partition table", "", "No valid Linux drives found") in run.logs,
                     "no 'No valid Linux drives found' row: %r" % run.logs)
        ask = ("Quarvel Velnora Linux", "No valid Linux drives in partition table, search for logical drives")
        fails.expect(run.msgs == [ask], "messages %r, expected %r" % (run.msgs, [ask]))
    return fails


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    status = 0
    for disk, oracle_disk in CASES:
        status |= check(argv[1], argv[2], disk, oracle_disk).report()
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))

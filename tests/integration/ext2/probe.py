"""Runs qv-probe and reads its records back: LOG, MSG, DRIVE, ENTRY, TOTAL."""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "fixtures"))

TIMEOUT = 30


def unescape(field):
    """Field bytes back from the probe's escapes (\\t, \\n, \\\\, \\xHH); other bytes stand as they are."""
    out = bytearray()
    i = 0
    while i < len(field):
        c = field[i]
        if c != 0x5C:
            out.append(c)
            i += 1
            continue
        nxt = field[i + 1:i + 2]
        if nxt == b"t":
            out.append(9)
            i += 2
        elif nxt == b"n":
            out.append(10)
            i += 2
        elif nxt == b"\\":
            out.append(0x5C)
            i += 2
        elif nxt == b"x":
            out.append(int(field[i + 2:i + 4], 16))
            i += 4
        else:
            raise ValueError("bad escape in %r" % field)
    return bytes(out)


class Run:
    def __init__(self, args, completed, seconds):
        self.args = args
        self.returncode = completed.returncode
        self.stdout = completed.stdout
        self.stderr = completed.stderr
        self.seconds = seconds
        self.logs, self.msgs, self.drives, self.entries, self.totals = [], [], [], [], []
        self.identities = []
        for line in completed.stdout.split(b"\n"):
            if not line:
                continue
            f = line.split(b"\t")
            kind = f[0]
            if kind == b"LOG":
                self.logs.append((int(f[1]),) + tuple(unescape(x).decode("utf-8", "replace") for x in f[2:5]))
            elif kind == b"MSG":
                self.msgs.append(tuple(unescape(x).decode("utf-8", "replace") for x in f[1:3]))
            elif kind == b"DRIVE":
                self.drives.append(tuple(int(x) for x in f[1:6]))
            elif kind == b"ENTRY":
                self.entries.append(tuple(int(x) for x in f[1:3]) + (f[3].decode(),) +
                                    tuple(int(x) for x in f[4:11]) + (unescape(f[11]),))
            elif kind == b"TOTAL":
                self.totals.append(tuple(int(x) for x in f[1:5]))
            elif kind == b"IDENTITY":
                self.identities.append(tuple(unescape(x).decode("utf-8", "replace") for x in f[1:4]))
            else:
                raise ValueError("unknown record %r" % line[:80])

    def log_texts(self):
        """Activity and text of every log row (the status holds the clock)."""
        return [(icon, activity, text) for icon, activity, text, _ in self.logs]


def run(probe, disks, steps, timeout=TIMEOUT):
    """Runs the probe in a fresh folder (it reads Velnora.cfg from the current directory)."""
    args = [os.path.abspath(probe)]
    for d in disks:
        args += ["--disk", os.path.abspath(d)]
    args += steps
    with tempfile.TemporaryDirectory() as cwd:
        start = time.monotonic()
        try:
            done = subprocess.run(args, capture_output=True, cwd=cwd, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("qv-probe did not finish within %d s: %s" % (timeout, " ".join(args)))
        seconds = time.monotonic() - start
    if done.returncode != 0:
        raise AssertionError("qv-probe exited with %d: %s\n%s" % (done.returncode, " ".join(args),
                                                                 done.stderr.decode(errors="replace")))
    return Run(args, done, seconds)


class Failures:
    """Collects every difference of one check, so that one run reports them all."""

    def __init__(self, title):
        self.title = title
        self.items = []

    def add(self, text):
        self.items.append(text)

    def expect(self, condition, text):
        if not condition:
            self.add(text)

    def report(self, limit=40):
        if not self.items:
            print("ok: %s" % self.title)
            return 0
        print("FAIL: %s (%d differences)" % (self.title, len(self.items)))
        for t in self.items[:limit]:
            print("  " + t)
        if len(self.items) > limit:
            print("  ... %d more" % (len(self.items) - limit))
        return 1

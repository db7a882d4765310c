#!/usr/bin/env python3
"""Fails when a symbol is defined by a library of each program: two classes or functions of one
name, which the linker would silently merge when both programs' code is linked into one binary
(the fuzz targets and their regression test link both engines).

Usage: check-distinct-names.py --ext2 LIB... --cd LIB...
Symbols of the standard library and of the code both programs share (controls, platform, probe)
are left out: both programs may well instantiate the same templates of those."""
import re
import subprocess
import sys

SHARED = ("std::", "__gnu_cxx::", "__cxxabiv1::", "controls::", "platform::", "probe::", "wx", "testing::")
BUILTIN = ("operator", "int", "char", "bool", "long", "unsigned", "short", "signed", "double",
           "float", "void (", "void*")
PREFIXES = ("vtable for ", "typeinfo for ", "typeinfo name for ", "VTT for ", "construction vtable for ",
            "guard variable for ", "non-virtual thunk to ", "virtual thunk to ")


def symbols(libs):
    out = {}
    for lib in libs:
        text = subprocess.run(["nm", "-C", "--defined-only", lib], check=True, capture_output=True, text=True).stdout
        for line in text.splitlines():
            parts = line.split(" ", 2)
            if len(parts) != 3 or parts[1] in "tdbrn" or parts[1] == "U":
                continue  # local symbols cannot clash
            name = parts[2]
            if parts[1] == "W" and "<" in name:
                continue  # a template instance: each library that uses it may emit it, all alike
            bare = name
            for p in PREFIXES:
                if bare.startswith(p):
                    bare = bare[len(p):]
            # A template of the shared code may come after its return type ("void std::deque<...>").
            bare = re.sub(r"^(?:[\w:]+[*&]* )+(?=(?:std|__gnu_cxx)::)", "", bare)
            if bare.startswith(SHARED) or bare.startswith(BUILTIN) or name.startswith(("DW.ref.", "main")):
                continue
            out.setdefault(name, lib)
    return out


def main():
    args = sys.argv[1:]
    if "--ext2" not in args or "--cd" not in args:
        sys.exit(__doc__)
    i = args.index("--cd")
    ext2, cd = symbols(args[1:i]), symbols(args[i + 1:])
    both = sorted(set(ext2) & set(cd))
    for name in both:
        print("defined by both programs: %s (%s, %s)" % (name, ext2[name], cd[name]))
    print("%d symbols of the ext2 program, %d of CD, %d defined by both" % (len(ext2), len(cd), len(both)))
    sys.exit(1 if both else 0)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Checks that each deliverable library exports exactly the undecorated names
of its .def file: no name missing, none extra, none with an @N decoration."""
import re
import subprocess
import sys
import os

LIBRARIES = {  # built file -> its .def, relative to the source tree
    "Gravmon.dll": "gravmon/Gravmon.def",
    "Gravcal.dll": "calibration/Gravcal.def",
    "Quadlock.dll": "motionlock/Quadlock.def",
    "Joltcfg.dll": "jolt/Joltcfg.def",
    "Provisio.dll": "setup/Provisio.def",
    "Feedcfg.dll": "tiltfeed/Feedcfg.def",
    "Tiltextra.dll": "extras/Tiltextra.def",
}


def def_names(path):
    names, in_exports = [], False
    for line in open(path, encoding="utf-8"):
        line = line.split(";")[0].strip()
        if not line:
            continue
        if line.upper() == "EXPORTS":
            in_exports = True
        elif in_exports:
            names.append(line.split()[0].split("=")[0])
    return sorted(names)


def dll_names(path):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], check=True,
                         capture_output=True, text=True,
                         env=dict(os.environ, LC_ALL="C")).stdout
    table = out.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) < 2:
        return []
    return sorted(re.findall(r"^\s+\[\s*\d+\] (\S+)$", table[1].split("\n\n", 1)[0], re.M))


def main():
    root, bindir = sys.argv[1], sys.argv[2]
    failed = 0
    for dll, deffile in LIBRARIES.items():
        want = def_names(os.path.join(root, deffile))
        got = dll_names(os.path.join(bindir, dll))
        if want != got:
            failed += 1
            print("exportcheck: %s exports %s, its .def lists %s" % (dll, got, want))
        else:
            print("exportcheck: %s exports exactly %s" % (dll, ", ".join(got)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

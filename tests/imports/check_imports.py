#!/usr/bin/env python3
"""Checks that an executable imports only functions that Windows XP exports.

check_imports.py OBJDUMP EXE LIST [--bits 32|64] [--subsystem MAJOR.MINOR]
                 [--expect-rejected DLL:FUNCTION ...]

Reads EXE's import table with OBJDUMP -p and fails (exit 1) when it imports a
function LIST does not hold, or asks for a later subsystem than --subsystem.
With --expect-rejected it checks the check itself: it passes only when
exactly those imports are rejected (a runtime known to need a later system).
"""

import argparse
import re
import subprocess
import sys


def read_list(path, bits):
    allowed = set()
    for line in open(path, encoding="utf-8"):
        fields = line.split("#", 1)[0].split()
        if not fields:
            continue
        dll, function, *marks = fields
        if "x64" in marks and bits != 64:
            continue
        allowed.add((dll.upper(), function))
    return allowed


def read_imports(objdump, exe):
    dump = subprocess.run([objdump, "-p", exe], check=True, stdout=subprocess.PIPE).stdout.decode("latin-1")
    imports, dll = set(), None
    subsystem = None
    for line in dump.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).upper()
            continue
        m = re.match(r"\t[0-9a-f]+\t +\d+ +(\S+)", line)
        if m and dll:
            imports.add((dll, m.group(1)))
            continue
        m = re.match(r"(Major|Minor)SubsystemVersion\s+(\d+)", line)
        if m:
            subsystem = dict(subsystem or {}, **{m.group(1): int(m.group(2))})
    if not imports:
        sys.exit("check_imports: no import found in %s; is this a PE executable?" % exe)
    return imports, (subsystem["Major"], subsystem["Minor"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("objdump")
    parser.add_argument("exe")
    parser.add_argument("list")
    parser.add_argument("--bits", type=int, choices=(32, 64), required=True)
    parser.add_argument("--subsystem", default=None)
    parser.add_argument("--expect-rejected", nargs="*", default=None)
    args = parser.parse_args()

    allowed = read_list(args.list, args.bits)
    imports, subsystem = read_imports(args.objdump, args.exe)
    rejected = sorted(imports - allowed)

    if args.expect_rejected is not None:
        expected = sorted((dll.upper(), function) for dll, function in (x.split(":", 1) for x in args.expect_rejected))
        missing = [x for x in expected if x not in rejected]
        if missing:
            print("check_imports: expected %s to be rejected in %s, but the check let it pass"
                  % (", ".join(":".join(x) for x in missing), args.exe))
            return 1
        print("check_imports: %s rejected as expected in %s" % (", ".join(":".join(x) for x in expected), args.exe))
        return 0

    status = 0
    for dll, function in rejected:
        print("check_imports: %s imports %s!%s, which is not in %s: review it against Windows XP and add it, "
              "or bind it at run time" % (args.exe, dll, function, args.list))
        status = 1
    if args.subsystem:
        limit = tuple(int(v) for v in args.subsystem.split("."))
        if subsystem > limit:
            print("check_imports: %s asks for subsystem %d.%02d; Windows XP loads %d.%02d at most"
                  % ((args.exe,) + subsystem + limit))
            status = 1
    if status == 0:
        print("check_imports: %s: %d imports, all available on Windows XP; subsystem %d.%02d"
              % ((args.exe, len(imports)) + subsystem))
    return status


if __name__ == "__main__":
    sys.exit(main())

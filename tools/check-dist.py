#!/usr/bin/env python3
"""Checks the product's shipping layout (tools/make-dist.sh).

    check-dist.py DIST-DIR BUILT-FILE... [--help NAME.hlp]...

For each built deliverable: DIST-DIR holds it stripped (no debug sections, no symbol table)
with the same code and data as built; when the built file carries debug information,
DIST-DIR/symbols/<file>.debug holds it and the stripped file's .gnu_debuglink names that file
with its CRC-32, so a debugger can still resolve a crash address. Each --help file must be
there too.
"""
import os
import subprocess
import sys
import tempfile
import zlib

OBJDUMP = "i686-w64-mingw32-objdump"
OBJCOPY = "i686-w64-mingw32-objcopy"


def sections(path):
    out = subprocess.run([OBJDUMP, "-h", path], check=True, capture_output=True, text=True).stdout
    names = []
    for line in out.splitlines():
        fields = line.split()
        if len(fields) >= 7 and fields[0].isdigit():
            names.append(fields[1])
    return names


def section_bytes(path, name):
    with tempfile.TemporaryDirectory() as work:
        target = os.path.join(work, "section.bin")
        subprocess.run([OBJCOPY, "-O", "binary", "--only-section=" + name, path, target],
                       check=True, capture_output=True)
        with open(target, "rb") as f:
            return f.read()


def dumped_bytes(path, name):
    """A section's bytes as objdump -s shows them (also for sections not loaded in memory,
    which objcopy -O binary leaves out)."""
    out = subprocess.run([OBJDUMP, "-s", "-j", name, path], check=True, capture_output=True,
                         text=True).stdout
    data = bytearray()
    for line in out.splitlines():
        # " <address> <four groups of up to 8 hex digits>  <text>": the hex digits stand in
        # the 35 columns after the address, whatever the text says.
        fields = line.split()
        if not line.startswith(" ") or not fields:
            continue
        start = line.index(fields[0]) + len(fields[0]) + 1
        data += bytes.fromhex(line[start:start + 35].replace(" ", ""))
    return bytes(data)


def has_symbols(path):
    out = subprocess.run([OBJDUMP, "-t", path], check=True, capture_output=True, text=True).stdout
    return any(line.startswith("[") for line in out.splitlines())


def check(dist, built, problems):
    name = os.path.basename(built)
    shipped = os.path.join(dist, name)
    if not os.path.isfile(shipped):
        problems.append("%s is missing from %s" % (name, dist))
        return
    shipped_sections = sections(shipped)
    debug = [s for s in shipped_sections if s.startswith(".debug")]
    if debug:
        problems.append("%s ships with debug sections %s" % (name, " ".join(debug)))
    if has_symbols(shipped):
        problems.append("%s ships with its symbol table" % name)
    for section in sections(built):
        if section.startswith(".debug") or section == ".gnu_debuglink":
            continue
        if section not in shipped_sections:
            problems.append("%s lost its section %s" % (name, section))
        elif section_bytes(built, section) != section_bytes(shipped, section):
            problems.append("%s: section %s differs from the built file" % (name, section))

    symbols = os.path.join(dist, "symbols", name + ".debug")
    if ".debug_info" not in sections(built):
        if os.path.exists(symbols):
            problems.append("%s has a symbols file but was built without debug information" % name)
        return
    if not os.path.isfile(symbols):
        problems.append("%s: its debug information is not kept in symbols/" % name)
        return
    if ".debug_info" not in sections(symbols):
        problems.append("symbols/%s.debug holds no debug information" % name)
    if ".gnu_debuglink" not in shipped_sections:
        problems.append("%s has no .gnu_debuglink" % name)
        return
    link = dumped_bytes(shipped, ".gnu_debuglink")
    linked_name = link.split(b"\0", 1)[0].decode("ascii", "replace")
    crc = int.from_bytes(link[-4:], "little")
    with open(symbols, "rb") as f:
        actual = zlib.crc32(f.read()) & 0xFFFFFFFF
    if linked_name != name + ".debug":
        problems.append("%s links to %r, not %s.debug" % (name, linked_name, name))
    if crc != actual:
        problems.append("%s: the debug link's CRC %08X does not match symbols/%s.debug (%08X)"
                        % (name, crc, name, actual))


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    dist, rest = argv[0], argv[1:]
    built, helps = [], []
    while rest:
        if rest[0] == "--help" and len(rest) > 1:
            helps.append(rest[1])
            rest = rest[2:]
        else:
            built.append(rest[0])
            rest = rest[1:]
    problems = []
    for path in built:
        check(dist, path, problems)
    for name in helps:
        if not os.path.isfile(os.path.join(dist, os.path.basename(name))):
            problems.append("help file %s is missing from %s" % (os.path.basename(name), dist))
    total = sum(os.path.getsize(os.path.join(dist, os.path.basename(p))) for p in built
                if os.path.isfile(os.path.join(dist, os.path.basename(p))))
    for problem in problems:
        print("dist: " + problem)
    if problems:
        return 1
    print("dist: %d deliverables, %d bytes stripped, %d help files" % (len(built), total, len(helps)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

"""REGEDIT4 text as Windows 98 regedit writes it, and a strict reader for the checks."""

import re
import struct

CRLF = "\r\n"

REG_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ = 1, 3, 4, 7


class Registry:
    """Keys (full paths with the root's long name) and their values, in insertion order."""

    def __init__(self):
        self.keys = {}

    def key(self, path):
        parts = path.split("\\")
        for n in range(1, len(parts) + 1):
            self.keys.setdefault("\\".join(parts[:n]), {})
        return self.keys[path]

    def sz(self, path, name, text):
        self.key(path)[name] = (REG_SZ, text)

    def dword(self, path, name, number):
        self.key(path)[name] = (REG_DWORD, number)

    def binary(self, path, name, data):
        self.key(path)[name] = (REG_BINARY, bytes(data))

    def word(self, path, name, number):
        """A card setting: REG_BINARY, two bytes, the low 16 bits little-endian."""
        self.binary(path, name, struct.pack("<H", number & 0xFFFF))

    def multi_sz(self, path, name, strings):
        data = b"".join(s.encode("cp1252") + b"\0" for s in strings) + b"\0"
        self.key(path)[name] = (REG_MULTI_SZ, data)

    def has(self, path):
        return path in self.keys


def reg_quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def reg_hex(prefix, data):
    """Hex bytes wrapped as Windows 98 regedit exports them: ',\\' and a two-space indent."""
    lines, line = [], prefix
    for i, byte in enumerate(data):
        token = "%02x" % byte + ("," if i + 1 < len(data) else "")
        if len(line) + len(token) > 77 and line.strip():
            lines.append(line + "\\")
            line = "  "
        line += token
    lines.append(line)
    return CRLF.join(lines)


def reg_value_line(name, value):
    vtype, data = value
    left = "@" if name == "" else reg_quote(name)
    if vtype == REG_SZ:
        return left + "=" + reg_quote(data)
    if vtype == REG_DWORD:
        return left + "=dword:%08x" % data
    if vtype == REG_BINARY:
        return reg_hex(left + "=hex:", data)
    return reg_hex(left + "=hex(%x):" % vtype, data)


def reg_text(registry):
    """The whole file: keys depth-first in regedit's order (names without regard to case)."""
    out = ["REGEDIT4", ""]
    for path in sorted(registry.keys, key=lambda p: [s.lower() for s in p.split("\\")]):
        if "\\" not in path:
            continue  # the roots themselves
        out.append("[" + path + "]")
        for name, value in registry.keys[path].items():
            out.append(reg_value_line(name, value))
        out.append("")
    return (CRLF.join(out) + CRLF).encode("cp1252")


def parse_reg(data):
    """REGEDIT4 bytes -> {key path (lower case): (path, {name lower: (name, type, bytes)})}."""
    if b"\n" in data.replace(b"\r\n", b""):
        raise ValueError("a line ends in LF alone")
    text = data.decode("cp1252")
    lines = text.split("\r\n")
    if lines[0] != "REGEDIT4":
        raise ValueError("does not start with REGEDIT4")
    keys, current, i = {}, None, 1
    while i < len(lines):
        line = lines[i]
        while line.endswith("\\") and "=hex" in line:
            i += 1
            line = line[:-1] + lines[i].lstrip()
        i += 1
        if not line or line.startswith(";"):
            continue
        if line.startswith("["):
            path = line[1:-1]
            current = keys.setdefault(path.lower(), (path, {}))[1]
            continue
        m = re.match(r'^(@|"((?:[^"\\]|\\.)*)")=(.*)$', line)
        if not m or current is None:
            raise ValueError("malformed line: " + line)
        name = "" if m.group(1) == "@" else re.sub(r"\\(.)", r"\1", m.group(2))
        rhs = m.group(3)
        if rhs.startswith('"'):
            value = (REG_SZ, re.sub(r"\\(.)", r"\1", rhs[1:-1]).encode("cp1252") + b"\0")
        elif rhs.startswith("dword:"):
            value = (REG_DWORD, struct.pack("<I", int(rhs[6:], 16)))
        else:
            hm = re.match(r"^hex(?:\(([0-9a-f]+)\))?:(.*)$", rhs)
            if not hm:
                raise ValueError("malformed value: " + line)
            vtype = int(hm.group(1), 16) if hm.group(1) else REG_BINARY
            body = hm.group(2).replace(" ", "")
            value = (vtype, bytes(int(b, 16) for b in body.split(",") if b))
        current[name.lower()] = (name, value[0], value[1])
    return keys

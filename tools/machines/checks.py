"""Checks of committed descriptions, independent of how they were generated: record sizes,
keys that must exist, device descriptions the card's software recognises, the INF patch
markers, line ends, and a byte-for-byte comparison with fresh output."""

import configparser
import filecmp
import os
import re
import struct

from hardware import RELEASES
from machine import CM_ENUM, HKLM, MIC, SIM
from records import decode_cmconfig
from regtext import REG_BINARY, REG_DWORD, REG_SZ, parse_reg

# Descriptions by which the card's software recognises the card's device nodes
# (substrings, letter case significant).
CARD_DEVICE_NAMES = ("Gameport Device", "Gameport Joystick", "Manette de jeu pour port jeu",
                     "Port pour manette de jeu", "Gameport-Joystick", "Device Manager",
                     "DOS Games/FM Devices", "Tunara Enumerator", "Maestro Enumerator",
                     "Tunara Multi-Device Enumerator", "WaveTable Synthesis Device",
                     "MPU401 Device")


def match_marker(data, pos, marker):
    """The card software's text search: returns the position after the marker, or None."""
    fold = lambda b: b + 32 if 65 <= b <= 90 else b
    k = 0
    while k < len(marker):
        if pos >= len(data):
            return None
        byte, want = data[pos], marker[k]
        pos += 1
        if byte == ord("|") or want == ord("|") or fold(byte) == fold(want):
            k += 1
        else:
            k = 0
    return pos


INF_MARKERS = (b"HwAcceleration,1,0", b'remove the ";"\r\n', b"HKR,Config,SPDIF,1,0",
               b"SoundLibSize,1,0", b"Autoexec,1,01,00\r\n", b"HKR,Config,MicMute,1,0")


class Checker:
    def __init__(self):
        self.problems = []

    def fail(self, where, text):
        self.problems.append("%s: %s" % (where, text))

    def value(self, keys, path, name):
        entry = keys.get(path.lower())
        if entry is None:
            return None
        found = entry[1].get(name.lower())
        return None if found is None else (found[1], found[2])

    def check_machine(self, folder):
        name = os.path.basename(folder)
        ini = configparser.ConfigParser(interpolation=None)
        ini.read(os.path.join(folder, "machine.ini"))
        for key in ("version", "windows", "system", "temp", "locale"):
            if not ini.has_option("machine", key):
                self.fail(name, "machine.ini lacks " + key)
        if ini.get("machine", "version", fallback="") not in RELEASES:
            self.fail(name, "unknown version")
        with open(os.path.join(folder, "registry.reg"), "rb") as f:
            try:
                keys = parse_reg(f.read())
            except (ValueError, UnicodeDecodeError) as e:
                self.fail(name, "registry.reg: %s" % e)
                return
        facts = dict(ini.items("facts")) if ini.has_section("facts") else {}
        self.check_pci(name, keys)
        self.check_nodes(name, keys, ini, facts)
        self.check_mixer(name, keys)
        self.check_texts(name, folder)
        if facts.get("installed") == "1":
            self.check_card(name, folder, keys, ini, facts)

    def check_pci(self, name, keys):
        prefix = (SIM + "\\PCI\\").lower()
        functions = {}
        for lower, (path, values) in keys.items():
            if not lower.startswith(prefix):
                continue
            slot = path[len(prefix):]
            m = re.match(r"^([0-9A-F]{2}):([0-9A-F]{2})\.([0-7])$", slot)
            if not m or int(m.group(2), 16) > 31:
                self.fail(name, "PCI key name %r is not bus:device.function" % slot)
                continue
            config = values.get("config")
            if not config or config[1] != REG_BINARY or not 64 <= len(config[2]) <= 256:
                self.fail(name, "PCI %s: Config must be REG_BINARY of 64 to 256 bytes" % slot)
                continue
            vendor = struct.unpack_from("<H", config[2])[0]
            if vendor in (0, 0xFFFF):
                self.fail(name, "PCI %s: no vendor id" % slot)
            functions[(int(m.group(1), 16), int(m.group(2), 16), int(m.group(3)))] = config[2]
        for (bus, device, function), config in functions.items():
            if function and (bus, device, 0) not in functions:
                self.fail(name, "PCI %02X:%02X.%X without function 0" % (bus, device, function))
            if function and not functions.get((bus, device, 0), b"\0" * 15)[0x0E] & 0x80:
                self.fail(name, "PCI %02X:%02X: function 0 not marked multi-function" %
                          (bus, device))
            if bus and not any(c[0x0E] & 0x7F == 1 and c[0x19] == bus
                               for c in functions.values()):
                self.fail(name, "PCI bus %d has no bridge" % bus)

    def check_nodes(self, name, keys, ini, facts):
        cm = (CM_ENUM + "\\").lower()
        records = (SIM + "\\PnpConf\\").lower()
        nodes = set()
        for lower, (path, values) in keys.items():
            if lower.startswith(records):
                node = path[len(records):]
                config = values.get("config")
                if not config or config[1] != REG_BINARY:
                    self.fail(name, "PnpConf %s: no REG_BINARY Config" % node)
                    continue
                try:
                    decode_cmconfig(config[2])
                except ValueError as e:
                    self.fail(name, "PnpConf %s: %s" % (node, e))
                if cm + node.lower() not in keys:
                    self.fail(name, "PnpConf %s: no such device node" % node)
            if not lower.startswith(cm) or "\\" in lower[len(cm):]:
                continue
            node = path[len(cm):]
            nodes.add(node)
            if not re.match(r"^[0-9A-F]{8}$", node) or node.startswith("0"):
                self.fail(name, "node %r is not eight significant hex digits" % node)
            hw = values.get("hardwarekey")
            if not hw or hw[1] != REG_SZ:
                self.fail(name, "node %s has no HardWareKey" % node)
                continue
            enum = HKLM + "\\Enum\\" + hw[2][:-1].decode("cp1252")
            if enum.lower() not in keys:
                self.fail(name, "node %s: %s does not exist" % (node, enum))
            for value_name in ("status", "problem"):
                v = values.get(value_name)
                if not v or v[1] != REG_BINARY or len(v[2]) != 4:
                    self.fail(name, "node %s: %s is not four binary bytes" % (node, value_name))
            if records + node.lower() not in keys and node not in facts.get("norecord", ""):
                self.fail(name, "node %s has no resource record" % node)
            description = self.value(keys, enum, "DeviceDesc")
            text = description[1][:-1].decode("cp1252") if description else ""
            is_card = node in facts.get("cardnodes", "").split(",")
            if is_card != any(card in text for card in CARD_DEVICE_NAMES):
                self.fail(name, "node %s (%r) is %s a card device by its description" %
                          (node, text, "not" if is_card else "taken for"))
        for node in filter(None, facts.get("cardnodes", "").split(",")):
            if node not in nodes:
                self.fail(name, "card node %s missing" % node)
        present = self.value(keys, SIM + "\\PnpConf", "Present")
        if present is None or present[0] != REG_DWORD:
            self.fail(name, "PnpConf Present missing")

    def check_mixer(self, name, keys):
        mixer = SIM + "\\Mixer"
        if mixer.lower() not in keys:
            return
        if not self.value(keys, mixer + "\\Destination0\\Source0", "ComponentType"):
            self.fail(name, "mixer without Destination0\\Source0")
        m = 0
        while (mixer + "\\Destination0\\Source%d" % m).lower() in keys:
            source = mixer + "\\Destination0\\Source%d" % m
            ctype = self.value(keys, source, "ComponentType")
            controls = self.value(keys, source, "Controls")
            if ctype and struct.unpack("<I", ctype[1])[0] == MIC:
                if not controls or struct.unpack("<I", controls[1])[0] < 3:
                    self.fail(name, "first microphone of destination 0 lacks a boost control")
                return
            m += 1
        self.fail(name, "destination 0 has no microphone source")

    def check_texts(self, name, folder):
        drives = os.path.join(folder, "drives")
        for base, _, files in os.walk(drives):
            for file in files:
                if not file.lower().endswith((".bat", ".sys", ".inf", ".ini", ".hv1")):
                    continue
                path = os.path.join(base, file)
                with open(path, "rb") as f:
                    data = f.read()
                if b"\n" in data.replace(b"\r\n", b"") or b"\r" in data.replace(b"\r\n", b""):
                    if not file.lower() == "aecu.sys":
                        self.fail(name, "%s: line ends other than CRLF" %
                                  os.path.relpath(path, folder))

    def check_card(self, name, folder, keys, ini, facts):
        def word(path, value_name):
            v = self.value(keys, HKLM + "\\" + path, value_name)
            if v is None:
                return None
            if v[0] != REG_BINARY or len(v[1]) != 2:
                self.fail(name, "%s\\%s is not two binary bytes" % (path, value_name))
                return None
            return struct.unpack("<H", v[1])[0]

        for key in ("pcikey", "wavekey"):
            driver = self.value(keys, HKLM + "\\" + facts[key], "Driver")
            if not driver:
                self.fail(name, "%s has no Driver" % facts[key])
        wave = facts["wavekey"].split("\\")[-1]
        prefix = wave[:22]
        if not re.match(r"^PCI&VEN_[0-9A-F]{4}&DEV_[0-9A-F]{4}&$", prefix):
            self.fail(name, "wave instance %r does not start with the card's id" % wave)
        location = re.search(r"BUS_..&DEV_..&FUNC_..$", wave)
        pci_location = facts["pcikey"].split("\\")[-1]
        if not location or location.group(0) != pci_location:
            self.fail(name, "wave instance and PCI key name different locations")
        config = facts["configkey"]
        expected = {"HwAcceleration": "hwacceleration", "SoundLibSize": "soundlibsize",
                    "MicMute": "micmute", "SPDIF": "spdif"}
        for value_name, fact in expected.items():
            if word(config, value_name) != int(facts[fact]):
                self.fail(name, "%s\\%s differs from the facts" % (config, value_name))
        inf = os.path.join(folder, "drives", "c", *facts["inf"][3:].split("\\"))
        with open(inf, "rb") as f:
            data = f.read()
        wanted = [b"1" if facts["hwacceleration"] == "1" else b"0",
                  b" " if facts["enablespdif"] == "1" else b";",
                  facts["spdif"].encode(), facts["soundlibsize"].encode(),
                  b" " if facts["micboost"] == "1" else b";",
                  facts["micmute"].encode()]
        pos = 0
        for marker, byte in zip(INF_MARKERS, wanted):
            pos = match_marker(data, pos, marker)
            if pos is None or pos >= len(data):
                self.fail(name, "INF marker %r not found in order" % marker)
                return
            if data[pos:pos + 1] != byte:
                self.fail(name, "INF byte after %r is %r, not %r" % (marker, data[pos:pos + 1],
                                                                      byte))
        system = os.path.join(folder, "drives", "c",
                              *ini.get("machine", "system")[3:].split("\\"))
        ext = ".img" if facts["wavetable"] == "on" else ".im"
        for set_name in ("Plat2Meg", "Plat4Meg"):
            if not os.path.exists(os.path.join(system, set_name + ext)):
                self.fail(name, "sample set %s%s missing" % (set_name, ext))


def compare_trees(expected, actual, checker):
    comparison = filecmp.dircmp(expected, actual, ignore=[])
    stack = [("", comparison)]
    while stack:
        prefix, c = stack.pop()
        for file in c.left_only:
            checker.fail(os.path.join(prefix, file), "not committed (run the generator)")
        for file in c.right_only:
            checker.fail(os.path.join(prefix, file), "committed but not generated")
        _, mismatch, errors = filecmp.cmpfiles(c.left, c.right, c.common_files, shallow=False)
        for file in mismatch + errors:
            checker.fail(os.path.join(prefix, file), "differs from the generator's output")
        for sub, sub_c in c.subdirs.items():
            stack.append((os.path.join(prefix, sub), sub_c))

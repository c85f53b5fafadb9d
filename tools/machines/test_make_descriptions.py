#!/usr/bin/env python3
"""Tests of make-descriptions.py: python3 -m unittest tools/machines/test_make_descriptions.py"""

import contextlib
import importlib.util
import io
import os
import struct
import sys
import tempfile
import unittest

_HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, _HERE)
_spec = importlib.util.spec_from_file_location("make_descriptions",
                                               os.path.join(_HERE, "make-descriptions.py"))
main = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(main)

import checks  # noqa: E402
import hardware  # noqa: E402
import records  # noqa: E402
import regtext  # noqa: E402


class CmConfigTest(unittest.TestCase):
    def test_fields_land_at_their_offsets(self):
        res = records.Resources(mem=[(0x11111111, 0x22222222, 0x3333)] * 9,
                           io=[(0x4444, 0x5555)] * 20, irq=[(0x66, 0x77)] * 7,
                           dma=[(0x88, 0x9999)] * 7)
        blob = records.encode_cmconfig(res)
        self.assertEqual(len(blob), 216)
        rows = [  # offset, format, expected
            (0, "<H", 9), (2, "<I", 0x11111111), (34, "<I", 0x11111111),
            (38, "<I", 0x22222222), (70, "<I", 0x22222222), (74, "<H", 0x3333),
            (90, "<H", 0x3333), (92, "<H", 20), (94, "<H", 0x4444), (132, "<H", 0x4444),
            (134, "<H", 0x5555), (172, "<H", 0x5555), (174, "<H", 7), (176, "<B", 0x66),
            (182, "<B", 0x66), (183, "<B", 0x77), (189, "<B", 0x77), (190, "<H", 7),
            (192, "<B", 0x88), (198, "<B", 0x88), (199, "<H", 0x9999), (211, "<H", 0x9999),
            (213, "<3s", b"\0\0\0"),
        ]
        for offset, fmt, expected in rows:
            with self.subTest(offset=offset):
                self.assertEqual(struct.unpack_from(fmt, blob, offset)[0], expected)

    def test_unused_entries_are_zero_and_decode_round_trips(self):
        res = records.Resources(io=[(0x220, 0x10), (0x388, 4)], dma=[1])
        fields = records.decode_cmconfig(records.encode_cmconfig(res))
        self.assertEqual(fields["io_count"], [2])
        self.assertEqual(fields["io_base"][:3], [0x220, 0x388, 0])
        self.assertEqual(fields["io_length"][:3], [0x10, 4, 0])
        self.assertEqual(fields["dma"][:2], [1, 0])
        self.assertEqual(fields["mem_count"] + fields["irq_count"], [0, 0])

    def test_too_many_entries_are_refused(self):
        for res in (records.Resources(mem=[(0, 1)] * 10), records.Resources(io=[(0, 1)] * 21),
                    records.Resources(irq=[1] * 8), records.Resources(dma=[1] * 8)):
            with self.assertRaises(ValueError):
                records.encode_cmconfig(res)

    def test_decode_rejects_damaged_records(self):
        good = bytearray(records.encode_cmconfig(records.Resources(io=[(0x330, 2)])))
        over_count = bytearray(good)
        struct.pack_into("<H", over_count, 92, 21)
        past_count = bytearray(good)
        struct.pack_into("<H", past_count, 96, 0x300)  # second I/O base, count is 1
        reserved = bytearray(good)
        reserved[215] = 1
        for name, blob in (("short", good[:215]), ("long", good + b"\0"),
                           ("count", over_count), ("past count", past_count),
                           ("reserved", reserved)):
            with self.subTest(name), self.assertRaises(ValueError):
                records.decode_cmconfig(bytes(blob))


class PciConfigTest(unittest.TestCase):
    def test_card_function(self):
        chip = hardware.CHIPS["maestro2e"]
        c = hardware.card_function(chip, 0, 0x0A).config()
        self.assertEqual(len(c), 256)
        self.assertEqual(struct.unpack_from("<HH", c, 0), (0x125D, 0x1978))
        self.assertEqual(c[8:12], bytes([0x10, 0x00, 0x01, 0x04]))  # revision, class 040100
        self.assertEqual(c[0x0E], 0)
        self.assertEqual(struct.unpack_from("<I", c, 0x10)[0], 0xE801)  # I/O BAR
        self.assertEqual(struct.unpack_from("<HH", c, 0x2C), (0x125D, 0x1978))
        self.assertEqual((c[0x3C], c[0x3D]), (5, 1))
        self.assertEqual(c[c[0x34]], 0x01)  # power management capability

    def test_bridge_and_function_behind_it(self):
        functions = hardware.bus_440bx()
        bridge = next(f for f in functions if f.bridge).config()
        self.assertEqual(bridge[0x0E] & 0x7F, 1)
        self.assertEqual(bridge[8:12], bytes([0x03, 0x00, 0x04, 0x06]))
        self.assertEqual((bridge[0x18], bridge[0x19], bridge[0x1A]), (0, 1, 1))
        self.assertEqual((bridge[0x1C], bridge[0x1D]), (0xD0, 0xD0))
        vga = next(f for f in functions if f.bus == 1)
        self.assertEqual(vga.sim_name, "01:00.0")

    def test_slot_codes_behind_a_bridge(self):
        for x, code in ((0, "00"), (1, "08"), (5, "28"), (14, "70"), (19, "98")):
            self.assertEqual(records.df(x), code)


class RegeditTextTest(unittest.TestCase):
    def test_round_trip_and_layout(self):
        reg = regtext.Registry()
        key = "HKEY_LOCAL_MACHINE\\Software\\Test"
        reg.sz(key, "", 'quote " and back\\slash')
        reg.sz(key, "Name with spaces", "C:\\WINDOWS\\SYSTEM\\tnrtray.exe -wavetableTwoMb")
        reg.dword(key, "Number", 0x1003)
        reg.binary(key, "Blob", bytes(range(256)) + bytes(44))
        reg.word(key, "SoundLibSize", 0x10004)
        reg.multi_sz(key, "Messages", [])
        data = regtext.reg_text(reg)
        self.assertTrue(data.startswith(b"REGEDIT4\r\n\r\n"))
        self.assertNotIn(b"\n", data.replace(b"\r\n", b""))
        for line in data.split(b"\r\n"):
            self.assertLessEqual(len(line), 80, line)
        values = regtext.parse_reg(data)[key.lower()][1]
        self.assertEqual(values[""][2], b'quote " and back\\slash\0')
        self.assertEqual(values["name with spaces"][2][-16:], b"-wavetableTwoMb\0")
        self.assertEqual(values["number"][1:], (regtext.REG_DWORD, struct.pack("<I", 0x1003)))
        self.assertEqual(values["blob"][2], bytes(range(256)) + bytes(44))
        self.assertEqual(values["soundlibsize"][1:], (regtext.REG_BINARY, b"\x04\x00"))
        self.assertEqual(values["messages"][1:], (regtext.REG_MULTI_SZ, b"\0"))

    def test_parent_keys_are_written(self):
        reg = regtext.Registry()
        reg.sz("HKEY_LOCAL_MACHINE\\A\\B\\C", "v", "x")
        text = regtext.reg_text(reg).decode()
        self.assertLess(text.index("[HKEY_LOCAL_MACHINE\\A]"),
                        text.index("[HKEY_LOCAL_MACHINE\\A\\B\\C]"))


class MarkerTest(unittest.TestCase):
    def test_search_rules(self):
        rows = [  # text, marker, position after the marker (None: not found)
            (b"xxHwAcceleration,1,01", b"HwAcceleration,1,0", 20),
            (b"hwacceleration,1,0", b"HwAcceleration,1,0", 18),
            (b"HHwAcceleration,1,0", b"HwAcceleration,1,0", None),
            (b"Hw|cceleration,1,0", b"HwAcceleration,1,0", 18),
            (b"SoundLibSize,1,0", b"Sound|ibSize,1,0", 16),
            (b"SoundLibSize,1,", b"SoundLibSize,1,0", None),
        ]
        for text, marker, expected in rows:
            with self.subTest(text=text):
                self.assertEqual(checks.match_marker(text, 0, marker), expected)


class DescriptionsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.TemporaryDirectory()
        main.generate(cls.temp.name)

    @classmethod
    def tearDownClass(cls):
        cls.temp.cleanup()

    def machine(self, name):
        folder = os.path.join(self.temp.name, name)
        with open(os.path.join(folder, "registry.reg"), "rb") as f:
            keys = regtext.parse_reg(f.read())
        facts = {}
        with open(os.path.join(folder, "machine.ini")) as f:
            for line in f:
                if "=" in line and not line.startswith(";"):
                    k, v = line.strip().split("=", 1)
                    facts[k] = v
        return keys, facts

    def driver_of(self, keys, path):
        entry = keys.get(("HKEY_LOCAL_MACHINE\\" + path).lower())
        self.assertIsNotNone(entry, path)
        return entry[1]["driver"][2][:-1].decode()

    def test_keys_found_the_way_the_settings_look_them_up(self):
        # chip, release minor version 10 or not, the location: the keys as the card's
        # settings derive them, which must exist with a Driver value.
        for name in ("win98-maestro2e", "win98-maestro1", "win95-maestro1",
                     "win95osr2-maestro2e"):
            with self.subTest(name):
                keys, facts = self.machine(name)
                bus, rest = facts["pci"].split(":")
                device = rest.split(".")[0]
                location = "BUS_%s&DEV_%s&FUNC_00" % (bus, device)
                is_2e = facts["chip"] == "maestro2e"
                prefix = "PCI&VEN_125D&DEV_1978&" if is_2e else "PCI&VEN_1285&DEV_0100&"
                enum = "Enum\\PCI\\" + prefix[4:-1]
                suffix = ""
                if is_2e and facts["version"].startswith("win98"):
                    wave = [path.split("\\")[-1] for _, (path, _) in keys.items()
                            if path.lower().startswith("hkey_local_machine\\enum\\zizez\\wave\\")
                            and prefix in path and location in path]
                    self.assertEqual(len(wave), 1)
                    sub = wave[0][22:44]
                    self.assertRegex(sub, r"^SUBSYS_[0-9A-F]{8}&REV_[0-9A-F]{2}$")
                    suffix, enum = sub + "&", enum + "&" + sub
                wave_driver = self.driver_of(keys, "Enum\\ZIZEZ\\WAVE\\" + prefix + suffix +
                                             location)
                pci_driver = self.driver_of(keys, enum + "\\" + location)
                config = ("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\" +
                          wave_driver + "\\Config").lower()
                self.assertEqual(keys[config][1]["soundlibsize"][2],
                                 struct.pack("<H", int(facts["soundlibsize"])))
                switch = "joysticksupport" if is_2e else "joydisable"
                klass = ("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\" +
                         pci_driver).lower()
                self.assertEqual(len(keys[klass][1][switch][2]), 2)

    def test_check_accepts_fresh_output_and_catches_damage(self):
        def run_check(root):
            with contextlib.redirect_stdout(io.StringIO()), \
                    contextlib.redirect_stderr(io.StringIO()) as err:
                return main.check(root), err.getvalue()

        def damage_inf(folder):
            path = os.path.join(folder, "win98-maestro2e", "drives", "c", "WINDOWS", "INF",
                                "CNPROWT.INF")
            with open(path, "rb") as f:
                data = f.read()
            with open(path, "wb") as f:
                f.write(data.replace(b"SoundLibSize,1,04", b"SoundLibSize,1,02"))

        def extra_file(folder):
            with open(os.path.join(folder, "win98-nocard", "drives", "c", "x.txt"), "wb") as f:
                f.write(b"x")

        for name, damage, expected in (("INF byte", damage_inf, "INF byte after"),
                                       ("extra file", extra_file, "committed but not")):
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                main.generate(root)
                self.assertEqual(run_check(root)[0], 0)
                damage(root)
                result, errors = run_check(root)
                self.assertEqual(result, 1)
                self.assertIn(expected, errors)


if __name__ == "__main__":
    unittest.main()

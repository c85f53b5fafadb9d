"""One machine description: its registry, its files on drive C and its machine.ini."""

import os
import struct

from files import (AECU_SYS, BLANK_MID, MAESTRO_COM, dos_text, inf_text, placeholder,
                   sample_set)
from hardware import (BLASTER, BOARD_DEVICES, BUSES, CHIPS, CLASS_GUIDS, CLASS_NAMES,
                      CM_PROB_NORMAL_CONFLICT, DISPLAY_GUID, MAKER, MEDIA_GUID, RELEASES,
                      ROOT_MEDIA, card_children, card_function, node_status)
from records import NO_RESOURCES, Resources, df, encode_cmconfig
from regtext import Registry, reg_text

HKLM = "HKEY_LOCAL_MACHINE"
HKDD = "HKEY_DYN_DATA"
CM_ENUM = HKDD + "\\Config Manager\\Enum"
SIM = HKLM + "\\Software\\SimulatedHardware"
CLASS_ROOT = HKLM + "\\System\\CurrentControlSet\\Services\\Class"
RUN = HKLM + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
MIC = 0x1003

# Mixer lines: (component type, controls). Index 2 of a line with three controls is the
# stored on/off value: on the first microphone source of the speakers destination it is the
# card's 20 dB boost.
SPEAKERS = (0x0004, 2)
RECORDING = (0x0007, 1)
SPEAKER_SOURCES = [(0x1008, 2), (0x1004, 2), (0x1005, 2), (0x1002, 2), (MIC, 3), (0x1007, 2)]
RECORDING_SOURCES = [(MIC, 2), (0x1002, 2), (0x1005, 2), (0x1004, 2)]

DEFAULT_SETTINGS = dict(
    hw_acceleration=1, enable_spdif=0, spdif=0, sound_lib_size=4, wavetable_active=True,
    two_mb_run=False, mic_boost=0, mic_mute=0, joystick_disabled=False, game_support=True,
    native_dos=False, tray_autostart=True, speaker_config=4, autoexec_final_newline=True)


class Node:
    def __init__(self, hardware_key, res, problem=0, enumerator=False, root=False,
                 record=True, card=False):
        self.hardware_key, self.res, self.problem = hardware_key, res, problem
        self.enumerator, self.root, self.record, self.card = enumerator, root, record, card


class Machine:
    def __init__(self, name, release, bus, chip=None, card_slot=None, settings=None,
                 conflict=False, summary=""):
        self.name, self.release, self.bus_name = name, RELEASES[release], bus
        self.chip = CHIPS[chip] if chip else None
        self.card_slot = card_slot
        self.s = dict(DEFAULT_SETTINGS, **(settings or {}))
        self.conflict, self.summary = conflict, summary
        self.reg = Registry()
        self.files = {}  # path below the drive root, '\\'-separated -> bytes
        self.nodes = []
        self.class_counters = {}
        self.facts = {}

    # -- registry helpers ----------------------------------------------------------------

    def class_instance(self, class_name, values):
        """The next free instance key of a class, filled with `values`; returns 'CLS\\0003'."""
        n = self.class_counters.get(class_name, 0)
        self.class_counters[class_name] = n + 1
        driver = "%s\\%04d" % (class_name, n)
        root = CLASS_ROOT + "\\" + class_name
        if not self.reg.keys.get(root):
            self.reg.sz(root, "", CLASS_NAMES[class_name])
            if class_name == "MEDIA":
                self.reg.sz(root, "Icon", "-1")
                self.reg.sz(root, "Installer", "mmci.dll")
        key = CLASS_ROOT + "\\" + driver
        for name, value in values.items():
            self.reg.sz(key, name, value)
        return driver

    def device(self, hardware_key, description, class_name, res, mfg="(Standard system devices)",
               hardware_id=None, compatible_ids=None, problem=0, enumerator=False, root=False,
               record=True, card=False, class_values=None, extra=None):
        """An Enum key, its class instance and its live device node."""
        key = HKLM + "\\Enum\\" + hardware_key
        values = {"DriverDesc": description}
        if class_values:
            values.update(class_values)
        driver = self.class_instance(class_name, values) if class_name != "Unknown" else None
        self.reg.sz(key, "Class", class_name)
        if driver:
            self.reg.sz(key, "Driver", driver)
        self.reg.sz(key, "DeviceDesc", description)
        if compatible_ids:
            self.reg.sz(key, "CompatibleIDs", compatible_ids)
        self.reg.binary(key, "ConfigFlags", bytes(4))
        self.reg.sz(key, "HardwareID", hardware_id or hardware_key.rsplit("\\", 1)[0])
        self.reg.sz(key, "Mfg", mfg)
        if self.release.win98 and class_name in CLASS_GUIDS and CLASS_GUIDS[class_name]:
            self.reg.sz(key, "ClassGUID", CLASS_GUIDS[class_name])
        for name, value in (extra or {}).items():
            self.reg.sz(key, name, value)
        self.nodes.append(Node(hardware_key, res, problem, enumerator, root, record, card))
        return driver

    # -- PCI -----------------------------------------------------------------------------

    def pci_id(self, fn):
        ident = "VEN_%04X&DEV_%04X" % (fn.vendor, fn.device_id)
        # The Maestro-1's function keeps the short id on every release; the card's software
        # looks it up that way.
        if self.release.win98 and not (fn.vendor == 0x1285 and fn.device_id == 0x0100):
            ident += "&SUBSYS_%08X&REV_%02X" % (fn.subsystem, fn.revision)
        return ident

    def pci_instance(self, fn, bridges):
        if fn.bus == 0:
            return "BUS_%02X&DEV_%02X&FUNC_%02X" % (fn.bus, fn.device, fn.function)
        bridge = bridges[fn.bus]
        return df(fn.device) + df(bridge.device) + df(fn.function)

    def pci_hardware_ids(self, fn):
        base = "PCI\\VEN_%04X&DEV_%04X" % (fn.vendor, fn.device_id)
        if not self.release.win98:
            return base
        sub, rev = "&SUBSYS_%08X" % fn.subsystem, "&REV_%02X" % fn.revision
        return ",".join([base + sub + rev, base + sub, base + rev, base])

    def add_pci(self, functions):
        bridges = {f.bridge[1]: f for f in functions if f.bridge}
        for fn in functions:
            self.reg.binary(SIM + "\\PCI\\" + fn.sim_name, "Config", fn.config())
            if self.release.nt:
                continue
            instance = self.pci_instance(fn, bridges)
            hardware_key = "PCI\\%s\\%s" % (self.pci_id(fn), instance)
            cc = "PCI\\CC_%06X,PCI\\CC_%04X" % (fn.cls, fn.cls >> 8)
            is_card = self.chip is not None and fn.vendor == self.chip.vendor
            description = fn.description if self.release.win98 else fn.description95
            extra = {}
            if is_card:
                extra["HWRevision"] = "%d" % fn.revision
            class_values = None
            if is_card:
                class_values = self.card_class_values()
            driver = self.device(hardware_key, description, fn.class_name, fn.res,
                                 mfg=MAKER if is_card else "(Standard system devices)",
                                 hardware_id=self.pci_hardware_ids(fn), compatible_ids=cc,
                                 problem=fn.problem, enumerator=is_card or bool(fn.bridge),
                                 card=is_card, class_values=class_values, extra=extra)
            if is_card:
                self.card_pci_key, self.card_pci_driver = hardware_key, driver
                key = CLASS_ROOT + "\\" + driver
                self.reg.word(key, self.chip.joystick_value,
                              (0 if self.s["joystick_disabled"] else 1) if self.chip.is_2e
                              else (1 if self.s["joystick_disabled"] else 0))
                self.reg.word(key, "GameSupport", 1 if self.s["game_support"] else 0)
                self.add_card_children(fn)
            for index, child_description, child_res in fn.mf_children:
                child_instance = "PCI&%s&BUS_%02X&DEV_%02X&FUNC_%02X" % (
                    self.pci_id(fn), fn.bus, fn.device, fn.function)
                self.device("MF\\CHILD%04d\\%s" % (index, child_instance), child_description,
                            fn.class_name, child_res, hardware_id="MF\\CHILD%04d" % index)

    # -- the card ------------------------------------------------------------------------

    def card_class_values(self):
        values = {"DevLoader": "*CONFIGMG", "InfPath": self.chip.inf,
                  "InfSection": "Tunara.Enum", "ProviderName": MAKER,
                  "DriverDate": "10-12-1999", "DeviceDesc": self.chip.enumerator}
        if self.release.win98:
            values["MatchingDeviceID"] = "VEN_%04X&DEV_%04X" % (self.chip.vendor,
                                                                 self.chip.device_id)
        return values

    def add_card_children(self, fn):
        instance = "PCI&%s&BUS_%02X&DEV_%02X&FUNC_%02X" % (self.pci_id(fn), fn.bus, fn.device,
                                                            fn.function)
        s = self.s
        for device_id, description, res in card_children(s):
            hardware_key = "ZIZEZ\\%s\\%s" % (device_id, instance)
            problem, record = 0, True
            if self.conflict and device_id == "MPU401":
                res, problem = NO_RESOURCES, CM_PROB_NORMAL_CONFLICT
            if self.conflict and device_id == "WTSYNTH":
                record = False
            if device_id == "GAMEPORT":
                class_values = {"DevLoader": "*vjoyd", "Driver": "msjstick.drv",
                                "InfPath": "MSJSTICK.INF", "InfSection": "Standard_Gameport",
                                "ProviderName": "Microsoft"}
                mfg, compat = "(Standard system devices)", "*PNPB02F"
            else:
                class_values = {"DevLoader": "mmdevldr.vxd", "Driver": "es197x.vxd",
                                "InfPath": self.chip.inf,
                                "InfSection": {"WAVE": "Tunara.Wave", "FM": "Tunara.FM",
                                               "MPU401": "Tunara.MPU",
                                               "WTSYNTH": "Tunara.WT"}[device_id],
                                "ProviderName": MAKER, "DriverDate": "10-12-1999"}
                mfg, compat = MAKER, None
            driver = self.device(hardware_key, description, "MEDIA", res, mfg=mfg,
                                 hardware_id="ZIZEZ\\" + device_id, compatible_ids=compat,
                                 problem=problem, record=record, card=True,
                                 class_values=class_values)
            self.reg.binary(HKLM + "\\Config\\0001\\Enum\\" + hardware_key, "CSConfigFlags",
                            bytes(4))
            if device_id == "WAVE":
                self.wave_key, self.wave_driver = hardware_key, driver
                self.add_wave_class_key(CLASS_ROOT + "\\" + driver)

    def add_wave_class_key(self, key):
        s = self.s
        self.reg.sz(key + "\\Drivers", "MIDI", "es197x.drv")
        self.reg.sz(key + "\\Drivers", "SubClasses", "wave,midi,mixer,aux")
        for sub, description in (("wave", "Tunara Wave Device Manager"),
                                 ("midi", "Tunara WaveTable Synthesis Device"),
                                 ("mixer", "Tunara Wave Device Manager"),
                                 ("aux", "Tunara Wave Device Manager")):
            self.reg.sz(key + "\\Drivers\\%s\\es197x.drv" % sub, "Driver", "es197x.drv")
            self.reg.sz(key + "\\Drivers\\%s\\es197x.drv" % sub, "Description", description)
        config = key + "\\Config"
        self.reg.word(config, "HwAcceleration", s["hw_acceleration"])
        if s["enable_spdif"]:
            self.reg.word(config, "EnableSPDIF", 1)
        self.reg.word(config, "SPDIF", s["spdif"])
        self.reg.word(config, "SoundLibSize", s["sound_lib_size"])
        self.reg.word(config, "Autoexec", 1)
        if s["mic_boost"]:
            self.reg.word(config, "Enable Mic Volume 20dB Boost", 1)
        self.reg.word(config, "MicMute", s["mic_mute"])
        self.reg.word(config, "JoyDisable", 1 if s["joystick_disabled"] else 0)

    # -- building ------------------------------------------------------------------------

    def build(self):
        r = self.release
        functions = BUSES[self.bus_name]()
        if self.chip:
            functions.append(card_function(self.chip, *self.card_slot))
            functions.sort(key=lambda f: (f.bus, f.device, f.function))
        self.add_software()
        if r.nt:
            self.add_nt()
            for fn in functions:
                self.reg.binary(SIM + "\\PCI\\" + fn.sim_name, "Config", fn.config())
        else:
            self.add_root_node()
            for pnp_id, instance, class_name, description, res in BOARD_DEVICES:
                self.device("BIOS\\%s\\%s" % (pnp_id, instance), description, class_name, res,
                            hardware_id=pnp_id, enumerator=pnp_id == "*PNP0A03")
            for n, description in enumerate(ROOT_MEDIA if r.win98 else ROOT_MEDIA[:3]):
                self.device("Root\\MEDIA\\%04d" % n, description, "MEDIA", NO_RESOURCES,
                            mfg="Microsoft", hardware_id="MEDIA\\%04d" % n, root=True)
            self.add_pci(functions)
            self.device("MONITOR\\DEFAULT_MONITOR\\0001", "Default Monitor", "MONITOR",
                        NO_RESOURCES, hardware_id="Monitor\\Default_Monitor")
            if self.conflict:
                # A legacy MIDI interface set by hand to the address the card's MPU-401
                # wants; the card's device is left without it.
                self.device("Root\\MEDIA\\%04d" % len(ROOT_MEDIA), "MPU-401 Compatible",
                            "MEDIA", Resources(io=[(0x330, 2)], irq=[9]), mfg="Microsoft",
                            hardware_id="*PNPB006", root=True)
            self.add_config_manager()
        self.add_simulated_hardware()
        self.add_files()
        self.add_facts()
        return self

    def add_root_node(self):
        # The root of the device tree has an Enum key but no description.
        self.reg.key(HKLM + "\\Enum\\HTREE\\ROOT\\0")
        self.nodes.append(Node("HTREE\\ROOT\\0", NO_RESOURCES, enumerator=True, root=True))

    def add_software(self):
        r = self.release
        cv = HKLM + "\\Software\\Microsoft\\Windows\\CurrentVersion"
        self.reg.sz(cv, "ProgramFilesDir", "C:\\Program Files")
        self.reg.sz(cv, "MediaPath", r.windows + "\\MEDIA")
        if not r.nt:
            self.reg.sz(cv, "Version", r.version_text)
            self.reg.sz(cv, "VersionNumber", r.version_number)
            self.reg.sz(cv, "SubVersionNumber", r.sub_version)
            self.reg.sz(cv, "ProductName", r.product)
            self.reg.sz(cv, "SystemRoot", r.windows)
            self.reg.sz(RUN, "SystemTray", "SysTray.Exe")
            self.reg.sz(RUN, "ScanRegistry", r.windows + "\\scanregw.exe /autorun")
            self.reg.sz(RUN, "TaskMonitor", r.windows + "\\taskmon.exe")
        self.reg.key(RUN)
        self.reg.key(cv + "\\RunOnce")
        self.reg.key(cv + "\\Uninstall")
        self.reg.sz(HKLM + "\\Software\\Microsoft\\DirectX", "Version", r.directx)
        if self.chip and not r.nt:
            tray = r.system + "\\tnrtray.exe"
            if self.s["tray_autostart"]:
                self.reg.sz(RUN, "Cantora SysTray", tray)
            if self.s["two_mb_run"]:
                self.reg.sz(RUN, "Cantora Wavetable = 2MB", tray + " -wavetableTwoMb")

    def add_nt(self):
        r = self.release
        nt = HKLM + "\\Software\\Microsoft\\Windows NT\\CurrentVersion"
        self.reg.sz(nt, "CurrentVersion", "4.0")
        self.reg.sz(nt, "CurrentBuildNumber", "1381")
        self.reg.sz(nt, "CSDVersion", r.sub_version)
        self.reg.sz(nt, "ProductName", r.product)
        self.reg.sz(nt, "SystemRoot", r.windows)
        ccs = HKLM + "\\SYSTEM\\CurrentControlSet"
        media = ccs + "\\Control\\Class\\" + MEDIA_GUID
        self.reg.sz(media, "", CLASS_NAMES["MEDIA"])
        self.reg.sz(media, "Class", "MEDIA")
        self.reg.sz(media, "Icon", "-1")
        self.reg.sz(ccs + "\\Control\\Class\\" + DISPLAY_GUID, "", CLASS_NAMES["DISPLAY"])
        self.reg.sz(ccs + "\\Control\\Class\\" + DISPLAY_GUID, "Class", "Display")
        # The legacy device of a boot driver; its service key is left out, so that Wine's
        # service manager finds nothing to start.
        legacy = ccs + "\\Enum\\Root\\LEGACY_BEEP\\0000"
        self.reg.sz(legacy, "Service", "Beep")
        self.reg.sz(legacy, "DeviceDesc", "Beep")
        self.reg.sz(legacy, "Class", "LegacyDriver")
        self.reg.dword(ccs + "\\Services\\EventLog\\System", "MaxSize", 0x80000)

    def add_config_manager(self):
        for n, node in enumerate(self.nodes):
            node.id = 0xC29A0C2C + n * 0x1B4
            key = CM_ENUM + "\\%08X" % node.id
            self.reg.sz(key, "HardWareKey", node.hardware_key)
            self.reg.binary(key, "Problem", struct.pack("<I", node.problem))
            self.reg.binary(key, "Status", struct.pack(
                "<I", node_status(node.problem, node.enumerator, node.root)))
            if node.record:
                self.reg.binary(SIM + "\\PnpConf\\%08X" % node.id, "Config",
                                encode_cmconfig(node.res))

    def add_simulated_hardware(self):
        s = self.s
        self.reg.dword(SIM + "\\PnpConf", "Present", 0 if self.release.nt else 1)
        if self.chip:
            for d, (dest, sources) in enumerate(((SPEAKERS, SPEAKER_SOURCES),
                                                 (RECORDING, RECORDING_SOURCES))):
                key = SIM + "\\Mixer\\Destination%d" % d
                self.reg.dword(key, "ComponentType", dest[0])
                self.reg.dword(key, "Controls", dest[1])
                self.reg.dword(key, "Value", 0)
                for m, (ctype, controls) in enumerate(sources):
                    boost = s["mic_boost"] if (d == 0 and ctype == MIC) else 0
                    self.reg.dword(key + "\\Source%d" % m, "ComponentType", ctype)
                    self.reg.dword(key + "\\Source%d" % m, "Controls", controls)
                    self.reg.dword(key + "\\Source%d" % m, "Value", boost)
        sound = self.chip is not None
        self.reg.dword(SIM + "\\DirectSound", "Present", 1 if sound else 0)
        self.reg.dword(SIM + "\\DirectSound", "SpeakerConfig", s["speaker_config"])
        self.reg.dword(SIM + "\\Sequencer", "Busy", 0)
        self.reg.dword(SIM + "\\WaveDriver", "Present", 1 if sound else 0)
        self.reg.multi_sz(SIM + "\\WaveDriver", "Messages", [])

    def add_files(self):
        r, s, chip = self.release, self.s, self.chip
        windows = r.windows[3:]  # below C:\
        system = r.system[3:]
        f = self.files
        blaster = chip is not None and s["game_support"]
        autoexec = ["@ECHO OFF"]
        if blaster:
            autoexec.append("SET BLASTER=" + BLASTER)
        autoexec.append("SET PATH=%s;%s\\COMMAND" % (r.windows, r.windows) if not r.nt
                        else "REM")
        config = (["DEVICE=%s\\HIMEM.SYS" % r.windows, "DOS=HIGH,UMB", "FILES=40"]
                  if not r.nt else ["REM"])
        dosstart = ["@ECHO OFF", "REM Run before MS-DOS mode starts"]
        if blaster:
            dosstart.append("SET BLASTER=" + BLASTER)
        final = s["autoexec_final_newline"]
        texts = {"AUTOEXEC.BAT": dos_text(autoexec, final), "CONFIG.SYS": dos_text(config)}
        if not r.nt:
            texts[windows + "\\DOSSTART.BAT"] = dos_text(dosstart)
        if chip and s["native_dos"]:
            # As the settings program leaves them: each file's copy from before the edit
            # (extension hv1), then the driver lines.
            f["AUTOEXEC.HV1"] = texts["AUTOEXEC.BAT"]
            f["CONFIG.HV1"] = texts["CONFIG.SYS"]
            f[windows + "\\DOSSTART.HV1"] = texts[windows + "\\DOSSTART.BAT"]
            for name in ("AUTOEXEC.BAT", windows + "\\DOSSTART.BAT"):
                body = texts[name]
                if not body.endswith(b"\r\n"):
                    body += b"\r\n"
                texts[name] = body + b"C:\\maestro.com"
            texts["CONFIG.SYS"] = b"DEVICE=C:\\aecu.sys\r\n" + texts["CONFIG.SYS"]
        f.update(texts)
        if not r.nt:  # NT 4 keeps its start menu in the user profiles
            f[windows + "\\Start Menu\\Programs\\desktop.ini"] = dos_text(["[.ShellClassInfo]"])
        f[r.temp[3:] + "\\desktop.ini"] = dos_text(["[.ShellClassInfo]"])
        if not chip:
            return
        f[windows + "\\INF\\" + chip.inf] = inf_text(chip, s)
        if r.nt:
            return
        f["maestro.com"] = MAESTRO_COM
        f["aecu.sys"] = AECU_SYS
        f[system + "\\es197x.drv"] = placeholder("es197x.drv")
        f[system + "\\es197x.vxd"] = placeholder("es197x.vxd")
        f[system + "\\blank.mid"] = BLANK_MID
        ext = "img" if s["wavetable_active"] else "im"
        f[system + "\\Plat2Meg." + ext] = sample_set(2)
        f[system + "\\Plat4Meg." + ext] = sample_set(4)

    def add_facts(self):
        s, chip = self.s, self.chip
        facts = self.facts
        if not chip:
            return  # no facts about a card: there is none
        facts["chip"] = chip.key
        bus, device = self.card_slot
        facts["pci"] = "%02X:%02X.0" % (bus, device)
        facts["inf"] = self.release.windows + "\\INF\\" + chip.inf
        if self.release.nt:
            facts["installed"] = "0"
            return
        facts["installed"] = "1"
        facts["pcikey"] = "Enum\\" + self.card_pci_key
        facts["wavekey"] = "Enum\\" + self.wave_key
        facts["classkey"] = "System\\CurrentControlSet\\Services\\Class\\" + self.card_pci_driver
        facts["configkey"] = ("System\\CurrentControlSet\\Services\\Class\\" + self.wave_driver +
                              "\\Config")
        facts["wavetable"] = "on" if s["wavetable_active"] else "off"
        facts["soundlibsize"] = str(s["sound_lib_size"])
        facts["hwacceleration"] = str(s["hw_acceleration"])
        facts["micboost"] = str(s["mic_boost"])
        facts["micmute"] = str(s["mic_mute"])
        facts["spdif"] = str(s["spdif"])
        facts["enablespdif"] = str(s["enable_spdif"])
        facts["joystick"] = "off" if s["joystick_disabled"] else "on"
        facts["gamesupport"] = str(1 if s["game_support"] else 0)
        facts["nativedos"] = str(1 if s["native_dos"] else 0)
        facts["speakerconfig"] = str(s["speaker_config"])
        card_nodes = [n for n in self.nodes if n.card]
        facts["cardnodes"] = ",".join("%08X" % n.id for n in card_nodes)
        facts["norecord"] = ",".join("%08X" % n.id for n in self.nodes if not n.record)
        facts["conflicts"] = ",".join("%08X" % n.id for n in self.nodes if n.problem and n.card)

    # -- output --------------------------------------------------------------------------

    def ini_text(self):
        r = self.release
        lines = ["; %s" % self.summary, "; Written by tools/machines/make-descriptions.py.", "",
                 "[machine]", "version=" + r.key, "windows=" + r.windows, "system=" + r.system,
                 "temp=" + r.temp, "locale=0409", "current=" + r.windows, "drives=C", "",
                 "[facts]"]
        lines += ["%s=%s" % kv for kv in self.facts.items()]
        return ("\n".join(lines) + "\n").encode("ascii")

    def write(self, root):
        folder = os.path.join(root, self.name)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "machine.ini"), "wb") as out:
            out.write(self.ini_text())
        with open(os.path.join(folder, "registry.reg"), "wb") as out:
            out.write(reg_text(self.reg))
        for path, data in sorted(self.files.items()):
            target = os.path.join(folder, "drives", "c", *path.split("\\"))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "wb") as out:
                out.write(data)

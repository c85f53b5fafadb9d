"""The hardware and the Windows releases the descriptions are built from: PCI buses, system
board devices, the card with its chips and child devices, Configuration Manager status."""

import struct

from records import IRQ_ATTR_SHARE, MEM_ATTR_PREFETCH, PciFunction, Resources


class Release:
    """A Windows release as the descriptions need it. kind: 1 Windows 95 (build below 951),
    3 OSR2 (1111 to 1399), 4 Windows 98 (1400 and above), 5 NT."""

    def __init__(self, key, family, kind, windows, system, temp, version_text, version_number,
                 sub_version, product, directx):
        self.key, self.family, self.kind = key, family, kind
        self.windows, self.system, self.temp = windows, system, temp
        self.version_text, self.version_number = version_text, version_number
        self.sub_version, self.product, self.directx = sub_version, product, directx

    @property
    def win98(self):  # device ids with the subsystem part, ClassGUID values
        return self.family == "9x" and self.kind >= 4

    @property
    def nt(self):
        return self.family == "nt"


RELEASES = {
    "win95": Release("win95", "9x", 1, r"C:\WINDOWS", r"C:\WINDOWS\SYSTEM", r"C:\WINDOWS\TEMP",
                     "Windows 95", "4.00.950", "", "Microsoft Windows 95", "4.05.00.0155"),
    "win95osr2": Release("win95osr2", "9x", 3, r"C:\WINDOWS", r"C:\WINDOWS\SYSTEM",
                         r"C:\WINDOWS\TEMP", "Windows 95", "4.00.1111", " B",
                         "Microsoft Windows 95", "4.05.00.0155"),
    "win98": Release("win98", "9x", 4, r"C:\WINDOWS", r"C:\WINDOWS\SYSTEM", r"C:\WINDOWS\TEMP",
                     "Windows 98", "4.10.1998", " ", "Microsoft Windows 98", "4.06.02.0436"),
    "win98se": Release("win98se", "9x", 4, r"C:\WINDOWS", r"C:\WINDOWS\SYSTEM",
                       r"C:\WINDOWS\TEMP", "Windows 98", "4.10.2222", " A ",
                       "Microsoft Windows 98", "4.06.03.0518"),
    "nt40": Release("nt40", "nt", 5, r"C:\WINNT", r"C:\WINNT\SYSTEM32", r"C:\TEMP",
                    "Windows NT", "4.0.1381", "Service Pack 6", "Microsoft Windows NT",
                    "4.03.00.1096"),
}

MEDIA_GUID = "{4d36e96c-e325-11ce-bfc1-08002be10318}"
DISPLAY_GUID = "{4d36e968-e325-11ce-bfc1-08002be10318}"
CLASS_GUIDS = {
    "MEDIA": MEDIA_GUID, "DISPLAY": DISPLAY_GUID,
    "SYSTEM": "{4d36e97d-e325-11ce-bfc1-08002be10318}",
    "hdc": "{4d36e96a-e325-11ce-bfc1-08002be10318}",
    "USB": "{36fc9e60-c465-11cf-8056-444553540000}",
    "MONITOR": "{4d36e96e-e325-11ce-bfc1-08002be10318}",
    "Ports": "{4d36e978-e325-11ce-bfc1-08002be10318}",
    "Keyboard": "{4d36e96b-e325-11ce-bfc1-08002be10318}",
    "fdc": "{4d36e969-e325-11ce-bfc1-08002be10318}",
    "Unknown": "",
}
CLASS_NAMES = {
    "MEDIA": "Sound, video and game controllers", "DISPLAY": "Display adapters",
    "SYSTEM": "System devices", "hdc": "Hard disk controllers",
    "USB": "Universal serial bus controller", "MONITOR": "Monitors", "Ports": "Ports (COM & LPT)",
    "Keyboard": "Keyboard", "fdc": "Floppy disk controllers", "Unknown": "Other devices",
}

# ---------------------------------------------------------------------------------------------
# The card
# ---------------------------------------------------------------------------------------------

MAKER = "Helvane"
BLASTER = "A220 I5 D1 T4 P330"


class Chip:
    def __init__(self, key, vendor, device_id, revision, subsystem, inf, enumerator,
                 joystick_value, description):
        self.key, self.vendor, self.device_id = key, vendor, device_id
        self.revision, self.subsystem, self.inf = revision, subsystem, inf
        self.enumerator, self.joystick_value, self.description = (enumerator, joystick_value,
                                                                  description)

    @property
    def is_2e(self):
        return self.key == "maestro2e"


CHIPS = {
    "maestro1": Chip("maestro1", 0x1285, 0x0100, 0x10, 0xFFFF1285, "MSTROWT.INF",
                     "Tunara Enumerator", "JoyDisable", "ESS Maestro-1"),
    "maestro2e": Chip("maestro2e", 0x125D, 0x1978, 0x10, 0x1978125D, "CNPROWT.INF",
                      "Tunara Multi-Device Enumerator", "JoystickSupport", "ESS Maestro-2E"),
}

# The card's children, created by its enumerator under Enum\ZIZEZ: (device id, description,
# condition on the settings, resources). The PCI function's own I/O range and interrupt are
# shared with the wave device and the wavetable synthesiser, as the enumerator hands them on.
CARD_IO = (0xE800, 0x100)
CARD_IRQ = 5


def card_children(s):
    io = Resources(io=[CARD_IO], irq=[(CARD_IRQ, IRQ_ATTR_SHARE)])
    children = [("WAVE", "Tunara Wave Device Manager", io)]
    if s["game_support"]:
        children.append(("FM", "Tunara DOS Games/FM Devices",
                         Resources(io=[(0x220, 0x10), (0x388, 0x04)], dma=[1])))
    children.append(("MPU401", "Tunara MPU401 Device", Resources(io=[(0x330, 0x02)])))
    if not s["joystick_disabled"]:
        children.append(("GAMEPORT", "Gameport Joystick", Resources(io=[(0x200, 0x08)])))
    children.append(("WTSYNTH", "Tunara WaveTable Synthesis Device",
                     Resources(irq=[(CARD_IRQ, IRQ_ATTR_SHARE)])))
    return children


def card_function(chip, bus, device):
    return PciFunction(
        bus, device, 0, chip.vendor, chip.device_id, chip.revision, 0x040100,
        subsystem=chip.subsystem, command=0x0005, status=0x0290, bars=[CARD_IO[0] | 1],
        irq_line=CARD_IRQ, irq_pin=1, min_gnt=0x02, max_lat=0x18, latency=0x40,
        caps={0xC0: bytes([0x01, 0x00, 0x22, 0x76, 0x00, 0x00, 0x00, 0x00])},
        description=chip.enumerator, class_name="MEDIA",
        res=Resources(io=[CARD_IO], irq=[(CARD_IRQ, IRQ_ATTR_SHARE)]))


# ---------------------------------------------------------------------------------------------
# PCI buses
# ---------------------------------------------------------------------------------------------

def bus_440bx():
    """Intel 440BX with PIIX4; an AGP display card behind the AGP bridge on bus 1."""
    agp_cap = bytes([0x02, 0x00, 0x10, 0x00, 0x03, 0x02, 0x00, 0x1F])
    return [
        PciFunction(0, 0, 0, 0x8086, 0x7190, 0x03, 0x060000, command=0x0006, status=0x2210,
                    bars=[0xE0000008], latency=0x40, caps={0xA0: agp_cap},
                    description="Intel 82443BX Pentium(r) II Processor to PCI bridge",
                    description95="PCI standard host CPU bridge",
                    res=Resources(mem=[(0xE0000000, 0x04000000, MEM_ATTR_PREFETCH)])),
        PciFunction(0, 1, 0, 0x8086, 0x7191, 0x03, 0x060400, header=0x01, command=0x0107,
                    status=0x0220, latency=0x40,
                    bridge=(0, 1, 1, 0xD000, 0xDFFF, 0xE4000000, 0xE5FFFFFF, 0xE6000000,
                            0xE7FFFFFF),
                    description="Intel 82443BX Pentium(r) II Processor to AGP controller",
                    description95="PCI to PCI bridge",
                    res=Resources(mem=[(0xE4000000, 0x02000000),
                                       (0xE6000000, 0x02000000, MEM_ATTR_PREFETCH)],
                                  io=[(0xD000, 0x1000)])),
        PciFunction(0, 7, 0, 0x8086, 0x7110, 0x02, 0x060100, header=0x80, command=0x000F,
                    latency=0x00, extra={0x60: bytes([0x05, 0x0B, 0x80, 0x0B])},
                    description="Intel 82371AB/EB PCI to ISA bridge (ISA mode)",
                    description95="PCI standard ISA bridge"),
        PciFunction(0, 7, 1, 0x8086, 0x7111, 0x01, 0x010180, header=0x00, command=0x0005,
                    bars=[0, 0, 0, 0, 0xF001], latency=0x40, class_name="hdc",
                    description="Intel 82371AB/EB PCI Bus Master IDE Controller",
                    description95="Standard Dual PCI IDE Controller",
                    res=Resources(io=[(0xF000, 0x10)]),
                    mf_children=(
                        (0, "Primary IDE controller (dual fifo)",
                         Resources(io=[(0x1F0, 8), (0x3F6, 1)], irq=[14])),
                        (1, "Secondary IDE controller (dual fifo)",
                         Resources(io=[(0x170, 8), (0x376, 1)], irq=[15])))),
        PciFunction(0, 7, 2, 0x8086, 0x7112, 0x01, 0x0C0300, command=0x0005,
                    bars=[0, 0, 0, 0, 0xE001], irq_line=11, irq_pin=4, latency=0x40,
                    class_name="USB",
                    description="Intel 82371AB/EB PCI to USB Universal Host Controller",
                    res=Resources(io=[(0xE000, 0x20)], irq=[(11, IRQ_ATTR_SHARE)])),
        PciFunction(0, 7, 3, 0x8086, 0x7113, 0x02, 0x068000, command=0x0000, latency=0x00,
                    extra={0x40: struct.pack("<I", 0x4001), 0x90: struct.pack("<I", 0x5001)},
                    description="Intel 82371AB/EB Power Management Controller",
                    description95="PCI standard bridge",
                    res=Resources(io=[(0x4000, 0x40), (0x5000, 0x10)])),
        PciFunction(1, 0, 0, 0x1002, 0x4742, 0x5C, 0x030000, subsystem=0x00841002,
                    command=0x0087, status=0x0290,
                    bars=[0xE6000008, 0xD001, 0xE5000000], irq_line=11, irq_pin=1,
                    latency=0x40, min_gnt=0x08, caps={0x50: agp_cap},
                    class_name="DISPLAY", description="ATI 3D RAGE PRO AGP 2X",
                    res=Resources(mem=[(0x000A0000, 0x20000), (0xE6000000, 0x01000000,
                                                               MEM_ATTR_PREFETCH),
                                       (0xE5000000, 0x1000)],
                                  io=[(0x3B0, 0x0C), (0x3C0, 0x20), (0xD000, 0x100)],
                                  irq=[(11, IRQ_ATTR_SHARE)])),
    ]


def bus_430tx():
    """Intel 430TX with PIIX4; a PCI display card on bus 0, no bridge."""
    return [
        PciFunction(0, 0, 0, 0x8086, 0x7100, 0x01, 0x060000, command=0x0006, status=0x0200,
                    latency=0x40, description="PCI standard host CPU bridge"),
        PciFunction(0, 7, 0, 0x8086, 0x7110, 0x01, 0x060100, header=0x80, command=0x000F,
                    latency=0x00, extra={0x60: bytes([0x05, 0x0B, 0x80, 0x80])},
                    description="PCI standard ISA bridge"),
        PciFunction(0, 7, 1, 0x8086, 0x7111, 0x01, 0x010180, command=0x0005,
                    bars=[0, 0, 0, 0, 0xF001], latency=0x40, class_name="hdc",
                    description="Standard Dual PCI IDE Controller",
                    res=Resources(io=[(0xF000, 0x10)]),
                    mf_children=(
                        (0, "Primary IDE controller (dual fifo)",
                         Resources(io=[(0x1F0, 8), (0x3F6, 1)], irq=[14])),
                        (1, "Secondary IDE controller (dual fifo)",
                         Resources(io=[(0x170, 8), (0x376, 1)], irq=[15])))),
        # Windows 95 has no driver for the USB controller: an unknown device, no resources.
        PciFunction(0, 7, 2, 0x8086, 0x7112, 0x01, 0x0C0300, command=0x0000,
                    bars=[0, 0, 0, 0, 0xE001], irq_line=11, irq_pin=4, latency=0x40,
                    class_name="Unknown", description="PCI Universal Serial Bus",
                    problem=0x1C),
        PciFunction(0, 7, 3, 0x8086, 0x7113, 0x01, 0x068000, command=0x0000, latency=0x00,
                    extra={0x40: struct.pack("<I", 0x4001), 0x90: struct.pack("<I", 0x5001)},
                    description="PCI standard bridge",
                    res=Resources(io=[(0x4000, 0x40), (0x5000, 0x10)])),
        PciFunction(0, 8, 0, 0x5333, 0x8901, 0x16, 0x030000, command=0x0023, status=0x0200,
                    bars=[0xE0000000], class_name="DISPLAY", description="S3 Trio64V2/DX PCI",
                    res=Resources(mem=[(0x000A0000, 0x20000), (0xE0000000, 0x04000000)],
                                  io=[(0x3B0, 0x0C), (0x3C0, 0x20)])),
    ]


BUSES = {"440bx": bus_440bx, "430tx": bus_430tx}

# Devices of the system board, found by the Plug and Play BIOS: (id, instance, class,
# description, resources).
BOARD_DEVICES = [
    ("*PNP0C01", "0C", "SYSTEM", "System board",
     Resources(mem=[(0x00000000, 0x000A0000), (0x000E0000, 0x00020000),
                    (0x00100000, 0x07F00000), (0xFFFE0000, 0x00020000)])),
    ("*PNP0A03", "0D", "SYSTEM", "PCI bus", Resources(io=[(0xCF8, 8)])),
    ("*PNP0000", "00", "SYSTEM", "Programmable interrupt controller",
     Resources(io=[(0x20, 2), (0xA0, 2)], irq=[2])),
    ("*PNP0100", "01", "SYSTEM", "System timer", Resources(io=[(0x40, 4)], irq=[0])),
    ("*PNP0200", "02", "SYSTEM", "Direct memory access controller",
     Resources(io=[(0x00, 0x10), (0x81, 3), (0x87, 1), (0x89, 3), (0x8F, 2), (0xC0, 0x20)],
               dma=[4])),
    ("*PNP0B00", "03", "SYSTEM", "System CMOS/real time clock",
     Resources(io=[(0x70, 2)], irq=[8])),
    ("*PNP0303", "04", "Keyboard", "Standard 101/102-Key or Microsoft Natural Keyboard",
     Resources(io=[(0x60, 1), (0x64, 1)], irq=[1])),
    ("*PNP0800", "05", "SYSTEM", "System speaker", Resources(io=[(0x61, 1)])),
    ("*PNP0C04", "06", "SYSTEM", "Numeric data processor",
     Resources(io=[(0xF0, 0x10)], irq=[13])),
    ("*PNP0700", "07", "fdc", "Standard Floppy Disk Controller",
     Resources(io=[(0x3F2, 4)], irq=[6], dma=[2])),
    ("*PNP0501", "08", "Ports", "Communications Port (COM1)",
     Resources(io=[(0x3F8, 8)], irq=[4])),
    ("*PNP0400", "09", "Ports", "Printer Port (LPT1)", Resources(io=[(0x378, 3)], irq=[7])),
]

# Software devices that Windows 98 setup creates below Root\MEDIA.
ROOT_MEDIA = ["Audio Codecs", "Legacy Audio Drivers", "Media Control Devices",
              "Legacy Video Capture Devices", "Video Compression Codecs"]

# ---------------------------------------------------------------------------------------------
# Configuration Manager status
# ---------------------------------------------------------------------------------------------

DN_ROOT_ENUMERATED, DN_DRIVER_LOADED, DN_ENUM_LOADED, DN_STARTED = 0x1, 0x2, 0x4, 0x8
DN_NOT_FIRST_TIME, DN_HAS_PROBLEM = 0x40, 0x400
DN_DISABLEABLE, DN_REMOVABLE = 0x2000, 0x4000
CM_PROB_NORMAL_CONFLICT = 0x0C
CM_PROB_FAILED_INSTALL = 0x1C


def node_status(problem, enumerator=False, root=False):
    flags = DN_DRIVER_LOADED | DN_NOT_FIRST_TIME | DN_DISABLEABLE | DN_REMOVABLE
    flags |= DN_HAS_PROBLEM if problem else DN_STARTED
    if enumerator:
        flags |= DN_ENUM_LOADED
    if root:
        flags |= DN_ROOT_ENUMERATED
    return flags

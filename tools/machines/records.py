"""Binary records of the simulated machine: the Configuration Manager's CMCONFIG record and
PCI configuration spaces."""

import struct

# The Configuration Manager's CMCONFIG record as \\.\PNPCONF.VXD returns it: 216 bytes,
# packed, little-endian. (name, offset, element format, element count)
CMCONFIG_SIZE = 216
CMCONFIG_LAYOUT = (
    ("mem_count", 0, "H", 1),
    ("mem_base", 2, "I", 9),
    ("mem_length", 38, "I", 9),
    ("mem_attrib", 74, "H", 9),
    ("io_count", 92, "H", 1),
    ("io_base", 94, "H", 20),
    ("io_length", 134, "H", 20),
    ("irq_count", 174, "H", 1),
    ("irq", 176, "B", 7),
    ("irq_attrib", 183, "B", 7),
    ("dma_count", 190, "H", 1),
    ("dma", 192, "B", 7),
    ("dma_attrib", 199, "H", 7),
)
CMCONFIG_RESERVED = (213, 3)

# Attribute bits as the Configuration Manager sets them for what we describe.
MEM_ATTR_RAM32 = 0x0003  # read/write, 32-bit decode
MEM_ATTR_PREFETCH = 0x0004
IRQ_ATTR_SHARE = 0x01
DMA_ATTR_BYTE = 0x0000


class Resources:
    """What one device node holds. Lists of tuples; attributes are optional."""

    def __init__(self, mem=(), io=(), irq=(), dma=()):
        self.mem = [m if len(m) == 3 else (m[0], m[1], MEM_ATTR_RAM32) for m in mem]
        self.io = list(io)
        self.irq = [i if isinstance(i, tuple) else (i, 0) for i in irq]
        self.dma = [d if isinstance(d, tuple) else (d, DMA_ATTR_BYTE) for d in dma]


NO_RESOURCES = Resources()


def encode_cmconfig(res):
    """The 216-byte record for `res`; entries past each count are zero."""
    fields = {
        "mem_count": [len(res.mem)],
        "mem_base": [m[0] for m in res.mem],
        "mem_length": [m[1] for m in res.mem],
        "mem_attrib": [m[2] for m in res.mem],
        "io_count": [len(res.io)],
        "io_base": [r[0] for r in res.io],
        "io_length": [r[1] for r in res.io],
        "irq_count": [len(res.irq)],
        "irq": [i[0] for i in res.irq],
        "irq_attrib": [i[1] for i in res.irq],
        "dma_count": [len(res.dma)],
        "dma": [d[0] for d in res.dma],
        "dma_attrib": [d[1] for d in res.dma],
    }
    out = bytearray(CMCONFIG_SIZE)
    for name, offset, fmt, count in CMCONFIG_LAYOUT:
        values = fields[name]
        if len(values) > count:
            raise ValueError("CMCONFIG %s: %d entries, room for %d" % (name, len(values), count))
        values = values + [0] * (count - len(values))
        struct.pack_into("<%d%s" % (count, fmt), out, offset, *values)
    return bytes(out)


def decode_cmconfig(blob):
    """Field name -> list of values (counts as one-element lists). Raises on a bad record."""
    if len(blob) != CMCONFIG_SIZE:
        raise ValueError("CMCONFIG record of %d bytes, not %d" % (len(blob), CMCONFIG_SIZE))
    fields = {}
    for name, offset, fmt, count in CMCONFIG_LAYOUT:
        fields[name] = list(struct.unpack_from("<%d%s" % (count, fmt), blob, offset))
    for kind, arrays, room in (("mem", ("mem_base", "mem_length", "mem_attrib"), 9),
                               ("io", ("io_base", "io_length"), 20),
                               ("irq", ("irq", "irq_attrib"), 7),
                               ("dma", ("dma", "dma_attrib"), 7)):
        count = fields[kind + "_count"][0]
        if count > room:
            raise ValueError("CMCONFIG %s count %d exceeds %d" % (kind, count, room))
        for array in arrays:
            if any(fields[array][count:]):
                raise ValueError("CMCONFIG %s has data past its count" % array)
    offset, size = CMCONFIG_RESERVED
    if any(blob[offset:offset + size]):
        raise ValueError("CMCONFIG reserved bytes are not zero")
    return fields


PCI_CONFIG_SIZE = 256


class PciFunction:
    """One PCI function: its configuration space and how Windows names and describes it.

    cls is the 24-bit class code (base, sub class, programming interface); subsystem is
    the 32-bit register 0x2C (sub system id << 16 | sub system vendor id). bars are the six
    raw register values (type 0) or two (bridge). bridge = (primary, secondary,
    subordinate, io base, io limit, memory base, memory limit, prefetch base, prefetch
    limit) for a PCI-to-PCI bridge. caps: {offset: bytes} of a capability list whose
    first offset goes to register 0x34.
    """

    def __init__(self, bus, device, function, vendor, device_id, revision, cls,
                 subsystem=0, command=0x0005, status=0x0280, header=0x00, bars=(),
                 irq_line=0, irq_pin=0, min_gnt=0, max_lat=0, latency=0x20,
                 bridge=None, caps=None, extra=None, description=None,
                 description95=None, class_name="SYSTEM", res=NO_RESOURCES,
                 problem=0, mf_children=()):
        self.bus, self.device, self.function = bus, device, function
        self.vendor, self.device_id, self.revision, self.cls = vendor, device_id, revision, cls
        self.subsystem, self.command, self.status, self.header = subsystem, command, status, header
        self.bars, self.irq_line, self.irq_pin = list(bars), irq_line, irq_pin
        self.min_gnt, self.max_lat, self.latency = min_gnt, max_lat, latency
        self.bridge, self.caps, self.extra = bridge, caps or {}, extra or {}
        self.description, self.description95 = description, description95 or description
        self.class_name, self.res, self.problem = class_name, res, problem
        self.mf_children = mf_children  # (index, description, resources)

    @property
    def sim_name(self):
        return "%02X:%02X.%X" % (self.bus, self.device, self.function)

    def config(self):
        c = bytearray(PCI_CONFIG_SIZE)
        struct.pack_into("<HHHH", c, 0, self.vendor, self.device_id, self.command, self.status)
        struct.pack_into("<I", c, 8, (self.cls << 8) | self.revision)
        c[0x0D], c[0x0E] = self.latency, self.header
        if self.bridge is None:
            for i, bar in enumerate(self.bars):
                struct.pack_into("<I", c, 0x10 + 4 * i, bar)
            struct.pack_into("<I", c, 0x2C, self.subsystem)
        else:
            (primary, secondary, subordinate, io_base, io_limit, mem_base, mem_limit,
             pref_base, pref_limit) = self.bridge
            for i, bar in enumerate(self.bars[:2]):
                struct.pack_into("<I", c, 0x10 + 4 * i, bar)
            c[0x18], c[0x19], c[0x1A], c[0x1B] = primary, secondary, subordinate, 0x20
            c[0x1C], c[0x1D] = (io_base >> 8) & 0xF0, (io_limit >> 8) & 0xF0
            struct.pack_into("<H", c, 0x1E, 0x02A0)
            struct.pack_into("<HHHH", c, 0x20, (mem_base >> 16) & 0xFFF0,
                             (mem_limit >> 16) & 0xFFF0, (pref_base >> 16) & 0xFFF0,
                             (pref_limit >> 16) & 0xFFF0)
            struct.pack_into("<H", c, 0x3E, 0x0008)  # bridge control: VGA enable
        if self.caps:
            c[0x34] = min(self.caps)
            for offset, data in self.caps.items():
                c[offset:offset + len(data)] = data
        c[0x3C], c[0x3D] = self.irq_line, self.irq_pin
        if self.bridge is None:
            c[0x3E], c[0x3F] = self.min_gnt, self.max_lat
        for offset, data in self.extra.items():
            c[offset:offset + len(data)] = data
        return bytes(c)


def df(x):
    """Windows 98's two-digit slot code of a device number behind a bridge (x * 8 in hex)."""
    return "%02d" % ((x // 2) * 10 + (x % 2) * 8)

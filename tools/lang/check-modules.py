#!/usr/bin/env python3
"""Checks the built language modules against the resource list and against each other.

    check-modules.py RESOURCE_IDS_H MODULE.dll [MODULE.dll ...] [--stamp FILE] [--dump]
    check-modules.py RESOURCE_IDS_H --list

The header gives the numbers the programs' description states (written out below). For
every module: each string, dialog, control, menu, icon and bitmap named in the header
(lang/resource_ids.h) is present; the tray menu has its commands at the positions the
tray relies on; the conflict marks are hidden; no text is "Blank" (a text the programs
treat as "show nothing"); the product title is the one the tray knows for that language;
no text is UTF-8 read as Windows-1252. Across the modules: the same string ids, the same
dialogs with the same controls (id, class and style, in the same order), the same menu
structure and the same icons and bitmaps. Every problem is printed; the exit code is 1 when
there is any. With --stamp the file is written on success (for the build's dependency).
--list prints the header's resources one a line (refused when the header's numbers are not
the programs') ("string 6 IDS_PRODUCT_TITLE",
"control 132 1000 IDC_SETTINGS_PICTURE", ...) for the Wine test's driver.
"""

import os
import re
import struct
import sys

RT_BITMAP, RT_MENU, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION = 2, 4, 5, 6, 14, 16
WS_VISIBLE = 0x10000000
DS_SETFONT = 0x40
MF_POPUP, MF_END = 0x10, 0x80
BS_NOTIFY = 0x4000

# Styles the programs rely on, by control name: the settings page makes the sheet's OK the
# default button again when one of these buttons gets the focus, and a button reports
# BN_SETFOCUS to its dialog only with BS_NOTIFY.
REQUIRED_STYLES = [
    ("IDC_SETTINGS_TRAY_ICON", BS_NOTIFY, "BS_NOTIFY"),
    ("IDC_SETTINGS_HEADPHONES", BS_NOTIFY, "BS_NOTIFY"),
    ("IDC_SETTINGS_SPEAKERS", BS_NOTIFY, "BS_NOTIFY"),
]

# The product titles by module: the tray removes the shortcuts of the other languages by
# exactly these names.
PRODUCT_TITLES = {
    "cnctlen_.dll": "Tunara Properties",
    "cnctlde_.dll": "Tunara Eigenschaften",
    "cnctlfr_.dll": "Propri\u00e9t\u00e9s Tunara",
}

# What the tray requires of its menu: position in the popup -> command, or the commands
# of the submenu at that position in order. Names refer to the header.
TRAY_LAYOUT = [
    ("TRAY_POS_PROPERTIES", "IDM_TRAY_PROPERTIES"),
    ("TRAY_POS_OUTPUT", ["IDM_TRAY_SPEAKERS", "IDM_TRAY_HEADPHONES"]),
    ("TRAY_POS_HW_ACCELERATION", ["IDM_TRAY_HW_ACCELERATION"]),
    ("TRAY_POS_MIC_BOOST", ["IDM_TRAY_MIC_BOOST"]),
    ("TRAY_POS_WAVETABLE",
     ["IDM_TRAY_WAVETABLE_NONE", "IDM_TRAY_WAVETABLE_2MB", "IDM_TRAY_WAVETABLE_4MB"]),
    ("TRAY_POS_EXIT", "IDM_TRAY_EXIT"),
]


# The numbers the programs load and address, written out as the programs' description gives
# them. The header must give exactly these (the modules are built from it, so a wrong number
# there would agree with them), and every module must hold these resources under them.
STATED = {
    # strings
    "IDS_TRAY_OFF_DONE": 1, "IDS_TRAY_OFF_QUESTION": 2, "IDS_RESTART_QUESTION": 3,
    "IDS_TRAY_OFF_QUESTION_CAPTION": 4, "IDS_TRAY_OFF_DONE_CAPTION": 5, "IDS_PRODUCT_TITLE": 6,
    "IDS_DOS_REMOVE_CAPTION": 15, "IDS_DOS_INSTALL_CAPTION": 16, "IDS_MIDI_BUSY": 18,
    "IDS_LEGACY_NO_GAME_SUPPORT": 1094, "IDS_DOS_REMOVE_PROMPT": 2507,
    "IDS_SUPPORT_REGION_AMERICAS": 2600, "IDS_SUPPORT_REGION_WORLD": 2601,
    "IDS_SUPPORT_REGION_GERMANY": 2602,
    "IDS_BUTTON_OK": 2619, "IDS_BUTTON_CANCEL": 2620, "IDS_BUTTON_HELP": 2621,
    "IDS_ADVRES_CAPTION": 2622, "IDS_BUTTON_CLOSE": 2623,
    "IDS_DOS_SUMMARY_FILE": 2624, "IDS_DOS_SUMMARY_BACKUP": 2625, "IDS_DOS_SUMMARY_END": 2626,
    # dialogs, the tray menu, icons and bitmaps
    "IDD_SETTINGS": 132, "IDD_LEGACY": 160, "IDD_ADVRES1": 161, "IDD_ADVRES2": 162,
    "IDD_ADVANCED": 174, "IDD_SUPPORT": 180, "IDD_DOSPROMPT": 185, "IDR_TRAY": 190,
    "IDI_PRODUCT": 184, "IDI_TRAY": 188, "IDB_HEADPHONES": 129, "IDB_SPEAKERS": 130,
    # the tray menu's commands and the popup positions the tray relies on
    "IDM_TRAY_PROPERTIES": 2604, "IDM_TRAY_SPEAKERS": 2610, "IDM_TRAY_HEADPHONES": 2611,
    "IDM_TRAY_EXIT": 2612, "IDM_TRAY_HW_ACCELERATION": 2613, "IDM_TRAY_MIC_BOOST": 2614,
    "IDM_TRAY_WAVETABLE_NONE": 2615, "IDM_TRAY_WAVETABLE_2MB": 2616,
    "IDM_TRAY_WAVETABLE_4MB": 2617,
    "TRAY_POS_PROPERTIES": 0, "TRAY_POS_OUTPUT": 2, "TRAY_POS_HW_ACCELERATION": 3,
    "TRAY_POS_MIC_BOOST": 4, "TRAY_POS_WAVETABLE": 5,
    # controls the programs address
    "IDC_SETTINGS_PICTURE": 1000, "IDC_SETTINGS_TRAY_ICON": 1014,
    "IDC_SETTINGS_HEADPHONES": 1015, "IDC_SETTINGS_SPEAKERS": 1016,
    "IDC_SETTINGS_SUPPORT": 1056, "IDC_SETTINGS_ADVANCED": 1057,
    "IDC_LEGACY_IRQ_LABEL": 1037, "IDC_LEGACY_TEXT": 1038, "IDC_LEGACY_DEVICE": 1041,
    "IDC_LEGACY_IRQ": 1042, "IDC_LEGACY_IO": 1043, "IDC_LEGACY_DMA": 1044,
    "IDC_LEGACY_IO_LABEL": 1047, "IDC_LEGACY_DMA_LABEL": 1048, "IDC_LEGACY_RESOURCES": 1019,
    "IDC_LEGACY_IRQ_CONFLICT": 1063, "IDC_LEGACY_IO_CONFLICT": 1064,
    "IDC_LEGACY_DMA_CONFLICT": 1065,
    "IDC_ADVRES1_FM_IO": 1051, "IDC_ADVRES1_FM_IRQ": 1052, "IDC_ADVRES1_FM_DMA": 1053,
    "IDC_ADVRES1_MPU_IO": 1054, "IDC_ADVRES1_JOY_IO": 1055,
    "IDC_ADVRES1_FM_IO_CONFLICT": 1063, "IDC_ADVRES1_FM_DMA_CONFLICT": 1064,
    "IDC_ADVRES1_FM_IRQ_CONFLICT": 1065, "IDC_ADVRES1_MPU_IO_CONFLICT": 1066,
    "IDC_ADVRES1_JOY_IO_CONFLICT": 1067,
    "IDC_ADVRES2_FM_IO": 1051, "IDC_ADVRES2_WAVE_IRQ": 1052, "IDC_ADVRES2_WAVE_IO": 1053,
    "IDC_ADVRES2_ENUM_IRQ": 1054, "IDC_ADVRES2_SYNTH_IRQ": 1055,
    "IDC_ADVRES2_FM_IO_CONFLICT": 1063, "IDC_ADVRES2_WAVE_IO_CONFLICT": 1064,
    "IDC_ADVRES2_WAVE_IRQ_CONFLICT": 1065,
    "IDC_ADVANCED_OK": 1, "IDC_ADVANCED_CANCEL": 2, "IDC_ADVANCED_HELP": 3,
    "IDC_ADVANCED_HW_ACCELERATION": 1002, "IDC_ADVANCED_MIC_BOOST": 1017,
    "IDC_ADVANCED_JOYSTICK": 1018, "IDC_ADVANCED_GAME_SUPPORT": 1019,
    "IDC_ADVANCED_NATIVE_DOS": 1020, "IDC_ADVANCED_WAVETABLE_NONE": 1024,
    "IDC_ADVANCED_WAVETABLE_2MB": 1025, "IDC_ADVANCED_WAVETABLE_4MB": 1026,
    "IDC_ADVANCED_WAVETABLE_GROUP": 1059, "IDC_ADVANCED_DOS_GROUP": 1060,
    "IDC_SUPPORT_OK": 1, "IDC_SUPPORT_LIST": 1003, "IDC_SUPPORT_REGION": 1057,
    "IDC_SUPPORT_VERSION": 1068, "IDC_SUPPORT_HELP": 1080,
    "IDC_DOSPROMPT_OK": 1, "IDC_DOSPROMPT_CANCEL": 2, "IDC_DOSPROMPT_REMOVE": 1014,
    "IDC_DOSPROMPT_MESSAGE": 1069, "IDC_DOSPROMPT_ADD": 1074, "IDC_DOSPROMPT_LINE_FILES": 1075,
    "IDC_DOSPROMPT_LINE_FILE0": 1076, "IDC_DOSPROMPT_LINE_FILE1": 1077,
    "IDC_DOSPROMPT_LINE_FILE2": 1078, "IDC_DOSPROMPT_FILE0": 1080, "IDC_DOSPROMPT_FILE1": 1081,
    "IDC_DOSPROMPT_FILE2": 1082,
}

# The support dialog's table names its label and value strings by number only.
SUPPORT_STRINGS = [2500, 2502, 2503, 2504, 2505, 2506, 2530, 2531, 2532, 2550, 2551, 2552,
                   2560, 2561, 2562, 2571, 2580, 2581, 2582]


def check_header(names, problems):
    for name, value in sorted(STATED.items(), key=lambda kv: kv[1]):
        if name not in names:
            problems.append("header: %s is not defined (the programs use %d)" % (name, value))
        elif names[name] != value:
            problems.append("header: %s is %d, the programs use %d" % (name, names[name], value))


def check_stated(m, problem):
    """The stated resources by their written-out numbers, whatever the header says."""
    dialogs = {n[4:]: v for n, v in STATED.items() if n.startswith("IDD_")}
    for name, value in sorted(STATED.items(), key=lambda kv: kv[1]):
        if name.startswith("IDS_") and value not in m.strings:
            problem("string %d is missing" % value)
        elif name.startswith("IDD_") and value not in m.dialogs:
            problem("dialog %d is missing" % value)
        elif name.startswith("IDC_"):
            owner = max((d for d in dialogs if name.startswith("IDC_" + d + "_")), key=len)
            dialog = m.dialogs.get(dialogs[owner])
            if dialog is not None and value not in [c[0] for c in dialog[3]]:
                problem("dialog %d has no control %d" % (dialogs[owner], value))
    for value in SUPPORT_STRINGS:
        if value not in m.strings:
            problem("string %d of the support table is missing" % value)


class BadModule(Exception):
    pass


# ---- PE resources -------------------------------------------------------------------------

class PeResources:
    """The resource tree of a PE file: {type: {name: {language: bytes}}}."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if d[:2] != b"MZ":
            raise BadModule("not an MZ file")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise BadModule("no PE signature")
        machine, sections, _, _, _, opt_size, characteristics = struct.unpack_from(
            "<HHIIIHH", d, pe + 4)
        if machine != 0x14C:
            raise BadModule("not an i386 image")
        if not characteristics & 0x2000:
            raise BadModule("not a DLL")
        opt = pe + 24
        if struct.unpack_from("<H", d, opt)[0] != 0x10B:
            raise BadModule("not a PE32 image")
        rsrc_rva, rsrc_size = struct.unpack_from("<II", d, opt + 96 + 2 * 8)
        self.sections = []
        table = opt + opt_size
        for i in range(sections):
            vsize, vaddr, raw_size, raw_ptr = struct.unpack_from("<IIII", d, table + 40 * i + 8)
            self.sections.append((vaddr, max(vsize, raw_size), raw_ptr))
        if not rsrc_rva:
            raise BadModule("no resources")
        self.base = self.offset(rsrc_rva)
        self.tree = {}
        for type_id, type_dir in self.entries(0):
            names = self.tree.setdefault(type_id, {})
            for name_id, name_dir in self.entries(type_dir):
                langs = names.setdefault(name_id, {})
                for lang_id, leaf in self.entries(name_dir):
                    rva, size = struct.unpack_from("<II", d, self.base + leaf)
                    start = self.offset(rva)
                    langs[lang_id] = d[start:start + size]

    def offset(self, rva):
        for vaddr, size, raw in self.sections:
            if vaddr <= rva < vaddr + size:
                return raw + rva - vaddr
        raise BadModule("address 0x%x lies in no section" % rva)

    def entries(self, directory):
        d = self.data
        at = self.base + directory
        named, numbered = struct.unpack_from("<HH", d, at + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", d, at + 16 + 8 * i)
            if name & 0x80000000:
                at_name = self.base + (name & 0x7FFFFFFF)
                length = struct.unpack_from("<H", d, at_name)[0]
                key = d[at_name + 2:at_name + 2 + 2 * length].decode("utf-16-le")
            else:
                key = name
            yield key, target & 0x7FFFFFFF

    def items(self, type_id):
        """{name: data} taking the first language of each name."""
        return {name: next(iter(langs.values()))
                for name, langs in self.tree.get(type_id, {}).items()}

    def languages(self):
        return sorted({lang for names in self.tree.values() for langs in names.values()
                       for lang in langs})


def read_sz(data, at):
    """A zero-terminated UTF-16 text; returns (text, offset after it)."""
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def read_sz_or_ordinal(data, at):
    first = struct.unpack_from("<H", data, at)[0]
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    return read_sz(data, at)


def strings_of(res):
    result = {}
    for block, data in res.items(RT_STRING).items():
        at = 0
        for i in range(16):
            length = struct.unpack_from("<H", data, at)[0]
            text = data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            at += 2 + 2 * length
            if length:
                result[(block - 1) * 16 + i] = text
    return result


CONTROL_CLASSES = {0x80: "button", 0x81: "edit", 0x82: "static", 0x83: "listbox",
                   0x84: "scrollbar", 0x85: "combobox"}


def dialog_of(data):
    """(style, caption, font, [(id, class, style, text)]) of a DIALOG template."""
    if struct.unpack_from("<HH", data, 0) == (1, 0xFFFF):
        raise BadModule("extended dialog templates are not used by these modules")
    style, _, count, _, _, _, _ = struct.unpack_from("<IIHhhhh", data, 0)
    at = 18
    _, at = read_sz_or_ordinal(data, at)  # menu
    _, at = read_sz_or_ordinal(data, at)  # class
    caption, at = read_sz(data, at)
    font = None
    if style & DS_SETFONT:
        size = struct.unpack_from("<H", data, at)[0]
        face, at = read_sz(data, at + 2)
        font = (size, face)
    controls = []
    for _ in range(count):
        at = (at + 3) & ~3
        cstyle, _, _, _, _, _, cid = struct.unpack_from("<IIhhhhH", data, at)
        at += 18
        cls, at = read_sz_or_ordinal(data, at)
        if isinstance(cls, int):
            cls = CONTROL_CLASSES.get(cls, "#%d" % cls)
        cls = cls.lower()  # "BUTTON" written by name is the same class as the atom
        text, at = read_sz_or_ordinal(data, at)
        extra = struct.unpack_from("<H", data, at)[0]
        at += 2 + extra
        controls.append((cid, cls, cstyle, text))
    return style, caption, font, controls


def menu_of(data):
    """The menu as a list of items: (flags, id, text) or (flags, text, [items])."""
    version, header = struct.unpack_from("<HH", data, 0)
    if version != 0:
        raise BadModule("extended menu templates are not used by these modules")
    at = 4 + header

    def level(at):
        items = []
        while True:
            flags = struct.unpack_from("<H", data, at)[0]
            at += 2
            if flags & MF_POPUP:
                text, at = read_sz(data, at)
                sub, at = level(at)
                items.append((flags & ~MF_END, text, sub))
            else:
                cmd = struct.unpack_from("<H", data, at)[0]
                text, at = read_sz(data, at + 2)
                items.append((flags & ~MF_END, cmd, text))
            if flags & MF_END:
                return items, at

    items, _ = level(at)
    return items


def menu_shape(items):
    """The menu without its texts: what must agree between languages."""
    shape = []
    for item in items:
        if isinstance(item[2], list):
            shape.append(("popup", item[0], menu_shape(item[2])))
        else:
            shape.append(("item", item[0], item[1]))
    return shape


# ---- The header ---------------------------------------------------------------------------

def read_header(path):
    names = {}
    with open(path, encoding="ascii") as f:
        for line in f:
            m = re.match(r"\s*#define\s+([A-Z][A-Z0-9_]*)\s+(-?\d+)\b", line)
            if m:
                names[m.group(1)] = int(m.group(2))
    return names


def expected_controls(names):
    """{dialog id: {control id: name}} by the IDD_<DIALOG> / IDC_<DIALOG>_* rule."""
    dialogs = {n[4:]: v for n, v in names.items() if n.startswith("IDD_")}
    result = {v: {} for v in dialogs.values()}
    for name, value in names.items():
        if not name.startswith("IDC_"):
            continue
        owners = [d for d in dialogs if name.startswith("IDC_" + d + "_")]
        if not owners:
            raise SystemExit("%s names no dialog of the header" % name)
        result[dialogs[max(owners, key=len)]][value] = name
    return result


# ---- Checks -------------------------------------------------------------------------------

class Module:
    def __init__(self, path):
        self.path = path
        self.name = os.path.basename(path)
        res = PeResources(path)
        self.languages = res.languages()
        self.strings = strings_of(res)
        self.dialogs = {k: dialog_of(v) for k, v in res.items(RT_DIALOG).items()}
        self.menus = {k: menu_of(v) for k, v in res.items(RT_MENU).items()}
        self.icons = set(res.items(RT_GROUP_ICON))
        self.bitmaps = set(res.items(RT_BITMAP))
        self.has_version = bool(res.items(RT_VERSION))


def check_module(m, names, problems):
    def problem(text):
        problems.append("%s: %s" % (m.name, text))

    for name, value in sorted(names.items(), key=lambda kv: kv[1]):
        if name.startswith("IDS_") and value not in m.strings:
            problem("string %d (%s) is missing or empty" % (value, name))
        elif name.startswith("IDD_") and value not in m.dialogs:
            problem("dialog %d (%s) is missing" % (value, name))
        elif name.startswith("IDR_") and value not in m.menus:
            problem("menu %d (%s) is missing" % (value, name))
        elif name.startswith("IDI_") and value not in m.icons:
            problem("icon %d (%s) is missing" % (value, name))
        elif name.startswith("IDB_") and value not in m.bitmaps:
            problem("bitmap %d (%s) is missing" % (value, name))

    for dialog, controls in expected_controls(names).items():
        if dialog not in m.dialogs:
            continue
        style, caption, font, present = m.dialogs[dialog]
        by_id = {c[0]: c for c in present}
        for cid, cname in sorted(controls.items()):
            if cid not in by_id:
                problem("dialog %d has no control %d (%s)" % (dialog, cid, cname))
            elif cname.endswith("_CONFLICT") and by_id[cid][2] & WS_VISIBLE:
                problem("conflict mark %d of dialog %d is visible" % (cid, dialog))
            for required, bits, style_name in REQUIRED_STYLES:
                if cname == required and cid in by_id and by_id[cid][2] & bits != bits:
                    problem("control %d (%s) of dialog %d lacks %s"
                            % (cid, cname, dialog, style_name))
        if font != (8, "MS Sans Serif"):
            problem("dialog %d uses font %r instead of MS Sans Serif 8" % (dialog, font))

    check_stated(m, problem)

    if not m.has_version:
        problem("no version resource")

    menu_id = names.get("IDR_TRAY")
    if menu_id in m.menus:
        check_tray_menu(m.menus[menu_id], names, problem)

    for sid, text in sorted(m.strings.items()):
        if text == "Blank":
            problem('string %d reads "Blank", which the programs show as nothing' % sid)
        try:
            raw = text.encode("cp1252")
        except UnicodeEncodeError:
            problem("string %d has characters outside Windows-1252" % sid)
            continue
        if re.search(b"[\xc2-\xf4][\x80-\xbf]", raw):
            try:
                raw.decode("utf-8")
                problem("string %d looks like UTF-8 read as Windows-1252: %r" % (sid, text))
            except UnicodeDecodeError:
                pass

    expected_title = PRODUCT_TITLES.get(m.name.lower())
    title = m.strings.get(names["IDS_PRODUCT_TITLE"])
    if expected_title is None:
        problem("no product title is known for this module name")
    elif title != expected_title:
        problem("product title is %r instead of %r" % (title, expected_title))
    if len(m.languages) != 1:
        problem("resources in %d languages instead of one" % len(m.languages))


def check_tray_menu(menu, names, problem):
    if not menu or not isinstance(menu[0][2], list):
        problem("menu %d does not start with its popup" % names["IDR_TRAY"])
        return
    popup = menu[0][2]
    for pos_name, want in TRAY_LAYOUT:
        pos = names[pos_name]
        if pos >= len(popup):
            problem("tray menu has no item at position %d (%s)" % (pos, pos_name))
            continue
        item = popup[pos]
        if isinstance(want, str):
            if isinstance(item[2], list) or item[1] != names[want]:
                problem("tray menu position %d is not command %d (%s)"
                        % (pos, names[want], want))
        else:
            ids = [i[1] for i in item[2]] if isinstance(item[2], list) else None
            if ids != [names[w] for w in want]:
                problem("tray menu position %d is not the submenu %s" % (pos, want))


def compare_modules(modules, problems):
    first = modules[0]
    for m in modules[1:]:
        def differ(what):
            problems.append("%s and %s differ: %s" % (first.name, m.name, what))

        if set(first.strings) != set(m.strings):
            differ("string ids %s" % sorted(set(first.strings) ^ set(m.strings)))
        if set(first.dialogs) != set(m.dialogs):
            differ("dialogs %s" % sorted(set(first.dialogs) ^ set(m.dialogs)))
        for d in sorted(set(first.dialogs) & set(m.dialogs)):
            a, b = first.dialogs[d], m.dialogs[d]
            if a[0] != b[0]:
                differ("style of dialog %d" % d)
            ca = [(c[0], c[1], c[2]) for c in a[3]]
            cb = [(c[0], c[1], c[2]) for c in b[3]]
            if ca != cb:
                differ("controls of dialog %d" % d)
        if set(first.menus) != set(m.menus):
            differ("menus %s" % sorted(set(first.menus) ^ set(m.menus)))
        for k in sorted(set(first.menus) & set(m.menus)):
            if menu_shape(first.menus[k]) != menu_shape(m.menus[k]):
                differ("structure of menu %d" % k)
        if first.icons != m.icons:
            differ("icons")
        if first.bitmaps != m.bitmaps:
            differ("bitmaps")


def dump(m):
    print("== %s (languages %s)" % (m.name, m.languages))
    for sid, text in sorted(m.strings.items()):
        print("string %5d  %r" % (sid, text))
    for d, (style, caption, font, controls) in sorted(m.dialogs.items()):
        print("dialog %d %r style 0x%08x font %r" % (d, caption, style, font))
        for cid, cls, cstyle, text in controls:
            print("    %5d %-14s 0x%08x %r" % (cid if cid != 0xFFFF else -1, cls, cstyle, text))
    for k, menu in sorted(m.menus.items()):
        print("menu %d %r" % (k, menu))
    print("icons %s bitmaps %s" % (sorted(m.icons), sorted(m.bitmaps)))


KINDS = [("IDS_", "string"), ("IDD_", "dialog"), ("IDR_", "menu"), ("IDI_", "icon"),
         ("IDB_", "bitmap")]


def list_resources(names):
    for prefix, kind in KINDS:
        for name, value in sorted(names.items(), key=lambda kv: kv[1]):
            if name.startswith(prefix):
                print("%s %d %s" % (kind, value, name))
    for dialog, controls in sorted(expected_controls(names).items()):
        for cid, cname in sorted(controls.items()):
            print("control %d %d %s" % (dialog, cid, cname))


def main(argv):
    stamp = None
    show = False
    listing = False
    args = []
    it = iter(argv[1:])
    for a in it:
        if a == "--stamp":
            stamp = next(it)
        elif a == "--dump":
            show = True
        elif a == "--list":
            listing = True
        else:
            args.append(a)
    if listing and len(args) == 1:
        names = read_header(args[0])
        problems = []
        check_header(names, problems)
        if problems:
            sys.stderr.write("".join(p + "\n" for p in problems))
            return 1
        list_resources(names)
        return 0
    if len(args) < 2:
        sys.stderr.write(__doc__)
        return 2
    names = read_header(args[0])
    unknown = [n for n, _, _ in REQUIRED_STYLES if n not in names]
    if unknown:
        raise SystemExit("required styles name controls the header lacks: %s" % unknown)
    problems = []
    check_header(names, problems)
    modules = []
    for path in args[1:]:
        try:
            modules.append(Module(path))
        except (BadModule, struct.error, UnicodeDecodeError, OSError) as e:
            problems.append("%s: cannot be read: %s" % (os.path.basename(path), e))
    for m in modules:
        if show:
            dump(m)
        check_module(m, names, problems)
    if len(modules) > 1:
        compare_modules(modules, problems)
    for p in problems:
        print(p)
    if problems:
        print("%d problem(s) in %d module(s)" % (len(problems), len(args) - 1))
        return 1
    print("%d module(s) agree with %s and with each other" % (len(modules), args[0]))
    if stamp:
        with open(stamp, "w") as f:
            f.write("ok\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

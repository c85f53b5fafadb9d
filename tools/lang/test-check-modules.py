#!/usr/bin/env python3
"""Proves that check-modules.py catches the faults it is there for.

    test-check-modules.py CHECK_MODULES.py RESOURCE_IDS_H GOOD.dll FAULTY.dll

GOOD.dll alone must pass. GOOD.dll with FAULTY.dll (built from faulty-module.rc, named
cnctlFR_.dll) must fail with every report listed below. A header that numbers a resource
otherwise than the programs do must be refused even with GOOD.dll.
"""

import os
import re
import subprocess
import sys
import tempfile

EXPECTED = [
    "cnctlFR_.dll: product title is 'Tunara Properties' instead of 'Propri\u00e9t\u00e9s Tunara'",
    "cnctlFR_.dll: string 18 (IDS_MIDI_BUSY) is missing or empty",
    'cnctlFR_.dll: string 2623 reads "Blank"',
    "cnctlFR_.dll: string 2621 looks like UTF-8 read as Windows-1252",
    "cnctlFR_.dll: icon 188 (IDI_TRAY) is missing",
    "cnctlFR_.dll: bitmap 129 (IDB_HEADPHONES) is missing",
    "cnctlFR_.dll: dialog 185 (IDD_DOSPROMPT) is missing",
    "cnctlFR_.dll: dialog 160 has no control 1044 (IDC_LEGACY_DMA)",
    "cnctlFR_.dll: conflict mark 1064 of dialog 160 is visible",
    "cnctlFR_.dll: control 1015 (IDC_SETTINGS_HEADPHONES) of dialog 132 lacks BS_NOTIFY",
    "cnctlFR_.dll: dialog 174 uses font (9, 'Arial') instead of MS Sans Serif 8",
    "cnctlFR_.dll: tray menu position 2 is not the submenu",
    "cnctlFR_.dll: tray menu has no item at position 7 (TRAY_POS_EXIT)",
    "cnctlFR_.dll: no version resource",
    "cnctlen_.dll and cnctlFR_.dll differ: string ids",
    "cnctlen_.dll and cnctlFR_.dll differ: controls of dialog 160",
    "cnctlen_.dll and cnctlFR_.dll differ: structure of menu 190",
    "cnctlen_.dll and cnctlFR_.dll differ: icons",
    "cnctlFR_.dll: string 18 is missing",
    "cnctlFR_.dll: dialog 185 is missing",
    "cnctlFR_.dll: dialog 160 has no control 1044",
]

# Header lines changed as a wrong product constant would change them, and the reports.
WRONG_HEADER = [
    (r"#define IDM_TRAY_EXIT 2612\b", "#define IDM_TRAY_EXIT 2609",
     "header: IDM_TRAY_EXIT is 2609, the programs use 2612"),
    (r"#define IDS_DOS_REMOVE_CAPTION 15\b", "#define IDS_DOS_REMOVE_CAPTION 14",
     "header: IDS_DOS_REMOVE_CAPTION is 14, the programs use 15"),
    (r"#define IDC_LEGACY_DMA_CONFLICT 1065\b", "#define IDC_LEGACY_DMA_CONFLICT 1066",
     "header: IDC_LEGACY_DMA_CONFLICT is 1066, the programs use 1065"),
]


def run(*args):
    result = subprocess.run([sys.executable] + list(args), capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


def main():
    check, header, good, faulty = sys.argv[1:5]
    failures = 0

    code, output = run(check, header, good)
    if code != 0:
        print("FAIL: the good module alone is refused:\n" + output)
        failures += 1

    code, output = run(check, header, good, faulty)
    if code != 1:
        print("FAIL: the faulty module gives exit code %d, not 1" % code)
        failures += 1
    for report in EXPECTED:
        if report not in output:
            print("FAIL: no report %r" % report)
            failures += 1
    if failures:
        print("--- output of the check ---\n" + output)

    with open(header, encoding="ascii") as f:
        text = f.read()
    for pattern, replacement, report in WRONG_HEADER:
        wrong, count = re.subn(pattern, replacement, text)
        if count != 1:
            print("FAIL: %r is not in the header" % pattern)
            failures += 1
            continue
        with tempfile.NamedTemporaryFile("w", suffix=".h", delete=False) as f:
            f.write(wrong)
        try:
            code, output = run(check, f.name, good)
        finally:
            os.unlink(f.name)
        if code != 1 or report not in output:
            print("FAIL: no report %r (exit code %d):\n%s" % (report, code, output))
            failures += 1
    print("%d passed, %d failed"
          % (len(EXPECTED) + len(WRONG_HEADER) + 2 - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

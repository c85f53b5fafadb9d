#!/usr/bin/env python3
"""Writes the machine descriptions of tests/machines/ from a few parameters.

A description is a machine as the card's software finds it: the registry that Windows and
the card's driver leave (REGEDIT4 text, with the Configuration Manager's live device nodes
and the simulated hardware under HKLM\\Software\\SimulatedHardware), the files on drive C
and the operating-system facts in machine.ini. The descriptions are the source of truth
for the host tests and the Wine machine; this script is how they are kept consistent with
each other. tests/machines/README.md explains the format and every description.

    make-descriptions.py              write every description into tests/machines/
    make-descriptions.py --out DIR    write them into DIR instead
    make-descriptions.py --check      write them into a temporary folder, compare with
                                      tests/machines/ byte for byte, and validate the
                                      committed data on its own (record sizes, keys that
                                      must exist, the INF patch markers, line ends)

Python 3, standard library only. The parts live next to this script: records.py (CMCONFIG
and PCI configuration spaces), regtext.py (REGEDIT4), hardware.py, files.py (DOS files and
the driver INF), machine.py (one description), checks.py.
"""

import argparse
import os
import shutil
import sys
import tempfile

from checks import Checker, compare_trees
from machine import Machine

def descriptions():
    return [
        Machine("win98-maestro2e", "win98", "440bx", "maestro2e", (0, 0x0A),
                summary="Windows 98, Tunara card with a Maestro-2E, everything in order"),
        Machine("win98-maestro2e-conflict", "win98", "440bx", "maestro2e", (0, 0x0A),
                conflict=True,
                summary="Windows 98, Maestro-2E card; a legacy MPU-401 holds the card's MIDI "
                        "port and the wavetable node has no resource record"),
        Machine("win98-maestro1", "win98", "440bx", "maestro1", (0, 0x0A),
                settings=dict(hw_acceleration=0, sound_lib_size=2, wavetable_active=False,
                              mic_boost=1, native_dos=True, speaker_config=1),
                summary="Windows 98, Maestro-1 card; sample sets off, microphone boost on, "
                        "native DOS support installed, headphones"),
        Machine("win95-maestro1", "win95", "430tx", "maestro1", (0, 0x0B),
                settings=dict(sound_lib_size=2, two_mb_run=True, joystick_disabled=True,
                              game_support=False, enable_spdif=1, spdif=1, mic_mute=1,
                              tray_autostart=False, autoexec_final_newline=False),
                summary="Windows 95, Maestro-1 card at device 0B; 2 MB set, joystick and DOS "
                        "game support off, S/PDIF on"),
        Machine("win95osr2-maestro2e", "win95osr2", "440bx", "maestro2e", (0, 0x0A),
                settings=dict(sound_lib_size=2, two_mb_run=True),
                summary="Windows 95 OSR2, Maestro-2E card; 2 MB set"),
        Machine("nt4-maestro2e", "nt40", "440bx", "maestro2e", (0, 0x0A),
                summary="Windows NT 4.0 SP6 with a Maestro-2E card, driver not yet installed"),
        Machine("win98-nocard", "win98", "440bx", None,
                summary="Windows 98 without the card and without any sound device"),
    ]


def generate(root):
    """Writes every description, replacing what an earlier run left in its folder."""
    for machine in descriptions():
        folder = os.path.join(root, machine.name)
        if os.path.isdir(folder):
            shutil.rmtree(folder)
        machine.build().write(root)


def check(root):
    """Regenerates into a temporary folder, compares, validates; 0 when all is well."""
    checker = Checker()
    names = [m.name for m in descriptions()]
    with tempfile.TemporaryDirectory() as temp:
        generate(temp)
        for machine in names:
            if not os.path.isdir(os.path.join(root, machine)):
                checker.fail(machine, "not committed (run the generator)")
                continue
            compare_trees(os.path.join(temp, machine), os.path.join(root, machine), checker)
    for entry in sorted(os.listdir(root)):
        folder = os.path.join(root, entry)
        if os.path.isdir(folder):
            if entry not in names:
                checker.fail(entry, "a description the generator does not know")
            checker.check_machine(folder)
    for problem in checker.problems:
        print(problem, file=sys.stderr)
    print("%d descriptions checked, %d problems" % (len(names), len(checker.problems)))
    return 1 if checker.problems else 0


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.normpath(os.path.join(here, "..", "..", "tests", "machines"))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=default, help="folder of the descriptions")
    parser.add_argument("--check", action="store_true",
                        help="regenerate into a temporary folder, compare and validate")
    args = parser.parse_args()
    if args.check:
        return check(args.out)
    generate(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())

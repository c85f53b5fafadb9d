"""Files of drive C: DOS start-up files, the DOS drivers, the sample sets and the card's
driver INF."""

import struct

from hardware import CARD_IRQ, MAKER, MEDIA_GUID
from regtext import CRLF

def dos_text(lines, final_newline=True):
    text = CRLF.join(lines)
    if final_newline:
        text += CRLF
    return text.encode("cp1252")


# A DOS .COM program that ends at once (mov ax,4C00h; int 21h), and a DOS device driver
# header named AECU$ whose strategy and interrupt routines return at once.
MAESTRO_COM = bytes([0xB8, 0x00, 0x4C, 0xCD, 0x21])
AECU_SYS = (struct.pack("<IHHH", 0xFFFFFFFF, 0x8000, 0x0012, 0x0013) + b"AECU$   " +
            bytes([0xCB, 0xCB]))
# A type-1 MIDI file with one track that holds only its end.
BLANK_MID = (b"MThd" + struct.pack(">IHHH", 6, 1, 1, 96) +
             b"MTrk" + struct.pack(">I", 4) + bytes([0x00, 0xFF, 0x2F, 0x00]))


def sample_set(megabytes):
    return ("Tunara wavetable sample set, %d MB\x1a" % megabytes).encode("cp1252")


def placeholder(name):
    return ("%s: placeholder of the simulated machine\x1a" % name).encode("cp1252")


def inf_text(chip, s):
    """The card's driver INF, with the six setting bytes as the installed driver has them."""
    hw = "PCI\\VEN_%04X&DEV_%04X" % (chip.vendor, chip.device_id)
    off_on = lambda flag: " " if flag else ";"
    joy_line = ("HKR,,JoystickSupport,1,%02X,00" % (0 if s["joystick_disabled"] else 1)
                if chip.is_2e else
                "HKR,,JoyDisable,1,%02X,00" % (1 if s["joystick_disabled"] else 0))
    lines = [
        "; %s -- Tunara PCI audio (%s) for Windows 95 and Windows 98" % (chip.inf,
                                                                         chip.description),
        "; Copyright (c) 1999 %s" % MAKER,
        "",
        "[Version]",
        'Signature="$CHICAGO$"',
        "Class=MEDIA",
        "ClassGUID=%s" % MEDIA_GUID,
        "Provider=%Maker%",
        "DriverVer=10/12/1999,4.10.0.1024",
        "",
        "[ClassInstall]",
        "AddReg=Class.AddReg",
        "",
        "[Class.AddReg]",
        "HKR,,,,%MediaClassName%",
        "HKR,,Icon,,-1",
        "HKR,,Installer,,mmci.dll",
        "",
        "[DestinationDirs]",
        "DefaultDestDir=11",
        "Tunara.CopyList=11",
        "Tunara.DosList=30",
        "",
        "[SourceDisksNames]",
        "1=%DiskName%,,0",
        "",
        "[SourceDisksFiles]",
        "es197x.drv=1",
        "es197x.vxd=1",
        "maestro.com=1",
        "aecu.sys=1",
        "",
        "[Manufacturer]",
        "%Maker%=Maker",
        "",
        "[Maker]",
        "%Tunara.Enum.DeviceDesc%=Tunara.Enum, " + hw,
        "%Tunara.Wave.DeviceDesc%=Tunara.Wave, ZIZEZ\\WAVE",
        "%Tunara.FM.DeviceDesc%=Tunara.FM, ZIZEZ\\FM",
        "%Tunara.MPU.DeviceDesc%=Tunara.MPU, ZIZEZ\\MPU401",
        "%Tunara.WT.DeviceDesc%=Tunara.WT, ZIZEZ\\WTSYNTH",
        "",
        "; The PCI function: the card's enumerator, which creates the devices below.",
        "[Tunara.Enum]",
        "AddReg=Tunara.Enum.AddReg",
        "",
        "[Tunara.Enum.AddReg]",
        "HKR,,DevLoader,,*CONFIGMG",
        "HKR,,EnumPropPages,,\"mmsys.cpl,MediaPropPageProvider\"",
        joy_line,
        "HKR,,GameSupport,1,%02X,00" % (1 if s["game_support"] else 0),
        "",
        "; Windows NT: the enumerator runs as a kernel service.",
        "[Tunara.Enum.Services]",
        "AddService=es1978,0x00000002,Tunara.Service,Tunara.EventLog",
        "",
        "[Tunara.Service]",
        "DisplayName=%Tunara.Enum.DeviceDesc%",
        "ServiceType=1",
        "StartType=3",
        "ErrorControl=1",
        "ServiceBinary=%12%\\es1978.sys",
        "LoadOrderGroup=Extended Base",
        "",
        "[Tunara.EventLog]",
        "AddReg=Tunara.EventLog.AddReg",
        "",
        "[Tunara.EventLog.AddReg]",
        "HKR,,EventMessageFile,0x00020000,\"%%SystemRoot%%\\System32\\IoLogMsg.dll\"",
        "HKR,,TypesSupported,0x00010001,7",
        "",
        "[Tunara.Enum.SoftwareSettings]",
        "AddReg=Tunara.SoftwareSettings.AddReg",
        "",
        "[Tunara.SoftwareSettings.AddReg]",
        "HKR,,Interrupt,0x00010001,%d" % CARD_IRQ,
        "",
        "; The wave device: its class key holds the card settings below Config.",
        "[Tunara.Wave]",
        "CopyFiles=Tunara.CopyList, Tunara.DosList",
        "AddReg=Tunara.Wave.AddReg, Tunara.Config.AddReg",
        "UpdateAutoBat=Tunara.AutoBat",
        "UpdateCfgSys=Tunara.CfgSys",
        "",
        "[Tunara.CopyList]",
        "es197x.drv",
        "es197x.vxd",
        "",
        "[Tunara.DosList]",
        "maestro.com",
        "aecu.sys",
        "",
        "[Tunara.AutoBat]",
        "CmdAdd=C:\\maestro.com",
        "",
        "[Tunara.CfgSys]",
        "DevAddDev=C:\\aecu.sys,device",
        "",
        "[Tunara.Wave.AddReg]",
        "HKR,,DevLoader,,mmdevldr.vxd",
        "HKR,,Driver,,es197x.vxd",
        "HKR,Drivers,MIDI,,es197x.drv",
        "HKR,Drivers,SubClasses,,\"wave,midi,mixer,aux\"",
        "HKR,Drivers\\wave\\es197x.drv,Driver,,es197x.drv",
        "HKR,Drivers\\wave\\es197x.drv,Description,,%Tunara.Wave.DeviceDesc%",
        "HKR,Drivers\\midi\\es197x.drv,Driver,,es197x.drv",
        "HKR,Drivers\\midi\\es197x.drv,Description,,%Tunara.WT.DeviceDesc%",
        "HKR,Drivers\\mixer\\es197x.drv,Driver,,es197x.drv",
        "HKR,Drivers\\mixer\\es197x.drv,Description,,%Tunara.Wave.DeviceDesc%",
        "HKR,Drivers\\aux\\es197x.drv,Driver,,es197x.drv",
        "HKR,Drivers\\aux\\es197x.drv,Description,,%Tunara.Wave.DeviceDesc%",
        "",
        "; Card settings. The settings program rewrites the byte after each of these",
        "; entries' leading text, so keep their wording and order.",
        "[Tunara.Config.AddReg]",
        "HKR,Config,HwAcceleration,1,%02X,00" % s["hw_acceleration"],
        '; S/PDIF output: to switch it on, remove the ";"',
        off_on(s["enable_spdif"]) + "HKR,Config,EnableSPDIF,1,01,00",
        "HKR,Config,SPDIF,1,%02X,00" % s["spdif"],
        "HKR,Config,SoundLibSize,1,%02X,00" % s["sound_lib_size"],
        "HKR,Config,Autoexec,1,01,00",
        off_on(s["mic_boost"]) + "HKR,Config,Enable Mic Volume 20dB Boost,1,01,00",
        "HKR,Config,MicMute,1,%02X,00" % s["mic_mute"],
        "HKR,Config,JoyDisable,1,%02X,00" % (1 if s["joystick_disabled"] else 0),
        "",
        "[Tunara.FM]",
        "AddReg=Tunara.Legacy.AddReg",
        "",
        "[Tunara.MPU]",
        "AddReg=Tunara.Legacy.AddReg",
        "",
        "[Tunara.WT]",
        "AddReg=Tunara.Legacy.AddReg",
        "",
        "[Tunara.Legacy.AddReg]",
        "HKR,,DevLoader,,mmdevldr.vxd",
        "HKR,,Driver,,es197x.vxd",
        "",
        "[Strings]",
        'Maker="%s"' % MAKER,
        'MediaClassName="Sound, video and game controllers"',
        'DiskName="Tunara PCI Audio Driver Disk"',
        'Tunara.Enum.DeviceDesc="%s"' % chip.enumerator,
        'Tunara.Wave.DeviceDesc="Tunara Wave Device Manager"',
        'Tunara.FM.DeviceDesc="Tunara DOS Games/FM Devices"',
        'Tunara.MPU.DeviceDesc="Tunara MPU401 Device"',
        'Tunara.WT.DeviceDesc="Tunara WaveTable Synthesis Device"',
    ]
    return dos_text(lines)

// Where the simulated card keeps its state: keys and values under
// HKEY_LOCAL_MACHINE\Software\SimulatedHardware. Every process of the machine reads and
// writes the same keys, so the properties program and the tray see one card.
//
//   PCI\<bus>:<device>.<function>   Config         REG_BINARY, up to 256 bytes
//       Configuration space of one PCI function. Key names are "%02X:%02X.%X": bus and
//       device as two hex digits, the function as one (function 0 of device 10 on bus 0 is
//       "00:0A.0"). A function without a key, or whose key has no REG_BINARY Config, is
//       an empty slot. Bytes past the end of a short Config read as 0; bytes past 256 are
//       ignored.
//   PnpConf                         Present        REG_DWORD
//       Non-zero: "\\.\PNPCONF.VXD" can be opened. Absent or 0: it cannot.
//   PnpConf\<node>                  Config         REG_BINARY, exactly 216 bytes
//       The CMCONFIG record of the device node whose identifier is <node> ("%08X").
//       A node without a key, or with a Config of another type or size, has no record.
//   Mixer\Destination<n>\Source<m>  ComponentType, Controls, Value   REG_DWORD each
//       Mixer 0's lines. n and m are decimal and counted from 0 without gaps: the first
//       missing number ends the list. ComponentType is a MIXERLINE_COMPONENTTYPE_* value,
//       Controls the number of controls, Value the value of the control at index 2 (see
//       platform/sim/sim_mixer.h for the control numbering). The Destination<n> keys may
//       carry the same three values for the destination line itself. Absent values read
//       as 0 (ComponentType: DST_UNDEFINED or SRC_UNDEFINED). No Mixer key: no mixer
//       device at all.
//   DirectSound                     Present        REG_DWORD  non-zero: DirectSound works
//                                   SpeakerConfig  REG_DWORD  DSSPEAKER_* value; absent
//                                                             reads as DSSPEAKER_STEREO
//   Sequencer                       Busy           REG_DWORD  1: the MIDI sequencer is in use
//   WaveDriver                      Present        REG_DWORD  non-zero: "es197x.drv" opens
//                                   Messages       REG_MULTI_SZ
//       One string per SendDriverMessage, appended in order: "msg,param1,param2", each
//       number in lower-case hexadecimal without prefix or leading zeros, the parameters
//       taken as unsigned 32-bit (DRV_USER + 0x15 with 4 and 0 is "4015,4,0"; -1 is
//       "ffffffff").
//
// REG_DWORD values of another type or size read as absent.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace platform::sim {

// Under HKEY_LOCAL_MACHINE.
constexpr const char* kSimRootKey = "Software\\SimulatedHardware";

constexpr const char* kSimPciKey = "Software\\SimulatedHardware\\PCI";
constexpr const char* kSimPnpConfKey = "Software\\SimulatedHardware\\PnpConf";
constexpr const char* kSimMixerKey = "Software\\SimulatedHardware\\Mixer";
constexpr const char* kSimDirectSoundKey = "Software\\SimulatedHardware\\DirectSound";
constexpr const char* kSimSequencerKey = "Software\\SimulatedHardware\\Sequencer";
constexpr const char* kSimWaveDriverKey = "Software\\SimulatedHardware\\WaveDriver";

constexpr const char* kSimConfigValue = "Config";
constexpr const char* kSimPresentValue = "Present";
constexpr const char* kSimComponentTypeValue = "ComponentType";
constexpr const char* kSimControlsValue = "Controls";
constexpr const char* kSimValueValue = "Value";
constexpr const char* kSimSpeakerConfigValue = "SpeakerConfig";
constexpr const char* kSimBusyValue = "Busy";
constexpr const char* kSimMessagesValue = "Messages";

// The installable driver that the WaveDriver key stands for.
constexpr const char* kSimWaveDriverName = "es197x.drv";

// Largest PCI Config blob that counts: one function's configuration space.
constexpr std::uint32_t kSimPciConfigSize = 256;

// "PCI\00:0A.0" style sub key of kSimRootKey, and the same below kSimPciKey.
inline std::string simPciFunctionName(std::uint32_t bus, std::uint32_t device,
                                      std::uint32_t function) {
    char name[32];
    std::snprintf(name, sizeof name, "%02X:%02X.%X", static_cast<unsigned>(bus & 0xFF),
                  static_cast<unsigned>(device & 0x1F), static_cast<unsigned>(function & 7));
    return name;
}
inline std::string simPciFunctionKey(std::uint32_t bus, std::uint32_t device,
                                     std::uint32_t function) {
    return std::string(kSimPciKey) + "\\" + simPciFunctionName(bus, device, function);
}

// "Software\SimulatedHardware\PnpConf\0000ABCD".
inline std::string simPnpNodeKey(std::uint32_t node) {
    char name[16];
    std::snprintf(name, sizeof name, "%08X", static_cast<unsigned>(node));
    return std::string(kSimPnpConfKey) + "\\" + name;
}

// "Software\SimulatedHardware\Mixer\Destination<n>" and "...\Destination<n>\Source<m>".
inline std::string simMixerDestinationKey(std::uint32_t destination) {
    return std::string(kSimMixerKey) + "\\Destination" + std::to_string(destination);
}
inline std::string simMixerSourceKey(std::uint32_t destination, std::uint32_t source) {
    return simMixerDestinationKey(destination) + "\\Source" + std::to_string(source);
}

}  // namespace platform::sim

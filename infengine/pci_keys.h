// The Windows 95/98 hardware key of a PCI function (below HKEY_LOCAL_MACHINE):
//
//   Enum\PCI\VEN_vvvv&DEV_dddd\BUS_bb&DEV_nn&FUNC_ff    a function on bus 0 (or above 1)
//   Enum\PCI\VEN_vvvv&DEV_dddd\<slot codes>             a function on bus 1, behind a
//                                                        PCI-to-PCI bridge (Windows 98 naming)
//
// Bus, device number and function are lower-case hex of at least two digits. A slot code
// DF(x) is the decimal text of (x div 2) * 10 + (x mod 2) * 8, at least two digits (x times 8
// in hex for x below 20). Behind a bridge that is found on the bus the codes are DF(card
// number) DF(bridge device number) DF(function); without one, two known systems have fixed
// codes and every other has no key.
//
// While the engine looks up the keys of an installed device (the delete lookup) on Windows
// 98, the "VEN_&DEV_" part is the form Windows gave the installed device: the short form when
// it is registered, else the form with "&SUBSYS_ssssssss&REV_rr" when that key exists, else
// the form with a zero subsystem. Maestro-1 devices (device 0100) always use the short form.
#pragma once

#include <cstdint>
#include <string>

namespace infengine {

// DF(x).
std::string slotCode(std::uint32_t x);

// The key of the function at (bus, number, function) of a device with these ids (low 16 bits
// taken). False when no key can be built for the slot: bus 1 on Windows 95 before OSR2, or
// behind a bridge that is not found on a system without fixed codes.
bool buildPciKey(std::uint32_t vendorId, std::uint32_t deviceId, std::uint32_t bus,
                 std::uint32_t number, std::uint32_t function, std::string* key);

}  // namespace infengine

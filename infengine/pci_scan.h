// The PCI bus scan of the driver exports: where a device with given vendor and device ids
// sits, and what its configuration space says about it.
//
// The scan covers bus 0 and bus 1, device numbers 0 to 31, functions 0 and 1, reading
// register 0 (device id in the high half, vendor id in the low half) of each; the first match
// wins. It reads configuration space through the ports, which Windows 95/98 allow and Windows
// NT does not: on NT, or wherever the platform says the ports cannot be reached, nothing is
// ever found.
#pragma once

#include <cstdint>

#include "infengine/driver_state.h"

namespace infengine {

// True, with the slot, when a function with these ids answers on bus 0 or 1.
bool findPciDevice(std::uint16_t vendorId, std::uint16_t deviceId, PciSlot* slot);

// The revision (register 0x08, low byte) and subsystem id (register 0x2C) of a function.
std::uint32_t pciRevision(const PciSlot& slot);
std::uint32_t pciSubsystem(const PciSlot& slot);

}  // namespace infengine

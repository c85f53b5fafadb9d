// Finding the card's audio chip on the PCI bus.
//
// The card carries either an ESS Maestro-1 or an ESS Maestro-2E. Both programs look for it at
// every start by reading the vendor/device dword (register 0) of every function of every
// device of every bus, through configuration mechanism 1. A Maestro-1 anywhere wins over a
// Maestro-2E anywhere; among several chips of one kind the first in bus, device, function
// order is taken.
//
// Start-up cost. Under Windows 95/98 each configuration read is two port accesses, and on a
// machine without the card every slot is empty, so the number of reads is the cost. The scan
// therefore walks the bus once for both chips and reads functions 1-7 of a device only when
// its function 0 answers: PCI requires every present device to implement function 0, so an
// empty function 0 means an empty slot. On a conformant bus this finds exactly what two full
// scans (one per chip, 65,536 reads each) would find, at 8,192 reads plus 7 per present device.
#pragma once

#include <cstdint>
#include <string>

#include "platform/pci_config.h"

namespace settings {

// Vendor and device ids of the two chips, and the dword register 0 reads for them.
constexpr std::uint16_t kMaestro1Vendor = 0x1285;
constexpr std::uint16_t kMaestro1Device = 0x0100;
constexpr std::uint16_t kMaestro2EVendor = 0x125D;
constexpr std::uint16_t kMaestro2EDevice = 0x1978;
constexpr std::uint32_t kMaestro1Id = (std::uint32_t{kMaestro1Device} << 16) | kMaestro1Vendor;
constexpr std::uint32_t kMaestro2EId = (std::uint32_t{kMaestro2EDevice} << 16) | kMaestro2EVendor;

// The extent of configuration space that is scanned.
constexpr std::uint32_t kPciBuses = 256;
constexpr std::uint32_t kPciDevices = 32;
constexpr std::uint32_t kPciFunctions = 8;

// Where a chip sits: bus, device and function numbers.
struct PciLocation {
    std::uint32_t bus = 0;
    std::uint32_t device = 0;
    std::uint32_t function = 0;
};

// The location a scan reports when it finds nothing: one past the last function of the last
// device of the last bus, where the scan loops end. It names no device (its text is
// "BUS_100&DEV_20&FUNC_08"), so every registry look-up built from it fails.
constexpr PciLocation kPciNowhere = {kPciBuses, kPciDevices, kPciFunctions};

enum class CardChip {
    None,
    Maestro1,
    Maestro2E,
};

struct ChipScanResult {
    CardChip chip = CardChip::None;
    PciLocation location = kPciNowhere;
};

// Scans the bus once as described above. Makes no read at all when the system does not let
// configuration reads reach the bus (Windows NT): nothing could be found there.
ChipScanResult scanForCardChip(platform::PciConfig& pci);

// "BUS_bb&DEV_dd&FUNC_ff": each number in upper-case hexadecimal, at least two digits.
std::string formatPciLocation(const PciLocation& location);

}  // namespace settings

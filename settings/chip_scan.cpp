#include "settings/chip_scan.h"

#include <cstdio>

namespace settings {

ChipScanResult scanForCardChip(platform::PciConfig& pci) {
    ChipScanResult result;
    if (!pci.IsPortIoAvailable()) return result;

    bool maestro2EFound = false;
    PciLocation maestro2E;
    for (std::uint32_t bus = 0; bus < kPciBuses; ++bus) {
        for (std::uint32_t device = 0; device < kPciDevices; ++device) {
            for (std::uint32_t function = 0; function < kPciFunctions; ++function) {
                const std::uint32_t id = pci.ReadConfigDword(bus, device, function, 0);
                if (id == kMaestro1Id) {
                    result.chip = CardChip::Maestro1;
                    result.location = {bus, device, function};
                    return result;
                }
                if (id == kMaestro2EId && !maestro2EFound) {
                    maestro2EFound = true;
                    maestro2E = {bus, device, function};
                }
                // An empty function 0 is an empty slot: its other functions cannot exist.
                if (function == 0 && id == platform::kPciNoDevice) break;
            }
        }
    }
    if (maestro2EFound) {
        result.chip = CardChip::Maestro2E;
        result.location = maestro2E;
    }
    return result;
}

std::string formatPciLocation(const PciLocation& location) {
    char text[64];
    std::snprintf(text, sizeof text, "BUS_%02X&DEV_%02X&FUNC_%02X",
                  static_cast<unsigned>(location.bus), static_cast<unsigned>(location.device),
                  static_cast<unsigned>(location.function));
    return text;
}

}  // namespace settings

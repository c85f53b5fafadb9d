// The product: the card's PCI configuration alone, through the configuration ports.
// win32-sim builds platform/win32/pci_part_sim.cpp instead.
#include "platform/win32/hardware/win32_pci_config.h"
#include "platform/win32/win32_machine.h"

namespace platform::win32 {

std::unique_ptr<MachinePart> pciPart() {
    return makeBackendPart<Win32PciConfig, PciConfig, &Machine::pci>();
}

}  // namespace platform::win32

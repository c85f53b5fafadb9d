// win32-sim: the simulated card's PCI configuration alone, over the machine's real registry.
// The product flavour builds platform/win32/hardware/pci_part_real.cpp instead.
#include "platform/win32/win32_machine.h"

#if defined(TUNARA_SIM_HARDWARE)

#include "platform/sim/sim_pci_config.h"
#include "platform/win32/win32_registry.h"

namespace platform::win32 {

std::unique_ptr<MachinePart> pciPart() {
    struct Part : MachinePart {
        void attach(Machine& machine) override { machine.pci = &pci; }
        Win32Registry registry;
        sim::SimPciConfig pci{registry};
    };
    return std::make_unique<Part>();
}

}  // namespace platform::win32

#endif  // TUNARA_SIM_HARDWARE

// The product: the card's real hardware. win32-sim builds platform/win32/card_hardware_sim.cpp
// instead.
#include "platform/win32/card_hardware.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/win32_registry.h"

#include "platform/win32/hardware/win32_direct_sound.h"
#include "platform/win32/hardware/win32_installable_drivers.h"
#include "platform/win32/hardware/win32_mci.h"
#include "platform/win32/hardware/win32_mixer.h"
#include "platform/win32/hardware/win32_pci_config.h"
#include "platform/win32/hardware/win32_pnp_config.h"

namespace platform::win32 {

struct CardHardware::Backends {
    Win32PciConfig pci;
    Win32PnpConfig pnp;
    Win32Mixer mixer;
    Win32DirectSound directSound;
    Win32Mci mci;
    Win32InstallableDrivers drivers;
};

CardHardware::CardHardware(Registry&) : backends_(std::make_unique<Backends>()) {}

CardHardware::~CardHardware() = default;

void CardHardware::fill(Machine& machine) {
    machine.pci = &backends_->pci;
    machine.pnp = &backends_->pnp;
    machine.mixer = &backends_->mixer;
    machine.directSound = &backends_->directSound;
    machine.mci = &backends_->mci;
    machine.drivers = &backends_->drivers;
}

std::unique_ptr<MachinePart> cardPart() {
    struct Part : MachinePart {
        void attach(Machine& machine) override { hardware.fill(machine); }
        Win32Registry registry;  // asked for by CardHardware, unused by the real chip
        CardHardware hardware{registry};
    };
    return std::make_unique<Part>();
}

}  // namespace platform::win32

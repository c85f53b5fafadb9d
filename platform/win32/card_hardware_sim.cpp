// win32-sim: the simulated card over the machine's real registry; its window messages are
// posted like the real devices' notifications. The product flavour builds
// platform/win32/hardware/card_hardware_real.cpp instead.
#include <windows.h>

#include "platform/win32/card_hardware.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/win32_registry.h"

#if defined(TUNARA_SIM_HARDWARE)

#include "platform/sim/sim_direct_sound.h"
#include "platform/sim/sim_installable_drivers.h"
#include "platform/sim/sim_mci.h"
#include "platform/sim/sim_mixer.h"
#include "platform/sim/sim_pci_config.h"
#include "platform/sim/sim_pnp_config.h"

namespace platform::win32 {
namespace {

void postNotification(platform::HWnd window, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) {
    PostMessageA(reinterpret_cast<HWND>(window), message, static_cast<WPARAM>(wParam),
                 static_cast<LPARAM>(lParam));
}

}  // namespace

struct CardHardware::Backends {
    explicit Backends(Registry& registry)
        : pci(registry),
          pnp(registry),
          mixer(registry, postNotification),
          directSound(registry),
          mci(registry, postNotification),
          drivers(registry) {}

    sim::SimPciConfig pci;
    sim::SimPnpConfig pnp;
    sim::SimMixer mixer;
    sim::SimDirectSound directSound;
    sim::SimMci mci;
    sim::SimInstallableDrivers drivers;
};

CardHardware::CardHardware(Registry& registry) : backends_(std::make_unique<Backends>(registry)) {}

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
        Win32Registry registry;  // where the simulated card keeps its state
        CardHardware hardware{registry};
    };
    return std::make_unique<Part>();
}

}  // namespace platform::win32

#endif  // TUNARA_SIM_HARDWARE

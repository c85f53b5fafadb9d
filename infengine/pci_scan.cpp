#include "infengine/pci_scan.h"

#include "infengine/windows_kind.h"
#include "platform/machine.h"
#include "platform/pci_config.h"

namespace infengine {
namespace {

constexpr std::uint32_t kLastBus = 1;
constexpr std::uint32_t kLastDevice = 31;
constexpr std::uint32_t kLastFunction = 1;
constexpr std::uint32_t kIdRegister = 0x00;
constexpr std::uint32_t kRevisionRegister = 0x08;
constexpr std::uint32_t kSubsystemRegister = 0x2C;

platform::PciConfig* portsIfUsable() {
    platform::PciConfig* pci = platform::machine().pci;
    // On NT an application's port access ends the process; never let a scan start there.
    if (pci == nullptr || windowsKind() == kWindowsNt || !pci->IsPortIoAvailable()) {
        return nullptr;
    }
    return pci;
}

}  // namespace

bool findPciDevice(std::uint16_t vendorId, std::uint16_t deviceId, PciSlot* slot) {
    const std::uint32_t wanted = static_cast<std::uint32_t>(deviceId) << 16 | vendorId;
    // An empty slot reads all ones: ids FFFF:FFFF would "find" the first empty slot.
    if (wanted == platform::kPciNoDevice) return false;
    platform::PciConfig* pci = portsIfUsable();
    if (pci == nullptr) return false;
    for (std::uint32_t bus = 0; bus <= kLastBus; ++bus) {
        for (std::uint32_t device = 0; device <= kLastDevice; ++device) {
            for (std::uint32_t function = 0; function <= kLastFunction; ++function) {
                if (pci->ReadConfigDword(bus, device, function, kIdRegister) == wanted) {
                    *slot = PciSlot{bus, device, function};
                    return true;
                }
            }
        }
    }
    return false;
}

std::uint32_t pciRevision(const PciSlot& slot) {
    platform::PciConfig* pci = portsIfUsable();
    if (pci == nullptr) return 0;
    return platform::readPciConfigByte(*pci, slot.bus, slot.device, slot.function,
                                       kRevisionRegister);
}

std::uint32_t pciSubsystem(const PciSlot& slot) {
    platform::PciConfig* pci = portsIfUsable();
    if (pci == nullptr) return 0;
    return pci->ReadConfigDword(slot.bus, slot.device, slot.function, kSubsystemRegister);
}

}  // namespace infengine

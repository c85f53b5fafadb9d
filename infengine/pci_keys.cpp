// ConstructPCIKey and ConstructPCIKeyToDelete, and the key builder behind them.
#include "infengine/pci_keys.h"

#include "infengine/device_identity.h"
#include "infengine/driver_state.h"
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/id_text.h"
#include "infengine/pci_scan.h"
#include "infengine/windows_kind.h"
#include "platform/registry_key.h"

namespace infengine {
namespace {

constexpr int kWindows98 = 4;
constexpr std::uint16_t kMaestro1Device = 0x0100;

// The bridges the card is known to sit behind, by the card's device number.
struct Bridge {
    std::uint16_t vendor;
    std::uint16_t device;
};
bool bridgeFor(std::uint32_t number, Bridge* bridge) {
    if (number == 0 || number == 14) {
        *bridge = {0x1285, 0x1000};
        return true;
    }
    if (number == 5 || number == 6) {
        *bridge = {0x1011, 0x0024};
        return true;
    }
    return false;
}

bool keyExists(const std::string& key) {
    platform::RegKey opened;
    return opened.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

bool hasDeviceDescription(const std::string& key) {
    platform::RegKey opened;
    return opened.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS &&
           opened.hasValue("DeviceDesc");
}

// The slot part of the key: the codes behind a bridge (with their leading backslash), or the
// "BUS_" part of any other bus (without a separator: see joinSlot).
bool slotPart(std::uint32_t bus, std::uint32_t number, std::uint32_t function, std::string* slot,
              bool* busForm) {
    const EngineState& engine = engineState();
    const int kind = windowsKind();
    *busForm = bus != 1;
    if (*busForm) {
        *slot =
            "BUS_" + lowerHex2(bus) + "&DEV_" + lowerHex2(number) + "&FUNC_" + lowerHex2(function);
        return true;
    }
    if (kind == 1 || kind == 2) return false;  // Windows 95 before OSR2 has no bridge naming

    Bridge bridge;
    PciSlot found;
    if (!driverState().preinstall && bridgeFor(number, &bridge) &&
        findPciDevice(bridge.vendor, bridge.device, &found)) {
        *slot = "\\" + slotCode(number) + slotCode(found.device) + slotCode(function);
        return true;
    }
    if (engine.vendorId == 0x100C) {
        *slot = function == 0 ? "\\28" : "\\00";
    } else if (engine.deviceId == 0x0046) {
        *slot = function == 0 ? "\\30" : "\\70";
    } else {
        return false;
    }
    *slot += slotCode(number) + "00";
    return true;
}

std::string joinSlot(const std::string& base, const std::string& slot, bool busForm) {
    if (!busForm) return base + slot;
    return base + (!base.empty() && base.back() == '&' ? "" : "\\") + slot;
}

// The form of the "VEN_&DEV_" part that Windows 98 gave the installed device.
std::string installedBase(std::uint16_t vendor, std::uint16_t device, const std::string& shortBase,
                          const std::string& slot, bool busForm) {
    if (hasDeviceDescription(shortBase) ||
        hasDeviceDescription(joinSlot(shortBase, slot, busForm))) {
        return shortBase;
    }
    DefaultIdentity identity = defaultIdentity(device);
    PciSlot found;
    if (findPciDevice(vendor, device, &found)) {
        identity = {pciSubsystem(found), pciRevision(found)};
    }
    const std::string withSubsystem =
        shortBase + "&SUBSYS_" + hex8(identity.subsystem) + "&REV_" + hex2(identity.revision);
    if (keyExists(withSubsystem)) return withSubsystem;
    return shortBase + "&SUBSYS_00000000&REV_" + hex2(identity.revision);
}

}  // namespace

std::string slotCode(std::uint32_t x) {
    const std::uint64_t value = static_cast<std::uint64_t>(x / 2) * 10 + (x % 2) * 8;
    std::string text = decimal(value);
    if (text.size() < 2) text.insert(0, "0");
    return text;
}

bool buildPciKey(std::uint32_t vendorId, std::uint32_t deviceId, std::uint32_t bus,
                 std::uint32_t number, std::uint32_t function, std::string* key) {
    const auto vendor = static_cast<std::uint16_t>(vendorId);
    const auto device = static_cast<std::uint16_t>(deviceId);
    std::string slot;
    bool busForm = false;
    if (!slotPart(bus, number, function, &slot, &busForm)) return false;

    std::string base = "Enum\\PCI\\VEN_" + hex4(vendor) + "&DEV_" + hex4(device);
    if (driverState().deleteLookup && device != kMaestro1Device && windowsKind() == kWindows98) {
        base = installedBase(vendor, device, base, slot, busForm);
    }
    *key = joinSlot(base, slot, busForm);
    return true;
}

int ConstructPCIKey(std::uint32_t vendorId, std::uint32_t deviceId, std::uint32_t bus,
                    std::uint32_t deviceNumber, std::uint32_t function, char* key) {
    syncDriverState();
    std::string text;
    if (!buildPciKey(vendorId, deviceId, bus, deviceNumber, function, &text)) {
        clearOut(key);
        return 0;
    }
    copyOut(key, text);
    return 1;
}

int ConstructPCIKeyToDelete(std::uint32_t vendorId, std::uint32_t deviceId, std::uint32_t bus,
                            std::uint32_t deviceNumber, std::uint32_t function, char* key) {
    syncDriverState();
    // The lookup reads the installed device's subsystem and revision from the bus itself.
    ScopedFlag lookup(driverState().deleteLookup);
    return ConstructPCIKey(vendorId, deviceId, bus, deviceNumber, function, key);
}

}  // namespace infengine

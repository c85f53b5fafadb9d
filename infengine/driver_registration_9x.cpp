#include "infengine/driver_registration_9x.h"

#include <string>

#include "infengine/device_identity.h"
#include "infengine/driver_state.h"
#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/free_instance.h"
#include "infengine/id_text.h"
#include "infengine/inf_lines.h"
#include "infengine/pci_keys.h"
#include "infengine/pci_scan.h"
#include "infengine/registration_values.h"
#include "infengine/windows_kind.h"
#include "platform/file_handle.h"
#include "platform/machine.h"
#include "platform/system.h"

namespace infengine {
namespace {

constexpr int kWindows98 = 4;
constexpr char kClassKeyPrefix[] = "System\\CurrentControlSet\\Services\\Class\\";
constexpr char kDisplayClassGuid[] = "{4d36e968-e325-11ce-bfc1-08002be10318}";
constexpr char kMediaClassGuid[] = "{4d36e96c-e325-11ce-bfc1-08002be10318}";

// The compatible ids Windows gives a PCI function of the INF's class; any other class keeps
// the list the engine already holds.
void setCompatibleIds(const std::string& className) {
    const EngineState& engine = engineState();
    std::string& ids = driverState().compatibleIds;
    if (engine.vendorId == 0x12EB) {
        ids = "PCI\\CC_040100,PCI\\CC_0401";
    } else if (equalNoCase(className, "Display")) {
        ids = "PCI\\CC_030000,PCI\\CC_0300";
    } else if (equalNoCase(className, "MEDIA")) {
        if (engine.vendorId == 0x1285) {
            ids = "PCI\\CC_040100,PCI\\CC_0401";
        } else if (engine.vendorId == 0x109E) {
            ids = "PCI\\CC_040000,PCI\\CC_0400";
        } else {
            ids = "PCI\\CC_048000,PCI\\CC_0480";
        }
    }
}

// Index 0: finds the device and builds the keys. False ends the sequence.
bool prepareKeys() {
    EngineState& engine = engineState();
    DriverState& driver = driverState();
    if (!ensureDeviceIdentity()) return false;
    if (!engine.manufacturerLess && !driver.preinstall) {
        PciSlot slot;
        if (findPciDevice(engine.vendorId, engine.deviceId, &slot)) {
            driver.foundOnBus = true;
            std::string key;
            if (buildPciKey(engine.vendorId, engine.deviceId, slot.bus, slot.device, slot.function,
                            &key)) {
                engine.deviceKey = key;
            }
        }
    }
    std::string className;
    if (!readLineText(engine.inf, "Version", "Class", &className) || className.empty()) {
        return false;
    }
    setCompatibleIds(className);
    if (engine.manufacturerLess) {
        std::string key = "Enum\\Root\\" + className + "\\0000";
        if (!advanceToFreeInstance(&key)) return false;
        engine.deviceKey = key;
    }
    std::string classKey = kClassKeyPrefix + className + "\\0000";
    if (!advanceToFreeInstance(&classKey)) return false;
    engine.classKey = classKey;
    driver.className = className;
    // Without a device key the values would go to the root of HKEY_LOCAL_MACHINE.
    return usableSubKey(engine.deviceKey);
}

// "6-5-1998": the INF's last-modification date (UTC); empty when it cannot be read.
std::string infDate() {
    const EngineState& engine = engineState();
    platform::FileSystem& files = *platform::machine().files;
    platform::ScopedFile file;
    platform::FileTime written = 0;
    platform::SystemTime date;
    if (files.CreateFile(engine.infPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         OPEN_EXISTING, 0, file.receive()) != ERROR_SUCCESS ||
        files.GetFileTime(file.get(), nullptr, nullptr, &written) != ERROR_SUCCESS ||
        !platform::machine().system->FileTimeToSystemTime(&written, &date)) {
        return std::string();
    }
    return decimal(date.month) + "-" + decimal(date.day) + "-" + decimal(date.year);
}

std::string classInstance() {
    const std::string& key = engineState().classKey;
    return startsWithNoCase(key, kClassKeyPrefix) ? key.substr(sizeof kClassKeyPrefix - 1) : key;
}

}  // namespace

int win9xRegistrationValue(std::uint16_t* index, const RegistryOutputs& out) {
    EngineState& engine = engineState();
    DriverState& driver = driverState();
    const int kind = windowsKind();
    for (;;) {
        switch (*index) {
            case 0:
                if (!prepareKeys()) return 1;
                return putText(out, engine.deviceKey, "Class", driver.className);
            case 1:
                return putText(out, engine.deviceKey, "Driver", classInstance());
            case 2:
                return putText(out, engine.deviceKey, "DeviceDesc", engine.deviceDescription);
            case 3:
                if (engine.manufacturerLess) {
                    *index = 4;
                    continue;
                }
                return putText(out, engine.deviceKey, "CompatibleIDs", driver.compatibleIds);
            case 4: {
                const unsigned char flags[4] = {0, 0, 0, 0};
                return putBinary(out, engine.deviceKey, "ConfigFlags", flags, sizeof flags);
            }
            case 5:
                return putText(out, engine.deviceKey, "HardwareID", engine.hardwareIds);
            case 6: {
                std::string provider;
                if (!readLineText(engine.inf, "Version", "Provider", &provider)) return 1;
                return putText(out, engine.deviceKey, "Mfg", provider);
            }
            case 7:
                return putText(out, engine.classKey, "DeviceDesc", engine.deviceDescription);
            case 8:
                return putText(out, engine.classKey, "DriverDate", infDate());
            case 9:
                return putText(out, engine.classKey, "DriverDesc", engine.deviceDescription);
            case 10:
                return putText(out, engine.classKey, "InfPath",
                               upperAnsiText(fileNameOf(engine.infPath)));
            case 11:
                return putText(out, engine.classKey, "InfSection", engine.installSection);
            case 12:
                if (engine.manufacturerLess) {
                    *index = 13;
                    continue;
                }
                if (!driver.foundOnBus) return 1;
                return putText(out, engine.deviceKey, "HWRevision",
                               decimal(engine.revision & 0xFFu));
            case 13:
                if (kind < kWindows98) return 1;
                if (equalNoCase(driver.className, "Display")) {
                    return putText(out, engine.deviceKey, "ClassGUID", kDisplayClassGuid);
                }
                if (equalNoCase(driver.className, "MEDIA")) {
                    return putText(out, engine.deviceKey, "ClassGUID", kMediaClassGuid);
                }
                return 1;
            case 14:
                if (kind < kWindows98) return 1;
                return putText(out, engine.classKey, "MatchingDeviceID",
                               "VEN_" + hex4(engine.vendorId) + "&DEV_" + hex4(engine.deviceId));
            case 15:
                *index = 0;
                return 1;
            default:
                return 1;
        }
    }
}

}  // namespace infengine

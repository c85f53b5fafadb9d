// EnumPreinstallDriverReg: the Windows 95/98 registration once more, then its hardware-key
// values again under the key of every slot the card could later be found in (bus 0 and 1,
// device numbers 0 to 16, function 0), so that Windows recognises the card in any slot
// without asking for a driver.
//
//   index 0-11     the registration values 0 to 11, with the device key of slot 00:00.0;
//                  the device-key values are kept for the replay
//   index 12 on    seven values per slot position k = 0..33 (indices 12 + 7k to 18 + 7k):
//                  "Class", "Driver", "DeviceDesc", "CompatibleIDs", "ConfigFlags",
//                  "HardwareID", "Mfg" under the key of bus k / 17, device k mod 17
//
// The bus is never scanned: the card may be anywhere, or not there yet. When the key of the
// next slot cannot be built (bus 1 on early Windows 95, a bridge this system has no codes
// for), preinstalling stops, and stays stopped until the library is loaded again.
#include <cstring>
#include <string>

#include "infengine/device_identity.h"
#include "infengine/driver_registration.h"
#include "infengine/driver_state.h"
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "infengine/pci_keys.h"
#include "infengine/registration_values.h"
#include "infengine/windows_kind.h"

namespace infengine {
namespace {

constexpr std::uint16_t kLastRegistrationValue = 11;
constexpr std::uint16_t kFirstReplay = 12;
constexpr unsigned kValuesPerSlot = 7;
constexpr unsigned kSlotPositions = 34;  // bus 0 and 1, devices 0 to 16
constexpr unsigned kDevicesPerBus = 17;

// Keeps the data of a device-key value for the replay.
void record(const RegistryOutputs& out) {
    if (out.valueName == nullptr || out.data == nullptr) return;
    PreinstallReplay& replay = driverState().replay;
    const std::string name = out.valueName;
    const std::string data = out.data;
    if (name == "Class")
        replay.className = data;
    else if (name == "Driver")
        replay.driver = data;
    else if (name == "DeviceDesc")
        replay.deviceDescription = data;
    else if (name == "CompatibleIDs")
        replay.compatibleIds = data;
    else if (name == "HardwareID")
        replay.hardwareIds = data;
    else if (name == "Mfg")
        replay.manufacturer = data;
    else if (name == "ConfigFlags")
        std::memcpy(replay.configFlags, out.data, sizeof replay.configFlags);
}

bool buildSlotKey(unsigned position) {
    const EngineState& engine = engineState();
    std::string key;
    if (!buildPciKey(engine.vendorId, engine.deviceId, position / kDevicesPerBus,
                     position % kDevicesPerBus, 0, &key)) {
        driverState().preinstallStopped = true;
        return false;
    }
    engineState().deviceKey = key;
    return true;
}

int registrationStep(std::uint16_t* index, const RegistryOutputs& out) {
    if (*index == 0) {
        // Nothing to preinstall without a PCI device to name the slot keys after.
        if (!ensureDeviceIdentity() || engineState().manufacturerLess) return 1;
        if (!buildSlotKey(0)) return 1;
    }
    if (registrationValue(index, out) == 0) {
        record(out);
    } else {
        // An empty step: the caller has nothing to write and goes on.
        startRegistrationCall(out);
    }
    return 0;
}

int replayStep(std::uint16_t index, const RegistryOutputs& out) {
    const unsigned position = (index - kFirstReplay) / kValuesPerSlot;
    const unsigned value = (index - kFirstReplay) % kValuesPerSlot;
    if (position >= kSlotPositions) return 1;
    if (index == kFirstReplay && !buildSlotKey(0)) return 1;
    const std::string key = engineState().deviceKey;
    const PreinstallReplay& replay = driverState().replay;
    switch (value) {
        case 0:
            return putText(out, key, "Class", replay.className);
        case 1:
            return putText(out, key, "Driver", replay.driver);
        case 2:
            return putText(out, key, "DeviceDesc", replay.deviceDescription);
        case 3:
            return putText(out, key, "CompatibleIDs", replay.compatibleIds);
        case 4: {
            const std::size_t count = replay.configFlags[0] < 4 ? replay.configFlags[0] : 4;
            return putBinary(out, key, "ConfigFlags", replay.configFlags + 1, count);
        }
        case 5:
            return putText(out, key, "HardwareID", replay.hardwareIds);
        default: {
            const int result = putText(out, key, "Mfg", replay.manufacturer);
            // The next slot's key now, so that a slot without one stops the run here.
            if (result == 0 && position + 1 < kSlotPositions) buildSlotKey(position + 1);
            return result;
        }
    }
}

}  // namespace

int EnumPreinstallDriverReg(std::uint16_t* index, char* root, char* subKey, char* valueName,
                            char* data, int* typeFlags) {
    syncDriverState();
    const RegistryOutputs out{root, subKey, valueName, data, typeFlags};
    startRegistrationCall(out);
    DriverState& driver = driverState();
    const int kind = windowsKind();
    if (index == nullptr || driver.preinstallStopped ||
        engineState().inf == platform::kInvalidInf || kind == 0 || kind == kWindowsNt) {
        return 1;
    }
    ScopedFlag preinstall(driver.preinstall);
    if (*index <= kLastRegistrationValue) return registrationStep(index, out);
    return replayStep(*index, out);
}

}  // namespace infengine

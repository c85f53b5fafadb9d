#include "infengine/driver_registration_nt.h"

#include <string>

#include "infengine/driver_state.h"
#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/free_instance.h"
#include "infengine/id_text.h"
#include "infengine/legacy_key.h"
#include "infengine/nt_service_record.h"
#include "infengine/registration_values.h"
#include "infengine/section_walk.h"

namespace infengine {
namespace {

constexpr std::uint16_t kEventLogStep = 17;
constexpr std::uint16_t kSoftwareSettingsStep = 18;

// Index 0: the next service's record, its legacy key and the keys of its values.
bool startService() {
    DriverState& driver = driverState();
    const NtServiceRecord& record = driver.service;
    if (!readNtServiceRecord()) return false;
    if (!prepareLegacyKey(record.serviceName)) return false;
    std::string classKey =
        "SYSTEM\\CurrentControlSet\\Control\\Class\\" + record.classGuid + "\\0000";
    if (!advanceToFreeInstance(&classKey)) return false;
    driver.ntClassKey = classKey;
    driver.serviceKey = "SYSTEM\\CurrentControlSet\\Services\\" + lowerAscii(record.serviceName);
    driver.legacyKey = "SYSTEM\\CurrentControlSet\\Enum\\Root\\LEGACY_" +
                       upperAnsiText(record.serviceName) + "\\0000";
    engineState().serviceName = record.serviceName;
    driver.activeSubWalk = 0;
    return true;
}

// One AddReg entry of `section` with "HKR" standing for `target`; the walk starts when this
// step was not the one running.
bool nextSubWalkEntry(int step, const std::string& section, HkrTarget target,
                      const RegistryOutputs& out) {
    EngineState& engine = engineState();
    DriverState& driver = driverState();
    const bool start = driver.activeSubWalk != step;
    driver.activeSubWalk = step;
    engine.hkrTarget = target;
    // Lines whose key cannot be handed out whole are passed over.
    bool found =
        walkSectionList(driver.subWalk, start ? section.c_str() : nullptr, "AddReg", false);
    while (found && !parseRegistryLine(engine.currentLine, out))
        found = walkSectionList(driver.subWalk, nullptr, "AddReg", false);
    engine.hkrTarget = HkrTarget::ClassKey;
    if (!found) driver.activeSubWalk = 0;
    return found;
}

// The four digits at the end of the class key.
std::string classInstance(const std::string& classKey) {
    return classKey.size() >= 4 ? classKey.substr(classKey.size() - 4) : classKey;
}

}  // namespace

int ntRegistrationValue(std::uint16_t* index, const RegistryOutputs& out) {
    const EngineState& engine = engineState();
    DriverState& driver = driverState();
    const NtServiceRecord& record = driver.service;
    const std::string& classKey = driver.ntClassKey;
    const std::string& serviceKey = driver.serviceKey;
    const std::string& legacyKey = driver.legacyKey;
    for (;;) {
        switch (*index) {
            case 0:
                if (!startService()) return 1;
                return putText(out, classKey, "DeviceDesc", record.description);
            case 1:
                return putText(out, classKey, "InfPath", fileNameOf(engine.infPath));
            case 2:
                return putText(out, classKey, "InfSection", record.installSection);
            case 3:
                return putText(out, classKey, "ProviderName", record.provider);
            case 4:
                return putDword(out, serviceKey, "ErrorControl",
                                static_cast<std::uint32_t>(record.errorControl));
            case 5:
                return putText(out, serviceKey, "Group", record.loadOrderGroup);
            case 6:
                return putText(out, serviceKey, "ImagePath", record.serviceBinary);
            case 7:
                return putDword(out, serviceKey, "Start",
                                static_cast<std::uint32_t>(record.startType));
            case 8:
                return putDword(out, serviceKey, "Tag",
                                static_cast<std::uint32_t>(record.serviceFlags));
            case 9:
                return putDword(out, serviceKey, "Type",
                                static_cast<std::uint32_t>(record.serviceType));
            case 10:
                return putText(out, legacyKey, "BaseDevicePath", "HTREE\\ROOT\\0");
            case 11:
                return putText(out, legacyKey, "Class", record.className);
            case 12:
                return putText(out, legacyKey, "ClassGUID", record.classGuid);
            case 13:
                return putText(out, legacyKey, "DeviceDesc", record.description);
            case 14:
                return putText(out, legacyKey, "Driver",
                               record.classGuid + "\\" + classInstance(classKey));
            case 15:
                return putText(out, legacyKey, "Mfg", record.manufacturer);
            case 16:
                return putText(out, legacyKey, "Service", lowerAscii(record.serviceName));
            case kEventLogStep:
                if (!usableSubKey(serviceKey)) return 1;
                if (nextSubWalkEntry(kEventLogStep, record.eventLogSection, HkrTarget::NtEventLog,
                                     out)) {
                    --*index;
                    return 0;
                }
                *index = kSoftwareSettingsStep;
                continue;
            case kSoftwareSettingsStep:
                if (!usableSubKey(serviceKey)) return 1;
                if (nextSubWalkEntry(kSoftwareSettingsStep,
                                     record.installSection + ".SoftwareSettings",
                                     HkrTarget::NtServiceDevice, out)) {
                    --*index;
                    return 0;
                }
                *index = 0;
                continue;
            default:
                return 1;
        }
    }
}

}  // namespace infengine

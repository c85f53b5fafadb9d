// Making Windows install the card's wave device again at the next start, so that the driver
// reads the settings that only its INF carries.
#include <string>

#include "platform/registry_key.h"
#include "settings/native_dos.h"
#include "settings/tunara_settings.h"

namespace settings {
namespace {

// The driver part of driverClassKey must name one instance of a class ("MEDIA\0006"): a
// damaged "Driver" value that names a class alone, or nothing, would have the whole class
// deleted.
bool namesClassInstance(const std::string& classKey) {
    const std::string prefix = kClassKeyPrefix;
    if (classKey.size() <= prefix.size() || classKey.compare(0, prefix.size(), prefix) != 0)
        return false;
    const std::string driver = classKey.substr(prefix.size());
    const std::size_t separator = driver.find('\\');
    return separator != std::string::npos && separator > 0 && separator + 1 < driver.size() &&
           driver.find('\\', separator + 1) == std::string::npos;
}

}  // namespace

void tunaraSettings::forceDeviceReinstall() {
    // Without the card's keys both names below would be keys of the class tree itself.
    if (!driverKeysFound || !namesClassInstance(driverClassKey)) return;

    platform::RegKey waveEnum;
    if (waveEnum.Open(HKEY_LOCAL_MACHINE, kWaveEnumKey, KEY_ALL_ACCESS) == ERROR_SUCCESS)
        (void)waveEnum.deleteSubKey((hardwareIdPrefix + instanceSuffix).c_str());

    platform::RegKey classKey;
    if (classKey.Open(HKEY_LOCAL_MACHINE, driverClassKey.c_str(), KEY_ALL_ACCESS) ==
        ERROR_SUCCESS) {
        classKey.Close();
        platform::RegKey root(HKEY_LOCAL_MACHINE);
        (void)root.deleteSubKey(driverClassKey.c_str());
    }

    // The reinstalled INF adds the DOS driver lines; unless the user had them, the tray takes
    // them out again at the next start.
    if (!dosStartHasDriver()) scheduleNativeDosRemoval();
}

}  // namespace settings

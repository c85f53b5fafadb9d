// The plain setting writers of the settings object, and its owner window and language module.
#include <cstring>

#include "platform/machine.h"
#include "platform/ui.h"
#include "settings/setting_values.h"
#include "settings/tunara_settings.h"

namespace settings {
namespace {

// The length of the text in a buffer of `size` bytes: up to its zero, or all of it.
std::size_t boundedLength(const char* text, std::size_t size) {
    const void* zero = std::memchr(text, 0, size);
    return zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : size;
}

// The registry name of a writeConfigValue item, or null for a number that is not an item.
const char* configItemValueName(std::int32_t item) {
    switch (item) {
        case kConfigItemMicBoost:
            return kMicBoostValue;
        case kConfigItemHwAcceleration:
            return kHwAccelerationValue;
        case kConfigItemSoundLibSize:
            return kSoundLibSizeValue;
        case kConfigItemJoyDisable:
            return kJoyDisableValue;
        default:
            return nullptr;
    }
}

}  // namespace

bool tunaraSettings::writeConfigValue(std::int32_t value, std::int32_t item) {
    const char* name = configItemValueName(item);
    if (name == nullptr || !driverKeysFound) return false;

    platform::RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, configKey.c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return false;
    const bool written = writeSettingNumber(key, name, value) == ERROR_SUCCESS;
    // The close is part of the result: on Windows 95/98 it is where the change reaches the
    // registry file.
    const bool closed = platform::machine().registry->CloseKey(key.Take()) == ERROR_SUCCESS;
    if (!written || !closed) return false;

    if (item == kConfigItemMicBoost) micBoost = value == 1;
    if (item == kConfigItemHwAcceleration) hwAcceleration = value == 1;
    return true;
}

bool tunaraSettings::writeDeviceSwitch(char* valueName, std::size_t valueNameSize, bool flag) {
    platform::RegKey classKey;
    if (!openDeviceClassKey(&classKey)) return false;

    std::string name;
    if (valueName != nullptr) name.assign(valueName, boundedLength(valueName, valueNameSize));
    if (isMaestro2E) {
        // The Maestro-2E has one switch for both, and it says "on" where the Maestro-1's
        // says "off".
        flag = !flag;
        name = kJoystickSupportValue;
        if (valueName != nullptr && valueNameSize > name.size())
            std::memcpy(valueName, name.c_str(), name.size() + 1);
    }
    if (name.empty()) return false;
    return writeSettingNumber(classKey, name.c_str(), flag ? 1 : 0) == ERROR_SUCCESS;
}

bool tunaraSettings::setHwAcceleration(bool on) {
    if (!isMaestro2E) return writeConfigValue(on ? 1 : 0, kConfigItemHwAcceleration);
    // The Maestro-2E driver reads this setting only when Windows installs the device from
    // its INF, so it is carried there before the next restart.
    hwAcceleration = on;
    infNeedsUpdate = true;
    return false;
}

void tunaraSettings::setTrayAutoStart(bool enable) {
    platform::RegKey runKey;
    if (runKey.Open(HKEY_LOCAL_MACHINE, kRunKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    if (!enable) {
        (void)runKey.deleteValue(kTrayRunValue);
        return;
    }
    char systemFolder[kTextBufferSize] = {};
    const std::uint32_t length =
        platform::machine().system->GetSystemDirectory(systemFolder, sizeof systemFolder);
    // Without the folder the command would start whatever "\tnrtray.exe" the current drive has.
    if (length == 0 || length >= sizeof systemFolder) return;
    const std::string command = std::string(systemFolder, length) + kTrayProgramName;
    (void)runKey.writeString(kTrayRunValue, command);
}

bool tunaraSettings::setOwnerWindow(platform::HWnd window) {
    ownerWindow = window;
    micBoost = readMicBoost();
    return micBoost;
}

void tunaraSettings::setResourceModule(platform::HModule module) {
    resourceModule = module;
    char title[kTextBufferSize] = {};
    const int length = platform::machine().ui->LoadString(module, kProductTitleStringId, title,
                                                          static_cast<int>(sizeof title));
    productTitle.assign(title, length > 0 ? boundedLength(title, sizeof title - 1) : 0);
}

}  // namespace settings

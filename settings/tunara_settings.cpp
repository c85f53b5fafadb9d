// Construction of the settings object and the loading steps: chip, keys, readers.
#include "settings/tunara_settings.h"

#include "inspector/device_inspector.h"
#include "platform/machine.h"
#include "settings/setting_values.h"

namespace settings {
namespace {

// GetVersionEx's minor version of Windows 98 (4.10): its device ids carry the subsystem.
constexpr std::uint32_t kWindows98MinorVersion = 10;
// The wave instance name starts with the 22-character hardware id prefix, followed by the
// 22-character subsystem and revision part ("SUBSYS_xxxxxxxx&REV_xx") on Windows 98.
constexpr std::size_t kHardwareIdPrefixLength = 22;
constexpr std::size_t kSubsystemPartLength = 22;

void debug(const char* text) {
    platform::machine().system->OutputDebugString(text);
}

}  // namespace

tunaraSettings::tunaraSettings() {
    debug("tunaraSettings class being initialised\n");
    joystickValueName = kJoyDisableValue;
    directSound = 0;
    isMaestro2E = false;
    speakersOutput = true;
    ownerWindow = 0;
    locateDriverKeys();
    infNeedsUpdate = false;

    inspector::deviceInspector inspector;
    inspector.inspectAllDevices();
    cardPresent = inspector.cardDeviceFound;
}

tunaraSettings::~tunaraSettings() {
    closeMixer();
}

void tunaraSettings::detectChip() {
    const ChipScanResult scan = scanForCardChip(*platform::machine().pci);
    pciLocation = formatPciLocation(scan.location);

    if (scan.chip == CardChip::Maestro1) {
        debug("Maestro-1 chip detected\n");
        isMaestro2E = false;
        joystickValueName = kJoyDisableValue;
        hardwareIdPrefix = kMaestro1HardwareIdPrefix;
        pciEnumKey = kMaestro1PciEnumKey;
        instanceSuffix = pciLocation;
        return;
    }

    // A Maestro-2E, or no chip at all: then the location names nothing and every look-up
    // below fails, which leaves the defaults.
    debug("Maestro-2E chip detected\n");
    isMaestro2E = true;
    joystickValueName = kJoystickSupportValue;
    hardwareIdPrefix = kMaestro2EHardwareIdPrefix;
    pciEnumKey = kMaestro2EPciEnumKey;
    instanceSuffix.clear();

    platform::OsVersionInfo version;
    if (platform::machine().system->GetVersionEx(&version) &&
        version.minorVersion == kWindows98MinorVersion) {
        const std::string subsystem = findWavetableInstance();
        instanceSuffix = subsystem + "&";
        pciEnumKey += "&" + subsystem;
    }
    instanceSuffix += pciLocation;
}

std::string tunaraSettings::findWavetableInstance() {
    platform::RegKey waveKey;
    if (waveKey.Open(HKEY_LOCAL_MACHINE, kWaveEnumKey, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return std::string();

    platform::Registry& registry = *platform::machine().registry;
    for (std::uint32_t index = 0;; ++index) {
        char name[kTextBufferSize] = {};
        std::uint32_t nameSize = sizeof name;
        const std::uint32_t error = registry.EnumKeyEx(waveKey.handle(), index, name, &nameSize);
        if (error == ERROR_NO_MORE_ITEMS) break;
        // A name that does not fit the buffer cannot be one of the card's; go on past it.
        if (error != ERROR_SUCCESS) {
            if (error == ERROR_MORE_DATA) continue;
            break;
        }
        const std::string instance(name, nameSize < sizeof name ? nameSize : sizeof name - 1);
        if (instance.find(hardwareIdPrefix) != std::string::npos &&
            instance.find(pciLocation) != std::string::npos) {
            if (instance.size() <= kHardwareIdPrefixLength) return std::string();
            return instance.substr(kHardwareIdPrefixLength, kSubsystemPartLength);
        }
    }
    return std::string();
}

void tunaraSettings::locateDriverKeys() {
    detectChip();

    std::string driver;
    platform::RegKey waveKey;
    const std::string waveKeyName = kWaveEnumKey + hardwareIdPrefix + instanceSuffix;
    if (waveKey.Open(HKEY_LOCAL_MACHINE, waveKeyName.c_str(), KEY_ALL_ACCESS) == ERROR_SUCCESS) {
        debug("Open mf lookup key succeeded\n");
        readKeyNameValue(waveKey, kDriverValue, &driver);
        waveKey.Close();
    } else {
        debug("Open mf lookup key failed\n");
    }

    driverKeysFound = !driver.empty();
    driverClassKey = kClassKeyPrefix + driver;
    configKey = driverClassKey + "\\Config";

    readConfigValues();
    readJoystickAndGameSupport();
    readTrayAutoStart();
}

void tunaraSettings::readConfigValues() {
    debug("Getting registry tunara values1/3");
    // Without the driver's name configKey would be a key of the class tree itself.
    if (!driverKeysFound) return;
    platform::RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, configKey.c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    debug("Opened registry tunara values key correctly 2/3");

    std::uint32_t value = 0;
    readSettingNumber(key, kMicMuteValue, &value);
    micMute = value != 0;
    readSettingNumber(key, kHwAccelerationValue, &value);
    hwAcceleration = value != 0;
    enableSpdif = readSettingNumber(key, kEnableSpdifValue, &value) && value != 0;
    readSettingNumber(key, kSpdifValue, &value);
    spdif = value != 0;
    readSettingNumber(key, kSoundLibSizeValue, &value);
    soundLibSize = static_cast<std::int32_t>(value);

    switch (soundLibSize) {
        case 0:
            debug("Wavetable read as 0M 3/3");
            break;
        case 2:
            debug("Wavetable read as 2M 3/3");
            break;
        case 4:
            debug("Wavetable read as 4M 3/3");
            break;
        default:
            break;
    }
}

bool tunaraSettings::openDeviceClassKey(platform::RegKey* classKey) {
    std::string driver;
    platform::RegKey enumKey;
    const std::string enumKeyName = pciEnumKey + "\\" + pciLocation;
    if (enumKey.Open(HKEY_LOCAL_MACHINE, enumKeyName.c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS) {
        debug("Open enum lookup key failed\n");
        return false;
    }
    debug("Open enum lookup key succeeded\n");
    const bool named = readKeyNameValue(enumKey, kDriverValue, &driver);
    enumKey.Close();
    // No usable name: the class tree itself must not be taken for the device's key.
    if (!named) return false;

    const std::string classKeyName = kClassKeyPrefix + driver;
    return classKey->Open(HKEY_LOCAL_MACHINE, classKeyName.c_str(), KEY_ALL_ACCESS) ==
           ERROR_SUCCESS;
}

void tunaraSettings::readJoystickAndGameSupport() {
    platform::RegKey classKey;
    if (!openDeviceClassKey(&classKey)) return;

    std::uint32_t value = 0;
    if (!readSettingNumber(classKey, joystickValueName.c_str(), &value))
        joystickDisabled = true;
    else if (joystickValueName == kJoyDisableValue)
        joystickDisabled = value != 0;
    else if (joystickValueName == kJoystickSupportValue)
        joystickDisabled = value == 0;

    gameSupport =
        (readSettingNumber(classKey, kGameSupportValue, &value) && value != 0) || isMaestro2E;
}

void tunaraSettings::readTrayAutoStart() {
    trayAutoStart = false;
    platform::RegKey runKey;
    if (runKey.Open(HKEY_LOCAL_MACHINE, kRunKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    std::uint8_t data[kTextBufferSize];
    std::uint32_t size = sizeof data;
    if (platform::machine().registry->QueryValueEx(runKey.handle(), kTrayRunValue, nullptr, data,
                                                   &size) == ERROR_SUCCESS)
        trayAutoStart = true;
}

}  // namespace settings

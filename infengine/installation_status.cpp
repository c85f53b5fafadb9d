// DeviceExists and DriverInstallationStatus: whether the INF's device is in the machine, and
// whether its driver is fully installed and up to date.
#include <string>

#include "infengine/device_identity.h"
#include "infengine/driver_registration.h"
#include "infengine/driver_state.h"
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/id_text.h"
#include "infengine/inf_lines.h"
#include "infengine/nt_service_record.h"
#include "infengine/pci_keys.h"
#include "infengine/pci_scan.h"
#include "infengine/section_walk.h"
#include "infengine/windows_kind.h"
#include "platform/file_handle.h"
#include "platform/machine.h"
#include "platform/registry_key.h"

namespace infengine {
namespace {

// Status bits.
constexpr std::uint16_t kFilesPresent = 1;
constexpr std::uint16_t kNoneOlder = 2;
constexpr std::uint16_t kRegistryComplete = 4;
constexpr std::uint16_t kPreinstalled = 8;
constexpr std::uint16_t kAllSameVersion = 16;
constexpr std::uint16_t kInstalledAndCurrent = kFilesPresent | kNoneOlder | kRegistryComplete;

// The maker's name in the "Mfg" value of a preinstalled slot.
constexpr char kMaker[] = "Helvane";
constexpr unsigned kPreinstallSlots = 16;

constexpr char kClassPrefix9x[] = "System\\CurrentControlSet\\Services\\Class\\";
constexpr char kClassPrefixNt[] = "SYSTEM\\CurrentControlSet\\Control\\Class";
// Values 6 to 8 and from 11 on are not checked on Windows 95/98: their keys or data change
// with every installation, or they are optional.
constexpr std::uint16_t kLastNtValueChecked = 16;
// No sequence has this many values; a guard against a sequence that would not end.
constexpr unsigned kMostValues = 1024;

std::string stringValue(const std::string& key, const char* name) {
    platform::RegKey opened;
    std::string value;
    if (opened.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        opened.readString(name, &value) != ERROR_SUCCESS) {
        value.clear();
    }
    return value;
}

bool valueExists(const std::string& key, const std::string& name) {
    platform::RegKey opened;
    return opened.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS &&
           opened.hasValue(name.c_str());
}

bool checked9x(std::uint16_t index) {
    return index <= 5 || index == 9 || index == 10;
}

// The key a registration value is checked under: the class key of a new installation is the
// next free instance, so the installed one is taken from the "Driver" value instead.
std::string installedKey(const std::string& subKey, bool nt) {
    const DriverState& driver = driverState();
    if (!nt && startsWithNoCase(subKey, kClassPrefix9x)) {
        return kClassPrefix9x + stringValue(engineState().deviceKey, "Driver");
    }
    if (nt && startsWithNoCase(subKey, kClassPrefixNt)) {
        return std::string(kClassPrefixNt) + "\\" + stringValue(driver.legacyKey, "Driver");
    }
    return subKey;
}

void checkRegistry(std::uint16_t* flags, bool nt) {
    char root[kTextSize];
    char subKey[kTextSize];
    char valueName[kTextSize];
    char data[kTextSize];
    int typeFlags = 0;
    const RegistryOutputs out{root, subKey, valueName, data, &typeFlags};
    std::uint16_t index = 0;
    for (unsigned count = 0; count < kMostValues; ++count, ++index) {
        if (registrationValue(&index, out) != 0) return;
        if (nt) {
            if (startsWithNoCase(valueName, "InfSection")) engineState().installSection = data;
        } else if (!checked9x(index)) {
            continue;
        }
        *flags &= static_cast<std::uint16_t>(~kRegistryComplete);
        if (!valueExists(installedKey(subKey, nt), valueName)) return;
        *flags |= kRegistryComplete;
        if (nt && index >= kLastNtValueChecked) return;
    }
}

void checkPreinstall(std::uint16_t* flags) {
    const EngineState& engine = engineState();
    for (unsigned number = 0; number < kPreinstallSlots; ++number) {
        *flags &= static_cast<std::uint16_t>(~kPreinstalled);
        std::string key;
        if (!buildPciKey(engine.vendorId, engine.deviceId, 0, number, 0, &key) ||
            stringValue(key, "Mfg").find(kMaker) == std::string::npos) {
            return;
        }
        *flags |= kPreinstalled;
    }
}

bool canRead(const std::string& path) {
    platform::ScopedFile file;
    return platform::machine().files->CreateFile(path.c_str(), GENERIC_READ,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                                 0, file.receive()) == ERROR_SUCCESS;
}

void checkFiles(std::uint16_t* flags) {
    EngineState& engine = engineState();
    DriverState& driver = driverState();
    const std::string install = engine.installSection;
    for (const char* section = install.c_str();
         walkSectionList(driver.statusFiles, section, "CopyFiles", true); section = nullptr) {
        std::string source;
        std::string destination;
        currentFileEntry(&source, &destination);
        // The INF itself and the enabler are not the driver's files to judge.
        if (destination.find(".INF") != std::string::npos ||
            destination.find("hvenable.sys") != std::string::npos) {
            continue;
        }
        if (!canRead(destination)) {
            *flags &= static_cast<std::uint16_t>(~(kFilesPresent | kNoneOlder | kAllSameVersion));
            return;
        }
        std::int32_t comparison = 0;
        if (canRead(source) &&
            CompareFileVersions(source.c_str(), destination.c_str(), nullptr, nullptr,
                                &comparison) == 0 &&
            comparison != 0) {
            *flags &= static_cast<std::uint16_t>(~kAllSameVersion);
            if (comparison < 0) *flags &= static_cast<std::uint16_t>(~kNoneOlder);
        }
    }
}

}  // namespace

int DeviceExists(char* description, char* provider) {
    syncDriverState();
    clearOut(description);
    clearOut(provider);
    EngineState& engine = engineState();
    if (engine.inf == platform::kInvalidInf) return 1;
    if (!ensureDeviceIdentity()) {
        if (windowsKind() != kWindowsNt) return 2;
        // An NT INF may describe a root service with no PCI model line.
        DriverState& driver = driverState();
        driver.service = NtServiceRecord();
        if (!readNtServiceRecord()) return 2;
        copyOut(description, driver.service.description);
        copyOut(provider, driver.service.manufacturer);
        return 0;
    }
    if (!engine.manufacturerLess) {
        if (engine.vendorId == 0 || engine.deviceId == 0) return 1;
        PciSlot slot;
        if (!findPciDevice(engine.vendorId, engine.deviceId, &slot)) return 3;
    }
    std::string providerText;
    if (!readLineText(engine.inf, "Version", "Provider", &providerText)) providerText.clear();
    copyOut(description, engine.deviceDescription);
    copyOut(provider, providerText);
    return 0;
}

int DriverInstallationStatus(std::uint16_t* flags) {
    syncDriverState();
    DriverState& driver = driverState();
    std::uint16_t status = kFilesPresent | kNoneOlder | kAllSameVersion;
    {
        ScopedFlag lookup(driver.deleteLookup);
        const bool nt = windowsKind() == kWindowsNt;
        if (!nt) DeviceExists(nullptr, nullptr);
        checkRegistry(&status, nt);
        if (!nt) checkPreinstall(&status);
        checkFiles(&status);
    }
    if (flags != nullptr) *flags = status;
    return (status & kInstalledAndCurrent) == kInstalledAndCurrent ? 0 : 1;
}

}  // namespace infengine

// The driver exports of hvinf.dll (device identity and PCI keys, version and system checks,
// driver registration and removal, installation status): stdcall functions under their
// undecorated names (hvinf.def).
//
// Like the other exports, each installs the Win32 machine on its first call; an allocation
// that fails inside the engine gives the export's failure result.
#include <cstdint>

#include "infengine/engine_driver.h"
#include "platform/out_of_memory.h"
#include "infengine/engine_machine.h"

#define HVINF_EXPORT extern "C" int __stdcall

namespace {

template <typename Operation>
int guarded(int failure, Operation operation) {
    return platform::unlessOutOfMemory(failure, [&]() -> int {
        infengine::ensureEngineMachine();
        return operation();
    });
}

}  // namespace

HVINF_EXPORT ConstructPCIKey(unsigned long vendorId, unsigned long deviceId, unsigned long bus,
                             unsigned long deviceNumber, unsigned long function, char* key) {
    return guarded(0, [&] {
        return infengine::ConstructPCIKey(vendorId, deviceId, bus, deviceNumber, function, key);
    });
}

HVINF_EXPORT ConstructPCIKeyToDelete(unsigned long vendorId, unsigned long deviceId,
                                     unsigned long bus, unsigned long deviceNumber,
                                     unsigned long function, char* key) {
    return guarded(0, [&] {
        return infengine::ConstructPCIKeyToDelete(vendorId, deviceId, bus, deviceNumber, function,
                                                  key);
    });
}

HVINF_EXPORT CompareFileVersions(const char* pathA, const char* pathB, char* versionA,
                                 char* versionB, long* comparison) {
    return guarded(1, [&] {
        std::int32_t result = 0;
        const int used = infengine::CompareFileVersions(pathA, pathB, versionA, versionB, &result);
        if (comparison != nullptr) *comparison = result;
        return used;
    });
}

HVINF_EXPORT DirectXVersionInstalled(unsigned long* version) {
    return guarded(1, [&] {
        std::uint32_t result = 0;
        const int found = infengine::DirectXVersionInstalled(&result);
        if (version != nullptr) *version = result;
        return found;
    });
}

HVINF_EXPORT IsUserAdministrator() {
    return guarded(1, [&] { return infengine::IsUserAdministrator(); });
}

HVINF_EXPORT EnumDriverReg(unsigned short* index, char* root, char* subKey, char* valueName,
                           char* data, int* typeFlags) {
    return guarded(1, [&] {
        return infengine::EnumDriverReg(index, root, subKey, valueName, data, typeFlags);
    });
}

HVINF_EXPORT EnumPreinstallDriverReg(unsigned short* index, char* root, char* subKey,
                                     char* valueName, char* data, int* typeFlags) {
    return guarded(1, [&] {
        return infengine::EnumPreinstallDriverReg(index, root, subKey, valueName, data, typeFlags);
    });
}

HVINF_EXPORT EnumDelDriverReg(unsigned short index, char* root, char* subKey) {
    return guarded(1, [&] { return infengine::EnumDelDriverReg(index, root, subKey); });
}

HVINF_EXPORT DeviceExists(char* description, char* provider) {
    return guarded(1, [&] { return infengine::DeviceExists(description, provider); });
}

HVINF_EXPORT DriverInstallationStatus(unsigned short* flags) {
    return guarded(1, [&] { return infengine::DriverInstallationStatus(flags); });
}

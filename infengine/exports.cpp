// The exports of hvinf.dll: stdcall functions under their undecorated names (hvinf.def),
// which a setup program looks up with GetProcAddress.
//
// Each export installs the Win32 machine on its first call (the library has no start-up of
// its own), then runs the engine operation of the same name. An allocation that fails inside
// the engine gives the failure result 1.
#include <cstdint>

#include "infengine/engine.h"
#include "infengine/engine_state.h"
#include "platform/out_of_memory.h"
#include "infengine/engine_machine.h"

#define HVINF_EXPORT extern "C" int __stdcall

namespace {

template <typename Operation>
int guarded(Operation operation) {
    return platform::unlessOutOfMemory(1, [&]() -> int {
        infengine::ensureEngineMachine();
        return operation();
    });
}

}  // namespace

// The loader's notification. Only the module handle is kept here (the driver registration
// finds the library's own folder through it); the machine is installed by the first export
// call, outside the loader lock.
extern "C" int __stdcall DllMain(void* instance, unsigned long reason, void*) {
    constexpr unsigned long kProcessAttach = 1;
    if (reason == kProcessAttach) {
        const bool attached = platform::completesInMemory([&] {
            infengine::resetEngine();
            infengine::engineState().module = reinterpret_cast<std::uintptr_t>(instance);
        });
        if (!attached) return 0;
    }
    return 1;
}

HVINF_EXPORT OpenInfFile(const char* path) {
    return guarded([&] { return infengine::OpenInfFile(path); });
}

HVINF_EXPORT CloseInfFile() {
    return guarded([&] { return infengine::CloseInfFile(); });
}

HVINF_EXPORT RestartOrReboot() {
    return guarded([&] { return infengine::RestartOrReboot(); });
}

HVINF_EXPORT EnumInclude(const char* section, char* name) {
    return guarded([&] { return infengine::EnumInclude(section, name); });
}

HVINF_EXPORT EnumNeeds(const char* section, char* name) {
    return guarded([&] { return infengine::EnumNeeds(section, name); });
}

HVINF_EXPORT EnumCopyFiles(const char* section, char* source, char* destination) {
    return guarded([&] { return infengine::EnumCopyFiles(section, source, destination); });
}

HVINF_EXPORT EnumDelFiles(const char* section, char* path) {
    return guarded([&] { return infengine::EnumDelFiles(section, path); });
}

HVINF_EXPORT EnumAddReg(const char* section, char* root, char* subKey, char* valueName,
                        char* data, int* typeFlags) {
    return guarded([&] {
        return infengine::EnumAddReg(section, root, subKey, valueName, data, typeFlags);
    });
}

HVINF_EXPORT EnumDelReg(const char* section, char* root, char* subKey, char* valueName,
                        char* data, int* typeFlags) {
    return guarded([&] {
        return infengine::EnumDelReg(section, root, subKey, valueName, data, typeFlags);
    });
}

HVINF_EXPORT EnumUpdateInis(const char* section, char* iniFile, char* iniSection,
                            char* oldEntry, char* newEntry, int* flags) {
    return guarded([&] {
        return infengine::EnumUpdateInis(section, iniFile, iniSection, oldEntry, newEntry, flags);
    });
}

HVINF_EXPORT EnumUpdateIniFields(const char* section, char* iniFile, char* iniSection,
                                 char* profileEntry, char* oldField, char* newField,
                                 int* flags) {
    return guarded([&] {
        return infengine::EnumUpdateIniFields(section, iniFile, iniSection, profileEntry,
                                              oldField, newField, flags);
    });
}

HVINF_EXPORT EnumUpdateAutoBat(const char* section, char* commandKind, char* commandText) {
    return guarded(
        [&] { return infengine::EnumUpdateAutoBat(section, commandKind, commandText); });
}

HVINF_EXPORT EnumUpdateCfgSys(const char* section, char* commandKind, char* value1,
                              char* value2, char* value3, char* value4) {
    return guarded([&] {
        return infengine::EnumUpdateCfgSys(section, commandKind, value1, value2, value3, value4);
    });
}

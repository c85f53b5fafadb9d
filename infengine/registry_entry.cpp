#include "infengine/registry_entry.h"

#include <cstring>
#include <string>

#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/inf_lines.h"
#include "infengine/registry_data.h"
#include "infengine/windows_kind.h"
#include "platform/registry_key.h"

namespace infengine {
namespace {

constexpr char kMachineRoot[] = "HKLM";
constexpr const char* kPlainRoots[] = {"HKLM", "HKCR", "HKCU", "HKU"};

// Resolves "HKR": writes the root when one applies, and gives the sub key prefix. False when
// the class key cannot be created, which ends the line's parsing.
bool resolveRelativeRoot(char* root, std::string* prefix) {
    const EngineState& state = engineState();
    prefix->clear();
    if (windowsKind() == kWindowsNt) {
        switch (state.hkrTarget) {
            case HkrTarget::NtEventLog:
                copyOut(root, kMachineRoot);
                *prefix = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\" +
                          state.serviceName;
                break;
            case HkrTarget::NtServiceDevice:
                copyOut(root, kMachineRoot);
                *prefix = "SYSTEM\\CurrentControlSet\\Services\\" + state.serviceName +
                          "\\Device0";
                break;
            case HkrTarget::ClassKey:
                break;
        }
        return true;
    }
    copyOut(root, kMachineRoot);
    if (state.classKey.empty()) return true;
    platform::RegKey key;
    if (key.Create(HKEY_LOCAL_MACHINE, state.classKey.c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS) {
        return false;
    }
    *prefix = state.classKey;
    return true;
}

}  // namespace

void emptyRegistryOutputs(const RegistryOutputs& out) {
    clearOut(out.subKey);
    clearOut(out.valueName);
    if (out.data != nullptr) std::memset(out.data, 0, kTextSize);
}

void parseRegistryLine(const platform::InfContext& line, const RegistryOutputs& out) {
    std::string rootName;
    if (!readField(line, 1, &rootName)) return;
    std::string prefix;
    bool known = false;
    for (const char* name : kPlainRoots) {
        if (equalNoCase(rootName, name)) {
            copyOut(out.root, name);
            known = true;
            break;
        }
    }
    if (!known) {
        if (!equalNoCase(rootName, "HKR")) return;
        if (!resolveRelativeRoot(out.root, &prefix)) return;
    }

    std::string subKey;
    if (!readField(line, 2, &subKey)) return;
    if (!prefix.empty()) subKey = subKey.empty() ? prefix : prefix + "\\" + subKey;
    copyOut(out.subKey, subKey);

    std::string valueName;
    std::int32_t flags = 0;
    if (!readField(line, 3, &valueName)) return;
    copyOut(out.valueName, valueName);
    if (!readIntField(line, 4, &flags)) return;
    if (out.typeFlags != nullptr) *out.typeFlags = flags;

    if (out.data != nullptr) encodeRegistryData(line, flags, out.data);
}

}  // namespace infengine

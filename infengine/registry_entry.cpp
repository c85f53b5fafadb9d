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

// Resolves "HKR": gives the root to write (null: the caller's is left as it was) and the sub
// key prefix. False when the class key cannot be created, which ends the line's parsing.
bool resolveRelativeRoot(const char** root, std::string* prefix) {
    const EngineState& state = engineState();
    prefix->clear();
    *root = nullptr;
    if (windowsKind() == kWindowsNt) {
        switch (state.hkrTarget) {
            case HkrTarget::NtEventLog:
                *root = kMachineRoot;
                *prefix = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\" +
                          state.serviceName;
                break;
            case HkrTarget::NtServiceDevice:
                *root = kMachineRoot;
                *prefix = "SYSTEM\\CurrentControlSet\\Services\\" + state.serviceName +
                          "\\Device0";
                break;
            case HkrTarget::ClassKey:
                break;
        }
        return true;
    }
    *root = kMachineRoot;
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

bool parseRegistryLine(const platform::InfContext& line, const RegistryOutputs& out) {
    std::string rootName;
    if (!readField(line, 1, &rootName)) return true;
    const char* root = nullptr;
    std::string prefix;
    for (const char* name : kPlainRoots) {
        if (equalNoCase(rootName, name)) {
            root = name;
            break;
        }
    }
    if (root == nullptr) {
        if (!equalNoCase(rootName, "HKR")) return true;
        if (!resolveRelativeRoot(&root, &prefix)) {
            copyOut(out.root, root);
            return true;
        }
    }

    std::string subKey;
    const bool haveSubKey = readField(line, 2, &subKey);
    if (haveSubKey && !prefix.empty()) subKey = subKey.empty() ? prefix : prefix + "\\" + subKey;
    // A key cut to fit the caller's buffer would name another key, which the caller would
    // then fill or delete. Nothing of such an entry is written.
    if (haveSubKey && subKey.size() >= kTextSize) return false;
    if (root != nullptr) copyOut(out.root, root);
    if (!haveSubKey) return true;
    copyOut(out.subKey, subKey);

    std::string valueName;
    std::int32_t flags = 0;
    if (!readField(line, 3, &valueName)) return true;
    copyOut(out.valueName, valueName);
    if (!readIntField(line, 4, &flags)) return true;
    if (out.typeFlags != nullptr) *out.typeFlags = flags;

    if (out.data != nullptr) encodeRegistryData(line, flags, out.data);
    return true;
}

}  // namespace infengine

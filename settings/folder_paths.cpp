#include "settings/folder_paths.h"

#include "platform/machine.h"
#include "platform/registry_key.h"
#include "settings/setting_values.h"
#include "settings/tunara_settings.h"

namespace settings {
namespace {

// `folder` (as GetWindowsDirectory/GetSystemDirectory returned it, `length` characters) +
// `tail`, or empty when either is unusable.
std::string joinFolder(const char* folder, std::uint32_t length, const char* tail) {
    if (length == 0 || length >= kTextBufferSize || tail == nullptr) return std::string();
    std::string path(folder, length);
    path += tail;
    if (path.size() >= kTextBufferSize) return std::string();
    return path;
}

}  // namespace

std::string windowsFolderPath(const char* tail) {
    char folder[kTextBufferSize] = {};
    const std::uint32_t length =
        platform::machine().system->GetWindowsDirectory(folder, sizeof folder);
    return joinFolder(folder, length, tail);
}

std::string systemFolderPath(const char* tail) {
    char folder[kTextBufferSize] = {};
    const std::uint32_t length =
        platform::machine().system->GetSystemDirectory(folder, sizeof folder);
    return joinFolder(folder, length, tail);
}

bool samePathName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool setTrayRunCommand(const char* valueName, const char* option, bool enable) {
    platform::RegKey runKey;
    if (runKey.Open(HKEY_LOCAL_MACHINE, kRunKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) return false;
    if (!enable) {
        const std::uint32_t error = runKey.deleteValue(valueName);
        return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND;
    }
    // Without the folder the command would start whatever "\tnrtray.exe" the current drive has.
    const std::string program = systemFolderPath(kTrayProgramName);
    if (program.empty()) return false;
    return runKey.writeString(valueName, program + option) == ERROR_SUCCESS;
}

}  // namespace settings

// HostShell::FindExecutable: the program registered for a document's type.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/host/host_shell.h"
#include "platform/host/host_system_disk.h"
#include "platform/host/host_system_text.h"
#include "platform/machine.h"
#include "platform/registry_key.h"

namespace platform::host {

using namespace systext;
namespace {

// What FindExecutable returns on success: any value above 32.
constexpr std::uintptr_t kFound = 42;

std::string defaultValue(HKey root, const std::string& subKey) {
    RegKey key;
    std::string value;
    if (key.Open(root, subKey.c_str(), KEY_READ) != ERROR_SUCCESS ||
        key.readString(nullptr, &value) != ERROR_SUCCESS)
        return std::string();
    return value;
}

// The command of the class's default verb: the verb named by "shell", else "open", else the
// first verb listed.
std::string commandOf(const std::string& className) {
    const std::string shell = className + "\\shell";
    std::vector<std::string> verbs;
    const std::string named = defaultValue(HKEY_CLASSES_ROOT, shell);
    if (!named.empty()) verbs.push_back(named);
    verbs.push_back("open");
    RegKey key;
    std::vector<std::string> listed;
    if (key.Open(HKEY_CLASSES_ROOT, shell.c_str(), KEY_READ) == ERROR_SUCCESS &&
        key.subKeyNames(&listed) == ERROR_SUCCESS && !listed.empty())
        verbs.push_back(listed.front());
    for (const std::string& verb : verbs) {
        const std::string command =
            defaultValue(HKEY_CLASSES_ROOT, shell + "\\" + verb + "\\command");
        if (!command.empty()) return command;
    }
    return std::string();
}

}  // namespace

std::uintptr_t HostShell::FindExecutable(const char* file, const char* directory, char* result) {
    if (result == nullptr) return SE_ERR_OOM;
    result[0] = '\0';
    if (file == nullptr || *file == '\0') return SE_ERR_FNF;

    std::string path = file;
    if (!hasFolder(path)) {
        std::string folder;
        if (directory != nullptr && *directory != '\0') {
            folder = directory;
            if (!hostFolderExists(folder)) return SE_ERR_PNF;
        } else if (FileSystem* fs = hasMachine() ? machine().files : nullptr) {
            fs->GetCurrentDirectory(&folder);
        }
        if (!folder.empty() && folder.back() != '\\') folder += '\\';
        path = folder + path;
    }
    if (!hostFileExists(path)) return SE_ERR_FNF;

    std::string program;
    const std::string name = baseNameOf(path);
    const std::size_t dot = name.rfind('.');
    const std::string extension =
        dot == std::string::npos ? std::string() : upperCase(name.substr(dot));
    if (extension == ".EXE" || extension == ".COM" || extension == ".BAT" || extension == ".PIF") {
        program = path;
    } else {
        if (extension.empty() || !hasMachine() || machine().registry == nullptr)
            return SE_ERR_NOASSOC;
        const std::string className = defaultValue(HKEY_CLASSES_ROOT, name.substr(dot));
        const std::string command = className.empty() ? std::string() : commandOf(className);
        if (command.empty()) return SE_ERR_NOASSOC;

        // The program is the quoted first word, or the longest blank-separated start of the
        // command that names an existing file, or else the first word.
        std::vector<std::string> candidates;
        if (command[0] == '"') {
            candidates.push_back(command.substr(1, command.find('"', 1) - 1));
        } else {
            for (std::size_t blank = command.find(' '); blank != std::string::npos;
                 blank = command.find(' ', blank + 1))
                candidates.push_back(command.substr(0, blank));
            candidates.push_back(command);
        }
        for (auto candidate = candidates.rbegin(); candidate != candidates.rend(); ++candidate) {
            std::string found = *candidate;
            if (!hasFolder(found)) {
                char folder[260];
                for (int which = 0; which < 2; ++which) {
                    const std::uint32_t length =
                        which == 0 ? system_.GetWindowsDirectory(folder, sizeof folder)
                                   : system_.GetSystemDirectory(folder, sizeof folder);
                    if (length > 0 && length < sizeof folder &&
                        hostFileExists(std::string(folder) + "\\" + found)) {
                        found = std::string(folder) + "\\" + found;
                        break;
                    }
                }
            }
            if (hostFileExists(found)) {
                program = found;
                break;
            }
        }
        if (program.empty()) program = candidates.front();
    }
    const std::size_t length = std::min<std::size_t>(program.size(), 259);
    std::memcpy(result, program.data(), length);
    result[length] = '\0';
    return kFound;
}

}  // namespace platform::host

#include "instsupport/uninstall.h"

#include <vector>

#include "instsupport/engine_exports.h"
#include "instsupport/text_buffer.h"
#include "instsupport/uninstall_support.h"
#include "instsupport/uninstall_text.h"
#include "platform/codepage_1252.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "platform/registry_key.h"
#include "platform/system.h"

namespace instsupport {
namespace {

std::string readTemporaryString(const platform::RegKey& key, const char* name, bool* found) {
    std::string text;
    *found = key.readString(name, &text, kTextBufferSize) == ERROR_SUCCESS;
    return text;
}

// The Windows-folder copy of an INF named by the product key, and the value's new data.
// Data that would not fit a 260-byte buffer once rewritten is kept as it was. A file of that
// name that was in the Windows folder before is neither overwritten nor, at the end, deleted:
// the value is then emptied, so the step that needs this INF reports it as failed. Only
// `ownCopy`, the path a left-over temporary key holds from an interrupted uninstall, is ours
// to replace.
bool saveInfCopy(const std::string& source, const std::string& ownCopy, std::string* newData) {
    std::size_t slash = source.rfind('\\');
    std::string fileName = slash == std::string::npos ? "\\" + source : source.substr(slash);
    std::string target = windowsFolder() + fileName;
    if (windowsFolder().empty() || target.size() >= kTextBufferSize) return false;
    const bool replaceable = !ownCopy.empty() && platform::equalAnsiNoCase(ownCopy, target);
    const std::uint32_t error =
        platform::machine().files->CopyFile(source.c_str(), target.c_str(), !replaceable);
    // Any other failed copy is ignored: the step then finds no file under the new path.
    *newData = error == ERROR_FILE_EXISTS ? std::string() : target;
    return true;
}

void copyEngineLibraries() {
    const std::string folder = optionFolder(platform::machine().system->GetCommandLine()
                                                ? platform::machine().system->GetCommandLine()
                                                : "",
                                            "-c");
    const std::string windows = windowsFolder();
    if (folder.empty() || windows.empty()) return;
    for (const char* name : {kEngineLibrary, kSecurityLibrary})
        platform::machine().files->CopyFile((folder + name).c_str(),
                                            (windows + "\\" + name).c_str(), false);
}

// The program's arguments: pieces between runs of blanks.
std::vector<std::string> splitArguments(const std::string& arguments) {
    std::vector<std::string> pieces;
    std::size_t at = 0;
    while (at < arguments.size()) {
        at = arguments.find_first_not_of(' ', at);
        if (at == std::string::npos) break;
        std::size_t end = arguments.find(' ', at);
        if (end == std::string::npos) end = arguments.size();
        pieces.push_back(arguments.substr(at, end - at));
        at = end;
    }
    return pieces;
}

}  // namespace

void copyUninstallSettings(const std::string& keyName, bool* minimum) {
    platform::RegKey temporary;
    if (temporary.Create(HKEY_LOCAL_MACHINE, kTemporaryKey, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return;
    if (keyName.empty()) return;
    platform::RegKey product;
    if (product.Open(HKEY_LOCAL_MACHINE, (std::string(kUninstallRoot) + keyName).c_str(),
                     KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return;
    platform::Registry& registry = *platform::machine().registry;
    // Values whose name or data does not fit the 260-byte buffers end the copy.
    for (std::uint32_t index = 0;; ++index) {
        char name[kTextBufferSize] = {};
        std::uint8_t data[kTextBufferSize] = {};
        std::uint32_t nameSize = sizeof name;
        std::uint32_t dataSize = sizeof data;
        std::uint32_t type = 0;
        if (registry.EnumValue(product.handle(), index, name, &nameSize, &type, data, &dataSize) !=
            ERROR_SUCCESS)
            break;
        if (dataSize > sizeof data) break;
        std::string valueName(name, nameSize < sizeof name ? nameSize : sizeof name - 1);
        std::vector<std::uint8_t> stored(data, data + dataSize);
        if (platform::equalAnsiNoCase(valueName, "InfFile") ||
            platform::equalAnsiNoCase(valueName, "UninstInfFile")) {
            std::string source =
                std::string(bufferText(reinterpret_cast<const char*>(data))).substr(0, dataSize);
            source = source.substr(0, source.find('\0'));
            bool found = false;
            const std::string ownCopy = readTemporaryString(temporary, valueName.c_str(), &found);
            std::string newData;
            if (saveInfCopy(source, ownCopy, &newData))
                stored.assign(newData.c_str(), newData.c_str() + newData.size() + 1);
        }
        if (platform::equalAnsiNoCase(valueName, "Minimum")) *minimum = true;
        registry.SetValueEx(temporary.handle(), valueName.c_str(), type, stored.data(),
                            static_cast<std::uint32_t>(stored.size()));
    }
}

void runUninstallProgram(platform::HWnd owner) {
    platform::RegKey temporary;
    if (temporary.Open(HKEY_LOCAL_MACHINE, kTemporaryKey, KEY_READ) != ERROR_SUCCESS) return;
    const ErrorMessages messages =
        readErrorMessages(temporary.handle(), "AppErrorMsg", "Error %s\n%s", 2);
    bool found = false;
    const std::string path = readTemporaryString(temporary, "UninstAppPath", &found);
    if (!found) return;
    const std::string arguments = readTemporaryString(temporary, "UninstAppArgs", &found);
    const std::string commandText = path + " " + arguments;

    int error = 0;
    if (!isExistingFile(path)) {
        error = 9;
    } else {
        // The program gets its own path as first argument, quoted when it holds a blank.
        std::string commandLine = path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
        for (const std::string& piece : splitArguments(arguments)) commandLine += " " + piece;
        platform::System& system = *platform::machine().system;
        platform::HProcess process = 0;
        if (!system.CreateProcess(path.c_str(), commandLine.c_str(), false, 0, nullptr,
                                  SW_SHOWNORMAL, &process)) {
            error = 10;
        } else {
            system.WaitForSingleObject(process, INFINITE);
            system.CloseHandle(process);
        }
    }
    if (error != 0)
        showError(owner, messages, applyFormat(messages.format, errorCodeText(error), commandText));
}

void removeDriverRegistrations(platform::HWnd owner) {
    platform::RegKey temporary;
    const std::uint32_t openError = temporary.Open(HKEY_LOCAL_MACHINE, kTemporaryKey, KEY_READ);
    const ErrorMessages messages = readErrorMessages(
        openError == ERROR_SUCCESS ? temporary.handle() : 0, "ErrorMsg", "Error %s", 1);
    std::string code;
    {
        StepLibrary engine(kEngineLibrary);
        auto openInf = engine.find<OpenInfFileProc>("OpenInfFile");
        auto closeInf = engine.find<CloseInfFileProc>("CloseInfFile");
        auto enumDelDriverReg = engine.find<EnumDelDriverRegProc>("EnumDelDriverReg");
        std::string infPath;
        std::uint32_t readError = ERROR_SUCCESS;
        if (!engine.loaded()) {
            code = errorCodeText(1, static_cast<long>(engine.error()));
        } else if (!openInf || !closeInf || !enumDelDriverReg) {
            code = errorCodeText(2);
        } else if (openError != ERROR_SUCCESS) {
            code = errorCodeText(3, static_cast<long>(openError));
        } else if ((readError = temporary.readString("InfFile", &infPath, kTextBufferSize)) !=
                   ERROR_SUCCESS) {
            code = errorCodeText(4, static_cast<long>(readError));
        } else if (infPath.empty() || openInf(infPath.c_str()) != 0) {
            code = errorCodeText(5);
        } else {
            for (unsigned index = 0; index <= 0xFFFF; ++index) {
                char root[kTextBufferSize] = {};
                char subKey[kTextBufferSize] = {};
                if (enumDelDriverReg(static_cast<unsigned short>(index), root, subKey) != 0) break;
                platform::HKey rootKey = rootFromName(std::string(bufferText(root)));
                if (rootKey == 0 || bufferText(subKey).empty()) continue;
                platform::RegKey parent(rootKey);
                (void)parent.deleteSubKey(std::string(bufferText(subKey)).c_str());
            }
            closeInf();
        }
    }
    if (!code.empty()) showError(owner, messages, applyFormat(messages.format, code));
}

int uninstInitialize(platform::HWnd owner) {
    const char* commandLine = platform::machine().system->GetCommandLine();
    const std::string keyName =
        uninstallKeyName(optionFolder(commandLine ? commandLine : "", "-f"));
    bool minimum = false;
    copyUninstallSettings(keyName, &minimum);
    copyEngineLibraries();
    runUninstallProgram(owner);
    if (!minimum) removeDriverRegistrations(owner);
    return 0;
}

int uninstUnInitialize(platform::HWnd owner) {
    processUninstallInf(owner);
    platform::FileSystem& files = *platform::machine().files;
    const std::string windows = windowsFolder();
    if (!windows.empty()) {
        files.DeleteFile((windows + "\\" + kEngineLibrary).c_str());
        files.DeleteFile((windows + "\\" + kSecurityLibrary).c_str());
    }
    {
        platform::RegKey temporary;
        if (temporary.Open(HKEY_LOCAL_MACHINE, kTemporaryKey, KEY_READ) == ERROR_SUCCESS) {
            for (const char* name : {"InfFile", "UninstInfFile"}) {
                std::string path;
                if (temporary.readString(name, &path, kTextBufferSize) == ERROR_SUCCESS &&
                    !path.empty())
                    files.DeleteFile(path.c_str());
            }
        }
    }
    platform::RegKey root(HKEY_LOCAL_MACHINE);
    (void)root.deleteSubKey(kTemporaryKey);
    return 0;
}

}  // namespace instsupport

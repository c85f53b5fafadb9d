#include "instsupport/uninstall_support.h"

#include "instsupport/text_buffer.h"
#include "instsupport/uninstall_text.h"
#include "platform/codepage_1252.h"
#include "platform/files.h"
#include "platform/registry_key.h"

namespace instsupport {

std::string windowsFolder() {
    char buffer[kTextBufferSize] = {};
    std::uint32_t length = platform::machine().system->GetWindowsDirectory(buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return std::string();
    std::string folder(buffer, length);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

bool isExistingFile(const std::string& path) {
    std::uint32_t attributes = 0;
    return platform::machine().files->GetFileAttributes(path.c_str(), &attributes) ==
               ERROR_SUCCESS &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

StepLibrary::StepLibrary(const char* fileName) {
    platform::System& system = *platform::machine().system;
    std::string path = windowsFolder() + "\\" + fileName;
    system.SetLastError(ERROR_SUCCESS);
    module_ = system.LoadLibrary(path.c_str());
    if (module_ == 0) error_ = system.GetLastError();
}

StepLibrary::~StepLibrary() {
    if (module_ != 0) platform::machine().system->FreeLibrary(module_);
}

ErrorMessages readErrorMessages(platform::HKey temporaryKey, const char* formatName,
                                const char* defaultFormat, int arguments) {
    ErrorMessages messages;
    messages.format = defaultFormat;
    if (temporaryKey == 0) return messages;
    platform::RegKey key(temporaryKey);
    std::string text;
    if (key.readString("ErrorTitle", &text, kTextBufferSize) == ERROR_SUCCESS)
        messages.caption = text;
    if (key.readString(formatName, &text, kTextBufferSize) == ERROR_SUCCESS &&
        usableFormat(text, arguments))
        messages.format = text;
    (void)key.Take();  // the caller owns the key
    return messages;
}

void showError(platform::HWnd owner, const ErrorMessages& messages, const std::string& text) {
    platform::machine().ui->MessageBox(owner, text.c_str(), messages.caption.c_str(), MB_OK);
}

platform::HKey rootFromName(const std::string& name) {
    struct Root {
        const char* name;
        platform::HKey key;
    };
    static const Root roots[] = {
        {"HKCR", HKEY_CLASSES_ROOT},   {"HKLM", HKEY_LOCAL_MACHINE}, {"HKCU", HKEY_CURRENT_USER},
        {"HKCC", HKEY_CURRENT_CONFIG}, {"HKDD", HKEY_DYN_DATA},      {"HKU", HKEY_USERS},
    };
    for (const Root& root : roots)
        if (platform::equalAnsiNoCase(name, root.name)) return root.key;
    return 0;
}

}  // namespace instsupport

// HostShell: shortcut objects and their files. FindExecutable is in
// host_shell_associations.cpp.
#include "platform/host/host_shell.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "platform/machine.h"

namespace platform::host {
namespace {

constexpr const char* kHeader = "[HostShellLink]";
constexpr std::uint32_t kMaxLinkFileSize = 64 * 1024;

FileSystem* files() {
    return hasMachine() ? machine().files : nullptr;
}

std::string escape(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '%' || c == '\r' || c == '\n') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
            result += code;
        } else {
            result += c;
        }
    }
    return result;
}

std::string unescape(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const std::string hex = text.substr(i + 1, 2);
            char* end = nullptr;
            const long value = std::strtol(hex.c_str(), &end, 16);
            if (end == hex.c_str() + 2) {
                result += static_cast<char>(value);
                i += 2;
                continue;
            }
        }
        result += text[i];
    }
    return result;
}

// Copies `text` into a caller buffer of `size` bytes, cut short when needed.
void copyText(const std::string& text, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return;
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace

HostShell::HostShell(System& system) : system_(system) {}

HostShell::~HostShell() = default;

HostShell::Link* HostShell::find(HShellLink link) {
    const auto found = links_.find(link);
    return found == links_.end() ? nullptr : &found->second;
}

HResult HostShell::failure(ShellOperation operation) const {
    const auto found = failures_.find(operation);
    return found == failures_.end() ? S_OK : found->second;
}

void HostShell::setFailure(ShellOperation operation, HResult error) {
    if (error == S_OK)
        failures_.erase(operation);
    else
        failures_[operation] = error;
}

HResult HostShell::CoInitialize() {
    return comInitializations_++ == 0 ? S_OK : S_FALSE;
}

void HostShell::CoUninitialize() {
    if (comInitializations_ > 0) --comInitializations_;
}

HResult HostShell::CreateShellLink(HShellLink* link) {
    if (link == nullptr) return E_INVALIDARG;
    if (comInitializations_ == 0) return CO_E_NOTINITIALIZED;
    if (const HResult error = failure(ShellOperation::CreateShellLink)) return error;
    *link = nextLink_;
    nextLink_ += 8;
    links_[*link] = Link();
    return S_OK;
}

HResult HostShell::setField(HShellLink link, ShellOperation operation,
                            std::string ShellLinkFields::*field, const char* value) {
    Link* object = find(link);
    if (object == nullptr) return E_INVALIDARG;
    if (const HResult error = failure(operation)) return error;
    object->fields.*field = value != nullptr ? value : "";
    return S_OK;
}

HResult HostShell::SetPath(HShellLink link, const char* path) {
    if (path == nullptr || *path == '\0') return E_INVALIDARG;
    return setField(link, ShellOperation::SetPath, &ShellLinkFields::target, path);
}

HResult HostShell::SetArguments(HShellLink link, const char* arguments) {
    return setField(link, ShellOperation::SetArguments, &ShellLinkFields::arguments, arguments);
}

HResult HostShell::SetWorkingDirectory(HShellLink link, const char* folder) {
    return setField(link, ShellOperation::SetWorkingDirectory, &ShellLinkFields::workingDirectory,
                    folder);
}

HResult HostShell::SetDescription(HShellLink link, const char* description) {
    return setField(link, ShellOperation::SetDescription, &ShellLinkFields::description,
                    description);
}

HResult HostShell::SetIconLocation(HShellLink link, const char* iconPath, int index) {
    const HResult result =
        setField(link, ShellOperation::SetIconLocation, &ShellLinkFields::iconLocation, iconPath);
    if (result == S_OK) find(link)->fields.iconIndex = index;
    return result;
}

HResult HostShell::Save(HShellLink link, const char* fileName, bool remember) {
    Link* object = find(link);
    if (object == nullptr || fileName == nullptr || *fileName == '\0' ||
        std::strlen(fileName) > 259)
        return E_INVALIDARG;
    if (const HResult error = failure(ShellOperation::Save)) return error;
    FileSystem* fs = files();
    if (fs == nullptr) return E_FAIL;
    std::uint32_t attributes = 0;
    if (fs->GetFileAttributes(fileName, &attributes) == ERROR_SUCCESS &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return hresultFromWin32(ERROR_ACCESS_DENIED);
    const std::uint32_t error = writeLink(fileName, object->fields);
    if (error != ERROR_SUCCESS) return hresultFromWin32(error);
    if (remember) object->currentFile = fileName;
    return S_OK;
}

HResult HostShell::Load(HShellLink link, const char* fileName) {
    Link* object = find(link);
    if (object == nullptr || fileName == nullptr) return E_INVALIDARG;
    if (const HResult error = failure(ShellOperation::Load)) return error;
    FileSystem* fs = files();
    std::uint32_t attributes = 0;
    if (fs == nullptr) return E_FAIL;
    const std::uint32_t error = fs->GetFileAttributes(fileName, &attributes);
    if (error != ERROR_SUCCESS) return hresultFromWin32(error);
    ShellLinkFields fields;
    if (!readLinkFile(fileName, &fields)) return E_FAIL;
    object->fields = fields;
    object->currentFile = fileName;
    return S_OK;
}

HResult HostShell::getField(HShellLink link, const std::string ShellLinkFields::*field,
                            char* buffer, int size) {
    Link* object = find(link);
    if (object == nullptr || buffer == nullptr || size <= 0) return E_INVALIDARG;
    copyText(object->fields.*field, buffer, size);
    return S_OK;
}

HResult HostShell::GetPath(HShellLink link, char* buffer, int size) {
    const HResult result = getField(link, &ShellLinkFields::target, buffer, size);
    if (result == S_OK && buffer[0] == '\0') return S_FALSE;
    return result;
}

HResult HostShell::GetArguments(HShellLink link, char* buffer, int size) {
    return getField(link, &ShellLinkFields::arguments, buffer, size);
}

HResult HostShell::GetWorkingDirectory(HShellLink link, char* buffer, int size) {
    return getField(link, &ShellLinkFields::workingDirectory, buffer, size);
}

HResult HostShell::GetDescription(HShellLink link, char* buffer, int size) {
    return getField(link, &ShellLinkFields::description, buffer, size);
}

HResult HostShell::GetIconLocation(HShellLink link, char* buffer, int size, int* index) {
    const HResult result = getField(link, &ShellLinkFields::iconLocation, buffer, size);
    if (result == S_OK && index != nullptr) *index = find(link)->fields.iconIndex;
    return result;
}

void HostShell::ReleaseShellLink(HShellLink link) {
    links_.erase(link);
}

// ---- Link files ------------------------------------------------------------------------------

bool HostShell::writeLinkFile(const std::string& fileName, const ShellLinkFields& fields) const {
    return writeLink(fileName, fields) == ERROR_SUCCESS;
}

std::uint32_t HostShell::writeLink(const std::string& fileName, const ShellLinkFields& fields) {
    FileSystem* fs = files();
    if (fs == nullptr) return ERROR_NOT_SUPPORTED;
    std::string text = std::string(kHeader) + "\r\n";
    text += "Target=" + escape(fields.target) + "\r\n";
    text += "Arguments=" + escape(fields.arguments) + "\r\n";
    text += "WorkingDirectory=" + escape(fields.workingDirectory) + "\r\n";
    text += "Description=" + escape(fields.description) + "\r\n";
    text += "IconLocation=" + escape(fields.iconLocation) + "\r\n";
    text += "IconIndex=" + std::to_string(fields.iconIndex) + "\r\n";
    FileHandle file = kInvalidFileHandle;
    const std::uint32_t error = fs->CreateFile(fileName.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_ARCHIVE, &file);
    if (error != ERROR_SUCCESS) return error;
    std::uint32_t written = 0;
    std::uint32_t result =
        fs->WriteFile(file, text.data(), static_cast<std::uint32_t>(text.size()), &written);
    if (result == ERROR_SUCCESS && written != text.size()) result = ERROR_WRITE_FAULT;
    fs->CloseHandle(file);
    // A shortcut is written whole or not at all.
    if (result != ERROR_SUCCESS) fs->DeleteFile(fileName.c_str());
    return result;
}

bool HostShell::readLinkFile(const std::string& fileName, ShellLinkFields* fields) const {
    FileSystem* fs = files();
    FileHandle file = kInvalidFileHandle;
    if (fs == nullptr ||
        fs->CreateFile(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, &file) != ERROR_SUCCESS)
        return false;
    std::vector<char> data(kMaxLinkFileSize);
    std::uint32_t read = 0;
    const bool ok = fs->ReadFile(file, data.data(), kMaxLinkFileSize, &read) == ERROR_SUCCESS;
    fs->CloseHandle(file);
    if (!ok) return false;
    const std::string text(data.data(), read);
    const std::string header = std::string(kHeader) + "\r\n";
    if (text.compare(0, header.size(), header) != 0) return false;

    ShellLinkFields result;
    std::size_t start = header.size();
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 2;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = unescape(line.substr(equals + 1));
        if (key == "Target")
            result.target = value;
        else if (key == "Arguments")
            result.arguments = value;
        else if (key == "WorkingDirectory")
            result.workingDirectory = value;
        else if (key == "Description")
            result.description = value;
        else if (key == "IconLocation")
            result.iconLocation = value;
        else if (key == "IconIndex")
            result.iconIndex = std::atoi(value.c_str());
    }
    *fields = result;
    return true;
}

}  // namespace platform::host

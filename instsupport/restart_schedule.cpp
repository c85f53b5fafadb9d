#include "instsupport/restart_schedule.h"

#include <vector>

#include "platform/file_handle.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "platform/system.h"

namespace instsupport {
namespace {

constexpr char kSectionHeader[] = "[Rename]\r\n";
constexpr char kSectionHeaderLower[] = "[rename]\r\n";
constexpr char kDeletionTarget[] = "NUL";
// WinInit.ini is a small text file; anything larger is not one Windows made.
constexpr std::uint32_t kMaxWinInitSize = 16u * 1024 * 1024;

bool readAll(platform::FileHandle file, std::string* out) {
    platform::FileSystem& files = *platform::machine().files;
    std::uint32_t size = 0;
    if (files.GetFileSize(file, &size, nullptr) != ERROR_SUCCESS || size > kMaxWinInitSize)
        return false;
    std::string text(size, '\0');
    std::uint32_t done = 0;
    while (done < size) {
        std::uint32_t read = 0;
        if (files.ReadFile(file, &text[done], size - done, &read) != ERROR_SUCCESS || read == 0)
            return false;
        done += read;
    }
    out->swap(text);
    return true;
}

}  // namespace

std::string insertRenameLine(const std::string& contents, const std::string& line) {
    std::size_t header = contents.find(kSectionHeader);
    if (header == std::string::npos) header = contents.find(kSectionHeaderLower);
    if (header != std::string::npos) {
        std::string result = contents;
        result.insert(header + sizeof kSectionHeader - 1, line);
        return result;
    }
    std::string result = contents;
    // A last line without its end would otherwise run into the new header.
    if (!result.empty() && result.back() != '\n') result += "\r\n";
    result += kSectionHeader;
    result += line;
    return result;
}

int scheduleAtRestart(const char* existingPath, const char* newPath) {
    if (existingPath == nullptr) return 0;
    platform::Machine& m = platform::machine();
    if (m.files->MoveFileEx(existingPath, newPath, MOVEFILE_DELAY_UNTIL_REBOOT) == ERROR_SUCCESS)
        return 1;

    std::string line =
        std::string(newPath ? newPath : kDeletionTarget) + "=" + existingPath + "\r\n";

    char windows[261] = {};
    std::uint32_t length = m.system->GetWindowsDirectory(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return 0;
    std::string iniPath = std::string(windows) + "\\WinInit.Ini";

    platform::ScopedFile file;
    if (m.files->CreateFile(iniPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, file.receive()) != ERROR_SUCCESS)
        return 0;
    std::string contents;
    if (!readAll(file.get(), &contents)) return 0;
    std::string updated = insertRenameLine(contents, line);

    // Only the part from the first changed byte on is written; the text before it stays.
    std::size_t from = 0;
    while (from < contents.size() && contents[from] == updated[from]) ++from;
    if (m.files->SetFilePointer(file.get(), static_cast<std::int32_t>(from), nullptr, FILE_BEGIN,
                                nullptr) != ERROR_SUCCESS)
        return 0;
    std::uint32_t written = 0;
    const std::uint32_t toWrite = static_cast<std::uint32_t>(updated.size() - from);
    if (m.files->WriteFile(file.get(), updated.data() + from, toWrite, &written) != ERROR_SUCCESS ||
        written != toWrite)
        return 0;
    if (m.files->SetEndOfFile(file.get()) != ERROR_SUCCESS) return 0;
    return 1;
}

}  // namespace instsupport

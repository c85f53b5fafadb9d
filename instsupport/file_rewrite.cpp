#include "instsupport/file_rewrite.h"

#include "platform/codepage_1252.h"
#include "platform/file_handle.h"
#include "platform/files.h"
#include "platform/machine.h"

namespace instsupport {
namespace {

// Start-up and INI files are small; a larger one is left alone rather than held in memory.
constexpr std::uint32_t kMaxTextFileSize = 8u * 1024 * 1024;

}  // namespace

std::uint32_t readTextFile(const std::string& path, std::string* out) {
    platform::FileSystem& files = *platform::machine().files;
    platform::ScopedFile file;
    const std::uint32_t error = files.CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 OPEN_EXISTING, 0, file.receive());
    if (error != ERROR_SUCCESS) return error;
    std::uint32_t size = 0;
    if (files.GetFileSize(file.get(), &size, nullptr) != ERROR_SUCCESS) return ERROR_READ_FAULT;
    if (size > kMaxTextFileSize) return ERROR_NOT_ENOUGH_MEMORY;
    std::string text(size, '\0');
    std::uint32_t done = 0;
    while (done < size) {
        std::uint32_t read = 0;
        if (files.ReadFile(file.get(), &text[done], size - done, &read) != ERROR_SUCCESS ||
            read == 0)
            return ERROR_READ_FAULT;
        done += read;
    }
    out->swap(text);
    return ERROR_SUCCESS;
}

namespace {

bool writeText(const std::string& path, const std::string& text) {
    platform::FileSystem& files = *platform::machine().files;
    platform::ScopedFile file;
    if (files.CreateFile(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         file.receive()) != ERROR_SUCCESS)
        return false;
    std::uint32_t written = 0;
    if (!text.empty() &&
        (files.WriteFile(file.get(), text.data(), static_cast<std::uint32_t>(text.size()),
                         &written) != ERROR_SUCCESS ||
         written != text.size()))
        return false;
    return files.FlushFileBuffers(file.get()) == ERROR_SUCCESS && file.close() == ERROR_SUCCESS;
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 2 && path.size() > 1 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, slash);
}

}  // namespace

bool replaceTextFile(const std::string& path, const std::string& tempPath, const std::string& text,
                     bool exists) {
    // A temporary name equal to the file's own would overwrite it before it is safe.
    if (tempPath.empty() || platform::equalAnsiNoCase(path, tempPath)) return false;
    platform::FileSystem& files = *platform::machine().files;
    if (!writeText(tempPath, text)) {
        files.DeleteFile(tempPath.c_str());
        return false;
    }
    if (!exists) {
        if (files.MoveFile(tempPath.c_str(), path.c_str()) == ERROR_SUCCESS) return true;
        files.DeleteFile(tempPath.c_str());
        return false;
    }
    // The original moves to a fresh name beside it, the new text takes its place, and only
    // then does the original go.
    std::string aside;
    if (files.GetTempFileName(folderOf(path).c_str(), "hvb", 0, &aside, nullptr) != ERROR_SUCCESS ||
        files.DeleteFile(aside.c_str()) != ERROR_SUCCESS ||
        files.MoveFile(path.c_str(), aside.c_str()) != ERROR_SUCCESS) {
        files.DeleteFile(tempPath.c_str());
        return false;
    }
    if (files.MoveFile(tempPath.c_str(), path.c_str()) != ERROR_SUCCESS) {
        files.MoveFile(aside.c_str(), path.c_str());
        files.DeleteFile(tempPath.c_str());
        return false;
    }
    files.DeleteFile(aside.c_str());
    return true;
}

bool rewriteTextFile(const std::string& path, const std::string& tempPath,
                     const std::function<std::string(const std::string&, bool*)>& edit) {
    if (tempPath.empty() || platform::equalAnsiNoCase(path, tempPath)) return false;
    std::string text;
    if (readTextFile(path, &text) != ERROR_SUCCESS) return false;
    bool changed = false;
    std::string updated = edit(text, &changed);
    if (!changed) return true;
    return replaceTextFile(path, tempPath, updated, true);
}

}  // namespace instsupport

#include "platform/win32/win32_files.h"
#include "platform/win32/win32_machine.h"

#include <cstring>
#include <vector>

#include "platform/out_of_memory.h"

namespace platform::win32 {

static_assert(sizeof(HANDLE) == sizeof(platform::FileHandle), "file handles are pointer-sized");

namespace {

HANDLE toWin32(FileHandle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// GetLastError after a failed call; Windows 95 leaves it 0 after a few of them.
std::uint32_t lastError() {
    DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? static_cast<std::uint32_t>(error) : ERROR_GEN_FAILURE;
}

FileTime fromFiletime(const FILETIME& time) {
    return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME toFiletime(FileTime time) {
    FILETIME out;
    out.dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFFu);
    out.dwHighDateTime = static_cast<DWORD>(time >> 32);
    return out;
}

void copyName(const char* name, std::size_t nameSize, char* out, std::size_t outSize) {
    std::size_t length = strnlen(name, nameSize);
    if (length >= outSize) length = outSize - 1;
    std::memcpy(out, name, length);
    out[length] = '\0';
}

void toFindData(const WIN32_FIND_DATAA& in, FindData* out) {
    FindData data;
    data.attributes = in.dwFileAttributes;
    data.creationTime = fromFiletime(in.ftCreationTime);
    data.lastAccessTime = fromFiletime(in.ftLastAccessTime);
    data.lastWriteTime = fromFiletime(in.ftLastWriteTime);
    data.fileSize = (static_cast<std::uint64_t>(in.nFileSizeHigh) << 32) | in.nFileSizeLow;
    copyName(in.cFileName, sizeof in.cFileName, data.fileName, sizeof data.fileName);
    copyName(in.cAlternateFileName, sizeof in.cAlternateFileName, data.alternateFileName,
             sizeof data.alternateFileName);
    *out = data;
}

// Calls a Win32 function that fills a path buffer and answers its length, or the size it
// needs when the buffer is short, or 0 on failure.
template <typename Call>
std::uint32_t pathResult(Call call, std::string* out, DWORD* used = nullptr) {
    std::vector<char> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD length = call(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return lastError();
        if (length < buffer.size()) {
            out->assign(buffer.data(), length);
            if (used != nullptr) *used = length;
            return ERROR_SUCCESS;
        }
        buffer.assign(length + 1, '\0');
    }
    return ERROR_INSUFFICIENT_BUFFER;
}

}  // namespace

std::uint32_t Win32FileSystem::CreateFile(const char* path, std::uint32_t access,
                                          std::uint32_t share, std::uint32_t disposition,
                                          std::uint32_t flagsAndAttributes, FileHandle* result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    HANDLE file =
        ::CreateFileA(path, access, share, nullptr, disposition, flagsAndAttributes, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastError();
    *result = reinterpret_cast<FileHandle>(file);
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::ReadFile(FileHandle file, void* buffer, std::uint32_t toRead,
                                        std::uint32_t* read) {
    DWORD done = 0;
    if (!::ReadFile(toWin32(file), buffer, toRead, &done, nullptr)) {
        std::uint32_t error = lastError();
        if (read != nullptr) *read = 0;
        return error;
    }
    if (read != nullptr) *read = done;
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::WriteFile(FileHandle file, const void* buffer, std::uint32_t toWrite,
                                         std::uint32_t* written) {
    DWORD done = 0;
    if (!::WriteFile(toWin32(file), buffer, toWrite, &done, nullptr)) {
        std::uint32_t error = lastError();
        if (written != nullptr) *written = 0;
        return error;
    }
    if (written != nullptr) *written = done;
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::SetFilePointer(FileHandle file, std::int32_t distance,
                                              std::int32_t* distanceHigh, std::uint32_t method,
                                              std::uint32_t* newPosition) {
    LONG high = distanceHigh != nullptr ? *distanceHigh : 0;
    SetLastError(ERROR_SUCCESS);
    DWORD low = ::SetFilePointer(toWin32(file), distance, distanceHigh ? &high : nullptr, method);
    if (low == INVALID_SET_FILE_POINTER) {
        DWORD error = GetLastError();
        if (error != ERROR_SUCCESS) return static_cast<std::uint32_t>(error);
    }
    if (newPosition != nullptr) *newPosition = low;
    if (distanceHigh != nullptr) *distanceHigh = high;
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::SetEndOfFile(FileHandle file) {
    return ::SetEndOfFile(toWin32(file)) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::GetFileSize(FileHandle file, std::uint32_t* sizeLow,
                                           std::uint32_t* sizeHigh) {
    if (sizeLow == nullptr) return ERROR_INVALID_PARAMETER;
    DWORD high = 0;
    SetLastError(ERROR_SUCCESS);
    DWORD low = ::GetFileSize(toWin32(file), &high);
    if (low == INVALID_FILE_SIZE) {
        DWORD error = GetLastError();
        if (error != ERROR_SUCCESS) return static_cast<std::uint32_t>(error);
    }
    *sizeLow = low;
    if (sizeHigh != nullptr) *sizeHigh = high;
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::FlushFileBuffers(FileHandle file) {
    return ::FlushFileBuffers(toWin32(file)) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::CloseHandle(FileHandle file) {
    return ::CloseHandle(toWin32(file)) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::GetFileTime(FileHandle file, FileTime* creation,
                                           FileTime* lastAccess, FileTime* lastWrite) {
    FILETIME created, accessed, written;
    if (!::GetFileTime(toWin32(file), &created, &accessed, &written)) return lastError();
    if (creation != nullptr) *creation = fromFiletime(created);
    if (lastAccess != nullptr) *lastAccess = fromFiletime(accessed);
    if (lastWrite != nullptr) *lastWrite = fromFiletime(written);
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::SetFileTime(FileHandle file, const FileTime* creation,
                                           const FileTime* lastAccess, const FileTime* lastWrite) {
    FILETIME created{}, accessed{}, written{};
    if (creation != nullptr) created = toFiletime(*creation);
    if (lastAccess != nullptr) accessed = toFiletime(*lastAccess);
    if (lastWrite != nullptr) written = toFiletime(*lastWrite);
    BOOL ok = ::SetFileTime(toWin32(file), creation ? &created : nullptr,
                            lastAccess ? &accessed : nullptr, lastWrite ? &written : nullptr);
    return ok ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::DeleteFile(const char* path) {
    return ::DeleteFileA(path) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::MoveFile(const char* from, const char* to) {
    return ::MoveFileA(from, to) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::MoveFileEx(const char* from, const char* to, std::uint32_t flags) {
    return ::MoveFileExA(from, to, flags) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::CopyFile(const char* from, const char* to, bool failIfExists) {
    return ::CopyFileA(from, to, failIfExists ? TRUE : FALSE) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::GetFileAttributes(const char* path, std::uint32_t* attributes) {
    if (attributes == nullptr) return ERROR_INVALID_PARAMETER;
    DWORD value = ::GetFileAttributesA(path);
    if (value == INVALID_FILE_ATTRIBUTES) return lastError();
    *attributes = value;
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::SetFileAttributes(const char* path, std::uint32_t attributes) {
    return ::SetFileAttributesA(path, attributes) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::CreateDirectory(const char* path) {
    return ::CreateDirectoryA(path, nullptr) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::RemoveDirectory(const char* path) {
    return ::RemoveDirectoryA(path) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::FindFirstFile(const char* pattern, FindData* data,
                                             FindHandle* result) {
    if (data == nullptr || result == nullptr) return ERROR_INVALID_PARAMETER;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return lastError();
    toFindData(found, data);
    *result = reinterpret_cast<FindHandle>(search);
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::FindNextFile(FindHandle search, FindData* data) {
    if (data == nullptr) return ERROR_INVALID_PARAMETER;
    WIN32_FIND_DATAA found;
    if (!::FindNextFileA(toWin32(search), &found)) return lastError();
    toFindData(found, data);
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::FindClose(FindHandle search) {
    return ::FindClose(toWin32(search)) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::GetCurrentDirectory(std::string* directory) {
    if (directory == nullptr) return ERROR_INVALID_PARAMETER;
    return unlessOutOfMemory(ERROR_NOT_ENOUGH_MEMORY, [&] {
        return pathResult(
            [](DWORD size, char* buffer) { return ::GetCurrentDirectoryA(size, buffer); },
            directory);
    });
}

std::uint32_t Win32FileSystem::SetCurrentDirectory(const char* path) {
    return ::SetCurrentDirectoryA(path) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::SetCurrentDrive(char letter) {
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return ERROR_INVALID_DRIVE;
    const char drive[3] = {letter, ':', '\0'};
    return ::SetCurrentDirectoryA(drive) ? ERROR_SUCCESS : lastError();
}

char Win32FileSystem::GetCurrentDrive() {
    char buffer[MAX_PATH + 1];
    DWORD length = ::GetCurrentDirectoryA(sizeof buffer, buffer);
    if (length < 2 || length >= sizeof buffer || buffer[1] != ':') return 0;
    char letter = buffer[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    return (letter >= 'A' && letter <= 'Z') ? letter : 0;
}

std::uint32_t Win32FileSystem::GetDriveType(const char* root) {
    return ::GetDriveTypeA(root);
}

std::uint32_t Win32FileSystem::GetFullPathName(const char* path, std::string* fullPath,
                                               std::size_t* filePart) {
    if (path == nullptr || fullPath == nullptr) return ERROR_INVALID_PARAMETER;
    return unlessOutOfMemory(ERROR_NOT_ENOUGH_MEMORY, [&]() -> std::uint32_t {
        std::string text;
        std::size_t part = 0;
        std::uint32_t rc = pathResult(
            [&](DWORD size, char* buffer) {
                char* name = nullptr;
                DWORD length = ::GetFullPathNameA(path, size, buffer, &name);
                if (length != 0 && length < size) {
                    part = name != nullptr ? static_cast<std::size_t>(name - buffer) : length;
                }
                return length;
            },
            &text);
        if (rc != ERROR_SUCCESS) return rc;
        *fullPath = std::move(text);
        if (filePart != nullptr) *filePart = part;
        return ERROR_SUCCESS;
    });
}

std::uint32_t Win32FileSystem::GetTempFileName(const char* directory, const char* prefix,
                                               std::uint32_t unique, std::string* path,
                                               std::uint32_t* number) {
    if (path == nullptr) return ERROR_INVALID_PARAMETER;
    char buffer[MAX_PATH + 1] = {};
    UINT used = ::GetTempFileNameA(directory, prefix != nullptr ? prefix : "", unique, buffer);
    if (used == 0) return lastError();
    if (!completesInMemory([&] { *path = buffer; })) return ERROR_NOT_ENOUGH_MEMORY;
    if (number != nullptr) *number = used;
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::GetFileVersionInfoSize(const char* path, std::uint32_t* size) {
    if (size == nullptr) return ERROR_INVALID_PARAMETER;
    DWORD ignored = 0;
    SetLastError(ERROR_SUCCESS);
    DWORD needed = ::GetFileVersionInfoSizeA(path, &ignored);
    if (needed == 0) {
        DWORD error = GetLastError();
        return error != ERROR_SUCCESS ? static_cast<std::uint32_t>(error)
                                      : ERROR_RESOURCE_TYPE_NOT_FOUND;
    }
    *size = needed;
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::GetFileVersionInfo(const char* path, std::uint32_t size,
                                                  void* block) {
    if (block == nullptr) return ERROR_INVALID_PARAMETER;
    return ::GetFileVersionInfoA(path, 0, size, block) ? ERROR_SUCCESS : lastError();
}

std::uint32_t Win32FileSystem::VerQueryValue(void* block, const char* subBlock, void** value,
                                             std::uint32_t* length) {
    if (block == nullptr || subBlock == nullptr || value == nullptr || length == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    void* found = nullptr;
    UINT size = 0;
    SetLastError(ERROR_SUCCESS);
    if (!::VerQueryValueA(block, subBlock, &found, &size) || found == nullptr) {
        DWORD error = GetLastError();
        return error != ERROR_SUCCESS ? static_cast<std::uint32_t>(error)
                                      : ERROR_RESOURCE_TYPE_NOT_FOUND;
    }
    *value = found;
    *length = size;
    return ERROR_SUCCESS;
}

std::uint32_t Win32FileSystem::GetDiskFreeSpace(const char* root, std::uint32_t* sectorsPerCluster,
                                                std::uint32_t* bytesPerSector,
                                                std::uint32_t* freeClusters,
                                                std::uint32_t* totalClusters) {
    DWORD sectors = 0, bytes = 0, free = 0, total = 0;
    if (!::GetDiskFreeSpaceA(root, &sectors, &bytes, &free, &total)) return lastError();
    if (sectorsPerCluster != nullptr) *sectorsPerCluster = sectors;
    if (bytesPerSector != nullptr) *bytesPerSector = bytes;
    if (freeClusters != nullptr) *freeClusters = free;
    if (totalClusters != nullptr) *totalClusters = total;
    return ERROR_SUCCESS;
}

std::unique_ptr<MachinePart> filesPart() {
    return makeBackendPart<Win32FileSystem, FileSystem, &Machine::files>();
}

}  // namespace platform::win32

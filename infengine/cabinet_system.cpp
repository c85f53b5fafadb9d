#include "infengine/cabinet_system.h"

#include <cstdlib>
#include <cstring>

#include "platform/files.h"
#include "platform/machine.h"

namespace infengine {
namespace {

// What the library's opaque mspack_file stands for: an open platform file.
struct PlatformFile {
    platform::FileHandle handle;
};

PlatformFile* platformFile(mspack_file* file) { return reinterpret_cast<PlatformFile*>(file); }

platform::FileSystem& files() { return *platform::machine().files; }

mspack_file* openFile(mspack_system* self, const char* name, int mode) noexcept {
    std::uint32_t access = GENERIC_READ;
    std::uint32_t share = FILE_SHARE_READ;
    std::uint32_t disposition = OPEN_EXISTING;
    std::uint32_t flags = FILE_FLAG_SEQUENTIAL_SCAN;
    switch (mode) {
        case MSPACK_SYS_OPEN_READ:
            break;
        case MSPACK_SYS_OPEN_WRITE:
            access = GENERIC_WRITE;
            share = 0;
            disposition = CREATE_ALWAYS;
            flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN;
            break;
        case MSPACK_SYS_OPEN_UPDATE:
        case MSPACK_SYS_OPEN_APPEND:
            access = GENERIC_READ | GENERIC_WRITE;
            share = 0;
            flags = 0;
            break;
        default:
            return nullptr;
    }
    platform::FileHandle handle = platform::kInvalidFileHandle;
    if (name == nullptr ||
        files().CreateFile(name, access, share, disposition, flags, &handle) != ERROR_SUCCESS) {
        return nullptr;
    }
    if (mode != MSPACK_SYS_OPEN_READ) reinterpret_cast<CabinetSystem*>(self)->outputOpened = true;
    if (mode == MSPACK_SYS_OPEN_APPEND &&
        files().SetFilePointer(handle, 0, nullptr, FILE_END, nullptr) != ERROR_SUCCESS) {
        files().CloseHandle(handle);
        return nullptr;
    }
    PlatformFile* file = static_cast<PlatformFile*>(std::malloc(sizeof(PlatformFile)));
    if (file == nullptr) {
        files().CloseHandle(handle);
        return nullptr;
    }
    file->handle = handle;
    return reinterpret_cast<mspack_file*>(file);
}

void closeFile(mspack_file* file) noexcept {
    if (file == nullptr) return;
    files().CloseHandle(platformFile(file)->handle);
    std::free(file);
}

int readFile(mspack_file* file, void* buffer, int bytes) noexcept {
    if (file == nullptr || bytes < 0) return -1;
    std::uint32_t read = 0;
    if (files().ReadFile(platformFile(file)->handle, buffer, static_cast<std::uint32_t>(bytes), &read) !=
        ERROR_SUCCESS) {
        return -1;
    }
    return static_cast<int>(read);
}

int writeFile(mspack_file* file, void* buffer, int bytes) noexcept {
    if (file == nullptr || bytes < 0) return -1;
    std::uint32_t written = 0;
    if (files().WriteFile(platformFile(file)->handle, buffer, static_cast<std::uint32_t>(bytes), &written) !=
        ERROR_SUCCESS) {
        return -1;
    }
    return static_cast<int>(written);
}

int seekFile(mspack_file* file, off_t offset, int mode) noexcept {
    if (file == nullptr) return -1;
    std::uint32_t method = FILE_BEGIN;
    switch (mode) {
        case MSPACK_SYS_SEEK_START: method = FILE_BEGIN; break;
        case MSPACK_SYS_SEEK_CUR: method = FILE_CURRENT; break;
        case MSPACK_SYS_SEEK_END: method = FILE_END; break;
        default: return -1;
    }
    const std::int64_t distance = static_cast<std::int64_t>(offset);
    std::int32_t high = static_cast<std::int32_t>(distance >> 32);
    const std::int32_t low = static_cast<std::int32_t>(static_cast<std::uint32_t>(distance));
    return files().SetFilePointer(platformFile(file)->handle, low, &high, method, nullptr) == ERROR_SUCCESS
               ? 0
               : -1;
}

off_t tellFile(mspack_file* file) noexcept {
    if (file == nullptr) return -1;
    std::int32_t high = 0;
    std::uint32_t low = 0;
    if (files().SetFilePointer(platformFile(file)->handle, 0, &high, FILE_CURRENT, &low) != ERROR_SUCCESS) {
        return -1;
    }
    const std::int64_t position =
        (static_cast<std::int64_t>(static_cast<std::uint32_t>(high)) << 32) | low;
    // A position the library's off_t cannot hold is an error, not a wrapped number.
    if (static_cast<std::int64_t>(static_cast<off_t>(position)) != position) return -1;
    return static_cast<off_t>(position);
}

// The library's warnings about damaged cabinets are not for the user; a failed extraction
// speaks for itself.
void ignoreMessage(mspack_file*, const char*, ...) noexcept {}

void* allocate(mspack_system*, size_t bytes) noexcept { return std::malloc(bytes); }

void release(void* memory) noexcept { std::free(memory); }

void copyMemory(void* source, void* destination, size_t bytes) noexcept {
    std::memmove(destination, source, bytes);
}

}  // namespace

CabinetSystem makeCabinetSystem() {
    CabinetSystem system;
    system.base = {openFile,      closeFile, readFile, writeFile,  seekFile, tellFile,
                   ignoreMessage, allocate,  release,  copyMemory, nullptr};
    return system;
}

}  // namespace infengine

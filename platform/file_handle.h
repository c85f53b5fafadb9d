// Owners of open files and searches: move-only, closed through the installed machine when
// the owner goes, so no early return leaks a handle.
//
//     platform::ScopedFile file;
//     if (files.CreateFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0,
//                          file.receive()) != ERROR_SUCCESS) return false;
//
// receive() hands out the address to fill; the owner changes only when the call stores a
// handle there (outputs stay untouched on failure).
#pragma once

#include <cstdint>

#include "platform/files.h"
#include "platform/machine.h"

namespace platform {

template <std::uint32_t (FileSystem::*Close)(std::uintptr_t)>
class ScopedFileSystemHandle {
  public:
    ScopedFileSystemHandle() = default;
    explicit ScopedFileSystemHandle(std::uintptr_t handle) : handle_(handle) {}
    ~ScopedFileSystemHandle() { close(); }

    ScopedFileSystemHandle(const ScopedFileSystemHandle&) = delete;
    ScopedFileSystemHandle& operator=(const ScopedFileSystemHandle&) = delete;
    ScopedFileSystemHandle(ScopedFileSystemHandle&& other) noexcept : handle_(other.take()) {}
    ScopedFileSystemHandle& operator=(ScopedFileSystemHandle&& other) noexcept {
        if (this != &other) reset(other.take());
        return *this;
    }

    std::uintptr_t get() const { return handle_; }
    bool valid() const { return handle_ != kInvalidFileHandle; }

    // Closes what is held, then returns the slot for an operation to fill.
    std::uintptr_t* receive() {
        close();
        return &handle_;
    }

    // Gives up ownership without closing.
    [[nodiscard]] std::uintptr_t take() {
        std::uintptr_t handle = handle_;
        handle_ = kInvalidFileHandle;
        return handle;
    }

    void reset(std::uintptr_t handle = kInvalidFileHandle) {
        close();
        handle_ = handle;
    }

    // Closes now; the result of the close (ERROR_SUCCESS when nothing was held).
    std::uint32_t close() {
        if (!valid()) return ERROR_SUCCESS;
        std::uintptr_t handle = take();
        if (!hasMachine() || machine().files == nullptr) return ERROR_INVALID_HANDLE;
        return (machine().files->*Close)(handle);
    }

  private:
    std::uintptr_t handle_ = kInvalidFileHandle;
};

// An open file from CreateFile.
using ScopedFile = ScopedFileSystemHandle<&FileSystem::CloseHandle>;
// A search from FindFirstFile.
using ScopedFind = ScopedFileSystemHandle<&FileSystem::FindClose>;

}  // namespace platform

// The real file system: the FileSystem interface over the kernel32 file functions and the
// version.dll ones.
//
// Each call is the Win32 function of the same name; a failure answers GetLastError(). The
// current drive changes through SetCurrentDirectoryA("X:"), as the C runtime's _chdrive does.
//
// <windows.h> comes first: its macros rename CreateFile to CreateFileA in the interface and
// here alike.
#pragma once

#include <windows.h>

#include "platform/files.h"

namespace platform::win32 {

class Win32FileSystem : public FileSystem {
  public:
    std::uint32_t CreateFile(const char* path, std::uint32_t access, std::uint32_t share,
                             std::uint32_t disposition, std::uint32_t flagsAndAttributes,
                             FileHandle* result) override;
    std::uint32_t ReadFile(FileHandle file, void* buffer, std::uint32_t toRead,
                           std::uint32_t* read) override;
    std::uint32_t WriteFile(FileHandle file, const void* buffer, std::uint32_t toWrite,
                            std::uint32_t* written) override;
    std::uint32_t SetFilePointer(FileHandle file, std::int32_t distance, std::int32_t* distanceHigh,
                                 std::uint32_t method, std::uint32_t* newPosition) override;
    std::uint32_t SetEndOfFile(FileHandle file) override;
    std::uint32_t GetFileSize(FileHandle file, std::uint32_t* sizeLow,
                              std::uint32_t* sizeHigh) override;
    std::uint32_t FlushFileBuffers(FileHandle file) override;
    std::uint32_t CloseHandle(FileHandle file) override;
    std::uint32_t GetFileTime(FileHandle file, FileTime* creation, FileTime* lastAccess,
                              FileTime* lastWrite) override;
    std::uint32_t SetFileTime(FileHandle file, const FileTime* creation, const FileTime* lastAccess,
                              const FileTime* lastWrite) override;
    std::uint32_t DeleteFile(const char* path) override;
    std::uint32_t MoveFile(const char* from, const char* to) override;
    std::uint32_t MoveFileEx(const char* from, const char* to, std::uint32_t flags) override;
    std::uint32_t CopyFile(const char* from, const char* to, bool failIfExists) override;
    std::uint32_t GetFileAttributes(const char* path, std::uint32_t* attributes) override;
    std::uint32_t SetFileAttributes(const char* path, std::uint32_t attributes) override;
    std::uint32_t CreateDirectory(const char* path) override;
    std::uint32_t RemoveDirectory(const char* path) override;
    std::uint32_t FindFirstFile(const char* pattern, FindData* data, FindHandle* result) override;
    std::uint32_t FindNextFile(FindHandle search, FindData* data) override;
    std::uint32_t FindClose(FindHandle search) override;
    std::uint32_t GetCurrentDirectory(std::string* directory) override;
    std::uint32_t SetCurrentDirectory(const char* path) override;
    std::uint32_t SetCurrentDrive(char letter) override;
    char GetCurrentDrive() override;
    std::uint32_t GetDriveType(const char* root) override;
    std::uint32_t GetFullPathName(const char* path, std::string* fullPath,
                                  std::size_t* filePart) override;
    std::uint32_t GetTempFileName(const char* directory, const char* prefix, std::uint32_t unique,
                                  std::string* path, std::uint32_t* number) override;
    std::uint32_t GetFileVersionInfoSize(const char* path, std::uint32_t* size) override;
    std::uint32_t GetFileVersionInfo(const char* path, std::uint32_t size, void* block) override;
    std::uint32_t VerQueryValue(void* block, const char* subBlock, void** value,
                                std::uint32_t* length) override;
    std::uint32_t GetDiskFreeSpace(const char* root, std::uint32_t* sectorsPerCluster,
                                   std::uint32_t* bytesPerSector, std::uint32_t* freeClusters,
                                   std::uint32_t* totalClusters) override;
};

}  // namespace platform::win32

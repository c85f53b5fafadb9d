// The disks of the simulated Windows 98 machine: Windows paths mapped onto a folder of the
// Linux host, behind the FileSystem interface, with the rules of the real file functions.
//
// Drives. Drive X is the host folder <root>/x (lower-case letter): C:\WINDOWS\SYSTEM is
// <root>/c/WINDOWS/SYSTEM. A drive exists only while its folder exists, and is DRIVE_FIXED
// unless setDriveType says otherwise; a removable or CD-ROM drive declared without a folder
// is a drive without a medium (ERROR_NOT_READY).
//
// Names. The existing entry is found without regard to case (code page 1252 letters
// included); a new entry keeps the case given. Names are Windows-1252 in the interface and
// UTF-8 on the host ("Startmen\xFC" is the host folder "Startmenü"). Where the host holds
// names that differ only in case, the first in byte order is the one Windows sees. Host
// entries whose names Windows could not hold (with '\\', ':', '*', ...) are invisible. Every
// entry also answers to its 8.3 name, given out as Windows 95/98 do (host_names.h): at
// creation, and in name order for entries found on the disk.
//
// Path rules and their errors are those of host_paths.h. Where Windows 98 and NT answer
// differently and Windows 98's answer is not documented, NT's is given.
//
// Attributes, creation times and 8.3 names live in tables of this object (the host keeps
// content, sizes and the last-write and last-access times). A file not in the table has
// FILE_ATTRIBUTE_ARCHIVE, a folder FILE_ATTRIBUTE_DIRECTORY. Read-only is enforced: write
// access, truncation, deletion and replacement are refused with ERROR_ACCESS_DENIED.
//
// Open handles. Share modes are enforced among the handles of this object with the Win32
// rules (a new handle must allow what the open ones do, and they must allow what it asks);
// handles without read or write access never conflict. An open file cannot be deleted,
// moved or replaced (ERROR_SHARING_VIOLATION). openHandleCount() lets a teardown find leaks.
//
// Current directory. One current drive (C at start) and one current directory per drive
// (the root at start), kept with the case the disk has. A folder that is the current
// directory of a drive cannot be removed (Windows 95/98: of any drive, ERROR_CURRENT_DIRECTORY;
// NT: of the current drive, ERROR_SHARING_VIOLATION).
//
// Version resources are read from the PE files on the disk (pe_version_reader.h); the block
// that GetFileVersionInfo fills is the resource followed by room of the same size, where
// VerQueryValue puts the ANSI form of the texts it hands out.
//
// Not thread-safe: the product runs on one thread.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/host/host_paths.h"

namespace platform::host {

// The operations a fault can be attached to.
enum class FileOperation {
    Any,
    CreateFile,
    ReadFile,
    WriteFile,
    SetFilePointer,
    SetEndOfFile,
    GetFileSize,
    FlushFileBuffers,
    CloseHandle,
    GetFileTime,
    SetFileTime,
    DeleteFile,
    MoveFile,  // MoveFile and MoveFileEx
    CopyFile,
    GetFileAttributes,
    SetFileAttributes,
    CreateDirectory,
    RemoveDirectory,
    FindFirstFile,
    FindNextFile,
    SetCurrentDirectory,  // and SetCurrentDrive
    GetTempFileName,
    GetFileVersionInfo,  // GetFileVersionInfoSize and GetFileVersionInfo
    GetDiskFreeSpace,
};

// A planned failure. Calls of `operation` whose path contains `pathContains` (case ignored;
// empty matches every call) are counted from 1; the call numbered `nth` and the `count` - 1
// matching calls after it (count 0: every one after it) fail with `error` before they change
// anything: a failed WriteFile has written nothing, a failed CopyFile has left the target as
// it was. A failed CloseHandle still closes the handle, as the real one does.
//
// The path of a call is the absolute Windows path as given (GetFullPathName form, e.g.
// "C:\WINDOWS\SYSTEM\tunara.inf"); for a handle, the path it was opened with; for MoveFile
// and CopyFile, the source or the target; for SetCurrentDrive and GetDiskFreeSpace, the
// drive's root ("D:\").
struct FileFault {
    FileOperation operation = FileOperation::Any;
    std::string pathContains;
    std::uint32_t nth = 1;
    std::uint32_t count = 1;
    std::uint32_t error = 0;
};

// A MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT (NT semantics), waiting for the next start.
struct PendingMove {
    std::string from;  // absolute Windows paths
    std::string to;    // empty: delete `from`
    bool replace = false;
};

class HostFileSystem : public FileSystem {
  public:
    // `root` is the host folder that holds one sub folder per drive; it must exist.
    explicit HostFileSystem(std::string root);
    ~HostFileSystem() override;
    HostFileSystem(const HostFileSystem&) = delete;
    HostFileSystem& operator=(const HostFileSystem&) = delete;

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

    // The host folder given at construction.
    const std::string& root() const { return root_; }

    // Windows NT rules instead of Windows 95/98 ones: MoveFileEx works, FILE_SHARE_DELETE is
    // accepted, only the current drive's directory is protected from removal. Off by default.
    void setNtSemantics(bool nt);
    bool ntSemantics() const;

    // Declares drive `letter` of `type` (DRIVE_REMOVABLE, DRIVE_CDROM, DRIVE_REMOTE,
    // DRIVE_RAMDISK, DRIVE_FIXED). Without its folder such a drive has no medium.
    void setDriveType(char letter, std::uint32_t type);

    // What GetDiskFreeSpace reports for `letter` instead of the host's own figures.
    void setDiskSpace(char letter, std::uint64_t freeBytes, std::uint64_t totalBytes);

    // The host path an existing Windows path leads to (for a test or a machine description
    // that puts fixture files in place); false when it does not resolve.
    bool hostPathOf(const char* windowsPath, std::string* hostPath);

    // Open file handles and searches not yet closed, and their Windows paths for a message.
    std::size_t openHandleCount() const;
    std::vector<std::string> openHandlePaths() const;

    // Adds a planned failure; faults are checked in the order added, the first that fires
    // wins.
    void addFault(const FileFault& fault);
    void clearFaults();
    std::uint32_t faultsFired() const;

    // Moves and deletions waiting for the next start (MoveFileEx with
    // MOVEFILE_DELAY_UNTIL_REBOOT on NT), in order.
    const std::vector<PendingMove>& pendingMoves() const;
    // Carries them out as Windows does at start, ignoring each one that fails, and forgets
    // them.
    void restart();

  private:
    // A visible entry of a host folder.
    struct Entry {
        std::string hostName;  // as on the host (UTF-8)
        std::string name;      // as Windows sees it (1252)
        bool directory = false;
    };
    // Where a Windows path leads.
    struct Resolved {
        WindowsPath path;        // with the names as the disk has them where they exist
        std::string hostFolder;  // the folder that holds (or would hold) the entry
        std::string hostPath;    // the entry, existing or not
        bool exists = false;
        bool directory = false;
        bool isRoot = false;
    };
    struct OpenFile {
        int fd = -1;
        std::string hostPath;
        std::string path;  // absolute Windows path it was opened with
        bool read = false;
        bool write = false;
        std::uint32_t share = 0;
        std::uint64_t position = 0;
        bool deleteOnClose = false;
    };
    struct Search {
        std::string path;
        std::vector<FindData> entries;
        std::size_t next = 0;
    };

    // host_files.cpp: paths, names, tables, faults, sharing.
    std::uint32_t absolute(const char* path, bool wildcards, WindowsPath* result) const;
    std::string faultPath(const char* path) const;
    std::uint32_t driveFolder(char drive, std::string* folder) const;
    std::uint32_t resolve(const WindowsPath& path, Resolved* result);
    std::uint32_t resolvePath(const char* path, Resolved* result);
    std::vector<Entry> listFolder(const std::string& hostFolder) const;
    // The 8.3 names of a folder's entries (host name -> 8.3), given out where missing.
    const std::map<std::string, std::string>& shortNamesOf(const std::string& hostFolder,
                                                           const std::vector<Entry>& entries);
    void forgetEntry(const std::string& hostPath);
    void moveTables(const std::string& fromHost, const std::string& toHost);
    std::uint32_t attributesOf(const std::string& hostPath, bool directory) const;
    std::uint32_t checkFault(FileOperation operation, const std::string& path,
                             const std::string& otherPath = std::string());
    bool isOpen(const std::string& hostPath, bool orBelow) const;
    bool isCurrentDirectory(const std::string& hostPath, bool orAbove);
    bool shareConflict(const std::string& hostPath, bool read, bool write,
                       std::uint32_t share) const;
    OpenFile* openFile(FileHandle handle);
    FileHandle issueHandle();

    // host_files_tree.cpp
    std::uint32_t moveEntry(const char* from, const char* to, std::uint32_t flags);
    void fillFindData(const std::string& hostPath, const std::string& name,
                      const std::string& shortName, FindData* data) const;

    // host_files_version.cpp
    std::uint32_t readVersionResource(const char* path, std::vector<std::uint8_t>* resource);

    std::string root_;
    bool nt_ = false;
    PathContext context_;
    std::uint32_t driveTypes_[26] = {};
    std::map<char, std::pair<std::uint64_t, std::uint64_t>> diskSpace_;

    std::map<std::string, std::uint32_t> attributes_;  // host path -> attributes
    std::map<std::string, FileTime> creationTimes_;    // host path -> time
    std::map<std::string, std::map<std::string, std::string>> shortNames_;  // folder -> name -> 8.3

    std::map<FileHandle, OpenFile> files_;
    std::map<FindHandle, Search> searches_;
    std::uintptr_t nextHandle_ = 0x1000;
    std::uint32_t nextTempNumber_ = 1;

    std::vector<FileFault> faults_;
    std::vector<std::uint32_t> faultMatches_;
    std::uint32_t faultsFired_ = 0;
    std::vector<PendingMove> pending_;
};

}  // namespace platform::host

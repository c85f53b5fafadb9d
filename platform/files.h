// Files, folders, drives and version resources, as the Win32 file functions offer them.
//
// Every operation returns the Win32 error code the real call leaves in GetLastError
// (ERROR_SUCCESS on success) and leaves its outputs untouched on failure unless said
// otherwise. Paths are 8-bit ANSI (Windows-1252), compared without regard to case, with '\\'
// or '/' as separator; relative paths are taken against the current directory of their
// drive. Handles are opaque; kInvalidFileHandle is never a valid one.
//
// Path outputs are std::string rather than caller buffers: code that hands a path across a
// library boundary copies it into its own 260-byte buffer with its own truncation rule.
//
// Where <windows.h> is included, its macros turn CreateFile into CreateFileA and so on. The
// rename is applied to declaration and call alike, so the methods keep their places in the
// table of virtual functions and callers with and without <windows.h> reach the same code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/win32_constants.h"

namespace platform {

// An open file, or the search of FindFirstFile. kInvalidFileHandle is INVALID_HANDLE_VALUE.
using FileHandle = std::uintptr_t;
using FindHandle = std::uintptr_t;
constexpr std::uintptr_t kInvalidFileHandle = ~static_cast<std::uintptr_t>(0);

// A FILETIME as one number: 100-nanosecond units since 1 January 1601, UTC.
using FileTime = std::uint64_t;

// WIN32_FIND_DATAA. `alternateFileName` is the 8.3 name, empty when the long name is
// already a valid upper-case 8.3 name.
struct FindData {
    std::uint32_t attributes = 0;
    FileTime creationTime = 0;
    FileTime lastAccessTime = 0;
    FileTime lastWriteTime = 0;
    std::uint64_t fileSize = 0;
    char fileName[260] = {};
    char alternateFileName[14] = {};
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // CreateFileA without security attributes or template. `access`: GENERIC_READ,
    // GENERIC_WRITE (or 0 to query only); `share`: FILE_SHARE_READ | FILE_SHARE_WRITE;
    // `disposition`: CREATE_NEW ... TRUNCATE_EXISTING; `flagsAndAttributes`:
    // FILE_ATTRIBUTE_* for a new file and FILE_FLAG_* (FILE_FLAG_DELETE_ON_CLOSE honoured).
    // ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND when the file or its folder is missing,
    // ERROR_FILE_EXISTS for CREATE_NEW on an existing file, ERROR_SHARING_VIOLATION when an
    // open handle's access or share mode conflicts, ERROR_ACCESS_DENIED for write access or
    // truncation of a read-only file and for any folder, ERROR_INVALID_NAME for a malformed
    // path, ERROR_INVALID_PARAMETER for an unknown disposition. Never creates a folder.
    virtual std::uint32_t CreateFile(const char* path, std::uint32_t access, std::uint32_t share,
                                     std::uint32_t disposition, std::uint32_t flagsAndAttributes,
                                     FileHandle* result) = 0;

    // ReadFile, synchronous, at the file pointer. `*read` (may be null) receives the count;
    // 0 at the end of the file with ERROR_SUCCESS. ERROR_ACCESS_DENIED without read access,
    // ERROR_INVALID_HANDLE for a handle that is not open. On failure *read is 0 and the file
    // pointer has not moved.
    virtual std::uint32_t ReadFile(FileHandle file, void* buffer, std::uint32_t toRead,
                                   std::uint32_t* read) = 0;

    // WriteFile, synchronous, at the file pointer; extends the file as needed. On failure
    // nothing has been written, *written (may be null) is 0 and the pointer has not moved.
    // ERROR_ACCESS_DENIED without write access, ERROR_DISK_FULL, ERROR_INVALID_HANDLE.
    virtual std::uint32_t WriteFile(FileHandle file, const void* buffer, std::uint32_t toWrite,
                                    std::uint32_t* written) = 0;

    // SetFilePointer. The distance is the signed 32-bit `distance`, or the signed 64-bit
    // value with `*distanceHigh` as its high part when distanceHigh is not null; `method` is
    // FILE_BEGIN, FILE_CURRENT or FILE_END. The new position's low part goes to
    // *newPosition (may be null) and its high part to *distanceHigh. Moving past the end is
    // allowed. ERROR_NEGATIVE_SEEK before the start, ERROR_INVALID_PARAMETER for an unknown
    // method or a position beyond 4 GB - 2 without distanceHigh.
    virtual std::uint32_t SetFilePointer(FileHandle file, std::int32_t distance,
                                         std::int32_t* distanceHigh, std::uint32_t method,
                                         std::uint32_t* newPosition) = 0;

    // SetEndOfFile: the file ends at the file pointer (shortened or extended with zeros).
    // ERROR_ACCESS_DENIED without write access.
    virtual std::uint32_t SetEndOfFile(FileHandle file) = 0;

    // GetFileSize. `sizeHigh` may be null.
    virtual std::uint32_t GetFileSize(FileHandle file, std::uint32_t* sizeLow,
                                      std::uint32_t* sizeHigh) = 0;

    // FlushFileBuffers. ERROR_ACCESS_DENIED without write access.
    virtual std::uint32_t FlushFileBuffers(FileHandle file) = 0;

    // CloseHandle for file handles. ERROR_INVALID_HANDLE for a handle that is not open (a
    // second close included). A file opened with FILE_FLAG_DELETE_ON_CLOSE goes now.
    virtual std::uint32_t CloseHandle(FileHandle file) = 0;

    // GetFileTime: each output may be null.
    virtual std::uint32_t GetFileTime(FileHandle file, FileTime* creation, FileTime* lastAccess,
                                      FileTime* lastWrite) = 0;

    // SetFileTime: a null time is left as it is. ERROR_ACCESS_DENIED without write access.
    virtual std::uint32_t SetFileTime(FileHandle file, const FileTime* creation,
                                      const FileTime* lastAccess, const FileTime* lastWrite) = 0;

    // DeleteFileA. ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED for a read-only file or a
    // folder, ERROR_SHARING_VIOLATION while the file is open.
    virtual std::uint32_t DeleteFile(const char* path) = 0;

    // MoveFileA: renames a file or folder (a change of case only is a rename too), across
    // drives for files. ERROR_ALREADY_EXISTS when the target exists, ERROR_FILE_NOT_FOUND /
    // ERROR_PATH_NOT_FOUND, ERROR_SHARING_VIOLATION while the source is open (for a folder:
    // a file in it, or it holds a current directory), ERROR_NOT_SAME_DEVICE for a folder
    // moved to another drive, ERROR_ACCESS_DENIED for a folder moved into itself.
    virtual std::uint32_t MoveFile(const char* from, const char* to) = 0;

    // MoveFileExA. On the Windows 95/98 family it does nothing and answers
    // ERROR_CALL_NOT_IMPLEMENTED whatever the flags, as the real one does; callers then fall
    // back to WinInit.ini themselves. On NT: MOVEFILE_REPLACE_EXISTING replaces an existing
    // file (ERROR_ACCESS_DENIED when it is read-only or a folder), MOVEFILE_COPY_ALLOWED
    // permits a file move to another drive (ERROR_NOT_SAME_DEVICE otherwise), and
    // MOVEFILE_DELAY_UNTIL_REBOOT records the move (a null `to` records a deletion) for the
    // next start and touches nothing now.
    virtual std::uint32_t MoveFileEx(const char* from, const char* to, std::uint32_t flags) = 0;

    // CopyFileA: copies content, attributes and last-write time. ERROR_FILE_EXISTS when
    // failIfExists and the target exists, ERROR_ACCESS_DENIED for a read-only target or a
    // folder, ERROR_SHARING_VIOLATION when the source is open for writing or the target is
    // open at all. A failed copy leaves an existing target as it was.
    virtual std::uint32_t CopyFile(const char* from, const char* to, bool failIfExists) = 0;

    // GetFileAttributesA. FILE_ATTRIBUTE_NORMAL alone when a file has no other attribute.
    // ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND when a folder on the way is missing.
    virtual std::uint32_t GetFileAttributes(const char* path, std::uint32_t* attributes) = 0;

    // SetFileAttributesA: read-only, hidden, system, archive and temporary are kept (the
    // folder bit cannot be changed; FILE_ATTRIBUTE_NORMAL means none).
    virtual std::uint32_t SetFileAttributes(const char* path, std::uint32_t attributes) = 0;

    // CreateDirectoryA, one level, no security attributes. ERROR_ALREADY_EXISTS when the name
    // is taken (by a file too), ERROR_PATH_NOT_FOUND when the parent is missing,
    // ERROR_FILENAME_EXCED_RANGE when the full path is longer than 247 characters.
    virtual std::uint32_t CreateDirectory(const char* path) = 0;

    // RemoveDirectoryA. ERROR_DIR_NOT_EMPTY, ERROR_DIRECTORY for a file, ERROR_FILE_NOT_FOUND,
    // ERROR_ACCESS_DENIED for a drive's root or a read-only folder. A current directory
    // cannot go: ERROR_CURRENT_DIRECTORY on Windows 95/98 (any drive's), ERROR_SHARING_VIOLATION
    // on NT (the current drive's).
    virtual std::uint32_t RemoveDirectory(const char* path) = 0;

    // FindFirstFileA. The last component of `pattern` may hold the wildcards '*' and '?';
    // a name matches when its long or its 8.3 name matches. Folders other than a drive's
    // root list "." and ".." first. ERROR_FILE_NOT_FOUND when nothing matches,
    // ERROR_PATH_NOT_FOUND when the folder is missing, ERROR_INVALID_NAME for wildcards
    // before the last component.
    virtual std::uint32_t FindFirstFile(const char* pattern, FindData* data,
                                        FindHandle* result) = 0;

    // FindNextFileA. ERROR_NO_MORE_FILES after the last entry, ERROR_INVALID_HANDLE.
    virtual std::uint32_t FindNextFile(FindHandle search, FindData* data) = 0;

    // FindClose. ERROR_INVALID_HANDLE for a search that is not open.
    virtual std::uint32_t FindClose(FindHandle search) = 0;

    // GetCurrentDirectoryA: the current directory of the current drive, "C:\\" or
    // "C:\\WINDOWS" (no trailing separator except at a root).
    virtual std::uint32_t GetCurrentDirectory(std::string* directory) = 0;

    // SetCurrentDirectoryA. A path on another drive makes that drive current as well; "D:"
    // alone makes D current with the directory it last had. ERROR_PATH_NOT_FOUND /
    // ERROR_FILE_NOT_FOUND when the folder is missing, ERROR_DIRECTORY for a file,
    // ERROR_NOT_READY for a drive without a medium.
    virtual std::uint32_t SetCurrentDirectory(const char* path) = 0;

    // Changes the current drive, as the C runtime's _chdrive does (through
    // SetCurrentDirectoryA("X:")): `letter` 'A'..'Z' in either case; the drive keeps its own
    // current directory. The drive stays current after the call. ERROR_INVALID_DRIVE for a
    // letter that is not a drive, ERROR_NOT_READY for a removable drive without a medium,
    // ERROR_PATH_NOT_FOUND when the drive's directory has gone (possible on NT only).
    virtual std::uint32_t SetCurrentDrive(char letter) = 0;

    // The current drive as an upper-case letter, as _getdrive reports it ('A' + n - 1), or
    // 0 when the current directory is not on a drive letter.
    virtual char GetCurrentDrive() = 0;

    // GetDriveTypeA. `root` is "C:\\" (or null for the current drive); returns DRIVE_FIXED,
    // DRIVE_REMOVABLE, DRIVE_CDROM, ..., DRIVE_NO_ROOT_DIR for a letter that is no drive or
    // a path that is not a root.
    virtual std::uint32_t GetDriveType(const char* root) = 0;

    // GetFullPathNameA: the absolute form of `path` ("." and ".." resolved, separators made
    // '\\', the case kept as given); nothing needs to exist. `filePart` (may be null) receives
    // the offset of the last component in *fullPath, or fullPath->size() when the path ends
    // with a separator. ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE.
    virtual std::uint32_t GetFullPathName(const char* path, std::string* fullPath,
                                          std::size_t* filePart) = 0;

    // GetTempFileNameA: `directory` + "\\" + up to three characters of `prefix` + the number
    // in upper-case hexadecimal + ".TMP". With unique 0 a free number is chosen and the
    // empty file is created; otherwise the name is made from `unique` (low 16 bits) and
    // nothing is created. *number (may be null) receives the number used.
    // ERROR_PATH_NOT_FOUND when the folder is missing, ERROR_DIRECTORY when it is a file,
    // ERROR_FILE_EXISTS when every number is taken.
    virtual std::uint32_t GetTempFileName(const char* directory, const char* prefix,
                                          std::uint32_t unique, std::string* path,
                                          std::uint32_t* number) = 0;

    // GetFileVersionInfoSizeA: the size of the buffer that GetFileVersionInfo needs.
    // ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND, ERROR_BAD_EXE_FORMAT for a file that is
    // not a 32-bit executable or library, ERROR_RESOURCE_TYPE_NOT_FOUND without a version
    // resource, ERROR_RESOURCE_DATA_NOT_FOUND for a damaged one.
    virtual std::uint32_t GetFileVersionInfoSize(const char* path, std::uint32_t* size) = 0;

    // GetFileVersionInfoA: fills `block` (of `size` bytes) with the file's version block,
    // which only VerQueryValue reads. Callers pass the size GetFileVersionInfoSize gave: with
    // a smaller one the real VerQueryValue may read past the buffer (the simulated machine
    // shortens the block instead). Errors as GetFileVersionInfoSize.
    virtual std::uint32_t GetFileVersionInfo(const char* path, std::uint32_t size, void* block) = 0;

    // VerQueryValueA on a block from GetFileVersionInfo. "\\" gives the fixed file info
    // (52 bytes), "\\VarFileInfo\\Translation" the language and code-page pairs (bytes),
    // "\\StringFileInfo\\040904E4\\CompanyName" an ANSI text (*length in characters with the
    // zero). *value points into `block` (which VerQueryValue may write into, as the real one
    // does). Keys are compared without regard to case. ERROR_RESOURCE_TYPE_NOT_FOUND when
    // the entry does not exist.
    virtual std::uint32_t VerQueryValue(void* block, const char* subBlock, void** value,
                                        std::uint32_t* length) = 0;

    // GetDiskFreeSpaceA for `root` ("C:\\" or null for the current drive). Sizes are capped
    // at 2 GB as Windows 95/98 report them. Any output may be null.
    virtual std::uint32_t GetDiskFreeSpace(const char* root, std::uint32_t* sectorsPerCluster,
                                           std::uint32_t* bytesPerSector,
                                           std::uint32_t* freeClusters,
                                           std::uint32_t* totalClusters) = 0;
};

}  // namespace platform

// HostFileSystem: opening files and the operations on open handles.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/host/host_file_times.h"
#include "platform/host/host_files.h"

namespace platform::host {
namespace {

constexpr std::uint32_t kReadAccess = GENERIC_READ | GENERIC_EXECUTE | GENERIC_ALL | FILE_READ_DATA;
constexpr std::uint32_t kWriteAccess =
    GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA;
constexpr std::uint32_t kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                          FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                          FILE_ATTRIBUTE_TEMPORARY;

bool fileSize(int fd, std::uint64_t* size) {
    struct stat info;
    if (::fstat(fd, &info) != 0) return false;
    *size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

}  // namespace

std::uint32_t HostFileSystem::CreateFile(const char* path, std::uint32_t access,
                                         std::uint32_t share, std::uint32_t disposition,
                                         std::uint32_t flagsAndAttributes, FileHandle* result) try {
    if (path == nullptr || result == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::CreateFile, faultPath(path));
    if (rc != ERROR_SUCCESS) return rc;
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) {
        return ERROR_INVALID_PARAMETER;
    }
    std::uint32_t shareAllowed = FILE_SHARE_READ | FILE_SHARE_WRITE | (nt_ ? FILE_SHARE_DELETE : 0);
    if ((share & ~shareAllowed) != 0) return ERROR_INVALID_PARAMETER;

    WindowsPath full;
    rc = absolute(path, false, &full);
    if (rc != ERROR_SUCCESS) return rc;
    Resolved target;
    rc = resolve(full, &target);
    if (rc != ERROR_SUCCESS) return rc;
    if (target.exists && target.directory) return ERROR_ACCESS_DENIED;
    if (full.trailingSeparator) return ERROR_INVALID_NAME;

    bool read = (access & kReadAccess) != 0;
    bool write = (access & kWriteAccess) != 0;
    bool truncate = false;
    switch (disposition) {
        case CREATE_NEW:
            if (target.exists) return ERROR_FILE_EXISTS;
            break;
        case CREATE_ALWAYS:
            truncate = target.exists;
            break;
        case OPEN_EXISTING:
            if (!target.exists) return ERROR_FILE_NOT_FOUND;
            break;
        case OPEN_ALWAYS:
            break;
        case TRUNCATE_EXISTING:
            if (!target.exists) return ERROR_FILE_NOT_FOUND;
            if (!write) return ERROR_INVALID_PARAMETER;
            truncate = true;
            break;
    }
    if (target.exists) {
        bool readOnly = (attributesOf(target.hostPath, false) & FILE_ATTRIBUTE_READONLY) != 0;
        if (readOnly && (write || truncate)) return ERROR_ACCESS_DENIED;
        if (shareConflict(target.hostPath, read, write || truncate, share)) {
            return ERROR_SHARING_VIOLATION;
        }
    }

    int flags = O_CLOEXEC | ((write || truncate) ? O_RDWR : O_RDONLY);
    if (!target.exists) flags |= O_CREAT | O_EXCL;
    if (truncate) flags |= O_TRUNC;
    int fd = ::open(target.hostPath.c_str(), flags, 0666);
    if (fd < 0) return win32FromErrno(errno, ERROR_ACCESS_DENIED);

    try {
        if (!target.exists || truncate) {
            std::uint32_t attributes =
                (flagsAndAttributes & kKeptAttributes) | FILE_ATTRIBUTE_ARCHIVE;
            if (attributes == FILE_ATTRIBUTE_ARCHIVE) {
                attributes_.erase(target.hostPath);
            } else {
                attributes_[target.hostPath] = attributes;
            }
        }
        if (!target.exists) {
            creationTimes_[target.hostPath] = currentFileTime();
            shortNamesOf(target.hostFolder, listFolder(target.hostFolder));
        }
        OpenFile file;
        file.fd = fd;
        file.hostPath = target.hostPath;
        file.path = target.path.text();
        file.read = read;
        file.write = write;
        file.share = share;
        file.deleteOnClose = (flagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) != 0;
        FileHandle handle = issueHandle();
        files_.emplace(handle, std::move(file));
        *result = handle;
    } catch (...) {
        ::close(fd);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::ReadFile(FileHandle handle, void* buffer, std::uint32_t toRead,
                                       std::uint32_t* read) try {
    if (read != nullptr) *read = 0;
    OpenFile* file = openFile(handle);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    std::uint32_t rc = checkFault(FileOperation::ReadFile, file->path);
    if (rc != ERROR_SUCCESS) return rc;
    if (!file->read) return ERROR_ACCESS_DENIED;
    if (buffer == nullptr && toRead != 0) return ERROR_INVALID_PARAMETER;

    std::uint32_t done = 0;
    while (done < toRead) {
        ssize_t got = ::pread(file->fd, static_cast<char*>(buffer) + done, toRead - done,
                              static_cast<off_t>(file->position + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            return win32FromErrno(errno, ERROR_READ_FAULT);
        }
        if (got == 0) break;
        done += static_cast<std::uint32_t>(got);
    }
    file->position += done;
    if (read != nullptr) *read = done;
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::WriteFile(FileHandle handle, const void* buffer,
                                        std::uint32_t toWrite, std::uint32_t* written) try {
    if (written != nullptr) *written = 0;
    OpenFile* file = openFile(handle);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    std::uint32_t rc = checkFault(FileOperation::WriteFile, file->path);
    if (rc != ERROR_SUCCESS) return rc;
    if (!file->write) return ERROR_ACCESS_DENIED;
    if (buffer == nullptr && toWrite != 0) return ERROR_INVALID_PARAMETER;

    std::uint64_t oldSize = 0;
    if (!fileSize(file->fd, &oldSize)) return ERROR_WRITE_FAULT;
    std::uint32_t done = 0;
    while (done < toWrite) {
        ssize_t put = ::pwrite(file->fd, static_cast<const char*>(buffer) + done, toWrite - done,
                               static_cast<off_t>(file->position + done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            int error = put < 0 ? errno : ENOSPC;
            // Nothing of a failed write stays: the file keeps its old length.
            if (::ftruncate(file->fd, static_cast<off_t>(oldSize)) != 0) {
                return ERROR_WRITE_FAULT;
            }
            return win32FromErrno(error, ERROR_WRITE_FAULT);
        }
        done += static_cast<std::uint32_t>(put);
    }
    file->position += done;
    if (written != nullptr) *written = done;
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::SetFilePointer(FileHandle handle, std::int32_t distance,
                                             std::int32_t* distanceHigh, std::uint32_t method,
                                             std::uint32_t* newPosition) try {
    OpenFile* file = openFile(handle);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    std::uint32_t rc = checkFault(FileOperation::SetFilePointer, file->path);
    if (rc != ERROR_SUCCESS) return rc;

    std::int64_t move = distance;
    if (distanceHigh != nullptr) {
        move = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(*distanceHigh)) << 32) |
            static_cast<std::uint32_t>(distance));
    }
    std::int64_t base = 0;
    switch (method) {
        case FILE_BEGIN:
            base = 0;
            break;
        case FILE_CURRENT:
            base = static_cast<std::int64_t>(file->position);
            break;
        case FILE_END: {
            std::uint64_t size = 0;
            if (!fileSize(file->fd, &size)) return ERROR_GEN_FAILURE;
            base = static_cast<std::int64_t>(size);
            break;
        }
        default:
            return ERROR_INVALID_PARAMETER;
    }
    // Positions stay far below 2^63, so the sum cannot overflow unless `move` is extreme.
    if ((move > 0 && base > INT64_MAX - move) || base + move < 0) return ERROR_NEGATIVE_SEEK;
    std::uint64_t position = static_cast<std::uint64_t>(base + move);
    if (distanceHigh == nullptr && position > 0xFFFFFFFEull) return ERROR_INVALID_PARAMETER;

    file->position = position;
    if (newPosition != nullptr) *newPosition = static_cast<std::uint32_t>(position);
    if (distanceHigh != nullptr) *distanceHigh = static_cast<std::int32_t>(position >> 32);
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::SetEndOfFile(FileHandle handle) try {
    OpenFile* file = openFile(handle);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    std::uint32_t rc = checkFault(FileOperation::SetEndOfFile, file->path);
    if (rc != ERROR_SUCCESS) return rc;
    if (!file->write) return ERROR_ACCESS_DENIED;
    if (::ftruncate(file->fd, static_cast<off_t>(file->position)) != 0) {
        return win32FromErrno(errno, ERROR_WRITE_FAULT);
    }
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::GetFileSize(FileHandle handle, std::uint32_t* sizeLow,
                                          std::uint32_t* sizeHigh) try {
    OpenFile* file = openFile(handle);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    std::uint32_t rc = checkFault(FileOperation::GetFileSize, file->path);
    if (rc != ERROR_SUCCESS) return rc;
    if (sizeLow == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint64_t size = 0;
    if (!fileSize(file->fd, &size)) return ERROR_GEN_FAILURE;
    *sizeLow = static_cast<std::uint32_t>(size);
    if (sizeHigh != nullptr) *sizeHigh = static_cast<std::uint32_t>(size >> 32);
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::FlushFileBuffers(FileHandle handle) try {
    OpenFile* file = openFile(handle);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    std::uint32_t rc = checkFault(FileOperation::FlushFileBuffers, file->path);
    if (rc != ERROR_SUCCESS) return rc;
    return file->write ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::CloseHandle(FileHandle handle) try {
    auto found = files_.find(handle);
    if (found == files_.end()) return ERROR_INVALID_HANDLE;
    std::uint32_t rc = checkFault(FileOperation::CloseHandle, found->second.path);
    OpenFile file = std::move(found->second);
    files_.erase(found);
    ::close(file.fd);
    if (file.deleteOnClose) {
        // The file goes with the last handle; until then another handle carries the flag.
        bool handedOn = false;
        for (auto& [other, open] : files_) {
            if (open.hostPath == file.hostPath) {
                open.deleteOnClose = true;
                handedOn = true;
                break;
            }
        }
        if (!handedOn && ::unlink(file.hostPath.c_str()) == 0) forgetEntry(file.hostPath);
    }
    return rc;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::GetFileTime(FileHandle handle, FileTime* creation,
                                          FileTime* lastAccess, FileTime* lastWrite) try {
    OpenFile* file = openFile(handle);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    std::uint32_t rc = checkFault(FileOperation::GetFileTime, file->path);
    if (rc != ERROR_SUCCESS) return rc;
    struct stat info;
    if (::fstat(file->fd, &info) != 0) return ERROR_GEN_FAILURE;
    FileTime written = fileTimeFromTimespec(info.st_mtim);
    if (creation != nullptr) {
        auto found = creationTimes_.find(file->hostPath);
        *creation = found != creationTimes_.end() ? found->second : written;
    }
    if (lastAccess != nullptr) *lastAccess = fileTimeFromTimespec(info.st_atim);
    if (lastWrite != nullptr) *lastWrite = written;
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::SetFileTime(FileHandle handle, const FileTime* creation,
                                          const FileTime* lastAccess,
                                          const FileTime* lastWrite) try {
    OpenFile* file = openFile(handle);
    if (file == nullptr) return ERROR_INVALID_HANDLE;
    std::uint32_t rc = checkFault(FileOperation::SetFileTime, file->path);
    if (rc != ERROR_SUCCESS) return rc;
    if (!file->write) return ERROR_ACCESS_DENIED;
    timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_nsec = UTIME_OMIT;
    if (lastAccess != nullptr) times[0] = timespecFromFileTime(*lastAccess);
    if (lastWrite != nullptr) times[1] = timespecFromFileTime(*lastWrite);
    if ((lastAccess != nullptr || lastWrite != nullptr) && ::futimens(file->fd, times) != 0) {
        return win32FromErrno(errno, ERROR_ACCESS_DENIED);
    }
    if (creation != nullptr) creationTimes_[file->hostPath] = *creation;
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

}  // namespace platform::host

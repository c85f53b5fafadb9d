// HostFileSystem: operations on entries (delete, move, copy, attributes, folders, searches,
// temporary names).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/codepage_1252.h"
#include "platform/host/host_file_times.h"
#include "platform/host/host_files.h"
#include "platform/host/host_names.h"

namespace platform::host {
namespace {

constexpr std::uint32_t kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                              FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                              FILE_ATTRIBUTE_TEMPORARY;
// CreateDirectory leaves room for an 8.3 name below the new folder.
constexpr std::size_t kMaxFolderPath = MAX_PATH - 12;

void copyName(const std::string& name, char* out, std::size_t size) {
    std::size_t length = name.size() < size - 1 ? name.size() : size - 1;
    std::memcpy(out, name.data(), length);
    out[length] = '\0';
}

// Copies the host file `from` over `to` through a host name no Windows program can see
// (':' is not allowed in Windows names), so `to` changes only when the copy is complete.
std::uint32_t copyHostFile(const std::string& from, const std::string& folder,
                           const std::string& to) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return win32FromErrno(errno, ERROR_ACCESS_DENIED);
    std::string staging = folder + "/copy:" + std::to_string(::getpid());
    int out = ::open(staging.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0) {
        int error = errno;
        ::close(in);
        return win32FromErrno(error, ERROR_ACCESS_DENIED);
    }
    std::uint32_t rc = ERROR_SUCCESS;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            rc = win32FromErrno(errno, ERROR_READ_FAULT);
            break;
        }
        if (got == 0) break;
        ssize_t done = 0;
        while (done < got) {
            ssize_t put = ::write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) {
                rc = win32FromErrno(put < 0 ? errno : ENOSPC, ERROR_WRITE_FAULT);
                break;
            }
            done += put;
        }
        if (rc != ERROR_SUCCESS) break;
    }
    struct stat info;
    if (rc == ERROR_SUCCESS && ::fstat(in, &info) == 0) {
        timespec times[2] = {info.st_atim, info.st_mtim};
        ::futimens(out, times);
    }
    ::close(in);
    if (::close(out) != 0 && rc == ERROR_SUCCESS) rc = win32FromErrno(errno, ERROR_WRITE_FAULT);
    if (rc == ERROR_SUCCESS && ::rename(staging.c_str(), to.c_str()) != 0) {
        rc = win32FromErrno(errno, ERROR_ACCESS_DENIED);
    }
    if (rc != ERROR_SUCCESS) ::unlink(staging.c_str());
    return rc;
}

}  // namespace

std::uint32_t HostFileSystem::DeleteFile(const char* path) try {
    if (path == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::DeleteFile, faultPath(path));
    if (rc != ERROR_SUCCESS) return rc;
    Resolved target;
    rc = resolvePath(path, &target);
    if (rc != ERROR_SUCCESS) return rc;
    if (!target.exists) return ERROR_FILE_NOT_FOUND;
    if (target.directory) return ERROR_ACCESS_DENIED;
    if (attributesOf(target.hostPath, false) & FILE_ATTRIBUTE_READONLY) return ERROR_ACCESS_DENIED;
    for (const auto& [handle, file] : files_) {
        if (file.hostPath == target.hostPath && (file.share & FILE_SHARE_DELETE) == 0) {
            return ERROR_SHARING_VIOLATION;
        }
    }
    if (::unlink(target.hostPath.c_str()) != 0) return win32FromErrno(errno, ERROR_ACCESS_DENIED);
    forgetEntry(target.hostPath);
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::MoveFile(const char* from, const char* to) try {
    if (from == nullptr || to == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::MoveFile, faultPath(from), faultPath(to));
    if (rc != ERROR_SUCCESS) return rc;
    return moveEntry(from, to, MOVEFILE_COPY_ALLOWED);
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::MoveFileEx(const char* from, const char* to,
                                         std::uint32_t flags) try {
    if (!nt_) return ERROR_CALL_NOT_IMPLEMENTED;
    if (from == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::MoveFile, faultPath(from),
                                  to == nullptr ? std::string() : faultPath(to));
    if (rc != ERROR_SUCCESS) return rc;
    if ((flags & MOVEFILE_DELAY_UNTIL_REBOOT) == 0) {
        if (to == nullptr) return ERROR_INVALID_PARAMETER;
        return moveEntry(from, to, flags);
    }
    if (flags & MOVEFILE_COPY_ALLOWED) return ERROR_INVALID_PARAMETER;
    WindowsPath source, target;
    rc = absolute(from, false, &source);
    if (rc != ERROR_SUCCESS) return rc;
    if (to != nullptr && to[0] != '\0') {
        rc = absolute(to, false, &target);
        if (rc != ERROR_SUCCESS) return rc;
    }
    PendingMove move;
    move.from = source.text();
    if (to != nullptr && to[0] != '\0') move.to = target.text();
    move.replace = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
    pending_.push_back(std::move(move));
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::moveEntry(const char* from, const char* to, std::uint32_t flags) {
    Resolved source, target;
    WindowsPath given;
    std::uint32_t rc = resolvePath(from, &source);
    if (rc != ERROR_SUCCESS) return rc;
    if (!source.exists) return ERROR_FILE_NOT_FOUND;
    if (source.isRoot) return ERROR_ACCESS_DENIED;
    rc = absolute(to, false, &given);
    if (rc == ERROR_SUCCESS) rc = resolve(given, &target);
    if (rc != ERROR_SUCCESS) return rc;
    if (target.isRoot) return ERROR_ACCESS_DENIED;

    bool sameEntry = target.exists && target.hostPath == source.hostPath;
    if (target.exists && !sameEntry) {
        if ((flags & MOVEFILE_REPLACE_EXISTING) == 0) return ERROR_ALREADY_EXISTS;
        if (target.directory || source.directory) return ERROR_ACCESS_DENIED;
        if (attributesOf(target.hostPath, false) & FILE_ATTRIBUTE_READONLY) {
            return ERROR_ACCESS_DENIED;
        }
        if (isOpen(target.hostPath, false)) return ERROR_SHARING_VIOLATION;
    }
    if (source.directory) {
        if (target.path.drive != source.path.drive) return ERROR_NOT_SAME_DEVICE;
        std::string into = target.hostFolder + "/";
        if (into.compare(0, source.hostPath.size() + 1, source.hostPath + "/") == 0) {
            return ERROR_ACCESS_DENIED;  // a folder into itself
        }
        if (isOpen(source.hostPath, true) || isCurrentDirectory(source.hostPath, true)) {
            return ERROR_SHARING_VIOLATION;
        }
    } else {
        if (target.path.drive != source.path.drive && (flags & MOVEFILE_COPY_ALLOWED) == 0) {
            return ERROR_NOT_SAME_DEVICE;
        }
        for (const auto& [handle, file] : files_) {
            if (file.hostPath == source.hostPath && (file.share & FILE_SHARE_DELETE) == 0) {
                return ERROR_SHARING_VIOLATION;
            }
        }
    }

    // The new name keeps the case given (renaming "abc" to "ABC" changes only the case).
    std::string newHost = target.exists && !sameEntry
                              ? target.hostPath
                              : target.hostFolder + "/" + utf8FromAnsi(given.names.back());
    if (newHost == source.hostPath) return ERROR_SUCCESS;
    if (::rename(source.hostPath.c_str(), newHost.c_str()) != 0) {
        return win32FromErrno(errno, ERROR_ACCESS_DENIED);
    }
    if (target.exists && !sameEntry) forgetEntry(target.hostPath);
    try {
        moveTables(source.hostPath, newHost);
        shortNamesOf(target.hostFolder, listFolder(target.hostFolder));
    } catch (...) {
        // The move is done; an 8.3 name is given out again on the next look.
    }
    return ERROR_SUCCESS;
}

std::uint32_t HostFileSystem::CopyFile(const char* from, const char* to, bool failIfExists) try {
    if (from == nullptr || to == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::CopyFile, faultPath(from), faultPath(to));
    if (rc != ERROR_SUCCESS) return rc;
    Resolved source, target;
    rc = resolvePath(from, &source);
    if (rc != ERROR_SUCCESS) return rc;
    if (!source.exists) return ERROR_FILE_NOT_FOUND;
    if (source.directory) return ERROR_ACCESS_DENIED;
    rc = resolvePath(to, &target);
    if (rc != ERROR_SUCCESS) return rc;
    if (target.exists) {
        if (failIfExists) return ERROR_FILE_EXISTS;
        if (target.directory) return ERROR_ACCESS_DENIED;
        if (attributesOf(target.hostPath, false) & FILE_ATTRIBUTE_READONLY) {
            return ERROR_ACCESS_DENIED;
        }
        if (target.hostPath == source.hostPath || isOpen(target.hostPath, false)) {
            return ERROR_SHARING_VIOLATION;
        }
    }
    if (shareConflict(source.hostPath, true, false, FILE_SHARE_READ)) {
        return ERROR_SHARING_VIOLATION;
    }

    std::uint32_t attributes = attributesOf(source.hostPath, false) | FILE_ATTRIBUTE_ARCHIVE;
    rc = copyHostFile(source.hostPath, target.hostFolder, target.hostPath);
    if (rc != ERROR_SUCCESS) return rc;
    try {
        if (attributes == FILE_ATTRIBUTE_ARCHIVE) {
            attributes_.erase(target.hostPath);
        } else {
            attributes_[target.hostPath] = attributes;
        }
        if (!target.exists) {
            creationTimes_[target.hostPath] = currentFileTime();
            shortNamesOf(target.hostFolder, listFolder(target.hostFolder));
        }
    } catch (...) {
        // The copy is in place; only its table entries are missing.
    }
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::GetFileAttributes(const char* path, std::uint32_t* attributes) try {
    if (path == nullptr || attributes == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::GetFileAttributes, faultPath(path));
    if (rc != ERROR_SUCCESS) return rc;
    Resolved target;
    rc = resolvePath(path, &target);
    if (rc != ERROR_SUCCESS) return rc;
    if (!target.exists) return ERROR_FILE_NOT_FOUND;
    std::uint32_t value = attributesOf(target.hostPath, target.directory);
    *attributes = value == 0 ? FILE_ATTRIBUTE_NORMAL : value;
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::SetFileAttributes(const char* path, std::uint32_t attributes) try {
    if (path == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::SetFileAttributes, faultPath(path));
    if (rc != ERROR_SUCCESS) return rc;
    Resolved target;
    rc = resolvePath(path, &target);
    if (rc != ERROR_SUCCESS) return rc;
    if (!target.exists) return ERROR_FILE_NOT_FOUND;
    if (target.isRoot) return ERROR_ACCESS_DENIED;
    attributes_[target.hostPath] = attributes & kSettableAttributes;
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::CreateDirectory(const char* path) try {
    if (path == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::CreateDirectory, faultPath(path));
    if (rc != ERROR_SUCCESS) return rc;
    WindowsPath full;
    rc = absolute(path, false, &full);
    if (rc != ERROR_SUCCESS) return rc;
    if (full.text().size() > kMaxFolderPath - 1) return ERROR_FILENAME_EXCED_RANGE;
    Resolved target;
    rc = resolve(full, &target);
    if (rc == ERROR_INVALID_NAME) return ERROR_ALREADY_EXISTS;  // "file.txt\\"
    if (rc != ERROR_SUCCESS) return rc;
    if (target.exists) return ERROR_ALREADY_EXISTS;
    if (::mkdir(target.hostPath.c_str(), 0777) != 0) {
        return win32FromErrno(errno, ERROR_ACCESS_DENIED);
    }
    try {
        creationTimes_[target.hostPath] = currentFileTime();
        shortNamesOf(target.hostFolder, listFolder(target.hostFolder));
    } catch (...) {
        // The folder exists; its creation time falls back to its last-write time.
    }
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::RemoveDirectory(const char* path) try {
    if (path == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::RemoveDirectory, faultPath(path));
    if (rc != ERROR_SUCCESS) return rc;
    Resolved target;
    rc = resolvePath(path, &target);
    if (rc != ERROR_SUCCESS) return rc;
    if (!target.exists) return ERROR_FILE_NOT_FOUND;
    if (!target.directory) return ERROR_DIRECTORY;
    if (target.isRoot) return ERROR_ACCESS_DENIED;
    if (attributesOf(target.hostPath, true) & FILE_ATTRIBUTE_READONLY) return ERROR_ACCESS_DENIED;
    if (isCurrentDirectory(target.hostPath, false)) {
        return nt_ ? ERROR_SHARING_VIOLATION : ERROR_CURRENT_DIRECTORY;
    }
    if (::rmdir(target.hostPath.c_str()) != 0) {
        return win32FromErrno(errno, ERROR_ACCESS_DENIED);
    }
    forgetEntry(target.hostPath);
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

void HostFileSystem::fillFindData(const std::string& hostPath, const std::string& name,
                                  const std::string& shortName, FindData* data) const {
    FindData out;
    struct stat info;
    bool directory = true;
    if (::stat(hostPath.c_str(), &info) == 0) {
        directory = S_ISDIR(info.st_mode);
        out.lastWriteTime = fileTimeFromTimespec(info.st_mtim);
        out.lastAccessTime = fileTimeFromTimespec(info.st_atim);
        out.fileSize = directory ? 0 : static_cast<std::uint64_t>(info.st_size);
    }
    auto created = creationTimes_.find(hostPath);
    out.creationTime = created != creationTimes_.end() ? created->second : out.lastWriteTime;
    std::uint32_t attributes = attributesOf(hostPath, directory);
    out.attributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    copyName(name, out.fileName, sizeof out.fileName);
    if (shortName != name) copyName(shortName, out.alternateFileName, sizeof out.alternateFileName);
    *data = out;
}

std::uint32_t HostFileSystem::FindFirstFile(const char* pattern, FindData* data,
                                            FindHandle* result) try {
    if (pattern == nullptr || data == nullptr || result == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::FindFirstFile, faultPath(pattern));
    if (rc != ERROR_SUCCESS) return rc;
    WindowsPath full;
    rc = absolute(pattern, true, &full);
    if (rc != ERROR_SUCCESS) return rc;
    if (full.names.empty() || full.trailingSeparator) return ERROR_FILE_NOT_FOUND;

    std::string wanted = full.names.back();
    WindowsPath folderPath = full;
    folderPath.names.pop_back();
    Resolved folder;
    rc = resolve(folderPath, &folder);
    if (rc != ERROR_SUCCESS) return rc;
    if (!folder.directory) return ERROR_PATH_NOT_FOUND;

    try {
        Search search;
        search.path = full.text();
        bool wildcards = hasWildcards(wanted);
        // "." and ".." answer to patterns made of wildcards and dots only.
        if (wildcards && !folder.isRoot && wanted.find_first_not_of("*?.") == std::string::npos) {
            std::string parent = folder.hostPath.substr(0, folder.hostPath.rfind('/'));
            FindData dot;
            fillFindData(folder.hostPath, ".", ".", &dot);
            search.entries.push_back(dot);
            fillFindData(parent, "..", "..", &dot);
            search.entries.push_back(dot);
        }
        std::vector<Entry> entries = listFolder(folder.hostPath);
        const auto& shortNames = shortNamesOf(folder.hostPath, entries);
        for (const Entry& e : entries) {
            auto found = shortNames.find(e.hostName);
            std::string shortName = found != shortNames.end() ? found->second : e.name;
            bool match =
                wildcards ? matchesWildcard(wanted, e.name) || matchesWildcard(wanted, shortName)
                          : equalAnsiNoCase(wanted, e.name) || equalAnsiNoCase(wanted, shortName);
            if (!match) continue;
            FindData item;
            fillFindData(folder.hostPath + "/" + e.hostName, e.name, shortName, &item);
            search.entries.push_back(item);
        }
        if (search.entries.empty()) return ERROR_FILE_NOT_FOUND;
        FindHandle handle = issueHandle();
        *data = search.entries[0];
        search.next = 1;
        searches_.emplace(handle, std::move(search));
        *result = handle;
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::FindNextFile(FindHandle handle, FindData* data) try {
    auto found = searches_.find(handle);
    if (found == searches_.end()) return ERROR_INVALID_HANDLE;
    std::uint32_t rc = checkFault(FileOperation::FindNextFile, found->second.path);
    if (rc != ERROR_SUCCESS) return rc;
    if (data == nullptr) return ERROR_INVALID_PARAMETER;
    Search& search = found->second;
    if (search.next >= search.entries.size()) return ERROR_NO_MORE_FILES;
    *data = search.entries[search.next++];
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::FindClose(FindHandle handle) try {
    return searches_.erase(handle) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::GetTempFileName(const char* directory, const char* prefix,
                                              std::uint32_t unique, std::string* path,
                                              std::uint32_t* number) try {
    if (directory == nullptr || path == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::GetTempFileName, faultPath(directory));
    if (rc != ERROR_SUCCESS) return rc;
    std::string base(directory);
    if (base.size() > MAX_PATH - 14) return ERROR_FILENAME_EXCED_RANGE;
    if (!base.empty() && base.back() != '\\' && base.back() != '/') base.push_back('\\');
    if (prefix != nullptr) base += std::string(prefix).substr(0, 3);

    auto nameFor = [&](std::uint32_t n) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(n & 0xFFFF));
        return base + digits + ".TMP";
    };
    if (unique != 0) {
        *path = nameFor(unique);
        if (number != nullptr) *number = unique & 0xFFFF;
        return ERROR_SUCCESS;
    }

    Resolved folder;
    rc = resolvePath(directory, &folder);
    if (rc != ERROR_SUCCESS) return rc;
    if (!folder.exists) return ERROR_PATH_NOT_FOUND;
    if (!folder.directory) return ERROR_DIRECTORY;
    for (std::uint32_t tries = 0; tries < 0xFFFF; ++tries) {
        std::uint32_t n = nextTempNumber_;
        nextTempNumber_ = n >= 0xFFFF ? 1 : n + 1;
        std::string candidate = nameFor(n);
        FileHandle file = kInvalidFileHandle;
        rc = CreateFile(candidate.c_str(), GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                        &file);
        if (rc == ERROR_SUCCESS) {
            CloseHandle(file);
            *path = candidate;
            if (number != nullptr) *number = n;
            return ERROR_SUCCESS;
        }
        if (rc != ERROR_FILE_EXISTS && rc != ERROR_ACCESS_DENIED && rc != ERROR_SHARING_VIOLATION) {
            return rc;
        }
    }
    return ERROR_FILE_EXISTS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

}  // namespace platform::host

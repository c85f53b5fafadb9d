// HostFileSystem: paths and names, the tables of attributes and 8.3 names, faults, sharing,
// drives and current directories. Handle operations are in host_files_io.cpp, operations on
// entries in host_files_tree.cpp, version resources in host_files_version.cpp.
#include "platform/host/host_files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/codepage_1252.h"
#include "platform/host/host_names.h"

namespace platform::host {
namespace {

constexpr std::uint32_t kClusterBytes = 32768;
// Windows 95/98 report at most 2 GB (less one cluster) free or in total.
constexpr std::uint64_t kReportedSpaceLimit = 0x80000000ull - kClusterBytes;

int driveIndex(char letter) {
    if (letter >= 'a' && letter <= 'z') return letter - 'a';
    if (letter >= 'A' && letter <= 'Z') return letter - 'A';
    return -1;
}

bool isHostFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string upperText(const std::string& text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(upperAnsi(static_cast<unsigned char>(c)));
    return out;
}

// A name Windows could hold: the host may have names it could not.
bool isWindowsName(const std::string& name) {
    if (name.empty() || name.size() > 255) return false;
    for (unsigned char c : name) {
        if (c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr) return false;
    }
    return name.back() != '.' && name.back() != ' ';
}

bool startsWithFolder(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

// The root text of "C:", "C:\\" or "C:/" (null: the current drive); 0 when not a root.
char rootLetter(const char* root, char current) {
    if (root == nullptr) return current;
    std::size_t length = std::strlen(root);
    if (length < 2 || length > 3 || driveIndex(root[0]) < 0 || root[1] != ':') return 0;
    if (length == 3 && root[2] != '\\' && root[2] != '/') return 0;
    return static_cast<char>(upperAnsi(static_cast<unsigned char>(root[0])));
}

}  // namespace

HostFileSystem::HostFileSystem(std::string root) : root_(std::move(root)) {
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

HostFileSystem::~HostFileSystem() {
    for (auto& [handle, file] : files_) ::close(file.fd);
}

void HostFileSystem::setNtSemantics(bool nt) {
    nt_ = nt;
}
bool HostFileSystem::ntSemantics() const {
    return nt_;
}

void HostFileSystem::setDriveType(char letter, std::uint32_t type) {
    int index = driveIndex(letter);
    if (index >= 0) driveTypes_[index] = type;
}

void HostFileSystem::setDiskSpace(char letter, std::uint64_t freeBytes, std::uint64_t totalBytes) {
    int index = driveIndex(letter);
    if (index >= 0) diskSpace_[static_cast<char>('A' + index)] = {freeBytes, totalBytes};
}

// ---- paths ----------------------------------------------------------------------------

std::uint32_t HostFileSystem::absolute(const char* path, bool wildcards,
                                       WindowsPath* result) const {
    return absolutePath(path, context_, wildcards, result);
}

std::string HostFileSystem::faultPath(const char* path) const {
    WindowsPath full;
    if (absolute(path, true, &full) == ERROR_SUCCESS) return full.text();
    return path == nullptr ? std::string() : std::string(path);
}

std::uint32_t HostFileSystem::driveFolder(char drive, std::string* folder) const {
    int index = driveIndex(drive);
    if (index < 0) return ERROR_INVALID_DRIVE;
    std::string path = root_ + "/" + static_cast<char>('a' + index);
    if (isHostFolder(path)) {
        *folder = path;
        return ERROR_SUCCESS;
    }
    std::uint32_t type = driveTypes_[index];
    if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM) return ERROR_NOT_READY;
    return ERROR_PATH_NOT_FOUND;
}

std::vector<HostFileSystem::Entry> HostFileSystem::listFolder(const std::string& hostFolder) const {
    std::vector<Entry> entries;
    DIR* dir = ::opendir(hostFolder.c_str());
    if (dir == nullptr) return entries;
    while (dirent* item = ::readdir(dir)) {
        std::string hostName = item->d_name;
        if (hostName == "." || hostName == "..") continue;
        std::string name = ansiFromUtf8(hostName);
        if (!isWindowsName(name)) continue;
        struct stat info;
        if (::stat((hostFolder + "/" + hostName).c_str(), &info) != 0) continue;
        if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) continue;
        entries.push_back({hostName, name, S_ISDIR(info.st_mode)});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.hostName < b.hostName; });
    // Of names that differ only in case, Windows sees the first.
    std::vector<Entry> visible;
    std::set<std::string> seen;
    for (Entry& e : entries) {
        if (seen.insert(upperText(e.name)).second) visible.push_back(std::move(e));
    }
    return visible;
}

const std::map<std::string, std::string>& HostFileSystem::shortNamesOf(
    const std::string& hostFolder, const std::vector<Entry>& entries) {
    std::map<std::string, std::string>& table = shortNames_[hostFolder];
    std::map<std::string, std::string> kept;
    std::set<std::string> taken;
    for (const Entry& e : entries) {
        auto found = table.find(e.hostName);
        if (found != table.end()) {
            kept.insert(*found);
            taken.insert(found->second);
        }
    }
    // Names that are 8.3 names already keep them; the others get theirs in name order.
    for (int pass = 0; pass < 2; ++pass) {
        for (const Entry& e : entries) {
            if (kept.count(e.hostName) != 0) continue;
            bool exact = isShortName(upperText(e.name));
            if ((pass == 0) != exact) continue;
            std::string shortName = makeShortName(e.name, taken);
            taken.insert(shortName);
            kept[e.hostName] = shortName;
        }
    }
    table.swap(kept);
    return table;
}

std::uint32_t HostFileSystem::resolve(const WindowsPath& path, Resolved* result) {
    Resolved out;
    out.path.drive = path.drive;
    std::string folder;
    std::uint32_t rc = driveFolder(path.drive, &folder);
    if (rc == ERROR_INVALID_DRIVE) rc = ERROR_PATH_NOT_FOUND;
    if (rc != ERROR_SUCCESS) return rc;

    out.hostFolder = folder;
    out.hostPath = folder;
    out.exists = true;
    out.directory = true;
    out.isRoot = path.names.empty();
    for (std::size_t i = 0; i < path.names.size(); ++i) {
        const std::string& wanted = path.names[i];
        bool last = i + 1 == path.names.size();
        if (!out.directory) return ERROR_PATH_NOT_FOUND;  // a file on the way
        std::vector<Entry> entries = listFolder(out.hostPath);
        const Entry* match = nullptr;
        for (const Entry& e : entries) {
            if (equalAnsiNoCase(e.name, wanted)) {
                match = &e;
                break;
            }
        }
        if (match == nullptr) {
            const auto& shortNames = shortNamesOf(out.hostPath, entries);
            for (const Entry& e : entries) {
                auto found = shortNames.find(e.hostName);
                if (found != shortNames.end() && equalAnsiNoCase(found->second, wanted)) {
                    match = &e;
                    break;
                }
            }
        }
        out.hostFolder = out.hostPath;
        if (match == nullptr) {
            if (!last) return ERROR_PATH_NOT_FOUND;
            out.hostPath += "/" + utf8FromAnsi(wanted);
            out.path.names.push_back(wanted);
            out.exists = false;
            out.directory = false;
            break;
        }
        out.hostPath += "/" + match->hostName;
        out.path.names.push_back(match->name);
        out.directory = match->directory;
    }
    // "file.txt\\" names a folder that is not there.
    if (path.trailingSeparator && out.exists && !out.directory) return ERROR_INVALID_NAME;
    *result = std::move(out);
    return ERROR_SUCCESS;
}

std::uint32_t HostFileSystem::resolvePath(const char* path, Resolved* result) {
    WindowsPath full;
    std::uint32_t rc = absolute(path, false, &full);
    if (rc != ERROR_SUCCESS) return rc;
    return resolve(full, result);
}

bool HostFileSystem::hostPathOf(const char* windowsPath, std::string* hostPath) {
    Resolved target;
    if (resolvePath(windowsPath, &target) != ERROR_SUCCESS || !target.exists) return false;
    *hostPath = target.hostPath;
    return true;
}

// ---- tables ---------------------------------------------------------------------------

void HostFileSystem::forgetEntry(const std::string& hostPath) {
    auto dropUnder = [&](auto& table) {
        for (auto it = table.begin(); it != table.end();) {
            if (it->first == hostPath || startsWithFolder(it->first, hostPath)) {
                it = table.erase(it);
            } else {
                ++it;
            }
        }
    };
    dropUnder(attributes_);
    dropUnder(creationTimes_);
    dropUnder(shortNames_);
    std::size_t slash = hostPath.rfind('/');
    if (slash != std::string::npos) {
        auto folder = shortNames_.find(hostPath.substr(0, slash));
        if (folder != shortNames_.end()) folder->second.erase(hostPath.substr(slash + 1));
    }
}

void HostFileSystem::moveTables(const std::string& fromHost, const std::string& toHost) {
    auto moveUnder = [&](auto& table) {
        std::vector<std::pair<std::string, typename std::decay_t<decltype(table)>::mapped_type>>
            moved;
        for (auto it = table.begin(); it != table.end();) {
            if (it->first == fromHost || startsWithFolder(it->first, fromHost)) {
                moved.emplace_back(toHost + it->first.substr(fromHost.size()), it->second);
                it = table.erase(it);
            } else {
                ++it;
            }
        }
        for (auto& item : moved) table[item.first] = std::move(item.second);
    };
    moveUnder(attributes_);
    moveUnder(creationTimes_);
    moveUnder(shortNames_);
    // The entry gets a new 8.3 name in its new folder; the old one is free again.
    std::size_t slash = fromHost.rfind('/');
    if (slash != std::string::npos) {
        auto folder = shortNames_.find(fromHost.substr(0, slash));
        if (folder != shortNames_.end()) folder->second.erase(fromHost.substr(slash + 1));
    }
}

std::uint32_t HostFileSystem::attributesOf(const std::string& hostPath, bool directory) const {
    auto found = attributes_.find(hostPath);
    std::uint32_t attributes =
        found != attributes_.end() ? found->second : (directory ? 0 : FILE_ATTRIBUTE_ARCHIVE);
    if (directory) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    return attributes;
}

// ---- faults ---------------------------------------------------------------------------

void HostFileSystem::addFault(const FileFault& fault) {
    faults_.push_back(fault);
    faultMatches_.push_back(0);
}

void HostFileSystem::clearFaults() {
    faults_.clear();
    faultMatches_.clear();
}

std::uint32_t HostFileSystem::faultsFired() const {
    return faultsFired_;
}

std::uint32_t HostFileSystem::checkFault(FileOperation operation, const std::string& path,
                                         const std::string& otherPath) {
    std::uint32_t error = ERROR_SUCCESS;
    for (std::size_t i = 0; i < faults_.size(); ++i) {
        const FileFault& fault = faults_[i];
        if (fault.operation != FileOperation::Any && fault.operation != operation) continue;
        if (!fault.pathContains.empty()) {
            std::string wanted = upperText(fault.pathContains);
            if (upperText(path).find(wanted) == std::string::npos &&
                upperText(otherPath).find(wanted) == std::string::npos)
                continue;
        }
        std::uint32_t number = ++faultMatches_[i];
        bool fires = number >= fault.nth && (fault.count == 0 || number - fault.nth < fault.count);
        if (fires && error == ERROR_SUCCESS) error = fault.error;
    }
    if (error != ERROR_SUCCESS) ++faultsFired_;
    return error;
}

// ---- handles and sharing --------------------------------------------------------------

bool HostFileSystem::isOpen(const std::string& hostPath, bool orBelow) const {
    for (const auto& [handle, file] : files_) {
        if (file.hostPath == hostPath || (orBelow && startsWithFolder(file.hostPath, hostPath))) {
            return true;
        }
    }
    return false;
}

bool HostFileSystem::shareConflict(const std::string& hostPath, bool read, bool write,
                                   std::uint32_t share) const {
    // Opens without read or write access take no part in sharing, as on Windows.
    if (!read && !write) return false;
    for (const auto& [handle, file] : files_) {
        if (file.hostPath != hostPath || (!file.read && !file.write)) continue;
        if (read && (file.share & FILE_SHARE_READ) == 0) return true;
        if (write && (file.share & FILE_SHARE_WRITE) == 0) return true;
        if (file.read && (share & FILE_SHARE_READ) == 0) return true;
        if (file.write && (share & FILE_SHARE_WRITE) == 0) return true;
    }
    return false;
}

HostFileSystem::OpenFile* HostFileSystem::openFile(FileHandle handle) {
    auto found = files_.find(handle);
    return found == files_.end() ? nullptr : &found->second;
}

FileHandle HostFileSystem::issueHandle() {
    FileHandle handle = nextHandle_;
    nextHandle_ += 4;
    return handle;
}

std::size_t HostFileSystem::openHandleCount() const {
    return files_.size() + searches_.size();
}

std::vector<std::string> HostFileSystem::openHandlePaths() const {
    std::vector<std::string> paths;
    for (const auto& [handle, file] : files_) paths.push_back(file.path);
    for (const auto& [handle, search] : searches_) paths.push_back(search.path);
    return paths;
}

// ---- current directory and drives ------------------------------------------------------

bool HostFileSystem::isCurrentDirectory(const std::string& hostPath, bool orAbove) {
    for (int index = 0; index < 26; ++index) {
        char drive = static_cast<char>('A' + index);
        if (nt_ && drive != context_.currentDrive) continue;
        WindowsPath current;
        current.drive = drive;
        current.names = context_.directories[index];
        Resolved where;
        if (resolve(current, &where) != ERROR_SUCCESS || !where.exists) continue;
        if (where.hostPath == hostPath) return true;
        if (orAbove && startsWithFolder(where.hostPath, hostPath)) return true;
    }
    return false;
}

std::uint32_t HostFileSystem::GetCurrentDirectory(std::string* directory) try {
    if (directory == nullptr) return ERROR_INVALID_PARAMETER;
    WindowsPath current;
    current.drive = context_.currentDrive;
    current.names = context_.directories[context_.currentDrive - 'A'];
    *directory = current.text();
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::SetCurrentDirectory(const char* path) try {
    if (path == nullptr) return ERROR_INVALID_PARAMETER;
    std::uint32_t rc = checkFault(FileOperation::SetCurrentDirectory, faultPath(path));
    if (rc != ERROR_SUCCESS) return rc;
    Resolved target;
    rc = resolvePath(path, &target);
    if (rc != ERROR_SUCCESS) return rc;
    if (!target.exists) return ERROR_FILE_NOT_FOUND;
    if (!target.directory) return ERROR_DIRECTORY;
    context_.directories[target.path.drive - 'A'] = target.path.names;
    context_.currentDrive = target.path.drive;
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::SetCurrentDrive(char letter) try {
    int index = driveIndex(letter);
    if (index < 0) return ERROR_INVALID_DRIVE;
    char drive = static_cast<char>('A' + index);
    std::string root{drive, ':', '\\'};
    std::uint32_t rc = checkFault(FileOperation::SetCurrentDirectory, root);
    if (rc != ERROR_SUCCESS) return rc;
    std::string folder;
    rc = driveFolder(drive, &folder);
    if (rc == ERROR_PATH_NOT_FOUND) return ERROR_INVALID_DRIVE;
    if (rc != ERROR_SUCCESS) return rc;
    WindowsPath current;
    current.drive = drive;
    current.names = context_.directories[index];
    Resolved where;
    rc = resolve(current, &where);
    if (rc != ERROR_SUCCESS) return rc;
    if (!where.exists || !where.directory) return ERROR_PATH_NOT_FOUND;
    context_.directories[index] = where.path.names;
    context_.currentDrive = drive;
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

char HostFileSystem::GetCurrentDrive() {
    return context_.currentDrive;
}

std::uint32_t HostFileSystem::GetDriveType(const char* root) {
    char letter = rootLetter(root, context_.currentDrive);
    if (letter == 0) return DRIVE_NO_ROOT_DIR;
    int index = letter - 'A';
    if (driveTypes_[index] != DRIVE_UNKNOWN) return driveTypes_[index];
    std::string folder;
    return driveFolder(letter, &folder) == ERROR_SUCCESS ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
}

std::uint32_t HostFileSystem::GetFullPathName(const char* path, std::string* fullPath,
                                              std::size_t* filePart) try {
    if (fullPath == nullptr) return ERROR_INVALID_PARAMETER;
    WindowsPath full;
    std::uint32_t rc = absolute(path, true, &full);
    if (rc != ERROR_SUCCESS) return rc;
    std::string text = full.text();
    if (full.trailingSeparator) text.push_back('\\');
    std::size_t part = text.size();
    if (!full.names.empty() && !full.trailingSeparator) part = text.rfind('\\') + 1;
    *fullPath = std::move(text);
    if (filePart != nullptr) *filePart = part;
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

std::uint32_t HostFileSystem::GetDiskFreeSpace(const char* root, std::uint32_t* sectorsPerCluster,
                                               std::uint32_t* bytesPerSector,
                                               std::uint32_t* freeClusters,
                                               std::uint32_t* totalClusters) try {
    char letter = rootLetter(root, context_.currentDrive);
    std::string faultText = letter == 0 ? std::string(root) : std::string{letter, ':', '\\'};
    std::uint32_t rc = checkFault(FileOperation::GetDiskFreeSpace, faultText);
    if (rc != ERROR_SUCCESS) return rc;
    if (letter == 0) return ERROR_INVALID_NAME;
    std::string folder;
    rc = driveFolder(letter, &folder);
    if (rc != ERROR_SUCCESS) return rc;

    std::uint64_t freeBytes = 0, totalBytes = 0;
    auto declared = diskSpace_.find(letter);
    if (declared != diskSpace_.end()) {
        freeBytes = declared->second.first;
        totalBytes = declared->second.second;
    } else {
        struct statvfs info;
        if (::statvfs(folder.c_str(), &info) != 0) return ERROR_NOT_READY;
        freeBytes = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
        totalBytes = static_cast<std::uint64_t>(info.f_blocks) * info.f_frsize;
    }
    freeBytes = std::min(freeBytes, kReportedSpaceLimit);
    totalBytes = std::min(totalBytes, kReportedSpaceLimit);
    if (sectorsPerCluster != nullptr) *sectorsPerCluster = kClusterBytes / 512;
    if (bytesPerSector != nullptr) *bytesPerSector = 512;
    if (freeClusters != nullptr)
        *freeClusters = static_cast<std::uint32_t>(freeBytes / kClusterBytes);
    if (totalClusters != nullptr) {
        *totalClusters = static_cast<std::uint32_t>(totalBytes / kClusterBytes);
    }
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

// ---- moves at the next start ----------------------------------------------------------

const std::vector<PendingMove>& HostFileSystem::pendingMoves() const {
    return pending_;
}

void HostFileSystem::restart() {
    std::vector<PendingMove> moves;
    moves.swap(pending_);
    for (const PendingMove& move : moves) {
        if (move.to.empty()) {
            Resolved target;
            if (resolvePath(move.from.c_str(), &target) != ERROR_SUCCESS || !target.exists) {
                continue;
            }
            if (target.directory ? ::rmdir(target.hostPath.c_str()) == 0
                                 : ::unlink(target.hostPath.c_str()) == 0) {
                forgetEntry(target.hostPath);
            }
        } else {
            moveEntry(move.from.c_str(), move.to.c_str(),
                      MOVEFILE_COPY_ALLOWED | (move.replace ? MOVEFILE_REPLACE_EXISTING : 0));
        }
    }
}

}  // namespace platform::host

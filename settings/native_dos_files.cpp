// The file primitives of the native DOS support editor: finding the start-up and driver
// files, testing for a line, and adding or taking out a line with a backup taken first.
//
// These are the user's boot files. An edit never starts before the backup (<name>.hv1) is
// complete, and an edit that fails half-way puts the file back as the backup has it, so the
// user is left with either the old file or the new one. Should even the restore fail, the
// backup stays, and the edit says it failed.
#include <cstring>
#include <string>

#include "platform/file_handle.h"
#include "platform/machine.h"
#include "settings/file_chunks.h"
#include "settings/folder_paths.h"
#include "settings/native_dos.h"
#include "settings/setting_values.h"
#include "settings/text_match.h"
#include "settings/tunara_settings.h"

namespace settings {
namespace {

constexpr std::size_t kDriveCount = 26;
constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kLineEndLength = 2;

platform::FileSystem& fileSystem() {
    return *platform::machine().files;
}

// A candidate of the file search: found when it opens for reading.
bool opensForReading(const std::string& path) {
    if (path.empty() || path.size() >= kTextBufferSize) return false;
    platform::ScopedFile file;
    return fileSystem().CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, file.receive()) == ERROR_SUCCESS;
}

// Opens a start-up file for an edit: reading and writing, nobody else meanwhile.
bool openForEdit(const char* path, platform::ScopedFile* file) {
    return fileSystem().CreateFile(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, file->receive()) == ERROR_SUCCESS;
}

// Puts the file back as its backup has it, after a failed edit. The handle goes first: the
// copy needs the file closed. When only bytes at its end were added (originalSize given),
// cutting them off is tried before the copy.
bool restoreFromBackup(platform::ScopedFile* file, const char* path, const std::string& backup,
                       const std::uint64_t* originalSize = nullptr) {
    platform::FileSystem& files = fileSystem();
    if (originalSize != nullptr && file->valid() && seekFile(files, file->get(), *originalSize) &&
        files.SetEndOfFile(file->get()) == ERROR_SUCCESS && file->close() == ERROR_SUCCESS)
        return true;
    file->close();
    return files.CopyFile(backup.c_str(), path, false) == ERROR_SUCCESS;
}

// Closes a finished edit. A close that fails may have lost the last writes, so the file is
// then put back from the backup and the edit counts as failed.
bool finishEdit(platform::ScopedFile* file, const char* path, const std::string& backup) {
    if (file->close() == ERROR_SUCCESS) return true;
    restoreFromBackup(file, path, backup);
    return false;
}

}  // namespace

bool tunaraSettings::findDosFile(const char* name, std::string* path, bool windowsFolderFirst) {
    if (name == nullptr || path == nullptr || *name == '\0') return false;
    const std::string fileName(name);

    if (windowsFolderFirst) {
        const std::string candidate = windowsFolderPath(("\\" + fileName).c_str());
        if (opensForReading(candidate)) {
            *path = candidate;
            return true;
        }
    }
    const std::string onC = "C:\\" + fileName;
    if (opensForReading(onC)) {
        *path = onC;
        return true;
    }
    platform::FileSystem& files = fileSystem();
    for (std::size_t drive = 1; drive <= kDriveCount; ++drive) {
        const char letter = static_cast<char>('a' + drive - 1);
        // A letter that is no drive, or a drive without a medium, is passed over.
        if (files.SetCurrentDrive(letter) != ERROR_SUCCESS) continue;
        const std::string candidate = std::string(1, letter) + ":\\" + fileName;
        if (opensForReading(candidate)) {
            *path = candidate;
            return true;
        }
    }
    return false;
}

bool tunaraSettings::fileContains(const char* path, const char* text) {
    if (path == nullptr || text == nullptr) return false;
    // Read access is enough to look; no sharing keeps anyone from writing meanwhile. (Asking
    // for write access too would make a read-only DOSSTART.BAT look as if it had no driver.)
    platform::ScopedFile file;
    if (fileSystem().CreateFile(path, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                file.receive()) != ERROR_SUCCESS)
        return false;
    return findTextInFile(fileSystem(), file.get(), text, kFileChunkSize) == FileSearch::Found;
}

std::string tunaraSettings::backupName(const std::string& path, std::int32_t kind) {
    const char* extension = kind == kBackupKindCopy       ? "hv1"
                            : kind == kBackupKindLineFile ? "hv"
                                                          : nullptr;
    if (extension == nullptr || path.empty()) return std::string();
    // Only a '.' in the file name itself counts: one in a folder name would make the backup
    // a file of another folder.
    const std::size_t dot = path.find_last_of('.');
    const std::size_t separator = path.find_last_of("\\/:");
    std::string name;
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        name = path + "." + extension;
    else
        name = path.substr(0, dot + 1) + extension;
    if (name.size() >= kTextBufferSize) return std::string();
    return name;
}

// The backup of an edit: the old backup goes, the new one is created empty (it must be
// creatable) and the file is copied over it. False, with no empty backup left behind, when
// any step fails; the file itself is never touched here.
static bool makeBackup(tunaraSettings& owner, const char* path, std::string* backup) {
    if (path == nullptr || std::strlen(path) >= kTextBufferSize) return false;
    const std::string name = owner.backupName(path, kBackupKindCopy);
    // A start-up file named *.hv1 would be its own backup: deleting the "old backup" would
    // delete the file.
    if (name.empty() || samePathName(name, path)) return false;

    platform::FileSystem& files = fileSystem();
    files.DeleteFile(name.c_str());
    platform::ScopedFile created;
    if (files.CreateFile(name.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         created.receive()) != ERROR_SUCCESS)
        return false;
    if (created.close() != ERROR_SUCCESS ||
        files.CopyFile(path, name.c_str(), false) != ERROR_SUCCESS) {
        // An empty or partial backup must not be taken for the old file later.
        files.DeleteFile(name.c_str());
        return false;
    }
    *backup = name;
    return true;
}

bool tunaraSettings::insertTextInFile(const char* path, const char* text, bool checkLineEnd,
                                      bool atEnd) {
    if (path == nullptr || text == nullptr) return false;
    std::string backup;
    if (!makeBackup(*this, path, &backup)) return false;

    platform::FileSystem& files = fileSystem();
    platform::ScopedFile file;
    if (!openForEdit(path, &file)) return false;
    std::uint64_t size = 0;
    if (!fileLength(files, file.get(), &size)) return false;

    const std::string line(text);
    if (line.size() >= 0x7FFFFFFF || size + line.size() + kLineEndLength >= 0xFFFFFFFFull)
        return false;

    std::string added;
    if (checkLineEnd && atEnd && size > 0) {
        // The last line must be ended before ours can start. A one-byte file cannot end with
        // "\r\n"; a longer one is asked.
        bool ended = false;
        if (size >= kLineEndLength) {
            char last[kLineEndLength] = {};
            std::uint32_t read = 0;
            if (!seekFile(files, file.get(), size - kLineEndLength) ||
                !readSome(files, file.get(), last, sizeof last, &read))
                return false;  // nothing written yet
            ended = read == kLineEndLength && std::memcmp(last, kLineEnd, kLineEndLength) == 0;
        }
        if (!ended) added = kLineEnd;
    }
    added += line;

    if (!atEnd && size >= 1 && size <= kMaxInsertAtBeginningSize) {
        // At the beginning: every byte moves up by the line's length, then the line goes in
        // front. (The same file as writing the line at the end and moving byte by byte.)
        if (!moveFileBytes(files, file.get(), 0, line.size(), size, kFileChunkSize) ||
            !seekFile(files, file.get(), 0) ||
            !writeAll(files, file.get(), line.data(), static_cast<std::uint32_t>(line.size()))) {
            restoreFromBackup(&file, path, backup);
            return false;
        }
        return finishEdit(&file, path, backup);
    }

    // At the end: an empty file, a file of 10,000 bytes or more, or atEnd.
    if (!seekFile(files, file.get(), size) ||
        !writeAll(files, file.get(), added.data(), static_cast<std::uint32_t>(added.size()))) {
        restoreFromBackup(&file, path, backup, &size);
        return false;
    }
    return finishEdit(&file, path, backup);
}

bool tunaraSettings::removeTextFromFile(const char* path, const char* text) {
    // An empty text would take out nothing but a line end at the start of the file.
    if (path == nullptr || text == nullptr || *text == '\0') return false;
    std::string backup;
    if (!makeBackup(*this, path, &backup)) return false;
    if (!fileContains(path, text)) return false;

    platform::FileSystem& files = fileSystem();
    platform::ScopedFile file;
    if (!openForEdit(path, &file)) return false;
    std::uint64_t matchEnd = 0;
    std::uint64_t size = 0;
    if (findTextInFile(files, file.get(), text, kFileChunkSize, &matchEnd) != FileSearch::Found ||
        !fileLength(files, file.get(), &size))
        return false;  // nothing written yet

    // The line's own "\r\n" goes with it; anything else after it stays.
    const std::uint64_t start = matchEnd - std::strlen(text);
    std::uint64_t stretchEnd = matchEnd;
    char next[kLineEndLength] = {};
    std::uint32_t read = 0;
    if (!readSome(files, file.get(), next, sizeof next, &read)) return false;
    if (read == kLineEndLength && std::memcmp(next, kLineEnd, kLineEndLength) == 0)
        stretchEnd += kLineEndLength;

    const std::uint64_t removed = stretchEnd - start;
    if (!moveFileBytes(files, file.get(), stretchEnd, start, size - stretchEnd, kFileChunkSize) ||
        !seekFile(files, file.get(), size - removed) ||
        files.SetEndOfFile(file.get()) != ERROR_SUCCESS) {
        restoreFromBackup(&file, path, backup);
        return false;
    }
    return finishEdit(&file, path, backup);
}

}  // namespace settings

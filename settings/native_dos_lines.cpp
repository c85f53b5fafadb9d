// The three edits of native DOS support (add the lines, take them out, write them to line
// files), the installed test, the deferred removal and the uninstall clean-up.
#include <string>

#include "platform/file_handle.h"
#include "platform/machine.h"
#include "settings/file_chunks.h"
#include "settings/folder_paths.h"
#include "settings/native_dos.h"
#include "settings/setting_values.h"
#include "settings/tunara_settings.h"
#include "settings/wavetable.h"

namespace settings {
namespace {

// The line each start-up file gets, in kDosStartupFiles order.
struct DosLines {
    std::string line[kDosStartupFileCount];
};

// Finds the two driver files (the program twice, as it is the line of two files) and builds
// the lines from their paths; the DEVICE= line ends with "\r\n" when it is to be inserted.
// False when either driver file is missing: then no start-up file may be touched.
bool buildDosLines(tunaraSettings& owner, bool deviceLineEnded, DosLines* lines) {
    std::string program;
    std::string deviceDriver;
    std::string programAgain;
    if (!owner.findDosFile(kDosProgramName, &program, false) ||
        !owner.findDosFile(kDosDeviceDriverName, &deviceDriver, false) ||
        !owner.findDosFile(kDosProgramName, &programAgain, false))
        return false;
    for (std::size_t i = 0; i < kDosStartupFileCount; ++i) {
        if (kDosStartupFiles[i].isConfigSys)
            lines->line[i] =
                kDeviceLinePrefix + deviceDriver + (deviceLineEnded ? "\r\n" : std::string());
        else
            lines->line[i] = i == 0 ? program : programAgain;
    }
    return true;
}

// Deletes a file of the clean-up where there is one; never the start-up file itself.
void deleteIfPresent(const std::string& path, const std::string& keep = std::string()) {
    if (!path.empty() && !samePathName(path, keep))
        platform::machine().files->DeleteFile(path.c_str());
}

}  // namespace

bool tunaraSettings::addNativeDosLines() {
    DosLines lines;
    if (!buildDosLines(*this, true, &lines)) return false;
    bool allDone = true;
    for (std::size_t i = 0; i < kDosStartupFileCount; ++i) {
        std::string path;
        if (!findDosFile(kDosStartupFiles[i].name, &path, kDosStartupFiles[i].windowsFolderFirst))
            continue;
        // A file that has its line already (in any letter case) is left alone, backup and all.
        if (fileContains(path.c_str(), lines.line[i].c_str())) continue;
        const bool atEnd = !kDosStartupFiles[i].isConfigSys;
        if (!insertTextInFile(path.c_str(), lines.line[i].c_str(), atEnd, atEnd)) allDone = false;
    }
    return allDone;
}

bool tunaraSettings::removeNativeDosLines() {
    DosLines lines;
    if (!buildDosLines(*this, false, &lines)) return false;
    bool allDone = true;
    for (std::size_t i = 0; i < kDosStartupFileCount; ++i) {
        std::string path;
        if (!findDosFile(kDosStartupFiles[i].name, &path, kDosStartupFiles[i].windowsFolderFirst))
            continue;
        // Its "\r\n" goes with the line. A file without the line is not an error here.
        if (!removeTextFromFile(path.c_str(), lines.line[i].c_str()) &&
            fileContains(path.c_str(), lines.line[i].c_str()))
            allDone = false;
    }
    return allDone;
}

bool tunaraSettings::writeDosLineFiles() {
    DosLines lines;
    if (!buildDosLines(*this, false, &lines)) return false;
    platform::FileSystem& files = *platform::machine().files;
    bool allDone = true;
    for (std::size_t i = 0; i < kDosStartupFileCount; ++i) {
        std::string path;
        if (!findDosFile(kDosStartupFiles[i].name, &path, kDosStartupFiles[i].windowsFolderFirst))
            continue;
        const std::string lineFile = backupName(path, kBackupKindLineFile);
        // A start-up file named *.hv would be overwritten by its own line file.
        if (lineFile.empty() || samePathName(lineFile, path)) {
            allDone = false;
            continue;
        }
        platform::ScopedFile file;
        if (files.CreateFile(lineFile.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, file.receive()) != ERROR_SUCCESS) {
            allDone = false;
            continue;
        }
        const bool written = writeAll(files, file.get(), lines.line[i].data(),
                                      static_cast<std::uint32_t>(lines.line[i].size()));
        if (file.close() != ERROR_SUCCESS || !written) {
            // Half a line is worse than none: the user would copy it into the file.
            files.DeleteFile(lineFile.c_str());
            allDone = false;
        }
    }
    return allDone;
}

bool tunaraSettings::dosStartHasDriver() {
    const std::string dosStart = windowsFolderPath(kDosStartPath);
    return !dosStart.empty() && fileContains(dosStart.c_str(), kDosProgramName);
}

void tunaraSettings::scheduleNativeDosRemoval() {
    setTrayRunCommand(kDosRemovalRunValue, kDosRemovalOption, true);
}

void tunaraSettings::removeBackupsAndSampleSets() {
    for (const DosStartupFile& startup : kDosStartupFiles) {
        std::string path;
        if (!findDosFile(startup.name, &path, startup.windowsFolderFirst)) continue;
        deleteIfPresent(backupName(path, kBackupKindCopy), path);
        deleteIfPresent(backupName(path, kBackupKindLineFile), path);
    }
    // The active sets only; the inactive ".im" copies stay for a later installation.
    deleteIfPresent(systemFolderPath(kTwoMbActive));
    deleteIfPresent(systemFolderPath(kFourMbActive));
}

}  // namespace settings

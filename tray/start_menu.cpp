#include "tray/start_menu.h"

#include "platform/files.h"
#include "platform/machine.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "settings/folder_paths.h"

namespace tray {

const char* const kStartMenuBaseFolders[3] = {
    "\\start menu\\programs",
    "\\Menu D\xE9marrer\\Programmes",
    "\\Startmen\xFC\\Programme",
};

namespace {

// Every path we hand to the file calls must fit their 260-byte buffers.
constexpr std::size_t kMaxPath = 260;

bool fits(const std::string& path) {
    return !path.empty() && path.size() < kMaxPath;
}

void deleteIfExists(const std::string& path) {
    if (fits(path) && startMenuFileExists(path))
        platform::machine().files->DeleteFile(path.c_str());
}

void debug(const char* text) {
    platform::machine().system->OutputDebugString(text);
}

void createShortcut(const std::string& linkPath) {
    platform::Shell& shell = *platform::machine().shell;
    const std::string target = settings::systemFolderPath(kPropertiesProgramName);
    const platform::HResult init = shell.CoInitialize();
    platform::HShellLink link = 0;
    if (platform::succeeded(shell.CreateShellLink(&link))) {
        if (!platform::succeeded(shell.SetPath(link, target.c_str()))) debug("SetPath failed!");
        if (!platform::succeeded(shell.SetDescription(link, kShortcutDescription)))
            debug("SetDescription failed!");
        if (!platform::succeeded(shell.Save(link, linkPath.c_str(), true))) debug("Save failed!");
        shell.ReleaseShellLink(link);
    }
    if (platform::succeeded(init)) shell.CoUninitialize();
}

void removeShortcut(const std::string& folder, const char* title) {
    const std::string single = folder + title + ".lnk";
    deleteIfExists(single);
    deleteIfExists(single + ".lnk");
}

}  // namespace

bool startMenuFileExists(const std::string& path) {
    platform::FileSystem& files = *platform::machine().files;
    platform::FileHandle file = platform::kInvalidFileHandle;
    if (files.CreateFile(path.c_str(), GENERIC_READ, 0, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                         &file) != ERROR_SUCCESS)
        return false;
    files.CloseHandle(file);
    return true;
}

bool folderExists(const std::string& path) {
    platform::FileSystem& files = *platform::machine().files;
    std::string previous;
    const bool restore = files.GetCurrentDirectory(&previous) == ERROR_SUCCESS;
    if (files.SetCurrentDirectory(path.c_str()) != ERROR_SUCCESS) return false;
    if (restore) files.SetCurrentDirectory(previous.c_str());
    return true;
}

std::string resolveStartMenuFolder() {
    const std::string windows = settings::windowsFolderPath("");
    if (windows.empty()) return std::string();
    std::string path;
    for (const char* base : kStartMenuBaseFolders) {
        const std::string candidate = windows + base;
        if (fits(candidate) && folderExists(candidate)) {
            path = candidate;
            break;
        }
    }
    if (path.empty()) return std::string();
    platform::FileSystem& files = *platform::machine().files;
    for (const char* sub : {kMakerFolder, kProductFolder}) {
        path += sub;
        if (!fits(path)) return std::string();
        if (!folderExists(path)) files.CreateDirectory(path.c_str());
    }
    path += "\\";
    return fits(path) ? path : std::string();
}

void maintainShortcuts(const std::string& startMenuFolder, const std::string& productTitle) {
    if (startMenuFolder.empty() || productTitle.empty()) return;
    const std::string linkPath = startMenuFolder + productTitle + ".lnk";
    if (fits(linkPath) && !startMenuFileExists(linkPath)) createShortcut(linkPath);

    if (productTitle == kTitleFrench) {
        removeShortcut(startMenuFolder, kTitleGerman);
        removeShortcut(startMenuFolder, kTitleEnglish);
    } else if (productTitle == kTitleGerman) {
        removeShortcut(startMenuFolder, kTitleEnglish);
        removeShortcut(startMenuFolder, kTitleFrench);
    } else if (productTitle == kTitleEnglish) {
        removeShortcut(startMenuFolder, kTitleGerman);
        removeShortcut(startMenuFolder, kTitleFrench);
    }
    deleteIfExists(startMenuFolder + kOldShortcutName);
}

void removeFolderIfEmpty(const std::string& folder) {
    const std::string pattern = folder + "\\*";
    if (!fits(pattern)) return;
    platform::FileSystem& files = *platform::machine().files;
    platform::FindData data;
    platform::FindHandle search = platform::kInvalidFileHandle;
    if (files.FindFirstFile(pattern.c_str(), &data, &search) != ERROR_SUCCESS) return;
    bool empty = true;
    do {
        const std::string name = data.fileName;
        if (name != "." && name != "..") {
            empty = false;
            break;
        }
    } while (files.FindNextFile(search, &data) == ERROR_SUCCESS);
    files.FindClose(search);
    if (empty) files.RemoveDirectory(folder.c_str());
}

}  // namespace tray

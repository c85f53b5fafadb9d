#include "tray/maintenance.h"

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/machine.h"
#include "platform/registry_key.h"
#include "platform/system.h"
#include "platform/version_block.h"
#include "settings/folder_paths.h"
#include "settings/tunara_settings.h"
#include "tray/start_menu.h"

namespace tray {

namespace {

// Product version 4.70: the common controls that the COM/OLE distribution needs.
constexpr std::uint32_t kMinimumComctlVersion = 0x00040046u;
// Offset of dwProductVersionMS in VS_FIXEDFILEINFO.
constexpr std::size_t kProductVersionMsOffset = 16;
constexpr std::size_t kFixedInfoSize = 52;

bool isWindows95() {
    platform::OsVersionInfo info;
    if (!platform::machine().system->GetVersionEx(&info)) return false;
    return info.platformId == VER_PLATFORM_WIN32_WINDOWS && info.minorVersion == 0;
}

bool readProductVersionMs(const std::string& path, std::uint32_t* version) {
    platform::FileSystem& files = *platform::machine().files;
    std::vector<std::uint8_t> block;
    if (!platform::readVersionBlock(files, path.c_str(), &block)) return false;
    void* fixed = nullptr;
    std::uint32_t length = 0;
    if (files.VerQueryValue(block.data(), "\\", &fixed, &length) != ERROR_SUCCESS ||
        fixed == nullptr || length < kFixedInfoSize)
        return false;
    const std::uint8_t* bytes = static_cast<const std::uint8_t*>(fixed) + kProductVersionMsOffset;
    *version = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
               static_cast<std::uint32_t>(bytes[2]) << 16 |
               static_cast<std::uint32_t>(bytes[3]) << 24;
    return true;
}

void startSystemProgram(const char* tail) {
    const std::string commandLine = settings::systemFolderPath(tail);
    if (!commandLine.empty()) startProgram(nullptr, commandLine.c_str());
}

}  // namespace

void startProgram(const char* applicationName, const char* commandLine) {
    platform::System& system = *platform::machine().system;
    platform::HProcess process = 0;
    if (system.CreateProcess(applicationName, commandLine, true, CREATE_DEFAULT_ERROR_MODE, nullptr,
                             SW_SHOWNORMAL, &process))
        system.CloseHandle(process);
}

bool commonControlsAreOld() {
    if (!isWindows95()) return false;
    const std::string path = settings::systemFolderPath("\\comctl32.dll");
    std::uint32_t version = 0;
    if (path.empty() || !readProductVersionMs(path, &version)) return false;
    return version < kMinimumComctlVersion;
}

void updateCommonControlsStep() {
    platform::RegKey run;
    if (run.Open(HKEY_LOCAL_MACHINE, settings::kRunKey, KEY_ALL_ACCESS) == ERROR_SUCCESS &&
        run.hasValue(kComctlUpdateRunValue))
        (void)run.deleteValue(kComctlUpdateRunValue);
    run.Close();

    if (!commonControlsAreOld()) return;
    startSystemProgram(kComctlUpdater);
    const std::string command =
        settings::systemFolderPath(settings::kTrayProgramName) + " -updateCOMOLEFiles";
    platform::RegKey runOnce;
    if (settings::systemFolderPath("").empty() ||
        runOnce.Open(HKEY_LOCAL_MACHINE, kRunOnceKey, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return;
    (void)runOnce.writeString(kComOleRunOnceValue, command);
}

void updateComOleStep() {
    if (!commonControlsAreOld()) startSystemProgram(kComOleUpdater);
}

void uninstallCleanUp(settings::tunaraSettings& card) {
    const std::string windows = settings::windowsFolderPath("");
    if (!windows.empty()) {
        const std::string product = windows + "\\start menu\\programs\\helvane\\Cantora Pro\\";
        for (const char* title : {kTitleEnglish, kTitleFrench, kTitleGerman}) {
            const std::string link = product + title + ".LNK";
            if (link.size() < 260 && startMenuFileExists(link))
                platform::machine().files->DeleteFile(link.c_str());
        }
        removeFolderIfEmpty(windows + "\\start menu\\programs\\Helvane\\Cantora Pro");
        removeFolderIfEmpty(windows + "\\start menu\\programs\\Helvane");
    }
    card.editNativeDosSupport(false, true);
    card.removeBackupsAndSampleSets();
    card.setTrayAutoStart(false);
}

void pendingTwoMbStep(settings::tunaraSettings& card, std::int32_t* rememberedSize) {
    *rememberedSize = card.detectActiveWavetableSize();
    platform::RegKey run;
    if (run.Open(HKEY_LOCAL_MACHINE, settings::kRunKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    if (!run.hasValue(kTwoMbRunValue)) return;
    bool restartNeeded = false;
    card.setWavetableSize(2, &restartNeeded);
    *rememberedSize = 2;
}

void pendingDosRemovalStep(settings::tunaraSettings& card) {
    platform::RegKey run;
    if (run.Open(HKEY_LOCAL_MACHINE, settings::kRunKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    if (!run.hasValue(kDosRemovalRunValue)) return;
    card.editNativeDosSupport(false, true);
    (void)run.deleteValue(kDosRemovalRunValue);
}

}  // namespace tray

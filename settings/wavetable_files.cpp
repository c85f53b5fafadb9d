// The sample set files: which set is active on disk, stale copies, and whether any is there.
#include <string>

#include "platform/file_handle.h"
#include "platform/machine.h"
#include "settings/folder_paths.h"
#include "settings/tunara_settings.h"
#include "settings/wavetable.h"

namespace settings {
namespace {

// A sample set file "exists" when it opens for reading beside whoever else has it open.
bool sampleSetExists(const char* name) {
    const std::string path = systemFolderPath(name);
    if (path.empty()) return false;
    platform::ScopedFile file;
    return platform::machine().files->CreateFile(
               path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
               FILE_ATTRIBUTE_NORMAL, file.receive()) == ERROR_SUCCESS;
}

void deleteSampleSet(const char* name) {
    const std::string path = systemFolderPath(name);
    if (!path.empty()) platform::machine().files->DeleteFile(path.c_str());
}

}  // namespace

std::int32_t tunaraSettings::detectActiveWavetableSize() {
    removeInactiveSetCopies();
    // Both sets switch together; the size in force is the one the driver was given.
    if (sampleSetExists(kTwoMbActive) || sampleSetExists(kFourMbActive))
        activeWavetableSize = soundLibSize;
    else
        activeWavetableSize = 0;
    return activeWavetableSize;
}

void tunaraSettings::removeInactiveSetCopies() {
    // An inactive copy beside an active set is left over from an interrupted switch; it
    // would make the next switch's rename fail.
    if (!sampleSetExists(kTwoMbActive)) return;
    if (sampleSetExists(kTwoMbInactive)) deleteSampleSet(kTwoMbInactive);
    if (sampleSetExists(kFourMbInactive)) deleteSampleSet(kFourMbInactive);
}

bool tunaraSettings::anyWavetableFilePresent() {
    for (const char* name :
         {"\\plat2meg.im", "\\plat2meg.img", "\\plat4meg.im", "\\plat4meg.img"}) {
        if (sampleSetExists(name)) {
            platform::machine().system->OutputDebugString("Found a wavetable file");
            return true;
        }
    }
    return false;
}

bool sampleSetFilePresent(int megabytes) {
    const std::string base = "\\Plat" + std::to_string(megabytes) + "Meg.im";
    return sampleSetExists(base.c_str()) || sampleSetExists((base + "g").c_str());
}

bool tunaraSettings::twoMbSetMissing() {
    return !sampleSetExists("\\plat2meg.im");
}

}  // namespace settings

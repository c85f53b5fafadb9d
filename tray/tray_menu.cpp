#include "tray/tray_menu.h"

#include <string>

#include "platform/files.h"
#include "platform/machine.h"
#include "settings/folder_paths.h"
#include "settings/tunara_settings.h"

namespace tray {

namespace {

bool opensShared(const std::string& path) {
    if (path.empty()) return false;
    platform::FileSystem& files = *platform::machine().files;
    platform::FileHandle file = platform::kInvalidFileHandle;
    if (files.CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, &file) != ERROR_SUCCESS)
        return false;
    files.CloseHandle(file);
    return true;
}

}  // namespace

bool sampleSetFilePresent(int megabytes) {
    const std::string base = "\\Plat" + std::to_string(megabytes) + "Meg.im";
    return opensShared(settings::systemFolderPath(base.c_str())) ||
           opensShared(settings::systemFolderPath((base + "g").c_str()));
}

TrayMenuState computeTrayMenuState(settings::tunaraSettings& card, std::int32_t rememberedSize) {
    TrayMenuState state;
    state.speakers = card.readSpeakerOutput();
    state.hwAcceleration = card.hwAcceleration;
    state.micBoost = card.micBoost;
    const std::int32_t size = card.anyWavetableFilePresent() ? rememberedSize : 0;
    const std::int32_t selected = size / 2;  // C++ division truncates towards zero
    for (int item = 0; item < 3; ++item) {
        state.sampleSets[item].checked = item == selected;
        if (item > 0) state.sampleSets[item].greyed = !sampleSetFilePresent(2 * item);
    }
    return state;
}

}  // namespace tray

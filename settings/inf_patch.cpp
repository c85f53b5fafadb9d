// Patching the driver INF with the current settings, and making Windows install the device
// again from it at the next start.
#include "settings/inf_patch.h"

#include <string>

#include "platform/file_handle.h"
#include "platform/machine.h"
#include "settings/file_chunks.h"
#include "settings/folder_paths.h"
#include "settings/text_match.h"
#include "settings/tunara_settings.h"
#include "settings/wavetable.h"

namespace settings {

bool infPatchByte(std::int32_t code, unsigned char* byte) {
    static constexpr unsigned char kBytes[] = {'0', '1', '2', '3', '4', ' ', ';'};
    if (code < 0 || code >= static_cast<std::int32_t>(sizeof kBytes)) return false;
    *byte = kBytes[code];
    return true;
}

bool patchInfMarker(platform::FileSystem& files, platform::FileHandle file, std::string_view marker,
                    std::int32_t code, std::size_t chunkSize) {
    unsigned char byte = 0;
    const bool write = infPatchByte(code, &byte);
    if (!write && code != kPatchFindOnly) return false;
    if (findTextInFile(files, file, marker, chunkSize) != FileSearch::Found) return false;
    return !write || writeAll(files, file, &byte, 1);
}

bool tunaraSettings::patchInfByte(platform::FileHandle file, const char* marker,
                                  std::int32_t code) {
    if (marker == nullptr) return false;
    return patchInfMarker(*platform::machine().files, file, marker, code, kFileChunkSize);
}

void tunaraSettings::updateInfDefaults() {
    if (!infNeedsUpdate) return;
    forceDeviceReinstall();

    const std::string inf = windowsFolderPath(isMaestro2E ? kMaestro2EInf : kMaestro1Inf);
    if (inf.empty()) return;
    platform::ScopedFile file;
    if (platform::machine().files->CreateFile(inf.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                              file.receive()) != ERROR_SUCCESS)
        return;

    // Only the digits the driver knows are written; a size read from a damaged registry
    // leaves the INF's own digit alone.
    const std::int32_t sizeCode =
        activeWavetableSize >= 0 && activeWavetableSize <= 4 ? activeWavetableSize : kPatchFindOnly;
    const struct {
        const char* marker;
        std::int32_t code;
    } patches[kInfPatchCount] = {
        {kInfMarkerHwAcceleration, hwAcceleration ? 1 : 0},
        {kInfMarkerEnableSpdif, enableSpdif ? kPatchSpace : kPatchSemicolon},
        {kInfMarkerSpdif, spdif ? 1 : 0},
        {kInfMarkerSoundLibSize, sizeCode},
        {kInfMarkerMicBoost, micBoost ? kPatchSpace : kPatchSemicolon},
        {kInfMarkerMicMute, micMute ? 1 : 0},
    };
    // Each search goes on from where the last one stopped; a missing marker leaves the file
    // pointer at the end, so the ones after it are not found either.
    for (const auto& patch : patches) patchInfByte(file.get(), patch.marker, patch.code);
}

}  // namespace settings

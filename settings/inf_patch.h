// Patching the driver INF in place: the settings that reach the Maestro-2E driver only when
// Windows installs the device from its INF.
//
// The INF carries each setting as the byte just after a fixed marker ("HwAcceleration,1,0"
// then '1' or '0'; "remove the \";\"\r\n" then ' ' or ';', which comments the next line in
// or out). Each marker is searched for from where the previous search stopped, with the
// matching rule of settings/text_match.h, and the byte after it is overwritten. A marker that
// is missing leaves the file pointer at the end of the file, so every later one is missing
// too: a damaged INF is left alone rather than patched in the wrong places.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/files.h"

namespace settings {

// Codes of patchInfByte: 0-4 write that digit, 5 a space, 6 a ';'; kPatchFindOnly writes
// nothing. Any other code is refused.
constexpr std::int32_t kPatchSpace = 5;
constexpr std::int32_t kPatchSemicolon = 6;
constexpr std::int32_t kPatchFindOnly = 9;

// The byte a code writes. False for kPatchFindOnly and for codes that are not codes.
bool infPatchByte(std::int32_t code, unsigned char* byte);

// The markers, in the order they are patched.
constexpr std::size_t kInfPatchCount = 6;
constexpr const char* kInfMarkerHwAcceleration = "HwAcceleration,1,0";
constexpr const char* kInfMarkerEnableSpdif = "remove the \";\"\r\n";
constexpr const char* kInfMarkerSpdif = "HKR,Config,SPDIF,1,0";
constexpr const char* kInfMarkerSoundLibSize = "SoundLibSize,1,0";
constexpr const char* kInfMarkerMicBoost = "Autoexec,1,01,00\r\n";
constexpr const char* kInfMarkerMicMute = "HKR,Config,MicMute,1,0";

// patchInfByte with the size of its reads as a parameter (the member uses kFileChunkSize):
// searches the open file for `marker` from its file pointer; when found, writes the byte of
// `code` over the byte just after it (unless the code is kPatchFindOnly) and returns true,
// the file pointer just past the byte written (or just past the marker). When the marker is
// not found the result is false and the file pointer is at the end of the file. False too,
// with nothing written, for an unknown code (nothing is read) or a failed read or write.
bool patchInfMarker(platform::FileSystem& files, platform::FileHandle file, std::string_view marker,
                    std::int32_t code, std::size_t chunkSize);

}  // namespace settings

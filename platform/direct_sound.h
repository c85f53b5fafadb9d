// DirectSound's speaker configuration: DirectSoundCreate for the default device and the
// IDirectSound methods the card settings use.
//
// Results are the HRESULTs of the real calls (DS_OK, DSERR_*); outputs are untouched on
// failure. An object is a counted reference, as in COM: Create hands out one reference and
// Release drops it; an object must not be used after its last Release. DirectSound may be
// missing altogether (Windows 95 without DirectX): Create then fails with DSERR_NODRIVER.
#pragma once

#include <cstdint>

#include "platform/win32_constants.h"

namespace platform {

// A window (HWND), as in platform/ui.h.
using HWnd = std::uintptr_t;
// An HRESULT, as in platform/shell.h.
using HResult = std::int32_t;
// A DirectSound object (LPDIRECTSOUND). 0 is never a valid object.
using HDirectSound = std::uintptr_t;

// True for DS_OK and the other success codes.
constexpr bool dsSucceeded(HResult result) {
    return result >= 0;
}

// The speaker configuration (low byte, DSSPEAKER_*) and, for stereo, the geometry in
// degrees (bits 16 to 23), as DSSPEAKER_CONFIG and DSSPEAKER_GEOMETRY take them apart.
constexpr std::uint32_t dsSpeakerConfig(std::uint32_t value) {
    return value & 0xFFu;
}
constexpr std::uint32_t dsSpeakerGeometry(std::uint32_t value) {
    return (value >> 16) & 0xFFu;
}

class DirectSound {
public:
    virtual ~DirectSound() = default;

    // DirectSoundCreate(NULL, &object, NULL): the default device. Called for each speaker
    // configuration read or change; the caller releases the object right after.
    // DSERR_NODRIVER when there is no DirectSound or no device, DSERR_ALLOCATED when the
    // device is in use, DSERR_INVALIDPARAM for a null result.
    virtual HResult Create(HDirectSound* result) = 0;

    // IDirectSound::SetCooperativeLevel (the product asks for DSSCL_NORMAL).
    // DSERR_INVALIDPARAM for a null window or an unknown level.
    virtual HResult SetCooperativeLevel(HDirectSound object, HWnd window, std::uint32_t level) = 0;

    // IDirectSound::GetSpeakerConfig. DSERR_INVALIDPARAM for a null output.
    virtual HResult GetSpeakerConfig(HDirectSound object, std::uint32_t* config) = 0;

    // IDirectSound::SetSpeakerConfig with a DSSPEAKER_* value (geometry included for
    // stereo). The setting is system-wide and persists. DSERR_INVALIDPARAM for a value the
    // device does not know.
    virtual HResult SetSpeakerConfig(HDirectSound object, std::uint32_t config) = 0;

    // IUnknown::Release: drops one reference and returns the references left; at 0 the
    // object is gone.
    virtual std::uint32_t Release(HDirectSound object) = 0;
};

}  // namespace platform

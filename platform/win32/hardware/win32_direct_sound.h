// DirectSound loaded at run time: dsound.dll is not part of every Windows 95, so it is never
// imported. Create loads the library and calls its DirectSoundCreate; the object's last
// Release frees the library again. The IDirectSound methods are called through the object's
// table of virtual functions. Only objects handed out by Create are used: any other value is
// refused with DSERR_INVALIDPARAM (Release: 0) rather than called through.
#pragma once

#include <map>

#include "platform/direct_sound.h"

namespace platform::win32 {

class Win32DirectSound : public DirectSound {
public:
    ~Win32DirectSound() override;

    HResult Create(HDirectSound* result) override;
    HResult SetCooperativeLevel(HDirectSound object, HWnd window, std::uint32_t level) override;
    HResult GetSpeakerConfig(HDirectSound object, std::uint32_t* config) override;
    HResult SetSpeakerConfig(HDirectSound object, std::uint32_t config) override;
    std::uint32_t Release(HDirectSound object) override;

private:
    // Live objects and the dsound.dll reference each holds (an HMODULE).
    std::map<HDirectSound, std::uintptr_t> objects_;
};

}  // namespace platform::win32

// The mixer through winmm's mixer*A functions. The records are copied between the portable
// ones of platform/mixer.h and the Win32 ones field by field; results are the MMRESULTs of
// winmm unchanged, except that a null record is refused with MMSYSERR_INVALPARAM before
// winmm is called and a failed allocation is MMSYSERR_NOMEM.
#pragma once

#include "platform/mixer.h"

namespace platform::win32 {

class Win32Mixer : public Mixer {
public:
    std::uint32_t GetNumDevs() override;
    std::uint32_t Open(HMixer* result, std::uint32_t deviceId, HWnd callbackWindow,
                       std::uint32_t flags) override;
    std::uint32_t Close(HMixer mixer) override;
    std::uint32_t GetDevCaps(HMixerObj mixer, MixerCaps* caps) override;
    std::uint32_t GetLineInfo(HMixerObj mixer, MixerLine* line, std::uint32_t flags) override;
    std::uint32_t GetLineControls(HMixerObj mixer, MixerLineControls* controls,
                                  std::uint32_t flags) override;
    std::uint32_t GetControlDetails(HMixerObj mixer, MixerControlDetails* details,
                                    std::uint32_t flags) override;
    std::uint32_t SetControlDetails(HMixerObj mixer, const MixerControlDetails* details,
                                    std::uint32_t flags) override;
};

}  // namespace platform::win32

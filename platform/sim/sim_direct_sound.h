// DirectSound on the simulated machine: created when the DirectSound key's Present is
// non-zero, its speaker configuration kept in SpeakerConfig (platform/sim/sim_layout.h), so a
// change made by one process is what the next GetSpeakerConfig of any process reads.
//
// Results beyond platform/direct_sound.h: Create fails with DSERR_NODRIVER when Present is
// absent or 0. SetSpeakerConfig accepts DSSPEAKER_HEADPHONE to DSSPEAKER_SURROUND (the
// configurations of DirectX 5 and 6, the card's era) and, for stereo, a geometry of 0 or
// DSSPEAKER_GEOMETRY_MIN to _MAX; anything else is DSERR_INVALIDPARAM. A failed registry
// write is DSERR_GENERIC. An object that was never created or is already released answers
// DSERR_INVALIDPARAM (and Release 0) instead of crashing. The cooperative level is checked
// and remembered but changes nothing.
#pragma once

#include <cstdint>
#include <map>

#include "platform/direct_sound.h"
#include "platform/registry.h"

namespace platform::sim {

class SimDirectSound : public DirectSound {
public:
    explicit SimDirectSound(Registry& registry);

    HResult Create(HDirectSound* result) override;
    HResult SetCooperativeLevel(HDirectSound object, HWnd window, std::uint32_t level) override;
    HResult GetSpeakerConfig(HDirectSound object, std::uint32_t* config) override;
    HResult SetSpeakerConfig(HDirectSound object, std::uint32_t config) override;
    std::uint32_t Release(HDirectSound object) override;

    // Objects created and not yet released, for a test's leak check.
    std::size_t liveObjectCount() const { return objects_.size(); }

private:
    struct Object {
        std::uint32_t references = 1;
        std::uint32_t level = 0;
    };

    Registry& registry_;
    std::map<HDirectSound, Object> objects_;
    HDirectSound nextObject_ = 0xD500;
};

}  // namespace platform::sim

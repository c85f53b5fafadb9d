#include "platform/sim/sim_direct_sound.h"

#include "platform/sim/sim_layout.h"
#include "platform/sim/sim_registry.h"

namespace platform::sim {

SimDirectSound::SimDirectSound(Registry& registry) : registry_(registry) {}

HResult SimDirectSound::Create(HDirectSound* result) {
    if (result == nullptr) return DSERR_INVALIDPARAM;
    std::uint32_t present = 0;
    if (!readSimDword(registry_, kSimDirectSoundKey, kSimPresentValue, &present) || present == 0) {
        return DSERR_NODRIVER;
    }
    const HDirectSound object = nextObject_++;
    objects_[object] = Object{};
    *result = object;
    return DS_OK;
}

HResult SimDirectSound::SetCooperativeLevel(HDirectSound object, HWnd window, std::uint32_t level) {
    const auto found = objects_.find(object);
    if (found == objects_.end() || window == 0 || level < DSSCL_NORMAL ||
        level > DSSCL_WRITEPRIMARY) {
        return DSERR_INVALIDPARAM;
    }
    found->second.level = level;
    return DS_OK;
}

HResult SimDirectSound::GetSpeakerConfig(HDirectSound object, std::uint32_t* config) {
    if (objects_.count(object) == 0 || config == nullptr) return DSERR_INVALIDPARAM;
    std::uint32_t stored = DSSPEAKER_STEREO;
    readSimDword(registry_, kSimDirectSoundKey, kSimSpeakerConfigValue, &stored);
    *config = stored;
    return DS_OK;
}

HResult SimDirectSound::SetSpeakerConfig(HDirectSound object, std::uint32_t config) {
    if (objects_.count(object) == 0) return DSERR_INVALIDPARAM;
    const std::uint32_t speakers = dsSpeakerConfig(config);
    const std::uint32_t geometry = dsSpeakerGeometry(config);
    const bool knownSpeakers = speakers >= DSSPEAKER_HEADPHONE && speakers <= DSSPEAKER_SURROUND;
    const bool geometryOk =
        geometry == 0 || (speakers == DSSPEAKER_STEREO && geometry >= DSSPEAKER_GEOMETRY_MIN &&
                          geometry <= DSSPEAKER_GEOMETRY_MAX);
    if (!knownSpeakers || !geometryOk || (config & 0xFF00FF00u) != 0) return DSERR_INVALIDPARAM;
    if (writeSimDword(registry_, kSimDirectSoundKey, kSimSpeakerConfigValue, config) !=
        ERROR_SUCCESS) {
        return DSERR_GENERIC;
    }
    return DS_OK;
}

std::uint32_t SimDirectSound::Release(HDirectSound object) {
    const auto found = objects_.find(object);
    if (found == objects_.end()) return 0;
    const std::uint32_t left = --found->second.references;
    if (left == 0) objects_.erase(found);
    return left;
}

}  // namespace platform::sim

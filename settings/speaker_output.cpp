// The output device: speakers or headphones, as DirectSound's speaker configuration.
#include "platform/machine.h"
#include "settings/tunara_settings.h"

namespace settings {

bool tunaraSettings::beginDirectSound() {
    platform::DirectSound& ds = *platform::machine().directSound;
    platform::HDirectSound object = 0;
    if (!platform::dsSucceeded(ds.Create(&object)) || object == 0) return false;
    directSound = object;
    // The speaker configuration is system-wide and can be read and set at the normal level;
    // a refusal (no owner window yet) does not stop the call.
    ds.SetCooperativeLevel(directSound, ownerWindow, DSSCL_NORMAL);
    return true;
}

void tunaraSettings::endDirectSound() {
    if (directSound != 0) platform::machine().directSound->Release(directSound);
    directSound = 0;
}

bool tunaraSettings::readSpeakerOutput() {
    if (!beginDirectSound()) return speakersOutput;
    std::uint32_t config = 0;
    if (platform::dsSucceeded(
            platform::machine().directSound->GetSpeakerConfig(directSound, &config))) {
        speakerConfig = config;
        // A stereo configuration may carry the speakers' geometry in its high bits.
        speakersOutput = platform::dsSpeakerConfig(config) == DSSPEAKER_STEREO;
    }
    endDirectSound();
    return speakersOutput;
}

void tunaraSettings::setSpeakerOutput(bool speakers) {
    if (!beginDirectSound()) return;
    const std::uint32_t config = speakers ? DSSPEAKER_STEREO : DSSPEAKER_HEADPHONE;
    if (platform::dsSucceeded(
            platform::machine().directSound->SetSpeakerConfig(directSound, config)))
        speakersOutput = speakers;
    endDirectSound();
}

void tunaraSettings::toggleSpeakerOutput() {
    setSpeakerOutput(!readSpeakerOutput());
}

}  // namespace settings

// The microphone's 20 dB boost, a switch of the microphone line in the Windows mixer.
//
// The card's driver has no name for it that the other languages' drivers share, so it is
// found by position: mixer 0, destination 0 (playback), the first source of type microphone,
// the third control of that line.
#include "platform/machine.h"
#include "settings/tunara_settings.h"

namespace settings {
namespace {

// The boost control's position in the microphone line's control list.
constexpr std::uint32_t kBoostControlIndex = 2;
// The mixer whose lines are searched.
constexpr std::uint32_t kMixerDevice = 0;
// Bounds on what a driver reports, so that a broken one cannot make us loop or allocate
// without end. Real mixers have a handful of lines and controls.
constexpr std::uint32_t kMaxSources = 4096;
constexpr std::uint32_t kMaxLineControls = 4096;

void debug(const char* text) {
    platform::machine().system->OutputDebugString(text);
}

}  // namespace

void tunaraSettings::closeMixer() {
    if (mixer_ != 0) platform::machine().mixer->Close(mixer_);
    mixer_ = 0;
    mixerWindow_ = 0;
}

bool tunaraSettings::openMicLine(platform::HMixer* mixer, platform::MixerLine* line) {
    platform::Mixer& mixers = *platform::machine().mixer;

    // One handle serves every call and stays open so that the owner window keeps receiving
    // the mixer's change messages; a new owner window needs a handle of its own.
    if (mixer_ == 0 || mixerWindow_ != ownerWindow) {
        closeMixer();
        platform::HMixer opened = 0;
        const std::uint32_t callback = ownerWindow != 0 ? CALLBACK_WINDOW : CALLBACK_NULL;
        if (mixers.Open(&opened, kMixerDevice, ownerWindow, callback) != MMSYSERR_NOERROR ||
            opened == 0)
            return false;
        mixer_ = opened;
        mixerWindow_ = ownerWindow;
        debug("mixerOpen call successful\n");
    }

    platform::MixerCaps caps;
    if (mixers.GetDevCaps(kMixerDevice, &caps) != MMSYSERR_NOERROR) return false;
    debug("mixerGetDevCaps call successful\n");

    // Only destination 0 is searched: a microphone that only records is not the one whose
    // boost the card's driver exposes.
    if (caps.destinations == 0) return false;
    platform::MixerLine destination;
    destination.destination = 0;
    if (mixers.GetLineInfo(mixer_, &destination,
                           MIXER_GETLINEINFOF_DESTINATION | MIXER_OBJECTF_HMIXER) !=
        MMSYSERR_NOERROR)
        return false;
    debug("mixerGetLineInfo call successful\n");

    const std::uint32_t sources =
        destination.connections < kMaxSources ? destination.connections : kMaxSources;
    for (std::uint32_t source = 0; source < sources; ++source) {
        platform::MixerLine candidate;
        candidate.destination = 0;
        candidate.source = source;
        if (mixers.GetLineInfo(kMixerDevice, &candidate,
                               MIXER_GETLINEINFOF_SOURCE | MIXER_OBJECTF_MIXER) !=
            MMSYSERR_NOERROR) {
            debug("mixerGetLineInfo call unsuccessful");
            continue;
        }
        if (candidate.componentType == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE) {
            *mixer = mixer_;
            *line = candidate;
            return true;
        }
    }
    return false;
}

bool tunaraSettings::getBoostControl(platform::HMixer mixer, const platform::MixerLine& line,
                                     std::vector<platform::MixerControl>* controls,
                                     std::uint32_t* value, platform::MixerControlDetails* details) {
    // The handle only keeps the notifications coming; the calls address mixer 0 itself.
    (void)mixer;
    if (line.controls <= kBoostControlIndex || line.controls > kMaxLineControls) return false;
    controls->assign(line.controls, platform::MixerControl());

    platform::Mixer& mixers = *platform::machine().mixer;
    platform::MixerLineControls request;
    request.lineId = line.lineId;
    request.controls = line.controls;
    request.controlArray = controls->data();
    if (mixers.GetLineControls(kMixerDevice, &request,
                               MIXER_GETLINECONTROLSF_ALL | MIXER_OBJECTF_MIXER) !=
        MMSYSERR_NOERROR)
        return false;

    details->controlId = (*controls)[kBoostControlIndex].controlId;
    details->channels = 1;
    details->multipleItems = 0;
    details->detailSize = sizeof(std::uint32_t);
    details->values = value;
    return mixers.GetControlDetails(kMixerDevice, details,
                                    MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_MIXER) ==
           MMSYSERR_NOERROR;
}

bool tunaraSettings::readMicBoost() {
    platform::HMixer mixer = 0;
    platform::MixerLine line;
    if (!openMicLine(&mixer, &line)) {
        debug("Error opening Mic mixer line");
        return false;
    }
    std::vector<platform::MixerControl> controls;
    std::uint32_t value = 0;
    platform::MixerControlDetails details;
    if (!getBoostControl(mixer, line, &controls, &value, &details)) {
        debug("Error getting handle to the microphone control structure\n");
        return false;
    }
    return value != 0;
}

void tunaraSettings::setMicBoost(bool on) {
    micBoost = on;
    applyMicBoost(on);
}

void tunaraSettings::applyMicBoost(bool on) {
    platform::HMixer mixer = 0;
    platform::MixerLine line;
    if (!openMicLine(&mixer, &line)) {
        debug("Error opening Mic mixer line");
        return;
    }
    std::vector<platform::MixerControl> controls;
    std::uint32_t value = 0;
    platform::MixerControlDetails details;
    if (!getBoostControl(mixer, line, &controls, &value, &details)) {
        debug("Error getting handle to the microphone control structure\n");
        return;
    }
    value = on ? 1 : 0;
    platform::machine().mixer->SetControlDetails(
        kMixerDevice, &details, MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_MIXER);
}

}  // namespace settings

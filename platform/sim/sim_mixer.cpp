#include "platform/sim/sim_mixer.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/sim_layout.h"
#include "platform/sim/sim_registry.h"

namespace platform::sim {
namespace {

constexpr std::uint32_t kMaxDestinations = 256;
constexpr std::uint32_t kMaxSources = 4095;   // slot m + 1 must fit 12 bits
constexpr std::uint32_t kMaxControls = 4096;  // index must fit 12 bits
constexpr std::uint32_t kBoostIndex = 2;
constexpr std::uint32_t kObjectMask = 0xF0000000u;
constexpr std::uint32_t kQueryMask = 0x0000000Fu;
constexpr const char* kDeviceName = "Tunara Mixer";
constexpr std::uint32_t kDriverVersion = 0x0100;

struct LineNames {
    std::uint32_t componentType;
    const char* shortName;
    const char* name;
};

constexpr LineNames kLineNames[] = {
    {MIXERLINE_COMPONENTTYPE_DST_DIGITAL, "Digital Out", "Digital Out"},
    {MIXERLINE_COMPONENTTYPE_DST_LINE, "Line Out", "Line Out"},
    {MIXERLINE_COMPONENTTYPE_DST_MONITOR, "Monitor", "Monitor"},
    {MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, "Speakers", "Speakers"},
    {MIXERLINE_COMPONENTTYPE_DST_HEADPHONES, "Headphones", "Headphones"},
    {MIXERLINE_COMPONENTTYPE_DST_TELEPHONE, "Telephone", "Telephone"},
    {MIXERLINE_COMPONENTTYPE_DST_WAVEIN, "Recording", "Recording Control"},
    {MIXERLINE_COMPONENTTYPE_DST_VOICEIN, "Voice In", "Voice Input"},
    {MIXERLINE_COMPONENTTYPE_SRC_DIGITAL, "Digital In", "Digital In"},
    {MIXERLINE_COMPONENTTYPE_SRC_LINE, "Line In", "Line In"},
    {MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, "Microphone", "Microphone"},
    {MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, "MIDI", "Synthesizer"},
    {MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, "CD Audio", "CD Audio"},
    {MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE, "Telephone", "Telephone"},
    {MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER, "PC Speaker", "PC Speaker"},
    {MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, "Wave", "Wave Out"},
    {MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY, "Aux", "Auxiliary"},
    {MIXERLINE_COMPONENTTYPE_SRC_ANALOG, "Analog", "Analog In"},
};

// Copies a name into a fixed field, cut to fit and always terminated.
template <std::size_t N>
void copyName(char (&to)[N], const char* from) {
    std::size_t i = 0;
    for (; i + 1 < N && from[i] != '\0'; ++i) to[i] = from[i];
    to[i] = '\0';
}

std::uint32_t controlTypeAt(std::uint32_t index) {
    switch (index) {
        case 0:
            return MIXERCONTROL_CONTROLTYPE_VOLUME;
        case 1:
            return MIXERCONTROL_CONTROLTYPE_MUTE;
        case kBoostIndex:
            return MIXERCONTROL_CONTROLTYPE_ONOFF;
        default:
            return MIXERCONTROL_CONTROLTYPE_BOOLEAN;
    }
}

std::string lineKey(std::uint32_t destination, bool isSource, std::uint32_t source) {
    return isSource ? simMixerSourceKey(destination, source) : simMixerDestinationKey(destination);
}

}  // namespace

SimMixer::SimMixer(Registry& registry, NotificationSink sink)
    : registry_(registry), sink_(std::move(sink)) {}

std::uint32_t SimMixer::destinationLineId(std::uint32_t destination) {
    return destination << 16 | 0xFFFFu;
}

std::uint32_t SimMixer::sourceLineId(std::uint32_t destination, std::uint32_t source) {
    return destination << 16 | (source & 0xFFFFu);
}

std::uint32_t SimMixer::controlId(std::uint32_t lineId, std::uint32_t index) {
    const std::uint32_t destination = lineId >> 16;
    const std::uint32_t low = lineId & 0xFFFFu;
    const std::uint32_t slot = low == 0xFFFFu ? 0 : low + 1;
    return destination << 24 | (slot & 0xFFFu) << 12 | (index & 0xFFFu);
}

std::uint32_t SimMixer::lineIdOf(const Line& line) {
    return line.isSource ? sourceLineId(line.destination, line.source)
                         : destinationLineId(line.destination);
}

std::uint32_t SimMixer::channelsOf(const Line& line) {
    return line.componentType == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE ? 1 : 2;
}

bool SimMixer::deviceExists() {
    return simKeyExists(registry_, kSimMixerKey);
}

std::uint32_t SimMixer::countDestinations() {
    std::uint32_t count = 0;
    while (count < kMaxDestinations &&
           simKeyExists(registry_, simMixerDestinationKey(count).c_str())) {
        ++count;
    }
    return count;
}

std::uint32_t SimMixer::countSources(std::uint32_t destination) {
    std::uint32_t count = 0;
    while (count < kMaxSources &&
           simKeyExists(registry_, simMixerSourceKey(destination, count).c_str())) {
        ++count;
    }
    return count;
}

bool SimMixer::readLine(std::uint32_t destination, bool isSource, std::uint32_t source,
                        Line* line) {
    if (destination >= kMaxDestinations || (isSource && source >= kMaxSources)) return false;
    // Listed only when every earlier number exists too: the first gap ends a list.
    for (std::uint32_t d = 0; d <= destination; ++d) {
        if (!simKeyExists(registry_, simMixerDestinationKey(d).c_str())) return false;
    }
    if (isSource) {
        for (std::uint32_t s = 0; s <= source; ++s) {
            if (!simKeyExists(registry_, simMixerSourceKey(destination, s).c_str())) return false;
        }
    }
    const std::string key = lineKey(destination, isSource, source);
    Line read;
    read.destination = destination;
    read.isSource = isSource;
    read.source = isSource ? source : 0;
    read.componentType =
        isSource ? MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED : MIXERLINE_COMPONENTTYPE_DST_UNDEFINED;
    readSimDword(registry_, key.c_str(), kSimComponentTypeValue, &read.componentType);
    readSimDword(registry_, key.c_str(), kSimControlsValue, &read.controls);
    readSimDword(registry_, key.c_str(), kSimValueValue, &read.value);
    if (read.controls > kMaxControls) read.controls = kMaxControls;
    read.connections = isSource ? 0 : countSources(destination);
    *line = read;
    return true;
}

bool SimMixer::readLineById(std::uint32_t lineId, Line* line) {
    const std::uint32_t destination = lineId >> 16;
    const std::uint32_t low = lineId & 0xFFFFu;
    if (low == 0xFFFFu) return readLine(destination, false, 0, line);
    return readLine(destination, true, low, line);
}

bool SimMixer::findLineByType(std::uint32_t componentType, Line* line) {
    const std::uint32_t destinations = countDestinations();
    for (std::uint32_t d = 0; d < destinations; ++d) {
        Line destination;
        if (!readLine(d, false, 0, &destination)) return false;
        if (destination.componentType == componentType) {
            *line = destination;
            return true;
        }
        for (std::uint32_t s = 0; s < destination.connections; ++s) {
            Line source;
            if (readLine(d, true, s, &source) && source.componentType == componentType) {
                *line = source;
                return true;
            }
        }
    }
    return false;
}

bool SimMixer::findControl(std::uint32_t id, Line* line, std::uint32_t* index) {
    const std::uint32_t destination = id >> 24;
    const std::uint32_t slot = (id >> 12) & 0xFFFu;
    const std::uint32_t at = id & 0xFFFu;
    Line found;
    if (!readLine(destination, slot != 0, slot == 0 ? 0 : slot - 1, &found) ||
        at >= found.controls) {
        return false;
    }
    *line = found;
    *index = at;
    return true;
}

void SimMixer::fillLine(const Line& line, MixerLine* out) {
    MixerLine filled;
    filled.destination = line.destination;
    filled.source = line.source;
    filled.lineId = lineIdOf(line);
    filled.line = MIXERLINE_LINEF_ACTIVE | (line.isSource ? MIXERLINE_LINEF_SOURCE : 0);
    filled.componentType = line.componentType;
    filled.channels = channelsOf(line);
    filled.connections = line.connections;
    filled.controls = line.controls;
    const char* shortName = line.isSource ? "Input" : "Output";
    const char* name = shortName;
    for (const LineNames& names : kLineNames) {
        if (names.componentType == line.componentType) {
            shortName = names.shortName;
            name = names.name;
        }
    }
    copyName(filled.shortName, shortName);
    copyName(filled.name, name);
    filled.target.type = MIXERLINE_TARGETTYPE_UNDEFINED;
    filled.target.driverVersion = kDriverVersion;
    copyName(filled.target.name, kDeviceName);
    *out = filled;
}

void SimMixer::fillControl(const Line& line, std::uint32_t index, MixerControl* out) {
    MixerControl control;
    control.controlId = controlId(lineIdOf(line), index);
    control.controlType = controlTypeAt(index);
    switch (index) {
        case 0:
            control.control = MIXERCONTROL_CONTROLF_DISABLED;
            control.maximum = 0xFFFF;
            control.steps = 0x10000;
            copyName(control.shortName, "Volume");
            copyName(control.name, "Volume");
            break;
        case 1:
            control.control = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_DISABLED;
            control.maximum = 1;
            copyName(control.shortName, "Mute");
            copyName(control.name, "Mute");
            break;
        case kBoostIndex:
            control.control = MIXERCONTROL_CONTROLF_UNIFORM;
            control.maximum = 1;
            if (line.componentType == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE) {
                copyName(control.shortName, "Mic Boost");
                copyName(control.name, "Microphone 20 dB Boost");
            } else {
                copyName(control.shortName, "Switch");
                copyName(control.name, "Switch");
            }
            break;
        default: {
            control.control = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_DISABLED;
            control.maximum = 1;
            char name[24];  // index is below 4096: "Switch 4095" fits a short name
            std::snprintf(name, sizeof name, "Switch %u", static_cast<unsigned>(index & 0xFFFu));
            copyName(control.shortName, name);
            copyName(control.name, name);
            break;
        }
    }
    *out = control;
}

std::uint32_t SimMixer::checkObject(HMixerObj mixer, std::uint32_t flags) {
    switch (flags & kObjectMask) {
        case MIXER_OBJECTF_MIXER:
            return mixer == 0 && deviceExists() ? MMSYSERR_NOERROR : MMSYSERR_BADDEVICEID;
        case MIXER_OBJECTF_HMIXER:
            if (open_.count(mixer) == 0) return MMSYSERR_INVALHANDLE;
            return deviceExists() ? MMSYSERR_NOERROR : MMSYSERR_NODRIVER;
        default:
            return MMSYSERR_NOTSUPPORTED;
    }
}

std::uint32_t SimMixer::GetNumDevs() {
    return deviceExists() ? 1 : 0;
}

std::uint32_t SimMixer::Open(HMixer* result, std::uint32_t deviceId, HWnd callbackWindow,
                             std::uint32_t flags) {
    if (result == nullptr) return MMSYSERR_INVALPARAM;
    if (flags != CALLBACK_NULL && flags != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
    if (flags == CALLBACK_WINDOW && callbackWindow == 0) return MMSYSERR_INVALPARAM;
    if (deviceId != 0 || !deviceExists()) return MMSYSERR_BADDEVICEID;
    const HMixer handle = nextHandle_++;
    open_[handle] = flags == CALLBACK_WINDOW ? callbackWindow : 0;
    *result = handle;
    return MMSYSERR_NOERROR;
}

std::uint32_t SimMixer::Close(HMixer mixer) {
    return open_.erase(mixer) == 1 ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

std::uint32_t SimMixer::GetDevCaps(HMixerObj mixer, MixerCaps* caps) {
    if (caps == nullptr) return MMSYSERR_INVALPARAM;
    if (open_.count(mixer) != 0) {
        if (!deviceExists()) return MMSYSERR_NODRIVER;
    } else if (mixer != 0 || !deviceExists()) {
        return MMSYSERR_BADDEVICEID;
    }
    MixerCaps filled;
    filled.driverVersion = kDriverVersion;
    copyName(filled.name, kDeviceName);
    filled.destinations = countDestinations();
    *caps = filled;
    return MMSYSERR_NOERROR;
}

std::uint32_t SimMixer::GetLineInfo(HMixerObj mixer, MixerLine* line, std::uint32_t flags) {
    if (line == nullptr) return MMSYSERR_INVALPARAM;
    if ((flags & ~(kObjectMask | kQueryMask)) != 0) return MMSYSERR_INVALFLAG;
    const std::uint32_t query = flags & kQueryMask;
    if (query > MIXER_GETLINEINFOF_TARGETTYPE) return MMSYSERR_INVALFLAG;
    if (const std::uint32_t error = checkObject(mixer, flags); error != MMSYSERR_NOERROR) {
        return error;
    }
    Line found;
    bool ok = false;
    switch (query) {
        case MIXER_GETLINEINFOF_DESTINATION:
            ok = readLine(line->destination, false, 0, &found);
            break;
        case MIXER_GETLINEINFOF_SOURCE:
            ok = readLine(line->destination, true, line->source, &found);
            break;
        case MIXER_GETLINEINFOF_LINEID:
            ok = readLineById(line->lineId, &found);
            break;
        case MIXER_GETLINEINFOF_COMPONENTTYPE:
            ok = findLineByType(line->componentType, &found);
            break;
        default:
            return MMSYSERR_NOTSUPPORTED;
    }
    if (!ok) return MIXERR_INVALLINE;
    fillLine(found, line);
    return MMSYSERR_NOERROR;
}

std::uint32_t SimMixer::GetLineControls(HMixerObj mixer, MixerLineControls* controls,
                                        std::uint32_t flags) {
    if (controls == nullptr) return MMSYSERR_INVALPARAM;
    if ((flags & ~(kObjectMask | kQueryMask)) != 0) return MMSYSERR_INVALFLAG;
    const std::uint32_t query = flags & kQueryMask;
    if (query > MIXER_GETLINECONTROLSF_ONEBYTYPE) return MMSYSERR_INVALFLAG;
    if (const std::uint32_t error = checkObject(mixer, flags); error != MMSYSERR_NOERROR) {
        return error;
    }
    Line line;
    if (query == MIXER_GETLINECONTROLSF_ONEBYID) {
        std::uint32_t index = 0;
        if (!findControl(controls->controlId, &line, &index)) return MIXERR_INVALCONTROL;
        if (controls->controlArray == nullptr) return MMSYSERR_INVALPARAM;
        fillControl(line, index, controls->controlArray);
        controls->lineId = lineIdOf(line);
        return MMSYSERR_NOERROR;
    }
    if (!readLineById(controls->lineId, &line)) return MIXERR_INVALLINE;
    if (query == MIXER_GETLINECONTROLSF_ONEBYTYPE) {
        for (std::uint32_t index = 0; index < line.controls; ++index) {
            if (controlTypeAt(index) == controls->controlType) {
                if (controls->controlArray == nullptr) return MMSYSERR_INVALPARAM;
                fillControl(line, index, controls->controlArray);
                return MMSYSERR_NOERROR;
            }
            if (index > kBoostIndex) break;  // every later control has the type of index 3
        }
        return MIXERR_INVALCONTROL;
    }
    if (line.controls == 0 || controls->controls != line.controls ||
        controls->controlArray == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    for (std::uint32_t index = 0; index < line.controls; ++index) {
        fillControl(line, index, &controls->controlArray[index]);
    }
    return MMSYSERR_NOERROR;
}

std::uint32_t SimMixer::checkDetails(const MixerControlDetails* details, Line* line,
                                     std::uint32_t* index) {
    if (details == nullptr) return MMSYSERR_INVALPARAM;
    if (!findControl(details->controlId, line, index)) return MIXERR_INVALCONTROL;
    if (details->detailSize != 4 || details->values == nullptr || details->multipleItems != 0 ||
        details->channels == 0 || details->channels > channelsOf(*line)) {
        return MMSYSERR_INVALPARAM;
    }
    return MMSYSERR_NOERROR;
}

std::uint32_t SimMixer::GetControlDetails(HMixerObj mixer, MixerControlDetails* details,
                                          std::uint32_t flags) {
    if ((flags & ~(kObjectMask | kQueryMask)) != 0) return MMSYSERR_INVALFLAG;
    const std::uint32_t query = flags & kQueryMask;
    if (query == MIXER_GETCONTROLDETAILSF_LISTTEXT) return MMSYSERR_NOTSUPPORTED;
    if (query != MIXER_GETCONTROLDETAILSF_VALUE) return MMSYSERR_INVALFLAG;
    if (const std::uint32_t error = checkObject(mixer, flags); error != MMSYSERR_NOERROR) {
        return error;
    }
    Line line;
    std::uint32_t index = 0;
    if (const std::uint32_t error = checkDetails(details, &line, &index);
        error != MMSYSERR_NOERROR) {
        return error;
    }
    const std::uint32_t value = index == kBoostIndex ? line.value : 0;
    for (std::uint32_t channel = 0; channel < details->channels; ++channel) {
        details->values[channel] = value;
    }
    return MMSYSERR_NOERROR;
}

std::uint32_t SimMixer::SetControlDetails(HMixerObj mixer, const MixerControlDetails* details,
                                          std::uint32_t flags) {
    if ((flags & ~(kObjectMask | kQueryMask)) != 0) return MMSYSERR_INVALFLAG;
    const std::uint32_t query = flags & kQueryMask;
    if (query == MIXER_SETCONTROLDETAILSF_CUSTOM) return MMSYSERR_NOTSUPPORTED;
    if (query != MIXER_SETCONTROLDETAILSF_VALUE) return MMSYSERR_INVALFLAG;
    if (const std::uint32_t error = checkObject(mixer, flags); error != MMSYSERR_NOERROR) {
        return error;
    }
    Line line;
    std::uint32_t index = 0;
    if (const std::uint32_t error = checkDetails(details, &line, &index);
        error != MMSYSERR_NOERROR) {
        return error;
    }
    if (index != kBoostIndex) return MMSYSERR_NOTSUPPORTED;
    const std::string key = lineKey(line.destination, line.isSource, line.source);
    if (writeSimDword(registry_, key.c_str(), kSimValueValue, details->values[0]) !=
        ERROR_SUCCESS) {
        return MMSYSERR_ERROR;
    }
    if (sink_) {
        // A window may answer by opening or closing handles: walk a copy.
        const std::vector<std::pair<HMixer, HWnd>> targets(open_.begin(), open_.end());
        for (const auto& [handle, window] : targets) {
            if (window != 0) {
                sink_(window, MM_MIXM_CONTROL_CHANGE, handle,
                      static_cast<std::intptr_t>(details->controlId));
            }
        }
    }
    return MMSYSERR_NOERROR;
}

}  // namespace platform::sim

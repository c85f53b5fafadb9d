#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/hardware/win32_mixer.h"

#include <vector>

#include "platform/out_of_memory.h"

namespace platform::win32 {
namespace {

static_assert(kMixerProductNameChars == MAXPNAMELEN, "product name size");
static_assert(kMixerShortNameChars == MIXER_SHORT_NAME_CHARS, "short name size");
static_assert(kMixerLongNameChars == MIXER_LONG_NAME_CHARS, "long name size");
static_assert(sizeof(MIXERCONTROLDETAILS_BOOLEAN) == 4 && sizeof(MIXERCONTROLDETAILS_UNSIGNED) == 4,
              "one 32-bit value per channel");

template <std::size_t N>
void copyName(char (&to)[N], const char (&from)[N]) {
    for (std::size_t i = 0; i < N; ++i) to[i] = from[i];
    to[N - 1] = '\0';
}

HMIXEROBJ objectOf(HMixerObj mixer) {
    return reinterpret_cast<HMIXEROBJ>(mixer);
}

void toWin32(const MixerLine& line, MIXERLINEA* out) {
    *out = MIXERLINEA{};
    out->cbStruct = sizeof(MIXERLINEA);
    out->dwDestination = line.destination;
    out->dwSource = line.source;
    out->dwLineID = line.lineId;
    out->dwComponentType = line.componentType;
    out->Target.dwType = line.target.type;
    out->Target.dwDeviceID = line.target.deviceId;
    out->Target.wMid = line.target.mid;
    out->Target.wPid = line.target.pid;
    out->Target.vDriverVersion = line.target.driverVersion;
    copyName(out->Target.szPname, line.target.name);
}

void fromWin32(const MIXERLINEA& line, MixerLine* out) {
    out->destination = line.dwDestination;
    out->source = line.dwSource;
    out->lineId = line.dwLineID;
    out->line = line.fdwLine;
    out->componentType = line.dwComponentType;
    out->channels = line.cChannels;
    out->connections = line.cConnections;
    out->controls = line.cControls;
    copyName(out->shortName, line.szShortName);
    copyName(out->name, line.szName);
    out->target.type = line.Target.dwType;
    out->target.deviceId = line.Target.dwDeviceID;
    out->target.mid = line.Target.wMid;
    out->target.pid = line.Target.wPid;
    out->target.driverVersion = line.Target.vDriverVersion;
    copyName(out->target.name, line.Target.szPname);
}

void fromWin32(const MIXERCONTROLA& control, MixerControl* out) {
    out->controlId = control.dwControlID;
    out->controlType = control.dwControlType;
    out->control = control.fdwControl;
    out->multipleItems = control.cMultipleItems;
    copyName(out->shortName, control.szShortName);
    copyName(out->name, control.szName);
    out->minimum = control.Bounds.dwMinimum;
    out->maximum = control.Bounds.dwMaximum;
    out->steps = control.Metrics.cSteps;
}

MIXERCONTROLDETAILS toWin32(const MixerControlDetails& details) {
    MIXERCONTROLDETAILS out{};
    out.cbStruct = sizeof(MIXERCONTROLDETAILS);
    out.dwControlID = details.controlId;
    out.cChannels = details.channels;
    out.cMultipleItems = details.multipleItems;
    out.cbDetails = details.detailSize;
    out.paDetails = details.values;
    return out;
}

}  // namespace

std::uint32_t Win32Mixer::GetNumDevs() {
    return mixerGetNumDevs();
}

std::uint32_t Win32Mixer::Open(HMixer* result, std::uint32_t deviceId, HWnd callbackWindow,
                               std::uint32_t flags) {
    if (result == nullptr) return MMSYSERR_INVALPARAM;
    HMIXER mixer = nullptr;
    const MMRESULT error =
        mixerOpen(&mixer, deviceId, static_cast<DWORD_PTR>(callbackWindow), 0, flags);
    if (error == MMSYSERR_NOERROR) *result = reinterpret_cast<HMixer>(mixer);
    return error;
}

std::uint32_t Win32Mixer::Close(HMixer mixer) {
    return mixerClose(reinterpret_cast<HMIXER>(mixer));
}

std::uint32_t Win32Mixer::GetDevCaps(HMixerObj mixer, MixerCaps* caps) {
    if (caps == nullptr) return MMSYSERR_INVALPARAM;
    MIXERCAPSA win{};
    const MMRESULT error = mixerGetDevCapsA(static_cast<UINT_PTR>(mixer), &win, sizeof win);
    if (error != MMSYSERR_NOERROR) return error;
    caps->mid = win.wMid;
    caps->pid = win.wPid;
    caps->driverVersion = win.vDriverVersion;
    copyName(caps->name, win.szPname);
    caps->support = win.fdwSupport;
    caps->destinations = win.cDestinations;
    return MMSYSERR_NOERROR;
}

std::uint32_t Win32Mixer::GetLineInfo(HMixerObj mixer, MixerLine* line, std::uint32_t flags) {
    if (line == nullptr) return MMSYSERR_INVALPARAM;
    MIXERLINEA win;
    toWin32(*line, &win);
    const MMRESULT error = mixerGetLineInfoA(objectOf(mixer), &win, flags);
    if (error == MMSYSERR_NOERROR) fromWin32(win, line);
    return error;
}

std::uint32_t Win32Mixer::GetLineControls(HMixerObj mixer, MixerLineControls* controls,
                                          std::uint32_t flags) {
    if (controls == nullptr || controls->controlArray == nullptr) return MMSYSERR_INVALPARAM;
    const std::uint32_t query = flags & MIXER_GETLINECONTROLSF_QUERYMASK;
    const std::uint32_t count = query == MIXER_GETLINECONTROLSF_ALL ? controls->controls : 1;
    std::vector<MIXERCONTROLA> win;
    if (!completesInMemory([&] { win.resize(count == 0 ? 1 : count); })) return MMSYSERR_NOMEM;
    for (MIXERCONTROLA& each : win) each.cbStruct = sizeof(MIXERCONTROLA);

    MIXERLINECONTROLSA request{};
    request.cbStruct = sizeof request;
    request.dwLineID = controls->lineId;
    if (query == MIXER_GETLINECONTROLSF_ONEBYTYPE) {
        request.dwControlType = controls->controlType;
    } else {
        request.dwControlID = controls->controlId;
    }
    request.cControls = query == MIXER_GETLINECONTROLSF_ALL ? controls->controls : 1;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = win.data();
    const MMRESULT error = mixerGetLineControlsA(objectOf(mixer), &request, flags);
    if (error != MMSYSERR_NOERROR) return error;
    for (std::uint32_t i = 0; i < count; ++i) fromWin32(win[i], &controls->controlArray[i]);
    controls->lineId = request.dwLineID;
    return MMSYSERR_NOERROR;
}

std::uint32_t Win32Mixer::GetControlDetails(HMixerObj mixer, MixerControlDetails* details,
                                            std::uint32_t flags) {
    if (details == nullptr) return MMSYSERR_INVALPARAM;
    MIXERCONTROLDETAILS win = toWin32(*details);
    return mixerGetControlDetailsA(objectOf(mixer), &win, flags);
}

std::uint32_t Win32Mixer::SetControlDetails(HMixerObj mixer, const MixerControlDetails* details,
                                            std::uint32_t flags) {
    if (details == nullptr) return MMSYSERR_INVALPARAM;
    MIXERCONTROLDETAILS win = toWin32(*details);
    return mixerSetControlDetails(objectOf(mixer), &win, flags);
}

}  // namespace platform::win32

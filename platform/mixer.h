// The Windows audio mixer, as the winmm mixer*A functions offer it.
//
// Every operation returns the MMRESULT of its Win32 namesake (MMSYSERR_NOERROR on success,
// MMSYSERR_*, MIXERR_*) and leaves its outputs untouched on failure. The records mirror
// MIXERCAPSA, MIXERLINEA, MIXERCONTROLA, MIXERLINECONTROLSA and MIXERCONTROLDETAILS without
// their cbStruct sizes (a back-end fills the Win32 records with the right sizes itself).
// Control values are 32-bit: MIXERCONTROLDETAILS_BOOLEAN (fValue) or
// MIXERCONTROLDETAILS_UNSIGNED (dwValue), one per channel.
//
// Addressing. As in Win32, the line, control and detail calls take a mixer object and an
// MIXER_OBJECTF_* part in their flags: MIXER_OBJECTF_MIXER (0) when the object is a mixer
// device identifier, MIXER_OBJECTF_HMIXER when it is a handle from Open. Other object kinds
// (wave, MIDI, aux) are not used by the product.
//
// Notifications. A mixer opened with CALLBACK_WINDOW posts MM_MIXM_LINE_CHANGE and
// MM_MIXM_CONTROL_CHANGE (wParam = the mixer handle, lParam = the line or control id) to its
// window for as long as the handle stays open.
#pragma once

#include <cstdint>

#include "platform/win32_constants.h"

namespace platform {

// A window (HWND), as in platform/ui.h.
using HWnd = std::uintptr_t;
// An open mixer (HMIXER). 0 is never a valid handle.
using HMixer = std::uintptr_t;
// A mixer device identifier or an HMixer, as the MIXER_OBJECTF_* flag says (HMIXEROBJ).
using HMixerObj = std::uintptr_t;

// MAXPNAMELEN, MIXER_SHORT_NAME_CHARS and MIXER_LONG_NAME_CHARS, spelt out so that this
// header does not depend on <mmsystem.h> being included where <windows.h> is.
constexpr std::uint32_t kMixerProductNameChars = 32;
constexpr std::uint32_t kMixerShortNameChars = 16;
constexpr std::uint32_t kMixerLongNameChars = 64;

// MIXERCAPSA.
struct MixerCaps {
    std::uint16_t mid = 0;                   // wMid: manufacturer
    std::uint16_t pid = 0;                   // wPid: product
    std::uint32_t driverVersion = 0;         // vDriverVersion: major in the high byte
    char name[kMixerProductNameChars] = {};  // szPname
    std::uint32_t support = 0;               // fdwSupport
    std::uint32_t destinations = 0;          // cDestinations
};

// MIXERLINEA. The inputs, by query: destination (MIXER_GETLINEINFOF_DESTINATION),
// destination and source (..._SOURCE), lineId (..._LINEID), componentType
// (..._COMPONENTTYPE). On success every field is filled.
struct MixerLine {
    std::uint32_t destination = 0;              // dwDestination: 0 to cDestinations - 1
    std::uint32_t source = 0;                   // dwSource: 0 to the destination's connections - 1
    std::uint32_t lineId = 0;                   // dwLineID
    std::uint32_t line = 0;                     // fdwLine: MIXERLINE_LINEF_*
    std::uint32_t componentType = 0;            // dwComponentType: MIXERLINE_COMPONENTTYPE_*
    std::uint32_t channels = 0;                 // cChannels
    std::uint32_t connections = 0;              // cConnections: sources of a destination
    std::uint32_t controls = 0;                 // cControls
    char shortName[kMixerShortNameChars] = {};  // szShortName
    char name[kMixerLongNameChars] = {};        // szName
    struct {
        std::uint32_t type = 0;                  // dwType: MIXERLINE_TARGETTYPE_*
        std::uint32_t deviceId = 0;              // dwDeviceID
        std::uint16_t mid = 0;                   // wMid
        std::uint16_t pid = 0;                   // wPid
        std::uint32_t driverVersion = 0;         // vDriverVersion
        char name[kMixerProductNameChars] = {};  // szPname
    } target;
};

// MIXERCONTROLA. Bounds and metrics are given in their unsigned form (signed controls keep
// their two's complement bits).
struct MixerControl {
    std::uint32_t controlId = 0;                // dwControlID
    std::uint32_t controlType = 0;              // dwControlType: MIXERCONTROL_CONTROLTYPE_*
    std::uint32_t control = 0;                  // fdwControl: MIXERCONTROL_CONTROLF_*
    std::uint32_t multipleItems = 0;            // cMultipleItems
    char shortName[kMixerShortNameChars] = {};  // szShortName
    char name[kMixerLongNameChars] = {};        // szName
    std::uint32_t minimum = 0;                  // Bounds.dwMinimum
    std::uint32_t maximum = 0;                  // Bounds.dwMaximum
    std::uint32_t steps = 0;                    // Metrics.cSteps
};

// MIXERLINECONTROLSA. In: lineId and, by query, controlId (MIXER_GETLINECONTROLSF_ONEBYID;
// Win32 keeps it in a union with controlType) or controlType (..._ONEBYTYPE); controls is
// the number of records at `controlArray` (the line's cControls for ..._ALL, 1 otherwise).
// ONEBYID also sets lineId to the control's line.
struct MixerLineControls {
    std::uint32_t lineId = 0;              // dwLineID
    std::uint32_t controlId = 0;           // dwControlID
    std::uint32_t controlType = 0;         // dwControlType
    std::uint32_t controls = 0;            // cControls
    MixerControl* controlArray = nullptr;  // pamxctrl
};

// MIXERCONTROLDETAILS for BOOLEAN and UNSIGNED values. `values` holds channels (times
// multipleItems when that is non-zero) 32-bit values; detailSize is 4.
struct MixerControlDetails {
    std::uint32_t controlId = 0;      // dwControlID
    std::uint32_t channels = 0;       // cChannels: 1 for a uniform control
    std::uint32_t multipleItems = 0;  // cMultipleItems
    std::uint32_t detailSize = 0;     // cbDetails: 4
    std::uint32_t* values = nullptr;  // paDetails
};

class Mixer {
public:
    virtual ~Mixer() = default;

    // mixerGetNumDevs: the number of mixer devices; 0 when there is none. Never fails.
    virtual std::uint32_t GetNumDevs() = 0;

    // mixerOpen of device `deviceId` (MIXER_OBJECTF_MIXER) with CALLBACK_WINDOW and
    // `callbackWindow`, or CALLBACK_NULL and no window. The handle stays valid until Close;
    // the product keeps it open so that change notifications keep arriving.
    // MMSYSERR_BADDEVICEID for a device that does not exist, MMSYSERR_INVALFLAG for other
    // flags, MMSYSERR_INVALPARAM for a null result or CALLBACK_WINDOW without a window.
    virtual std::uint32_t Open(HMixer* result, std::uint32_t deviceId, HWnd callbackWindow,
                               std::uint32_t flags) = 0;

    // mixerClose. MMSYSERR_INVALHANDLE for a handle that is not open.
    virtual std::uint32_t Close(HMixer mixer) = 0;

    // mixerGetDevCapsA: `mixer` is a device identifier (or an open handle, as Win32 allows).
    // MMSYSERR_BADDEVICEID for a device that does not exist, MMSYSERR_INVALPARAM for null.
    virtual std::uint32_t GetDevCaps(HMixerObj mixer, MixerCaps* caps) = 0;

    // mixerGetLineInfoA. Flags: one MIXER_GETLINEINFOF_* query and the object kind.
    // MIXERR_INVALLINE when the addressed line does not exist; MMSYSERR_BADDEVICEID or
    // MMSYSERR_INVALHANDLE for a bad mixer; MMSYSERR_INVALFLAG for an unknown query;
    // MMSYSERR_NOTSUPPORTED for a query a back-end does not offer (the simulated card has
    // no targets, so MIXER_GETLINEINFOF_TARGETTYPE).
    virtual std::uint32_t GetLineInfo(HMixerObj mixer, MixerLine* line, std::uint32_t flags) = 0;

    // mixerGetLineControlsA. Flags: MIXER_GETLINECONTROLSF_ALL, ..._ONEBYID or ..._ONEBYTYPE
    // and the object kind. ALL fills `controls` records in the line's order and requires
    // `controls` to equal the line's cControls (MMSYSERR_INVALPARAM otherwise, and for a
    // line without controls). MIXERR_INVALLINE for an unknown line, MIXERR_INVALCONTROL when
    // no control has the id or type.
    virtual std::uint32_t GetLineControls(HMixerObj mixer, MixerLineControls* controls,
                                          std::uint32_t flags) = 0;

    // mixerGetControlDetailsA with MIXER_GETCONTROLDETAILSF_VALUE: fills `values`.
    // MIXERR_INVALCONTROL for an unknown control, MMSYSERR_INVALPARAM for a null array, a
    // detail size other than 4 or a channel count the control does not have.
    virtual std::uint32_t GetControlDetails(HMixerObj mixer, MixerControlDetails* details,
                                            std::uint32_t flags) = 0;

    // mixerSetControlDetails with MIXER_SETCONTROLDETAILSF_VALUE. Errors as
    // GetControlDetails; a control the device does not let change gives
    // MMSYSERR_NOTSUPPORTED. On success every window of an open handle of this mixer
    // receives MM_MIXM_CONTROL_CHANGE.
    virtual std::uint32_t SetControlDetails(HMixerObj mixer, const MixerControlDetails* details,
                                            std::uint32_t flags) = 0;
};

}  // namespace platform

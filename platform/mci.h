// The Media Control Interface, as mciSendCommandA offers the commands the sequencer probe
// sends: MCI_OPEN, MCI_STATUS, MCI_PLAY and MCI_CLOSE.
//
// Every call returns the MCIERROR of the command (0 on success, MCIERR_* otherwise) and
// leaves its outputs untouched on failure. A device opened here must be closed here.
#pragma once

#include <cstdint>

#include "platform/win32_constants.h"

namespace platform {

// A window (HWND), as in platform/ui.h.
using HWnd = std::uintptr_t;
// An open MCI device (MCIDEVICEID). 0 is never a valid device.
using MciDeviceId = std::uint32_t;

class Mci {
public:
    virtual ~Mci() = default;

    // MCI_OPEN with MCI_OPEN_TYPE (deviceType, for example "sequencer") and, with
    // MCI_OPEN_ELEMENT, the file `element`; MCI_WAIT may be added. Called to probe whether
    // the MIDI sequencer is free. MCIERR_SEQ_PORT_INUSE when the sequencer's MIDI port is in
    // use by another program; MCIERR_INVALID_DEVICE_NAME for an unknown type;
    // MCIERR_FILE_NOT_FOUND for an element that cannot be opened; MCIERR_MISSING_PARAMETER
    // without a type or without a result.
    virtual std::uint32_t Open(const char* deviceType, const char* element, std::uint32_t flags,
                               MciDeviceId* result) = 0;

    // MCI_STATUS with MCI_STATUS_ITEM and `item` (MCI_SEQ_STATUS_PORT, MCI_STATUS_MODE):
    // the answer in *value. MCIERR_INVALID_DEVICE_ID for a device that is not open;
    // MCIERR_UNSUPPORTED_FUNCTION for an item the device does not report.
    virtual std::uint32_t Status(MciDeviceId device, std::uint32_t flags, std::uint32_t item,
                                 std::uintptr_t* value) = 0;

    // MCI_PLAY from the current position to the end. With MCI_NOTIFY the callback window
    // receives MM_MCINOTIFY (wParam = MCI_NOTIFY_SUCCESSFUL, _ABORTED, ...; lParam = the
    // device) when the play ends. MCIERR_INVALID_DEVICE_ID for a device that is not open.
    virtual std::uint32_t Play(MciDeviceId device, std::uint32_t flags, HWnd callback) = 0;

    // MCI_CLOSE. MCIERR_INVALID_DEVICE_ID for a device that is not open.
    virtual std::uint32_t Close(MciDeviceId device, std::uint32_t flags) = 0;
};

}  // namespace platform

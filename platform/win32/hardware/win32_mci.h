// MCI through mciSendCommandA with the MCI_*_PARMS records; results are those of
// mciSendCommandA unchanged, except that a missing output is refused with
// MCIERR_MISSING_PARAMETER before the command is sent.
#pragma once

#include "platform/mci.h"

namespace platform::win32 {

class Win32Mci : public Mci {
public:
    std::uint32_t Open(const char* deviceType, const char* element, std::uint32_t flags,
                       MciDeviceId* result) override;
    std::uint32_t Status(MciDeviceId device, std::uint32_t flags, std::uint32_t item,
                         std::uintptr_t* value) override;
    std::uint32_t Play(MciDeviceId device, std::uint32_t flags, HWnd callback) override;
    std::uint32_t Close(MciDeviceId device, std::uint32_t flags) override;
};

}  // namespace platform::win32

#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/hardware/win32_mci.h"

namespace platform::win32 {

std::uint32_t Win32Mci::Open(const char* deviceType, const char* element, std::uint32_t flags,
                             MciDeviceId* result) {
    if (result == nullptr) return MCIERR_MISSING_PARAMETER;
    MCI_OPEN_PARMSA parms{};
    parms.lpstrDeviceType = deviceType;
    parms.lpstrElementName = element;
    const MCIERROR error = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&parms));
    if (error == 0) *result = parms.wDeviceID;
    return error;
}

std::uint32_t Win32Mci::Status(MciDeviceId device, std::uint32_t flags, std::uint32_t item,
                               std::uintptr_t* value) {
    if (value == nullptr) return MCIERR_MISSING_PARAMETER;
    MCI_STATUS_PARMS parms{};
    parms.dwItem = item;
    const MCIERROR error =
        mciSendCommandA(device, MCI_STATUS, flags, reinterpret_cast<DWORD_PTR>(&parms));
    if (error == 0) *value = parms.dwReturn;
    return error;
}

std::uint32_t Win32Mci::Play(MciDeviceId device, std::uint32_t flags, HWnd callback) {
    MCI_PLAY_PARMS parms{};
    parms.dwCallback = static_cast<DWORD_PTR>(callback);
    // From the current position to the end: no MCI_FROM or MCI_TO bounds are passed.
    return mciSendCommandA(device, MCI_PLAY, flags & ~static_cast<DWORD>(MCI_FROM | MCI_TO),
                           reinterpret_cast<DWORD_PTR>(&parms));
}

std::uint32_t Win32Mci::Close(MciDeviceId device, std::uint32_t flags) {
    MCI_GENERIC_PARMS parms{};
    return mciSendCommandA(device, MCI_CLOSE, flags, reinterpret_cast<DWORD_PTR>(&parms));
}

}  // namespace platform::win32

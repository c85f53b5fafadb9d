// "\\.\PNPCONF.VXD" through CreateFileA, DeviceIoControl and CloseHandle.
#pragma once

#include "platform/pnp_config.h"

namespace platform::win32 {

class Win32PnpConfig : public PnpConfig {
public:
    std::uint32_t CreateFile(const char* path, std::uint32_t desiredAccess, std::uint32_t shareMode,
                             std::uint32_t creationDisposition, std::uint32_t flagsAndAttributes,
                             HDevice* result) override;
    std::uint32_t DeviceIoControl(HDevice device, std::uint32_t controlCode, const void* in,
                                  std::uint32_t inSize, void* out, std::uint32_t outSize,
                                  std::uint32_t* bytesReturned) override;
    std::uint32_t CloseHandle(HDevice device) override;
};

}  // namespace platform::win32

// Installable drivers (OpenDriver, SendDriverMessage, CloseDriver): how the card settings
// talk to the chip maker's wave driver "es197x.drv".
//
// Results are those of the Win32 calls: a driver handle, 0 on failure, and the LRESULT the
// driver answers to a message.
#pragma once

#include <cstdint>

#include "platform/win32_constants.h"

namespace platform {

// An open installable driver (HDRVR). 0 is never a valid driver.
using HDriver = std::uintptr_t;

class InstallableDrivers {
public:
    virtual ~InstallableDrivers() = default;

    // OpenDriver: loads the driver named `driverName` (a file name such as "es197x.drv" or
    // an entry of the [drivers] section of `sectionName`, which may be null for the
    // default) and opens an instance with `param` as the open parameter. Returns the
    // handle, or 0 when the driver cannot be found, loaded or opened.
    virtual HDriver OpenDriver(const char* driverName, const char* sectionName,
                               std::intptr_t param) = 0;

    // SendDriverMessage: `message` (a DRV_* message or DRV_USER + n) with two parameters;
    // returns the driver's answer. 0 for a handle that is not open.
    virtual std::intptr_t SendDriverMessage(HDriver driver, std::uint32_t message,
                                            std::intptr_t param1, std::intptr_t param2) = 0;

    // CloseDriver: closes the instance (the driver is unloaded with its last instance) and
    // returns the driver's answer, non-zero on success; 0 for a handle that is not open.
    virtual std::intptr_t CloseDriver(HDriver driver, std::intptr_t param1,
                                      std::intptr_t param2) = 0;
};

}  // namespace platform

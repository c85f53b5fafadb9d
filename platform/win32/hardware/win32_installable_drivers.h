// Installable drivers through winmm's OpenDriver, SendDriverMessage and CloseDriver.
//
// winmm declares OpenDriver with wide strings, yet the Windows 95/98 winmm, like Wine's,
// also exports OpenDriverA, which takes the ANSI names the product has. It is looked up at
// run time and used where it exists; elsewhere the names are widened for OpenDriver.
#pragma once

#include "platform/installable_drivers.h"

namespace platform::win32 {

class Win32InstallableDrivers : public InstallableDrivers {
public:
    HDriver OpenDriver(const char* driverName, const char* sectionName,
                       std::intptr_t param) override;
    std::intptr_t SendDriverMessage(HDriver driver, std::uint32_t message, std::intptr_t param1,
                                    std::intptr_t param2) override;
    std::intptr_t CloseDriver(HDriver driver, std::intptr_t param1, std::intptr_t param2) override;
};

}  // namespace platform::win32

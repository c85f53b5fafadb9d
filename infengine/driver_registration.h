// The driver registration sequence shared by EnumDriverReg, EnumPreinstallDriverReg and
// DriverInstallationStatus: the common start of every call, then the Windows 95/98 or the NT
// sequence by the running system.
#pragma once

#include <cstdint>

#include "infengine/registry_entry.h"

namespace infengine {

// One value of the sequence (see EnumDriverReg). At index 0 the found-on-bus flag is cleared
// and, on NT, the service record starts again from the first "AddService" line.
int registrationValue(std::uint16_t* index, const RegistryOutputs& out);

}  // namespace infengine

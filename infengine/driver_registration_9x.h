// The Windows 95/98 registration: the values that the Windows device installer would leave
// in the device's hardware key (below "Enum") and in its class software key
// ("System\CurrentControlSet\Services\Class\<class>\nnnn"), one per index:
//
//    0 device "Class"          5 device "HardwareID"      10 class "InfPath"
//    1 device "Driver"         6 device "Mfg"             11 class "InfSection"
//    2 device "DeviceDesc"     7 class "DeviceDesc"       12 device "HWRevision"
//    3 device "CompatibleIDs"  8 class "DriverDate"       13 device "ClassGUID"  (98 on)
//    4 device "ConfigFlags"    9 class "DriverDesc"       14 class "MatchingDeviceID" (98 on)
//   15 end: the index goes back to 0
//
// Index 0 also finds the device and prepares the keys: the device key from the slot the
// device is found in on the bus (or the one already held: a preinstall slot, an earlier
// call), or "Enum\Root\<class>\nnnn" for an INF without PCI ids; the class key at the class's
// next free instance. A manufacturer-less INF skips 3 and 12; a device that was not found on
// the bus has no "HWRevision" and ends at 12; Windows 95 ends at 13.
#pragma once

#include <cstdint>

#include "infengine/registry_entry.h"

namespace infengine {

// Produces the value of *index (which may move: 3 to 4 and 12 to 13 for a manufacturer-less
// INF, 15 back to 0). 0 a value was produced; 1 the sequence is over.
int win9xRegistrationValue(std::uint16_t* index, const RegistryOutputs& out);

}  // namespace infengine

// The Windows NT registration, once for every "AddService" line of the install section's
// ".Services" section, one value per index:
//
//    0-3   class key (SYSTEM\CurrentControlSet\Control\Class\{guid}\nnnn): "DeviceDesc",
//          "InfPath", "InfSection", "ProviderName"
//    4-9   service key (SYSTEM\CurrentControlSet\Services\<service>): "ErrorControl",
//          "Group", "ImagePath", "Start", "Tag", "Type"
//   10-16  legacy key (...\Enum\Root\LEGACY_<SERVICE>\0000): "BaseDevicePath", "Class",
//          "ClassGUID", "DeviceDesc", "Driver", "Mfg", "Service"
//   17     the AddReg entries of the service's event-log section, "HKR" being its event-log
//          key; each call hands out one and keeps the index where it is
//   18     the AddReg entries of "<install>.SoftwareSettings", "HKR" being the service's
//          "Device0" key; after the last, the next "AddService" line starts at index 0
//
// Index 0 reads the service's record and prepares its legacy key with administrator access
// (legacy_key.h); without hvinfnt.dll the sequence ends before any value.
#pragma once

#include <cstdint>

#include "infengine/registry_entry.h"

namespace infengine {

// Produces the value of *index (17 and 18 step it back by one while their walk runs; the end
// of 18 moves it to 0 and goes on with the next service). 0 a value; 1 the sequence is over.
int ntRegistrationValue(std::uint16_t* index, const RegistryOutputs& out);

}  // namespace infengine

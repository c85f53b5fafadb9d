// The legacy key of an NT service: "SYSTEM\CurrentControlSet\Enum\Root\LEGACY_<SERVICE>\0000".
//
// NT lets only the system write below "Enum\Root"; an administrator's setup first gives the
// Administrators group full control of each key on the way, through hvinfnt.dll, which must
// lie in the engine's own folder. It is loaded for this step and unloaded after it.
#pragma once

#include <string>

namespace infengine {

// Grants access on "Enum\Root", creates "LEGACY_<SERVICE>" below it and "0000" below that,
// granting access on each (a creation that failed before the grant is tried once more).
// False when hvinfnt or its export is missing, "Enum\Root" cannot be opened, or "0000" could
// not be created.
bool prepareLegacyKey(const std::string& serviceName);

}  // namespace infengine

#include "infsecurity/administrator_access.h"

#include <cstring>
#include <vector>

#include "platform/machine.h"
#include "platform/security.h"

namespace infsecurity {

std::uint32_t addAdministratorAceToAcl(const char* objectName) {
    platform::Security* security = platform::machine().security;
    if (objectName == nullptr || security == nullptr) return ERROR_INVALID_PARAMETER;
    char name[kObjectNameLimit + 1] = {};
    std::strncpy(name, objectName, kObjectNameLimit);

    platform::HAcl oldAcl = 0;
    std::uint32_t result =
        security->GetNamedSecurityInfo(name, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, &oldAcl);
    if (result != ERROR_SUCCESS) return result;

    platform::ExplicitAccess administrators;
    administrators.trusteeName = "ADMINISTRATORS";
    administrators.accessPermissions = GENERIC_ALL;
    administrators.accessMode = SET_ACCESS;
    administrators.inheritance = NO_INHERITANCE;
    platform::HAcl newAcl = 0;
    result = security->SetEntriesInAcl({administrators}, oldAcl, &newAcl);
    if (result == ERROR_SUCCESS) {
        result = security->SetNamedSecurityInfo(name, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION,
                                                newAcl);
    }
    if (oldAcl != 0) security->FreeAcl(oldAcl);
    if (newAcl != 0) security->FreeAcl(newAcl);
    return result;
}

}  // namespace infsecurity

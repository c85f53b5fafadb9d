// The export of hvinfnt.dll: AddAdministratorAceToAcl, stdcall, under its undecorated name
// (hvinfnt.def). The library keeps no state and does nothing at load or unload; the Win32
// machine is installed by the first call. An allocation that fails on the way is reported as
// ERROR_NOT_ENOUGH_MEMORY.
#include "infsecurity/administrator_access.h"
#include "platform/out_of_memory.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32_constants.h"

extern "C" unsigned long __stdcall AddAdministratorAceToAcl(const char* objectName) {
    return platform::unlessOutOfMemory<unsigned long>(ERROR_NOT_ENOUGH_MEMORY, [&] {
        // The security back-end alone: the library links and imports nothing else.
        platform::win32::ensureProcessMachine({platform::win32::securityPart});
        return infsecurity::addAdministratorAceToAcl(objectName);
    });
}

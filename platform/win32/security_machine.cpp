#include "platform/win32/security_machine.h"

#include "platform/machine.h"
#include "platform/win32/win32_security.h"

namespace platform::win32 {

void ensureSecurityMachine() {
    // Function-local statics: made once, on the library's own thread, destroyed (machine
    // first) when the module is unloaded.
    static Win32Security security;
    static bool installed = [] {
        Machine machine;
        machine.security = &security;
        installMachine(machine);
        return true;
    }();
    (void)installed;
}

}  // namespace platform::win32

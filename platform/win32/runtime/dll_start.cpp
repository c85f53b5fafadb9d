// The entry point of the Windows libraries (linked with --entry=_tunaraDllStart@12): the
// static constructors before DllMain sees the process attach, the exit list and static
// destructors after it sees the detach. A library without a DllMain of its own gets the one
// in default_dll_main.cpp.
#include <windows.h>

#include "platform/win32/runtime/module_lifetime.h"
#include "platform/win32/runtime/recovery.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

void construct(void*) {
    runtime::runConstructors();
}

}  // namespace

extern "C" BOOL WINAPI tunaraDllStart(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        // A library that cannot make its statics refuses to load.
        if (!runtime::runRecoverable(construct, nullptr)) return FALSE;
        const BOOL attached = DllMain(instance, reason, reserved);
        if (!attached) runtime::runDestructors();
        return attached;
    }
    const BOOL result = DllMain(instance, reason, reserved);
    if (reason == DLL_PROCESS_DETACH) runtime::runDestructors();
    return result;
}

// The DllMain of a library that has none: accepts every notification. Being a member of the
// runtime's static library, it is linked only where the library defines no DllMain itself.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

// The few wide-character kernel functions that the precompiled GCC runtime calls (thread-safe
// statics and the exception unwinder create semaphores; std::random_device looks for
// advapi32), answered with their ANSI counterparts.
//
// Windows 95/98 export these names only as stubs that fail, and our deliverables must not
// import wide-character functions at all. Defining the import slots here makes the linker
// take ours instead of kernel32's, so the runtime gets working functions on every Windows.
// This file is compiled into each deliverable as an object of its own (see
// cmake/flavour.cmake); a static library member would only be pulled in by chance.
#include <windows.h>

namespace {

// Converts a wide name to ANSI; false when it does not fit in MAX_PATH bytes.
bool ansiName(LPCWSTR wide, char (&ansi)[MAX_PATH]) {
    if (wide == nullptr) return false;
    const int written =
        WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr);
    return written > 0;
}

HANDLE WINAPI ansiCreateSemaphoreW(LPSECURITY_ATTRIBUTES security, LONG initialCount,
                                   LONG maximumCount, LPCWSTR name) {
    if (name == nullptr) return CreateSemaphoreA(security, initialCount, maximumCount, nullptr);
    char ansi[MAX_PATH];
    if (!ansiName(name, ansi)) {
        SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    return CreateSemaphoreA(security, initialCount, maximumCount, ansi);
}

HMODULE WINAPI ansiGetModuleHandleW(LPCWSTR name) {
    if (name == nullptr) return GetModuleHandleA(nullptr);
    char ansi[MAX_PATH];
    if (!ansiName(name, ansi)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return GetModuleHandleA(ansi);
}

HMODULE WINAPI ansiLoadLibraryW(LPCWSTR name) {
    char ansi[MAX_PATH];
    if (!ansiName(name, ansi)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return LoadLibraryA(ansi);
}

}  // namespace

// The import slots (what `__declspec(dllimport)` calls go through), under their exact
// decorated names.
extern "C" {
void* tunaraImportCreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16") =
    reinterpret_cast<void*>(&ansiCreateSemaphoreW);
void* tunaraImportGetModuleHandleW __asm__("__imp__GetModuleHandleW@4") =
    reinterpret_cast<void*>(&ansiGetModuleHandleW);
void* tunaraImportLoadLibraryW __asm__("__imp__LoadLibraryW@4") =
    reinterpret_cast<void*>(&ansiLoadLibraryW);
}

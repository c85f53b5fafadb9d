// Looking up a function of a system library at run time, for calls that Windows 95 lacks or
// only stubs (the NT security functions of advapi32).
#pragma once

#include <windows.h>

namespace platform::win32 {

// The export `name` of `module` as a pointer of type Fn, or null. The detour through void*
// keeps the compiler from warning about the change of function type, which is the point.
template <typename Fn>
Fn procAddress(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace platform::win32

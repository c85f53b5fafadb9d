// The machine of a library that needs the security functions and nothing else (hvinfnt):
// only the security back-end is made and installed, so the library links no other back-end
// and imports no other system DLL. The other pointers stay null; nothing in such a library
// may reach for them.
#pragma once

namespace platform::win32 {

// Installs the security-only machine at the first call and keeps it until the module is
// unloaded.
void ensureSecurityMachine();

}  // namespace platform::win32

// The one export of hvinfnt.dll, as the libraries that load it by name look it up:
//
//   unsigned long __stdcall AddAdministratorAceToAcl(const char* objectName)
//
// It gives the Administrators group full control of a registry key on Windows NT and returns
// a Win32 error code (0 on success). The name is a registry object name as the security
// functions take it: "MACHINE\SYSTEM\CurrentControlSet\Enum\Root".
#pragma once

// The export's calling convention: stdcall on 32-bit Windows; the host build has only one.
#if defined(_WIN32) && defined(__i386__)
#define HVINFNT_CALL __stdcall
#else
#define HVINFNT_CALL
#endif

namespace infsecurity {

constexpr char kLibraryName[] = "hvinfnt.dll";
constexpr char kAddAdministratorAceToAclName[] = "AddAdministratorAceToAcl";

using AddAdministratorAceToAclFunction = unsigned long(HVINFNT_CALL*)(const char* objectName);

}  // namespace infsecurity

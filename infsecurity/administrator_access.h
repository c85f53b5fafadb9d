// hvinfnt: gives the Administrators group full control of one registry key on Windows NT.
//
// The INF engine calls it on each key it creates below the NT "Enum\Root" tree; the
// uninstaller calls it before deleting registry keys. Both load hvinfnt.dll by name, look the
// export up (hvinfnt_export.h), go on without it when it is missing, and ignore its result:
// they simply try their registry operation afterwards.
#pragma once

#include <cstddef>
#include <cstdint>

namespace infsecurity {

// At most this many characters of the object name are used.
constexpr std::size_t kObjectNameLimit = 259;

// Reads the key's DACL, merges an entry for the trustee "ADMINISTRATORS" with GENERIC_ALL in
// SET_ACCESS mode (replacing any entry of that trustee), no inheritance, and writes the new
// DACL back. Returns 0 on success, otherwise the code of the first security call that
// failed (ERROR_FILE_NOT_FOUND for a key that does not exist, ERROR_CALL_NOT_IMPLEMENTED on
// Windows 95/98, ERROR_INVALID_PARAMETER for a null name). Keeps no state; frees every
// buffer the security calls allocated.
std::uint32_t addAdministratorAceToAcl(const char* objectName);

}  // namespace infsecurity

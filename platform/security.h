// Windows NT security: the access token of the caller (for the administrator check) and the
// access-control list of a named object (for giving a group rights on a registry key).
//
// The Windows 95/98 family has neither: every operation answers ERROR_CALL_NOT_IMPLEMENTED
// there and writes nothing, which callers treat as "no token" or "no ACL to change". Results
// are Win32 error codes (ERROR_SUCCESS on success); outputs are untouched on failure. Tokens
// and ACLs are opaque handles that the caller must give back (CloseToken, FreeAcl).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32_constants.h"

// The object types and access modes of <accctrl.h>. They are enumerators there, not macros,
// so they are defined here only where that header has not been seen; files that include it
// must do so before this one (platform/win32 files include the system headers first).
#if !defined(__ACCESS_CONTROL__)
constexpr std::uint32_t SE_FILE_OBJECT = 1;
constexpr std::uint32_t SE_REGISTRY_KEY = 4;
constexpr std::uint32_t NOT_USED_ACCESS = 0;
constexpr std::uint32_t GRANT_ACCESS = 1;
constexpr std::uint32_t SET_ACCESS = 2;
constexpr std::uint32_t DENY_ACCESS = 3;
constexpr std::uint32_t REVOKE_ACCESS = 4;
#endif

namespace platform {

// An open access token. 0 is never valid.
using HToken = std::uintptr_t;
// A discretionary ACL obtained from this back-end (with the security descriptor it came in,
// when it came from an object). 0 is never valid.
using HAcl = std::uintptr_t;

// The SID of the built-in Administrators group (NT authority, sub-authorities 32 and 544) in
// the text form GetTokenGroups uses.
inline constexpr const char* kAdministratorsSid = "S-1-5-32-544";

// One EXPLICIT_ACCESS entry with a trustee given by name (BuildExplicitAccessWithNameA).
struct ExplicitAccess {
    std::string trusteeName;              // "ADMINISTRATORS", "Everyone", "SYSTEM", ...
    std::uint32_t accessPermissions = 0;  // GENERIC_ALL, KEY_READ, ...
    std::uint32_t accessMode = 0;         // GRANT_ACCESS, SET_ACCESS, DENY_ACCESS, REVOKE_ACCESS
    std::uint32_t inheritance = 0;        // NO_INHERITANCE, CONTAINER_INHERIT_ACE, ...
};

class Security {
  public:
    virtual ~Security() = default;

    // OpenThreadToken of the current thread with `desiredAccess` (TOKEN_QUERY), checked
    // against the process's own rights when `openAsSelf`. ERROR_NO_TOKEN when the thread is
    // not impersonating (the normal case: then the process token is the one to use).
    virtual std::uint32_t OpenThreadToken(std::uint32_t desiredAccess, bool openAsSelf,
                                          HToken* token) = 0;

    // OpenProcessToken of the current process.
    virtual std::uint32_t OpenProcessToken(std::uint32_t desiredAccess, HToken* token) = 0;

    // GetTokenInformation(TokenGroups) into a buffer of `bufferSize` bytes, handed back as
    // the group SIDs in text form ("S-1-5-32-544"), in the token's order.
    // ERROR_INSUFFICIENT_BUFFER when the TOKEN_GROUPS record does not fit in `bufferSize`;
    // ERROR_INVALID_HANDLE for a bad token.
    virtual std::uint32_t GetTokenGroups(HToken token, std::uint32_t bufferSize,
                                         std::vector<std::string>* groupSids) = 0;

    // CloseHandle of a token. ERROR_INVALID_HANDLE when it is not open.
    virtual std::uint32_t CloseToken(HToken token) = 0;

    // GetNamedSecurityInfoA for DACL_SECURITY_INFORMATION only. `objectName` in the form of
    // the security functions ("MACHINE\\SYSTEM\\CurrentControlSet\\..." for SE_REGISTRY_KEY).
    // ERROR_FILE_NOT_FOUND when the object does not exist, ERROR_ACCESS_DENIED when its
    // security cannot be read, ERROR_INVALID_PARAMETER for other information or types.
    virtual std::uint32_t GetNamedSecurityInfo(const char* objectName, std::uint32_t objectType,
                                               std::uint32_t securityInfo, HAcl* dacl) = 0;

    // SetEntriesInAclA: a new ACL made of `oldAcl` (0 for none) merged with `entries` as
    // their access modes say (SET_ACCESS replaces every entry of that trustee, GRANT_ACCESS
    // adds rights, DENY_ACCESS adds a denial, REVOKE_ACCESS removes the trustee).
    // ERROR_NONE_MAPPED when a trustee name is unknown, ERROR_INVALID_HANDLE for a bad old
    // ACL. The old ACL is not changed.
    virtual std::uint32_t SetEntriesInAcl(const std::vector<ExplicitAccess>& entries, HAcl oldAcl,
                                          HAcl* newAcl) = 0;

    // SetNamedSecurityInfoA for DACL_SECURITY_INFORMATION only: makes `dacl` the object's
    // DACL. Errors as GetNamedSecurityInfo; ERROR_INVALID_HANDLE for a bad ACL.
    virtual std::uint32_t SetNamedSecurityInfo(const char* objectName, std::uint32_t objectType,
                                               std::uint32_t securityInfo, HAcl dacl) = 0;

    // LocalFree of an ACL (or of the security descriptor it came in). ERROR_INVALID_HANDLE
    // when it is not held.
    virtual std::uint32_t FreeAcl(HAcl acl) = 0;
};

}  // namespace platform

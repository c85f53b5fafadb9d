#include "platform/win32/win32_security.h"
#include "platform/win32/win32_machine.h"

#include <cstdio>
#include <new>
#include <vector>

#include "platform/out_of_memory.h"
#include "platform/win32/win32_proc.h"

namespace platform::win32 {

// platform/security.h gives the logic these <accctrl.h> enumerators by value.
static_assert(SE_FILE_OBJECT == 1 && SE_REGISTRY_KEY == 4, "SE_OBJECT_TYPE values");
static_assert(NOT_USED_ACCESS == 0 && GRANT_ACCESS == 1 && SET_ACCESS == 2 && DENY_ACCESS == 3 &&
                  REVOKE_ACCESS == 4,
              "ACCESS_MODE values");

struct Win32Security::Functions {
    BOOL(WINAPI* openThreadToken)(HANDLE, DWORD, BOOL, PHANDLE);
    BOOL(WINAPI* openProcessToken)(HANDLE, DWORD, PHANDLE);
    BOOL(WINAPI* getTokenInformation)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    DWORD(WINAPI* getNamedSecurityInfo)
    (LPCSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID*, PSID*, PACL*, PACL*,
     PSECURITY_DESCRIPTOR*);
    DWORD(WINAPI* setEntriesInAcl)(ULONG, PEXPLICIT_ACCESS_A, PACL, PACL*);
    DWORD(WINAPI* setNamedSecurityInfo)
    (LPSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID, PSID, PACL, PACL);
};

namespace {

bool isNt() {
    return (::GetVersion() & 0x80000000u) == 0;
}

// A SID in its text form: "S-1-5-32-544"; an authority above 32 bits in hexadecimal.
std::string sidText(PSID sid) {
    const SID* value = static_cast<const SID*>(sid);
    const BYTE* authority = value->IdentifierAuthority.Value;
    char part[32];
    std::string text = "S-" + std::to_string(value->Revision);
    if (authority[0] == 0 && authority[1] == 0) {
        const unsigned long number = (static_cast<unsigned long>(authority[2]) << 24) |
                                     (static_cast<unsigned long>(authority[3]) << 16) |
                                     (static_cast<unsigned long>(authority[4]) << 8) | authority[5];
        std::snprintf(part, sizeof part, "-%lu", number);
    } else {
        std::snprintf(part, sizeof part, "-0x%02X%02X%02X%02X%02X%02X", authority[0], authority[1],
                      authority[2], authority[3], authority[4], authority[5]);
    }
    text += part;
    for (BYTE i = 0; i < value->SubAuthorityCount; ++i) {
        std::snprintf(part, sizeof part, "-%lu",
                      static_cast<unsigned long>(value->SubAuthority[i]));
        text += part;
    }
    return text;
}

}  // namespace

Win32Security::Win32Security() {
    if (!isNt()) return;
    // The product imports advapi32 for the registry, so it is normally loaded already and
    // needs no reference of ours (which would have to be dropped at unload, possibly inside
    // DllMain, where FreeLibrary is not safe).
    advapi_ = ::GetModuleHandleA("advapi32.dll");
    if (advapi_ == nullptr) {
        advapi_ = ::LoadLibraryA("advapi32.dll");
        ownsAdvapi_ = advapi_ != nullptr;
    }
    functions_ = new (std::nothrow) Functions;
    if (advapi_ == nullptr || functions_ == nullptr) return;
    Functions& f = *functions_;
    f.openThreadToken = procAddress<decltype(f.openThreadToken)>(advapi_, "OpenThreadToken");
    f.openProcessToken = procAddress<decltype(f.openProcessToken)>(advapi_, "OpenProcessToken");
    f.getTokenInformation =
        procAddress<decltype(f.getTokenInformation)>(advapi_, "GetTokenInformation");
    f.getNamedSecurityInfo =
        procAddress<decltype(f.getNamedSecurityInfo)>(advapi_, "GetNamedSecurityInfoA");
    f.setEntriesInAcl = procAddress<decltype(f.setEntriesInAcl)>(advapi_, "SetEntriesInAclA");
    f.setNamedSecurityInfo =
        procAddress<decltype(f.setNamedSecurityInfo)>(advapi_, "SetNamedSecurityInfoA");
}

Win32Security::~Win32Security() {
    for (AclHolder* holder : acls_) {
        ::LocalFree(holder->descriptor != nullptr ? holder->descriptor : holder->acl);
        delete holder;
    }
    delete functions_;
    if (ownsAdvapi_) ::FreeLibrary(advapi_);
}

std::uint32_t Win32Security::OpenThreadToken(std::uint32_t desiredAccess, bool openAsSelf,
                                             HToken* token) {
    if (functions_ == nullptr || functions_->openThreadToken == nullptr)
        return ERROR_CALL_NOT_IMPLEMENTED;
    if (token == nullptr) return ERROR_INVALID_PARAMETER;
    HANDLE handle = nullptr;
    if (!functions_->openThreadToken(::GetCurrentThread(), desiredAccess, openAsSelf ? TRUE : FALSE,
                                     &handle))
        return ::GetLastError();
    *token = reinterpret_cast<HToken>(handle);
    return ERROR_SUCCESS;
}

std::uint32_t Win32Security::OpenProcessToken(std::uint32_t desiredAccess, HToken* token) {
    if (functions_ == nullptr || functions_->openProcessToken == nullptr)
        return ERROR_CALL_NOT_IMPLEMENTED;
    if (token == nullptr) return ERROR_INVALID_PARAMETER;
    HANDLE handle = nullptr;
    if (!functions_->openProcessToken(::GetCurrentProcess(), desiredAccess, &handle))
        return ::GetLastError();
    *token = reinterpret_cast<HToken>(handle);
    return ERROR_SUCCESS;
}

std::uint32_t Win32Security::GetTokenGroups(HToken token, std::uint32_t bufferSize,
                                            std::vector<std::string>* groupSids) {
    if (functions_ == nullptr || functions_->getTokenInformation == nullptr)
        return ERROR_CALL_NOT_IMPLEMENTED;
    if (groupSids == nullptr) return ERROR_INVALID_PARAMETER;
    return unlessOutOfMemory(ERROR_NOT_ENOUGH_MEMORY, [&]() -> std::uint32_t {
        // DWORD storage keeps the TOKEN_GROUPS record aligned.
        std::vector<DWORD> storage(bufferSize / sizeof(DWORD) + 1);
        DWORD returned = 0;
        if (!functions_->getTokenInformation(reinterpret_cast<HANDLE>(token), TokenGroups,
                                             storage.data(), bufferSize, &returned))
            return ::GetLastError();
        const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(storage.data());
        std::vector<std::string> sids;
        for (DWORD i = 0; i < groups->GroupCount; ++i)
            sids.push_back(sidText(groups->Groups[i].Sid));
        groupSids->swap(sids);
        return ERROR_SUCCESS;
    });
}

std::uint32_t Win32Security::CloseToken(HToken token) {
    if (functions_ == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
    return ::CloseHandle(reinterpret_cast<HANDLE>(token)) ? ERROR_SUCCESS : ::GetLastError();
}

std::uint32_t Win32Security::GetNamedSecurityInfo(const char* objectName, std::uint32_t objectType,
                                                  std::uint32_t securityInfo, HAcl* dacl) {
    if (functions_ == nullptr || functions_->getNamedSecurityInfo == nullptr)
        return ERROR_CALL_NOT_IMPLEMENTED;
    if (objectName == nullptr || dacl == nullptr || securityInfo != DACL_SECURITY_INFORMATION)
        return ERROR_INVALID_PARAMETER;
    AclHolder* holder = new (std::nothrow) AclHolder{nullptr, nullptr};
    if (holder == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    const DWORD error = functions_->getNamedSecurityInfo(
        objectName, static_cast<SE_OBJECT_TYPE>(objectType), securityInfo, nullptr, nullptr,
        &holder->acl, nullptr, &holder->descriptor);
    if (error != ERROR_SUCCESS) {
        delete holder;
        return error;
    }
    if (!completesInMemory([&] { acls_.insert(holder); })) {
        ::LocalFree(holder->descriptor);
        delete holder;
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    *dacl = reinterpret_cast<HAcl>(holder);
    return ERROR_SUCCESS;
}

std::uint32_t Win32Security::SetEntriesInAcl(const std::vector<ExplicitAccess>& entries,
                                             HAcl oldAcl, HAcl* newAcl) {
    if (functions_ == nullptr || functions_->setEntriesInAcl == nullptr)
        return ERROR_CALL_NOT_IMPLEMENTED;
    if (newAcl == nullptr) return ERROR_INVALID_PARAMETER;
    AclHolder* old = reinterpret_cast<AclHolder*>(oldAcl);
    if (old != nullptr && acls_.count(old) == 0) return ERROR_INVALID_HANDLE;
    // The list is made, then recorded; one that cannot be recorded is freed again.
    AclHolder* holder = nullptr;
    const std::uint32_t error = unlessOutOfMemory(ERROR_NOT_ENOUGH_MEMORY, [&]() -> std::uint32_t {
        std::vector<EXPLICIT_ACCESS_A> access(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            // As BuildExplicitAccessWithNameA fills it.
            EXPLICIT_ACCESS_A& entry = access[i];
            entry.grfAccessPermissions = entries[i].accessPermissions;
            entry.grfAccessMode = static_cast<ACCESS_MODE>(entries[i].accessMode);
            entry.grfInheritance = entries[i].inheritance;
            entry.Trustee.pMultipleTrustee = nullptr;
            entry.Trustee.MultipleTrusteeOperation = NO_MULTIPLE_TRUSTEE;
            entry.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
            entry.Trustee.TrusteeType = TRUSTEE_IS_UNKNOWN;
            entry.Trustee.ptstrName = const_cast<char*>(entries[i].trusteeName.c_str());
        }
        AclHolder* made = new AclHolder{nullptr, nullptr};
        const DWORD result =
            functions_->setEntriesInAcl(static_cast<ULONG>(access.size()), access.data(),
                                        old != nullptr ? old->acl : nullptr, &made->acl);
        if (result != ERROR_SUCCESS) {
            delete made;
            return result;
        }
        holder = made;
        return ERROR_SUCCESS;
    });
    if (error != ERROR_SUCCESS) return error;
    if (!completesInMemory([&] { acls_.insert(holder); })) {
        ::LocalFree(holder->acl);
        delete holder;
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    *newAcl = reinterpret_cast<HAcl>(holder);
    return ERROR_SUCCESS;
}

std::uint32_t Win32Security::SetNamedSecurityInfo(const char* objectName, std::uint32_t objectType,
                                                  std::uint32_t securityInfo, HAcl dacl) {
    if (functions_ == nullptr || functions_->setNamedSecurityInfo == nullptr)
        return ERROR_CALL_NOT_IMPLEMENTED;
    AclHolder* holder = reinterpret_cast<AclHolder*>(dacl);
    if (acls_.count(holder) == 0) return ERROR_INVALID_HANDLE;
    if (objectName == nullptr || securityInfo != DACL_SECURITY_INFORMATION)
        return ERROR_INVALID_PARAMETER;
    // The function takes a writable name; it gets a copy of its own.
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%s", objectName);
    return functions_->setNamedSecurityInfo(name, static_cast<SE_OBJECT_TYPE>(objectType),
                                            securityInfo, nullptr, nullptr, holder->acl, nullptr);
}

std::uint32_t Win32Security::FreeAcl(HAcl acl) {
    if (functions_ == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
    AclHolder* holder = reinterpret_cast<AclHolder*>(acl);
    if (acls_.erase(holder) == 0) return ERROR_INVALID_HANDLE;
    ::LocalFree(holder->descriptor != nullptr ? holder->descriptor : holder->acl);
    delete holder;
    return ERROR_SUCCESS;
}

std::unique_ptr<MachinePart> securityPart() {
    return makeBackendPart<Win32Security, Security, &Machine::security>();
}

}  // namespace platform::win32

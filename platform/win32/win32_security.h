// The real NT security functions: the Security interface over advapi32.
//
// The functions are looked up at run time in the advapi32 the process has loaded, because
// Windows 95 lacks them and Windows 98 has some as stubs: on the 95/98 family, and wherever
// one is missing, every operation answers ERROR_CALL_NOT_IMPLEMENTED without calling
// anything. <windows.h> and <aclapi.h> are included here so that every file that sees this
// class sees the same (renamed) method names.
#pragma once

// clang-format off
#include <windows.h>
#include <aclapi.h>
// clang-format on

#include <set>

#include "platform/security.h"

namespace platform::win32 {

class Win32Security : public Security {
  public:
    Win32Security();
    ~Win32Security() override;
    Win32Security(const Win32Security&) = delete;
    Win32Security& operator=(const Win32Security&) = delete;

    std::uint32_t OpenThreadToken(std::uint32_t desiredAccess, bool openAsSelf,
                                  HToken* token) override;
    std::uint32_t OpenProcessToken(std::uint32_t desiredAccess, HToken* token) override;
    std::uint32_t GetTokenGroups(HToken token, std::uint32_t bufferSize,
                                 std::vector<std::string>* groupSids) override;
    std::uint32_t CloseToken(HToken token) override;
    std::uint32_t GetNamedSecurityInfo(const char* objectName, std::uint32_t objectType,
                                       std::uint32_t securityInfo, HAcl* dacl) override;
    std::uint32_t SetEntriesInAcl(const std::vector<ExplicitAccess>& entries, HAcl oldAcl,
                                  HAcl* newAcl) override;
    std::uint32_t SetNamedSecurityInfo(const char* objectName, std::uint32_t objectType,
                                       std::uint32_t securityInfo, HAcl dacl) override;
    std::uint32_t FreeAcl(HAcl acl) override;

  private:
    struct Functions;
    // An ACL handed out: the list and, when it came from an object, the descriptor that
    // holds it (the one block to free).
    struct AclHolder {
        PSECURITY_DESCRIPTOR descriptor;
        PACL acl;
    };

    HMODULE advapi_ = nullptr;
    bool ownsAdvapi_ = false;  // loaded here because the process had not loaded it
    Functions* functions_ = nullptr;
    std::set<AclHolder*> acls_;
};

}  // namespace platform::win32

// The security of the simulated machine.
//
// The family follows the machine's System (GetVersionEx at each call): on Windows 95/98 every
// operation answers ERROR_CALL_NOT_IMPLEMENTED. On NT:
//  - Tokens. The process token holds the groups the test set (by default those of an
//    administrator on NT 4: Everyone, Administrators, Users, INTERACTIVE, Authenticated
//    Users); the thread has no token unless the test gives it one (impersonation).
//    GetTokenGroups measures the TOKEN_GROUPS record as 32-bit Windows lays it out.
//  - ACLs. Every object (registry key or file) has a DACL: the one set by the test or last
//    written by SetNamedSecurityInfo, otherwise the default of an NT 4 system key
//    (SYSTEM: KEY_ALL_ACCESS, Everyone: KEY_READ). Registry objects must exist in the
//    machine's registry ("MACHINE\\..." = HKEY_LOCAL_MACHINE, "USERS", "CURRENT_USER",
//    "CLASSES_ROOT"); file objects on its disk. Trustee names are those of an English NT 4
//    (case ignored) plus any the test adds.
// Tokens and ACLs handed out are counted, so a teardown can check that all were given back.
//
// Not thread-safe: the product runs on one thread.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/security.h"
#include "platform/system.h"

namespace platform::host {

// One access-control entry.
struct AclEntry {
    std::string sid;      // "S-1-5-32-544"
    std::string trustee;  // the account name the SID stands for
    bool deny = false;    // access-denied entry
    std::uint32_t access = 0;
    std::uint32_t inheritance = 0;

    bool operator==(const AclEntry& other) const {
        return sid == other.sid && deny == other.deny && access == other.access &&
               inheritance == other.inheritance;
    }
};

enum class SecurityOperation {
    OpenThreadToken,
    OpenProcessToken,
    GetTokenGroups,
    GetNamedSecurityInfo,
    SetEntriesInAcl,
    SetNamedSecurityInfo,
};

class HostSecurity : public Security {
  public:
    explicit HostSecurity(System& system);
    ~HostSecurity() override;
    HostSecurity(const HostSecurity&) = delete;
    HostSecurity& operator=(const HostSecurity&) = delete;

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

    // ---- Tokens ---------------------------------------------------------------------------

    void setProcessTokenGroups(std::vector<std::string> sids);
    // Gives the thread a token with these groups; nullopt removes it (the default).
    void setThreadTokenGroups(std::optional<std::vector<std::string>> sids);
    std::size_t openTokenCount() const { return tokens_.size(); }

    // ---- ACLs -----------------------------------------------------------------------------

    // Sets or reads an object's DACL directly (objectType SE_REGISTRY_KEY or SE_FILE_OBJECT).
    void setObjectDacl(std::uint32_t objectType, const std::string& objectName,
                       std::vector<AclEntry> dacl);
    std::vector<AclEntry> objectDacl(std::uint32_t objectType, const std::string& objectName) const;
    // The entries of an ACL handle, for tests; empty for a bad handle.
    std::vector<AclEntry> aclEntries(HAcl acl) const;
    // Makes a name known as a trustee with this SID.
    void addTrustee(const std::string& name, const std::string& sid);
    // An entry for a known trustee (its canonical name and SID), allowed access.
    AclEntry allow(const std::string& trustee, std::uint32_t access,
                   std::uint32_t inheritance = 0) const;
    std::size_t heldAclCount() const { return acls_.size(); }

    // Every later call of `operation` fails with `error`; ERROR_SUCCESS removes the failure.
    void setFailure(SecurityOperation operation, std::uint32_t error);

  private:
    struct Trustee {
        std::string name;
        std::string sid;
    };

    bool isNt() const;
    std::uint32_t failure(SecurityOperation operation) const;
    const Trustee* trustee(const std::string& name) const;
    std::uint32_t openToken(const std::vector<std::string>& groups, HToken* token);
    // Checks that the object exists; returns its record key in *key.
    std::uint32_t locate(const char* objectName, std::uint32_t objectType,
                         std::uint32_t securityInfo, std::string* key) const;
    std::vector<AclEntry> defaultDacl() const;

    System& system_;
    std::vector<std::string> processGroups_;
    std::optional<std::vector<std::string>> threadGroups_;
    std::map<HToken, std::vector<std::string>> tokens_;
    HToken nextToken_ = 0x7000;
    std::map<std::string, std::vector<AclEntry>> dacls_;  // by object key
    std::map<HAcl, std::vector<AclEntry>> acls_;
    HAcl nextAcl_ = 0x9000;
    std::vector<Trustee> trustees_;
    std::map<SecurityOperation, std::uint32_t> failures_;
};

}  // namespace platform::host

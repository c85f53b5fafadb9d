#include "platform/host/host_security.h"

#include <algorithm>

#include "platform/host/host_system_disk.h"
#include "platform/host/host_system_text.h"
#include "platform/machine.h"
#include "platform/registry.h"

namespace platform::host {

using namespace systext;
namespace {

constexpr const char* kEveryone = "S-1-1-0";
constexpr const char* kInteractive = "S-1-5-4";
constexpr const char* kAuthenticatedUsers = "S-1-5-11";
constexpr const char* kSystem = "S-1-5-18";
constexpr const char* kUsers = "S-1-5-32-545";

// Bytes a SID takes: revision, count, six authority bytes, four per sub-authority.
std::uint32_t sidSize(const std::string& sid) {
    const std::size_t dashes = static_cast<std::size_t>(std::count(sid.begin(), sid.end(), '-'));
    const std::uint32_t subAuthorities = dashes >= 2 ? static_cast<std::uint32_t>(dashes - 2) : 0;
    return 8 + 4 * subAuthorities;
}

struct RegistryRoot {
    const char* name;
    HKey key;
};
const RegistryRoot kRegistryRoots[] = {
    {"CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"CURRENT_USER", HKEY_CURRENT_USER},
    {"MACHINE", HKEY_LOCAL_MACHINE},
    {"USERS", HKEY_USERS},
};

}  // namespace

HostSecurity::HostSecurity(System& system) : system_(system) {
    processGroups_ = {kEveryone, kAdministratorsSid, kUsers, kInteractive, kAuthenticatedUsers};
    trustees_ = {
        {"Administrators", kAdministratorsSid},
        {"Users", kUsers},
        {"Power Users", "S-1-5-32-547"},
        {"Guests", "S-1-5-32-546"},
        {"Everyone", kEveryone},
        {"SYSTEM", kSystem},
        {"INTERACTIVE", kInteractive},
        {"Authenticated Users", kAuthenticatedUsers},
        {"CREATOR OWNER", "S-1-3-0"},
    };
}

HostSecurity::~HostSecurity() = default;

bool HostSecurity::isNt() const {
    // Asking the system must not disturb the error code the caller may still read.
    const std::uint32_t lastError = system_.GetLastError();
    OsVersionInfo version;
    const bool nt = system_.GetVersionEx(&version) && version.platformId == VER_PLATFORM_WIN32_NT;
    system_.SetLastError(lastError);
    return nt;
}

std::uint32_t HostSecurity::failure(SecurityOperation operation) const {
    const auto found = failures_.find(operation);
    return found == failures_.end() ? ERROR_SUCCESS : found->second;
}

void HostSecurity::setFailure(SecurityOperation operation, std::uint32_t error) {
    if (error == ERROR_SUCCESS)
        failures_.erase(operation);
    else
        failures_[operation] = error;
}

const HostSecurity::Trustee* HostSecurity::trustee(const std::string& name) const {
    for (const Trustee& known : trustees_)
        if (sameNameIgnoringCase(known.name, name)) return &known;
    return nullptr;
}

void HostSecurity::addTrustee(const std::string& name, const std::string& sid) {
    trustees_.push_back({name, sid});
}

AclEntry HostSecurity::allow(const std::string& name, std::uint32_t access,
                             std::uint32_t inheritance) const {
    AclEntry entry;
    const Trustee* known = trustee(name);
    entry.trustee = known != nullptr ? known->name : name;
    entry.sid = known != nullptr ? known->sid : std::string();
    entry.access = access;
    entry.inheritance = inheritance;
    return entry;
}

// ---- Tokens --------------------------------------------------------------------------------

std::uint32_t HostSecurity::openToken(const std::vector<std::string>& groups, HToken* token) {
    *token = nextToken_;
    nextToken_ += 4;
    tokens_[*token] = groups;
    return ERROR_SUCCESS;
}

std::uint32_t HostSecurity::OpenThreadToken(std::uint32_t /*desiredAccess*/, bool /*openAsSelf*/,
                                            HToken* token) {
    if (!isNt()) return ERROR_CALL_NOT_IMPLEMENTED;
    if (token == nullptr) return ERROR_INVALID_PARAMETER;
    if (const std::uint32_t error = failure(SecurityOperation::OpenThreadToken)) return error;
    if (!threadGroups_) return ERROR_NO_TOKEN;
    return openToken(*threadGroups_, token);
}

std::uint32_t HostSecurity::OpenProcessToken(std::uint32_t /*desiredAccess*/, HToken* token) {
    if (!isNt()) return ERROR_CALL_NOT_IMPLEMENTED;
    if (token == nullptr) return ERROR_INVALID_PARAMETER;
    if (const std::uint32_t error = failure(SecurityOperation::OpenProcessToken)) return error;
    return openToken(processGroups_, token);
}

std::uint32_t HostSecurity::GetTokenGroups(HToken token, std::uint32_t bufferSize,
                                           std::vector<std::string>* groupSids) {
    if (!isNt()) return ERROR_CALL_NOT_IMPLEMENTED;
    const auto found = tokens_.find(token);
    if (found == tokens_.end()) return ERROR_INVALID_HANDLE;
    if (groupSids == nullptr) return ERROR_INVALID_PARAMETER;
    if (const std::uint32_t error = failure(SecurityOperation::GetTokenGroups)) return error;
    // TOKEN_GROUPS: the count, one SID_AND_ATTRIBUTES (8 bytes) per group, then the SIDs.
    std::uint32_t needed = 4;
    for (const std::string& sid : found->second) needed += 8 + sidSize(sid);
    if (needed > bufferSize) return ERROR_INSUFFICIENT_BUFFER;
    *groupSids = found->second;
    return ERROR_SUCCESS;
}

std::uint32_t HostSecurity::CloseToken(HToken token) {
    if (!isNt()) return ERROR_CALL_NOT_IMPLEMENTED;
    return tokens_.erase(token) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

void HostSecurity::setProcessTokenGroups(std::vector<std::string> sids) {
    processGroups_ = std::move(sids);
}

void HostSecurity::setThreadTokenGroups(std::optional<std::vector<std::string>> sids) {
    threadGroups_ = std::move(sids);
}

// ---- ACLs ----------------------------------------------------------------------------------

std::vector<AclEntry> HostSecurity::defaultDacl() const {
    return {allow("SYSTEM", KEY_ALL_ACCESS), allow("Everyone", KEY_READ)};
}

std::uint32_t HostSecurity::locate(const char* objectName, std::uint32_t objectType,
                                   std::uint32_t securityInfo, std::string* key) const {
    if (objectName == nullptr || securityInfo != DACL_SECURITY_INFORMATION)
        return ERROR_INVALID_PARAMETER;
    const std::string name = objectName;
    if (objectType == SE_REGISTRY_KEY) {
        const std::size_t slash = name.find('\\');
        const std::string rootName = name.substr(0, slash);
        const std::string subKey =
            slash == std::string::npos ? std::string() : name.substr(slash + 1);
        const RegistryRoot* root = nullptr;
        for (const RegistryRoot& candidate : kRegistryRoots)
            if (sameNameIgnoringCase(candidate.name, rootName)) root = &candidate;
        if (root == nullptr) return ERROR_INVALID_PARAMETER;
        Registry* registry = hasMachine() ? machine().registry : nullptr;
        if (registry == nullptr) return ERROR_FILE_NOT_FOUND;
        HKey opened = 0;
        const std::uint32_t error =
            registry->OpenKeyEx(root->key, subKey.c_str(), KEY_READ, &opened);
        if (error != ERROR_SUCCESS) return error;
        registry->CloseKey(opened);
        *key = "R:" + upperCase(root->name) + (subKey.empty() ? "" : "\\" + upperCase(subKey));
        return ERROR_SUCCESS;
    }
    if (objectType == SE_FILE_OBJECT) {
        if (!hostFileExists(name) && !hostFolderExists(name)) return ERROR_FILE_NOT_FOUND;
        *key = "F:" + upperCase(name);
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_PARAMETER;
}

std::uint32_t HostSecurity::GetNamedSecurityInfo(const char* objectName, std::uint32_t objectType,
                                                 std::uint32_t securityInfo, HAcl* dacl) {
    if (!isNt()) return ERROR_CALL_NOT_IMPLEMENTED;
    if (dacl == nullptr) return ERROR_INVALID_PARAMETER;
    if (const std::uint32_t error = failure(SecurityOperation::GetNamedSecurityInfo)) return error;
    std::string key;
    if (const std::uint32_t error = locate(objectName, objectType, securityInfo, &key))
        return error;
    const auto found = dacls_.find(key);
    *dacl = nextAcl_;
    nextAcl_ += 4;
    acls_[*dacl] = found != dacls_.end() ? found->second : defaultDacl();
    return ERROR_SUCCESS;
}

std::uint32_t HostSecurity::SetEntriesInAcl(const std::vector<ExplicitAccess>& entries, HAcl oldAcl,
                                            HAcl* newAcl) {
    if (!isNt()) return ERROR_CALL_NOT_IMPLEMENTED;
    if (newAcl == nullptr) return ERROR_INVALID_PARAMETER;
    if (const std::uint32_t error = failure(SecurityOperation::SetEntriesInAcl)) return error;
    std::vector<AclEntry> result;
    if (oldAcl != 0) {
        const auto old = acls_.find(oldAcl);
        if (old == acls_.end()) return ERROR_INVALID_HANDLE;
        result = old->second;
    }
    for (const ExplicitAccess& entry : entries) {
        const Trustee* who = trustee(entry.trusteeName);
        if (who == nullptr) return ERROR_NONE_MAPPED;
        AclEntry ace;
        ace.sid = who->sid;
        ace.trustee = who->name;
        ace.access = entry.accessPermissions;
        ace.inheritance = entry.inheritance;
        const auto sameTrustee = [&](const AclEntry& e) { return e.sid == who->sid; };
        switch (entry.accessMode) {
            case GRANT_ACCESS: {
                const auto existing =
                    std::find_if(result.begin(), result.end(), [&](const AclEntry& e) {
                        return sameTrustee(e) && !e.deny && e.inheritance == ace.inheritance;
                    });
                if (existing != result.end())
                    existing->access |= ace.access;
                else
                    result.push_back(ace);
                break;
            }
            case SET_ACCESS:
                result.erase(std::remove_if(result.begin(), result.end(), sameTrustee),
                             result.end());
                result.push_back(ace);
                break;
            case DENY_ACCESS:
                ace.deny = true;
                result.insert(result.begin(), ace);  // denials come first
                break;
            case REVOKE_ACCESS:
                result.erase(std::remove_if(result.begin(), result.end(), sameTrustee),
                             result.end());
                break;
            default:
                return ERROR_INVALID_PARAMETER;
        }
    }
    *newAcl = nextAcl_;
    nextAcl_ += 4;
    acls_[*newAcl] = std::move(result);
    return ERROR_SUCCESS;
}

std::uint32_t HostSecurity::SetNamedSecurityInfo(const char* objectName, std::uint32_t objectType,
                                                 std::uint32_t securityInfo, HAcl dacl) {
    if (!isNt()) return ERROR_CALL_NOT_IMPLEMENTED;
    if (const std::uint32_t error = failure(SecurityOperation::SetNamedSecurityInfo)) return error;
    const auto acl = acls_.find(dacl);
    if (acl == acls_.end()) return ERROR_INVALID_HANDLE;
    std::string key;
    if (const std::uint32_t error = locate(objectName, objectType, securityInfo, &key))
        return error;
    dacls_[key] = acl->second;
    return ERROR_SUCCESS;
}

std::uint32_t HostSecurity::FreeAcl(HAcl acl) {
    if (!isNt()) return ERROR_CALL_NOT_IMPLEMENTED;
    return acls_.erase(acl) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

void HostSecurity::setObjectDacl(std::uint32_t objectType, const std::string& objectName,
                                 std::vector<AclEntry> dacl) {
    const std::string prefix = objectType == SE_REGISTRY_KEY ? "R:" : "F:";
    dacls_[prefix + upperCase(objectName)] = std::move(dacl);
}

std::vector<AclEntry> HostSecurity::objectDacl(std::uint32_t objectType,
                                               const std::string& objectName) const {
    const std::string prefix = objectType == SE_REGISTRY_KEY ? "R:" : "F:";
    const auto found = dacls_.find(prefix + upperCase(objectName));
    return found != dacls_.end() ? found->second : defaultDacl();
}

std::vector<AclEntry> HostSecurity::aclEntries(HAcl acl) const {
    const auto found = acls_.find(acl);
    return found != acls_.end() ? found->second : std::vector<AclEntry>();
}

}  // namespace platform::host

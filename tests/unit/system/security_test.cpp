// The simulated security: nothing on Windows 95/98; tokens with the test's groups and
// per-object ACLs on NT.
#include <string>
#include <vector>

#include "tests/unit/system/system_fixture.h"

namespace system_test {
namespace {

using platform::ExplicitAccess;
using platform::HAcl;
using platform::HToken;
using platform::host::AclEntry;
using platform::host::WindowsRelease;

class SecurityTest : public SystemTest {
  protected:
    void SetUp() override {
        system.setRelease(WindowsRelease::WindowsNT4);
        registry.setNtSemantics(true);
        platform::HKey key = 0;
        ASSERT_EQ(registry.CreateKeyEx(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key, nullptr),
                  ERROR_SUCCESS);
        registry.CloseKey(key);
    }

    static constexpr const char* kKey = "SYSTEM\\CurrentControlSet\\Enum\\Root\\MEDIA";
    static constexpr const char* kObject = "MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\Root\\MEDIA";

    static ExplicitAccess adminFullControl() {
        ExplicitAccess entry;
        entry.trusteeName = "ADMINISTRATORS";
        entry.accessPermissions = GENERIC_ALL;
        entry.accessMode = SET_ACCESS;
        entry.inheritance = NO_INHERITANCE;
        return entry;
    }

    // Gives the Administrators full control the way the product does, returning the first
    // error.
    std::uint32_t addAdministrators(const char* object) {
        HAcl old = 0;
        std::uint32_t error =
            security.GetNamedSecurityInfo(object, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, &old);
        if (error != ERROR_SUCCESS) return error;
        HAcl merged = 0;
        error = security.SetEntriesInAcl({adminFullControl()}, old, &merged);
        if (error == ERROR_SUCCESS)
            error = security.SetNamedSecurityInfo(object, SE_REGISTRY_KEY,
                                                  DACL_SECURITY_INFORMATION, merged);
        security.FreeAcl(old);
        if (merged != 0) security.FreeAcl(merged);
        return error;
    }
};

TEST_F(SystemTest, TheWindows95FamilyHasNoSecurity) {
    for (WindowsRelease release : {WindowsRelease::Windows95, WindowsRelease::Windows95Osr2,
                                   WindowsRelease::Windows98, WindowsRelease::Windows98SE}) {
        system.setRelease(release);
        HToken token = 0x77;
        HAcl acl = 0x77;
        EXPECT_EQ(security.OpenThreadToken(TOKEN_QUERY, true, &token), ERROR_CALL_NOT_IMPLEMENTED);
        EXPECT_EQ(security.OpenProcessToken(TOKEN_QUERY, &token), ERROR_CALL_NOT_IMPLEMENTED);
        EXPECT_EQ(security.GetNamedSecurityInfo("MACHINE\\SOFTWARE", SE_REGISTRY_KEY,
                                                DACL_SECURITY_INFORMATION, &acl),
                  ERROR_CALL_NOT_IMPLEMENTED);
        EXPECT_EQ(security.SetEntriesInAcl({}, 0, &acl), ERROR_CALL_NOT_IMPLEMENTED);
        EXPECT_EQ(token, 0x77u);
        EXPECT_EQ(acl, 0x77u);
    }
}

TEST_F(SecurityTest, TokensCarryTheGroupsTheTestGaveThem) {
    HToken token = 0;
    EXPECT_EQ(security.OpenThreadToken(TOKEN_QUERY, true, &token), ERROR_NO_TOKEN);
    ASSERT_EQ(security.OpenProcessToken(TOKEN_QUERY, &token), ERROR_SUCCESS);
    std::vector<std::string> groups;
    ASSERT_EQ(security.GetTokenGroups(token, 1024, &groups), ERROR_SUCCESS);
    EXPECT_NE(std::find(groups.begin(), groups.end(), platform::kAdministratorsSid), groups.end());
    EXPECT_EQ(security.CloseToken(token), ERROR_SUCCESS);
    EXPECT_EQ(security.CloseToken(token), ERROR_INVALID_HANDLE);

    // A user who is only in Users; and an impersonating thread with its own token.
    security.setProcessTokenGroups({"S-1-1-0", "S-1-5-32-545"});
    security.setThreadTokenGroups(std::vector<std::string>{"S-1-5-32-544"});
    ASSERT_EQ(security.OpenThreadToken(TOKEN_QUERY, true, &token), ERROR_SUCCESS);
    ASSERT_EQ(security.GetTokenGroups(token, 1024, &groups), ERROR_SUCCESS);
    EXPECT_EQ(groups, std::vector<std::string>{"S-1-5-32-544"});
    security.CloseToken(token);
}

TEST_F(SecurityTest, TokenGroupsMustFitTheCallersBuffer) {
    // TOKEN_GROUPS of S-1-1-0 and S-1-5-32-544: 4 + (8 + 12) + (8 + 16) = 48 bytes.
    security.setProcessTokenGroups({"S-1-1-0", "S-1-5-32-544"});
    HToken token = 0;
    ASSERT_EQ(security.OpenProcessToken(TOKEN_QUERY, &token), ERROR_SUCCESS);
    std::vector<std::string> groups{"untouched"};
    EXPECT_EQ(security.GetTokenGroups(token, 47, &groups), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(groups, std::vector<std::string>{"untouched"});
    EXPECT_EQ(security.GetTokenGroups(token, 48, &groups), ERROR_SUCCESS);
    EXPECT_EQ(groups.size(), 2u);
    security.CloseToken(token);
}

TEST_F(SecurityTest, SettingAccessTwiceLeavesOneEntryForTheTrustee) {
    EXPECT_EQ(addAdministrators(kObject), ERROR_SUCCESS);
    EXPECT_EQ(addAdministrators(kObject), ERROR_SUCCESS);
    const std::vector<AclEntry> dacl = security.objectDacl(SE_REGISTRY_KEY, kObject);
    const std::vector<AclEntry> expected = {security.allow("SYSTEM", KEY_ALL_ACCESS),
                                            security.allow("Everyone", KEY_READ),
                                            security.allow("Administrators", GENERIC_ALL)};
    EXPECT_EQ(dacl, expected);
}

TEST_F(SecurityTest, AMissingKeyOrUnknownTrusteeChangesNothing) {
    EXPECT_EQ(addAdministrators("MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\Root\\NONE"),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(addAdministrators("NOSUCHROOT\\SYSTEM"), ERROR_INVALID_PARAMETER);

    HAcl old = 0;
    ASSERT_EQ(
        security.GetNamedSecurityInfo(kObject, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, &old),
        ERROR_SUCCESS);
    ExplicitAccess stranger = adminFullControl();
    stranger.trusteeName = "Nobody In Particular";
    HAcl merged = 0;
    EXPECT_EQ(security.SetEntriesInAcl({stranger}, old, &merged), ERROR_NONE_MAPPED);
    EXPECT_EQ(merged, 0u);
    security.FreeAcl(old);
    EXPECT_EQ(security.FreeAcl(old), ERROR_INVALID_HANDLE);

    security.setFailure(platform::host::SecurityOperation::SetNamedSecurityInfo,
                        ERROR_ACCESS_DENIED);
    EXPECT_EQ(addAdministrators(kObject), ERROR_ACCESS_DENIED);
    EXPECT_EQ(security.objectDacl(SE_REGISTRY_KEY, kObject).size(), 2u);
}

TEST_F(SecurityTest, AccessModesMergeAsTheSecurityFunctionsDo) {
    HAcl base = 0;
    ASSERT_EQ(
        security.GetNamedSecurityInfo(kObject, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, &base),
        ERROR_SUCCESS);
    ExplicitAccess grant{"Everyone", KEY_WRITE, GRANT_ACCESS, NO_INHERITANCE};
    ExplicitAccess deny{"Guests", KEY_ALL_ACCESS, DENY_ACCESS, NO_INHERITANCE};
    ExplicitAccess revoke{"system", 0, REVOKE_ACCESS, NO_INHERITANCE};
    HAcl merged = 0;
    ASSERT_EQ(security.SetEntriesInAcl({grant, deny, revoke}, base, &merged), ERROR_SUCCESS);
    const std::vector<AclEntry> entries = security.aclEntries(merged);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].deny);
    EXPECT_EQ(entries[0].trustee, "Guests");
    EXPECT_EQ(entries[1].trustee, "Everyone");
    EXPECT_EQ(entries[1].access, KEY_READ | KEY_WRITE);
    // The old list is not changed by the merge.
    EXPECT_EQ(security.aclEntries(base).size(), 2u);
    security.FreeAcl(base);
    security.FreeAcl(merged);
}

}  // namespace
}  // namespace system_test

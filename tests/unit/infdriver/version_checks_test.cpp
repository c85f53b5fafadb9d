// File version comparison, the DirectX check and the administrator check, on real PE files
// with version resources and on the security of the simulated NT and Windows 95 machines.
#include <cstdint>
#include <string>
#include <vector>

#include "infengine/engine_driver.h"
#include "infsecurity/administrator_access.h"
#include "platform/host/host_security.h"
#include "platform/host/host_system.h"
#include "tests/unit/infdriver/driver_fixture.h"

namespace infdriver_test {
namespace {

using VersionTest = DriverTest;

constexpr char kA[] = "C:\\PACKAGE\\A.DLL";
constexpr char kB[] = "C:\\WINDOWS\\SYSTEM\\B.DLL";

struct ComparisonRow {
    const char* a;
    const char* b;
    std::int32_t comparison;
};

TEST_F(VersionTest, VersionResourcesDecide) {
    const std::vector<ComparisonRow> rows = {
        {"v1234", "v1235", 1},   // B newer by its fixed product version
        {"v1235", "v1234", -1},  // B older
        {"v1234", "v1234", 0},
        {"v1234", "v1234b", 1},     // same product version: the texts decide
        {"v2000", "v1234", -1},     // the fixed version counts, not the text
        {"build1234", "v1235", 1},  // a Windows build's own part against a plain text
        {"v1234", "build1234", 0},
        {"build1234", "v1234", -1},     // equal, but A is the Windows build
        {"build1234", "build13", 1},    // both builds: 4.10 = 4.10, then own parts 1.3 > 1.2
        {"build13", "build2222", -1},   // the build number itself is not looked at
        {"build1234", "build1235", 0},  // nor the own parts' last two numbers
    };
    for (const ComparisonRow& row : rows) {
        copyHostFile(peFixture(std::string(row.a) + ".dll"), kA);
        copyHostFile(peFixture(std::string(row.b) + ".dll"), kB);
        OutBuffer versionA, versionB;
        std::int32_t comparison = 99;
        EXPECT_EQ(
            infengine::CompareFileVersions(kA, kB, versionA.get(), versionB.get(), &comparison), 0)
            << row.a << " / " << row.b;
        EXPECT_EQ(comparison, row.comparison) << row.a << " / " << row.b;
        EXPECT_FALSE(versionA.text().empty());
        EXPECT_TRUE(versionA.guardIntact() && versionB.guardIntact());
    }
    OutBuffer versionA, versionB;
    copyHostFile(peFixture("build1234.dll"), kA);
    copyHostFile(peFixture("v1235.dll"), kB);
    std::int32_t comparison = 0;
    ASSERT_EQ(infengine::CompareFileVersions(kA, kB, versionA.get(), versionB.get(), &comparison),
              0);
    EXPECT_EQ(versionA.text(), "4.10.01.1998-1.2.3.4");
    EXPECT_EQ(versionB.text(), "1.2.3.5");
    // The version outputs may be null.
    EXPECT_EQ(infengine::CompareFileVersions(kA, kB, nullptr, nullptr, &comparison), 0);
    EXPECT_EQ(comparison, 1);
}

TEST_F(VersionTest, TheFirstTranslationWithATextWins) {
    copyHostFile(peFixture("second.dll"), kA);
    copyHostFile(peFixture("v1234.dll"), kB);
    OutBuffer versionA, versionB;
    std::int32_t comparison = 0;
    ASSERT_EQ(infengine::CompareFileVersions(kA, kB, versionA.get(), versionB.get(), &comparison),
              0);
    EXPECT_EQ(versionA.text(), "7.7.7.7");
    EXPECT_EQ(comparison, -1);
}

TEST_F(VersionTest, ALongVersionTextIsCut) {
    copyHostFile(peFixture("longtext.dll"), kA);
    copyHostFile(peFixture("longtext.dll"), kB);
    OutBuffer versionA, versionB;
    std::int32_t comparison = 99;
    ASSERT_EQ(infengine::CompareFileVersions(kA, kB, versionA.get(), versionB.get(), &comparison),
              0);
    EXPECT_EQ(versionA.text().size(), 259u);
    EXPECT_EQ(versionA.text().substr(0, 10), "1234567890");
    EXPECT_TRUE(versionA.guardIntact() && versionB.guardIntact());
    EXPECT_EQ(comparison, 0);
}

TEST_F(VersionTest, WithoutAVersionResourceTheFileTimesDecide) {
    struct Row {
        const char* a;
        const char* b;
        std::uint64_t timeA;
        std::uint64_t timeB;
        std::int32_t comparison;
    };
    const std::uint64_t t = 125000000000000000ull;
    const std::vector<Row> rows = {
        {"noversion", "noversion", t, t - 1, -1},  // B modified earlier
        {"noversion", "noversion", t, t + 1, 1},  {"noversion", "noversion", t, t, 0},
        {"v1235", "noversion", t, t + 1, 1},  // one resource missing is enough
        {"noversion", "v1234", t, t - 1, -1},
    };
    for (const Row& row : rows) {
        copyHostFile(peFixture(std::string(row.a) + ".dll"), kA);
        copyHostFile(peFixture(std::string(row.b) + ".dll"), kB);
        setLastWriteTime(kA, row.timeA);
        setLastWriteTime(kB, row.timeB);
        OutBuffer versionA, versionB;
        std::int32_t comparison = 99;
        EXPECT_EQ(
            infengine::CompareFileVersions(kA, kB, versionA.get(), versionB.get(), &comparison), 1);
        EXPECT_EQ(comparison, row.comparison) << row.a << " / " << row.b;
        EXPECT_EQ(versionA.text(), "");
        EXPECT_EQ(versionB.text(), "");
    }
    // A missing file and plain text files fall back the same way, without a crash.
    writeFile(kA, "not a program");
    std::int32_t comparison = 99;
    EXPECT_EQ(
        infengine::CompareFileVersions(kA, "C:\\NOWHERE\\X.DLL", nullptr, nullptr, &comparison), 1);
    EXPECT_EQ(comparison, -1);
    EXPECT_EQ(infengine::CompareFileVersions(nullptr, nullptr, nullptr, nullptr, &comparison), 1);
    EXPECT_EQ(comparison, 0);
}

TEST_F(VersionTest, ABrokenVersionResourceCountsAsMissing) {
    std::string bytes = hostFile(peFixture("v1234.dll"));
    // The root node "VS_VERSION_INFO" in UTF-16; its length field is 6 bytes before the key.
    const std::string key("V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O\0", 30);
    const std::size_t at = bytes.find(key);
    ASSERT_NE(at, std::string::npos);
    for (const std::uint16_t length : {std::uint16_t(0xFFFF), std::uint16_t(3)}) {
        bytes[at - 6] = static_cast<char>(length & 0xFF);
        bytes[at - 5] = static_cast<char>(length >> 8);
        writeFile(kA, bytes);
        copyHostFile(peFixture("v1235.dll"), kB);
        setLastWriteTime(kA, 125000000000000000ull);
        setLastWriteTime(kB, 125000000100000000ull);
        std::int32_t comparison = 99;
        OutBuffer versionA, versionB;
        EXPECT_EQ(
            infengine::CompareFileVersions(kA, kB, versionA.get(), versionB.get(), &comparison), 1)
            << length;
        EXPECT_EQ(comparison, 1);
    }
}

TEST_F(VersionTest, DirectXIsTheLowestOfItsFiles) {
    const std::string system = "C:\\WINDOWS\\SYSTEM\\";
    const std::vector<std::string> files = {"ddraw.dll", "d3drm.dll", "dsound.dll", "dplayx.dll",
                                            "dinput.dll"};
    for (const std::string& file : files) copyHostFile(peFixture("dx6.dll"), system + file);
    std::uint32_t version = 99;
    EXPECT_EQ(infengine::DirectXVersionInstalled(&version), 0);
    EXPECT_EQ(version, 6u);

    for (const std::string& file : files) copyHostFile(peFixture("dx5.dll"), system + file);
    copyHostFile(peFixture("dx3.dll"), system + "dplayx.dll");
    EXPECT_EQ(infengine::DirectXVersionInstalled(&version), 0);
    EXPECT_EQ(version, 3u);

    // A runtime file without a version counts as none at all.
    copyHostFile(peFixture("noversion.dll"), system + "dsound.dll");
    EXPECT_EQ(infengine::DirectXVersionInstalled(&version), 0);
    EXPECT_EQ(version, 0u);

    // A missing file ends the check; the output holds what the earlier files gave.
    copyHostFile(peFixture("dx5.dll"), system + "dsound.dll");
    ASSERT_EQ(platform::machine().files->DeleteFile((system + "dinput.dll").c_str()),
              ERROR_SUCCESS);
    EXPECT_EQ(infengine::DirectXVersionInstalled(&version), 1);
    EXPECT_EQ(version, 3u);
    ASSERT_EQ(platform::machine().files->DeleteFile((system + "ddraw.dll").c_str()), ERROR_SUCCESS);
    EXPECT_EQ(infengine::DirectXVersionInstalled(&version), 1);
    EXPECT_EQ(version, 0u);
}

TEST_F(VersionTest, AdministratorCheck) {
    useMachine("win95-maestro1");
    EXPECT_EQ(infengine::IsUserAdministrator(), 1);

    useMachine("nt4-maestro2e");
    platform::host::HostSecurity& security = machine().security();
    EXPECT_EQ(infengine::IsUserAdministrator(), 0);
    security.setProcessTokenGroups({"S-1-1-0", "S-1-5-32-545"});
    EXPECT_EQ(infengine::IsUserAdministrator(), 1);
    // An impersonating thread's token is the one that counts.
    security.setThreadTokenGroups(std::vector<std::string>{"S-1-5-32-544"});
    EXPECT_EQ(infengine::IsUserAdministrator(), 0);
    security.setThreadTokenGroups(std::nullopt);

    machine().system().clearDebugOutput();
    security.setFailure(platform::host::SecurityOperation::OpenProcessToken, ERROR_ACCESS_DENIED);
    EXPECT_EQ(infengine::IsUserAdministrator(), 1);
    security.setFailure(platform::host::SecurityOperation::OpenProcessToken, ERROR_SUCCESS);
    security.setFailure(platform::host::SecurityOperation::OpenThreadToken, ERROR_ACCESS_DENIED);
    EXPECT_EQ(infengine::IsUserAdministrator(), 1);
    security.setFailure(platform::host::SecurityOperation::OpenThreadToken, ERROR_SUCCESS);
    security.setFailure(platform::host::SecurityOperation::GetTokenGroups,
                        ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(infengine::IsUserAdministrator(), 1);
    EXPECT_EQ(machine().system().debugOutput(),
              (std::vector<std::string>{"!!! CRights: OpenProcessToken failed (5)\n",
                                        "!!! CRights: OpenThreadToken failed (5)\n"}));
    EXPECT_EQ(security.openTokenCount(), 0u);
}

using SecurityHelperTest = DriverTest;

TEST_F(SecurityHelperTest, AdministratorsGetFullControlOnce) {
    useMachine("nt4-maestro2e");
    platform::host::HostSecurity& security = machine().security();
    const std::string key = "MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\Root";
    const auto before = security.objectDacl(SE_REGISTRY_KEY, key);
    EXPECT_EQ(infsecurity::addAdministratorAceToAcl(
                  "MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\Root\\NoSuchKey"),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(security.objectDacl(SE_REGISTRY_KEY, key), before);

    ASSERT_EQ(infsecurity::addAdministratorAceToAcl(key.c_str()), ERROR_SUCCESS);
    ASSERT_EQ(infsecurity::addAdministratorAceToAcl(key.c_str()), ERROR_SUCCESS);
    const auto after = security.objectDacl(SE_REGISTRY_KEY, key);
    int administrators = 0;
    for (const platform::host::AclEntry& entry : after) {
        if (entry.sid == platform::kAdministratorsSid) {
            ++administrators;
            EXPECT_EQ(entry.access, GENERIC_ALL);
            EXPECT_FALSE(entry.deny);
            EXPECT_EQ(entry.inheritance, 0u);
        }
    }
    EXPECT_EQ(administrators, 1);
    EXPECT_EQ(after.size(), before.size() + 1) << "the other entries stay";
    EXPECT_EQ(security.heldAclCount(), 0u);

    // A failing write is reported; what was read is given back all the same.
    security.setFailure(platform::host::SecurityOperation::SetNamedSecurityInfo,
                        ERROR_ACCESS_DENIED);
    EXPECT_EQ(infsecurity::addAdministratorAceToAcl(key.c_str()), ERROR_ACCESS_DENIED);
    EXPECT_EQ(security.heldAclCount(), 0u);

    // Only 259 characters of a name are used.
    const std::string longName = key + "\\" + std::string(400, 'K');
    EXPECT_EQ(infsecurity::addAdministratorAceToAcl(longName.c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(infsecurity::addAdministratorAceToAcl(nullptr), ERROR_INVALID_PARAMETER);

    useMachine("win95-maestro1");
    EXPECT_EQ(infsecurity::addAdministratorAceToAcl("MACHINE\\SOFTWARE"),
              ERROR_CALL_NOT_IMPLEMENTED);
}

}  // namespace
}  // namespace infdriver_test

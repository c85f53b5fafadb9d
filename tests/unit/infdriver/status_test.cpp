// Installation status: the files of the install section, the registry values of the
// registration, the preinstalled slots; and a whole install after an uninstall, on Windows 98
// and on NT.
#include <cstdint>
#include <string>
#include <vector>

#include "infengine/engine.h"
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "tests/unit/infdriver/driver_fixture.h"

namespace infdriver_test {
namespace {

using StatusTest = DriverTest;

constexpr std::uint16_t kFiles = 1, kNoneOlder = 2, kRegistry = 4, kPreinstalled = 8, kSame = 16;
constexpr char kInf[] = "C:\\DRIVER\\SAMPLE.INF";

std::uint16_t status(int* result) {
    std::uint16_t flags = 0xFFFF;
    *result = infengine::DriverInstallationStatus(&flags);
    return flags;
}

// A sample driver for the card: two files to the system folder, the INF itself and the
// enabler, which the check passes over.
class Sample : public StatusTest {
  protected:
    void openSample() {
        openInf(kInf, "Class=MEDIA\r\nProvider=%Maker%\r\n",
                "[DestinationDirs]\r\nDefaultDestDir=11\r\nInfFiles=17\r\n"
                "[Manufacturer]\r\n%Maker%=Maker\r\n[Maker]\r\n"
                "%Desc%=Install, PCI\\VEN_125D&DEV_1978\r\n"
                "[Install]\r\nCopyFiles=Files,InfFiles\r\n"
                "[Files]\r\nsample.drv\r\nsample.vxd\r\nhvenable.sys\r\n"
                "[InfFiles]\r\nSAMPLE.INF\r\n"
                "[Strings]\r\nMaker=\"Helvane\"\r\nDesc=\"Tunara Sample\"\r\n");
    }
    void package(const std::string& name, const std::string& fixture) {
        copyHostFile(peFixture(fixture + ".dll"), std::string("C:\\DRIVER\\") + name);
    }
    void installed(const std::string& name, const std::string& fixture) {
        copyHostFile(peFixture(fixture + ".dll"), std::string("C:\\WINDOWS\\SYSTEM\\") + name);
    }
};

TEST_F(Sample, TheFilesAndTheirVersions) {
    openSample();
    package("sample.drv", "v1234");
    package("sample.vxd", "noversion");
    installed("sample.drv", "v1234");
    installed("sample.vxd", "noversion");
    int result = 0;
    std::uint16_t flags = status(&result);
    EXPECT_EQ(flags & (kFiles | kNoneOlder | kSame), kFiles | kNoneOlder | kSame);

    struct Row {
        const char* packaged;
        const char* installedVersion;
        std::uint16_t expected;
    };
    const std::vector<Row> rows = {
        {"v1234", "v1235", kFiles | kNoneOlder},  // newer: not the same, not older
        {"v1234", "v2000", kFiles | kNoneOlder},
        {"v1234", "v1234b", kFiles | kNoneOlder},
        {"v1235", "v1234", kFiles},  // older
        {"v1234", "build1234", kFiles | kNoneOlder | kSame},
        {"build1234", "v1234", kFiles},  // a Windows build's file is replaced
    };
    for (const Row& row : rows) {
        package("sample.drv", row.packaged);
        installed("sample.drv", row.installedVersion);
        flags = status(&result);
        EXPECT_EQ(flags & (kFiles | kNoneOlder | kSame), row.expected)
            << row.packaged << " / " << row.installedVersion;
        if ((row.expected & kNoneOlder) == 0) {
            EXPECT_EQ(result, 1);
        }
    }
    package("sample.drv", "v1234");
    // A missing file ends the check with three bits clear.
    ASSERT_EQ(platform::machine().files->DeleteFile("C:\\WINDOWS\\SYSTEM\\sample.vxd"),
              ERROR_SUCCESS);
    installed("sample.drv", "v1234");
    flags = status(&result);
    EXPECT_EQ(flags & (kFiles | kNoneOlder | kSame), 0);
    EXPECT_EQ(result, 1);
}

TEST_F(StatusTest, TheInstalledCardOfTheDescription) {
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\CNPROWT.INF"), 0);
    int result = 1;
    EXPECT_EQ(status(&result), kFiles | kNoneOlder | kRegistry | kSame);
    EXPECT_EQ(result, 0);
    // Without its class key's values the registration is incomplete.
    deleteKey("System\\CurrentControlSet\\Services\\Class\\MEDIA\\0005");
    EXPECT_EQ(status(&result), kFiles | kNoneOlder | kSame);
    EXPECT_EQ(result, 1);
}

TEST_F(Sample, UninstallThenInstallOnWindows98) {
    openSample();
    package("sample.drv", "v1234");
    package("sample.vxd", "v1234");
    installed("sample.drv", "v1234");
    installed("sample.vxd", "v1234");
    for (const std::string& key : runRemoval(true)) EXPECT_FALSE(keyExists(key));
    int result = 0;
    EXPECT_EQ(status(&result), kFiles | kNoneOlder | kSame);
    EXPECT_EQ(result, 1);

    writeValues(runSequence(infengine::EnumDriverReg));
    EXPECT_EQ(status(&result), kFiles | kNoneOlder | kRegistry | kSame);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(stringValue("Enum\\PCI\\VEN_125D&DEV_1978\\BUS_00&DEV_0a&FUNC_00", "Driver"),
              "MEDIA\\0011");

    // Preinstalled in every slot of bus 0 as well.
    writeValues(runSequence(infengine::EnumPreinstallDriverReg));
    EXPECT_EQ(status(&result), kFiles | kNoneOlder | kRegistry | kPreinstalled | kSame);
    deleteKey("Enum\\PCI\\VEN_125D&DEV_1978\\BUS_00&DEV_0f&FUNC_00");
    EXPECT_EQ(status(&result) & kPreinstalled, 0);
}

TEST_F(StatusTest, InstallOnWindowsNt) {
    useMachine("nt4-maestro2e");
    installLibraries("C:\\WINNT\\SYSTEM32");
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINNT\\INF\\CNPROWT.INF"), 0);
    int result = 0;
    EXPECT_EQ(status(&result) & kRegistry, 0);
    EXPECT_EQ(result, 1);
    writeValues(runSequence(infengine::EnumDriverReg));
    infengine::engineState().installSection.clear();
    EXPECT_EQ(status(&result), kFiles | kNoneOlder | kRegistry | kSame);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(infengine::engineState().installSection, "Tunara.Enum")
        << "taken from the registered InfSection";
    // The card is in the machine, but NT cannot look at the bus.
    OutBuffer description, provider;
    EXPECT_EQ(infengine::DeviceExists(description.get(), provider.get()), 3);
}

TEST_F(StatusTest, NoInf) {
    int result = 0;
    EXPECT_EQ(status(&result), kFiles | kNoneOlder | kSame);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(infengine::DriverInstallationStatus(nullptr), 1);
}

}  // namespace
}  // namespace infdriver_test

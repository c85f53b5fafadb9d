// Every place that tells Windows builds apart (the engine's Windows kind and what depends on
// it, and the support library's GetOS), on both sides of each boundary and on NT, with the
// machine's reported version set per case.
#include <cstdint>
#include <string>
#include <vector>

#include "infengine/engine.h"
#include "infengine/engine_driver.h"
#include "infengine/windows_kind.h"
#include "instsupport/setup_utilities.h"
#include "platform/host/host_system.h"
#include "tests/unit/infdriver/driver_fixture.h"

namespace infdriver_test {
namespace {

using WindowsKindsTest = DriverTest;

constexpr char kSlot[] = "\\BUS_00&DEV_0a&FUNC_00";

TEST_F(WindowsKindsTest, EveryPlaceOnBothSidesOfEachBoundary) {
    constexpr std::uint32_t k9x = VER_PLATFORM_WIN32_WINDOWS;
    constexpr std::uint32_t kNt = VER_PLATFORM_WIN32_NT;
    struct Row {
        const char* what;
        std::uint32_t platformId, major, minor, build;  // platformId 0: the query fails
        int kind;
        bool bridgeKey;     // ConstructPCIKey names a card behind a bridge (bus 1): from OSR2
        bool subsystemKey;  // the key to delete carries the subsystem: Windows 98
        bool classGuid;     // registration ends with ClassGUID, MatchingDeviceID: Windows 98
        bool preinstall;    // EnumPreinstallDriverReg runs: the 95/98 family
        bool removal;       // EnumDelDriverReg hands out keys: not on NT
        int os;             // GetOS
    };
    // clang-format off
    const Row rows[] = {
        {"4.00.950",       k9x, 4, 0,  950,  1, false, false, false, true,  true,  1000},
        {"4.00.951",       k9x, 4, 0,  951,  2, false, false, false, true,  true,  1000},
        {"4.00.1109",      k9x, 4, 0,  1109, 2, false, false, false, true,  true,  1000},
        {"4.00.1110",      k9x, 4, 0,  1110, 2, false, false, false, true,  true,  1001},
        {"4.00.1111",      k9x, 4, 0,  1111, 3, true,  false, false, true,  true,  1001},
        {"4.00.1399",      k9x, 4, 0,  1399, 3, true,  false, false, true,  true,  1001},
        {"4.00.1400",      k9x, 4, 0,  1400, 4, true,  true,  true,  true,  true,  0},
        {"4.10.1998",      k9x, 4, 10, 1998, 4, true,  true,  true,  true,  true,  1002},
        {"4.10.950",       k9x, 4, 10, 950,  1, false, false, false, true,  true,  1002},
        {"NT 4.0.1381",    kNt, 4, 0,  1381, 5, false, false, false, false, false, 2001},
        {"NT 5.0.2195",    kNt, 5, 0,  2195, 5, false, false, false, false, false, 2002},
        {"no version",     0,   0, 0,  0,    0, true,  false, false, false, true,  0},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        useMachine("win98-maestro2e");
        addPciFunction(0, 3, 0, 0x1285, 0x1000);  // the bridge in front of bus 1
        auto& system = machine().system();
        if (row.platformId == 0) {
            system.setVersionQueryFails(true);
        } else {
            platform::OsVersionInfo version;
            version.platformId = row.platformId;
            version.majorVersion = row.major;
            version.minorVersion = row.minor;
            // The 95/98 family repeats major and minor version in the high word.
            version.buildNumber = row.platformId == k9x
                                      ? (row.major << 24) | (row.minor << 16) | row.build
                                      : row.build;
            system.setVersion(version);
        }

        EXPECT_EQ(infengine::windowsKind(), row.kind);
        EXPECT_EQ(instsupport::getOs(), row.os);

        OutBuffer key;
        EXPECT_EQ(infengine::ConstructPCIKey(0x125D, 0x1978, 1, 14, 1, key.get()),
                  row.bridgeKey ? 1 : 0);
        EXPECT_EQ(key.text(), row.bridgeKey ? "Enum\\PCI\\VEN_125D&DEV_1978\\701808" : "");
        EXPECT_EQ(infengine::ConstructPCIKeyToDelete(0x125D, 0x1978, 0, 10, 0, key.get()), 1);
        EXPECT_EQ(
            key.text(),
            std::string(row.subsystemKey ? "Enum\\PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D&REV_10"
                                         : "Enum\\PCI\\VEN_125D&DEV_1978") +
                kSlot);

        ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\CNPROWT.INF"), 0);
        OutBuffer root, removed;
        EXPECT_EQ(infengine::EnumDelDriverReg(0, root.get(), removed.get()) == 0, row.removal);
        std::uint16_t index = 0;
        OutBuffer subKey, valueName, data;
        int flags = 0;
        EXPECT_EQ(infengine::EnumPreinstallDriverReg(&index, root.get(), subKey.get(),
                                                     valueName.get(), data.get(), &flags) == 0,
                  row.preinstall);
        if (row.platformId != kNt) {
            // NT registers services instead; its sequence is the registration tests' own.
            bool classGuid = false, matchingId = false;
            for (const RegValue& value : runSequence(infengine::EnumDriverReg)) {
                classGuid = classGuid || value.name == "ClassGUID";
                matchingId = matchingId || value.name == "MatchingDeviceID";
            }
            EXPECT_EQ(classGuid, row.classGuid);
            EXPECT_EQ(matchingId, row.classGuid);
        }
        infengine::CloseInfFile();
    }
}

}  // namespace
}  // namespace infdriver_test

// The removal of the card's hardware-tree keys: the stages, the offset that keeps an index on
// its stage, the Maestro-2E remapping, and keys the caller did not delete.
#include <string>
#include <vector>

#include "infengine/engine.h"
#include "infengine/engine_driver.h"
#include "tests/unit/infdriver/driver_fixture.h"

namespace infdriver_test {
namespace {

using Keys = std::vector<std::string>;

constexpr char kInf[] = "C:\\DRIVER\\OLD.INF";

class RemovalOf : public DriverTest {
  protected:
    void openFor(const std::string& id) {
        openInf(kInf, "Class=MEDIA\r\n",
                "[Manufacturer]\r\nHelvane=Models\r\n[Models]\r\nCard=Install," + id + "\r\n");
    }
};

TEST_F(RemovalOf, TheMaestro2EOfTheDescription) {
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\CNPROWT.INF"), 0);
    const Keys keys = runRemoval(true);
    EXPECT_EQ(keys, (Keys{"Enum\\PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D&REV_10", "Enum\\ZIZEZ",
                          "Config\\0001\\Enum\\ZIZEZ"}));
    for (const std::string& key : keys) EXPECT_FALSE(keyExists(key)) << key;
    EXPECT_TRUE(keyExists("Enum\\PCI\\VEN_8086&DEV_7110&SUBSYS_00000000&REV_02"));
    EXPECT_TRUE(keyExists("Enum\\MF\\CHILD0000"));
}

TEST_F(RemovalOf, EveryMatchingPciKeyAndAKeyThatStays) {
    createKey("Enum\\PCI\\VEN_125D&DEV_1978\\BUS_00&DEV_0a&FUNC_00");
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\CNPROWT.INF"), 0);
    // Not deleted: each key comes once, and the removal still goes on to the next stages.
    const Keys kept = runRemoval(false);
    EXPECT_EQ(kept,
              (Keys{"Enum\\PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D&REV_10",
                    "Enum\\PCI\\VEN_125D&DEV_1978", "Enum\\ZIZEZ", "Config\\0001\\Enum\\ZIZEZ"}));
    // Deleted: the same keys, and all of them go.
    EXPECT_EQ(runRemoval(true), kept);
    EXPECT_FALSE(keyExists("Enum\\PCI\\VEN_125D&DEV_1978"));
}

TEST_F(RemovalOf, TheAurealFamily) {
    openFor("PCI\\VEN_12EB&DEV_0002");
    createKey("Enum\\PCI\\VEN_12EB&DEV_0002&SUBSYS_00000000&REV_01\\BUS_00&DEV_0c&FUNC_00");
    createKey("Enum\\MF\\CHILD0000\\PCI&VEN_12EB&DEV_0002&BUS_00&DEV_0C&FUNC_00");
    createKey("Enum\\MF\\CHILD0001\\PCI&VEN_12EB&DEV_0002&BUS_00&DEV_0C&FUNC_00");
    createKey("Enum\\VIRTUAL\\PCI_VEN_12EB&DEV_0002&BUS_00&DEV_0C&FUNC_00");
    createKey("Enum\\VIRTUAL\\PCI_VEN_12EB&DEV_0002&BUS_00&DEV_0D&FUNC_00");
    createKey("SOFTWARE\\Aureal\\A3D");
    EXPECT_EQ(
        runRemoval(true),
        (Keys{"Enum\\PCI\\VEN_12EB&DEV_0002&SUBSYS_00000000&REV_01",
              "Enum\\MF\\CHILD0000\\PCI&VEN_12EB&DEV_0002&BUS_00&DEV_0C&FUNC_00",
              "Enum\\VIRTUAL\\PCI_VEN_12EB&DEV_0002&BUS_00&DEV_0C&FUNC_00",
              "Enum\\VIRTUAL\\PCI_VEN_12EB&DEV_0002&BUS_00&DEV_0D&FUNC_00", "SOFTWARE\\Aureal"}));
    EXPECT_TRUE(keyExists("Enum\\MF\\CHILD0001\\PCI&VEN_12EB&DEV_0002&BUS_00&DEV_0C&FUNC_00"));
    EXPECT_TRUE(keyExists("Enum\\ZIZEZ"));
}

TEST_F(RemovalOf, AnotherVendorLosesOnlyItsPciKeys) {
    openFor("PCI\\VEN_1102&DEV_0002");
    createKey("Enum\\PCI\\VEN_1102&DEV_0002&SUBSYS_80611102&REV_08\\BUS_00&DEV_0c&FUNC_00");
    createKey("Enum\\MF\\CHILD0000\\PCI&VEN_1102&DEV_0002&BUS_00&DEV_0C&FUNC_00");
    EXPECT_EQ(runRemoval(true), (Keys{"Enum\\PCI\\VEN_1102&DEV_0002&SUBSYS_80611102&REV_08"}));
    EXPECT_TRUE(keyExists("Enum\\ZIZEZ"));
}

TEST_F(RemovalOf, TheMaestro1WithItsChildrenInBothTrees) {
    useMachine("win95-maestro1");
    const std::string child = "PCI&VEN_1285&DEV_0100&BUS_00&DEV_0B&FUNC_00";
    createKey("Enum\\MF\\CHILD0000\\" + child);
    createKey("Config\\0001\\Enum\\MF\\CHILD0000\\" + child);
    createKey("Config\\0001\\Enum\\MF\\CHILD0003\\" + child);
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\MSTROWT.INF"), 0);
    // The same instance name in the hardware profile is a key of its own, not one that the
    // caller failed to delete.
    EXPECT_EQ(runRemoval(true),
              (Keys{"Enum\\PCI\\VEN_1285&DEV_0100", "Enum\\MF\\CHILD0000\\" + child, "Enum\\ZIZEZ",
                    "Config\\0001\\Enum\\MF\\CHILD0000\\" + child,
                    "Config\\0001\\Enum\\MF\\CHILD0003\\" + child, "Config\\0001\\Enum\\ZIZEZ"}));
}

TEST_F(RemovalOf, NothingWithoutAnInfOnNtOrForKeysTooLongToName) {
    OutBuffer root, key;
    EXPECT_EQ(infengine::EnumDelDriverReg(0, root.get(), key.get()), 1) << "no INF open";
    // A name that would not fit the caller's buffer is never cut into another key's name.
    createKey("Enum\\PCI\\VEN_125D&DEV_1978" + std::string(238, 'X'));
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\CNPROWT.INF"), 0);
    const Keys keys = runRemoval(false);
    ASSERT_FALSE(keys.empty());
    for (const std::string& removed : keys) EXPECT_LT(removed.size(), 260u);
    EXPECT_EQ(keys.front(), "Enum\\PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D&REV_10");

    useMachine("nt4-maestro2e");
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINNT\\INF\\CNPROWT.INF"), 0);
    EXPECT_EQ(infengine::EnumDelDriverReg(0, root.get(), key.get()), 1);
}

}  // namespace
}  // namespace infdriver_test

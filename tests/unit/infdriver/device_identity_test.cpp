// The device lookup over the INF's model lines and the PCI key names, on the Windows 95, OSR2,
// 98 and NT machine descriptions with and without the card.
#include "infengine/device_identity.h"

#include <cstdint>
#include <string>
#include <vector>

#include "infengine/driver_state.h"
#include "infengine/engine.h"
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "infengine/pci_keys.h"
#include "tests/unit/infdriver/driver_fixture.h"

namespace infdriver_test {
namespace {

using IdentityTest = DriverTest;

constexpr char kInf[] = "C:\\DRIVER\\SAMPLE.INF";
constexpr char kVersion[] = "Class=MEDIA\r\nProvider=%Maker%\r\n";

std::string models(const std::string& lines) {
    return "[Manufacturer]\r\n%Maker%=Maker\r\n[Maker]\r\n" + lines +
           "[Strings]\r\nMaker=\"Helvane\"\r\n";
}

TEST(ModelIds, WhatALineMustCarry) {
    struct Row {
        const char* text;
        bool ids;
        std::uint16_t vendor, device;
        std::uint32_t subsystem, revision;
    };
    const std::vector<Row> rows = {
        {"X,PCI\\VEN_125D&DEV_1978", true, 0x125D, 0x1978, 0, 0},
        {"X,PCI\\VEN_125d&DEV_1978&SUBSYS_1978125D&REV_10", true, 0x125D, 0x1978, 0x1978125D, 0x10},
        {"X,PCI\\VEN_1285&DEV_0100&REV_07", true, 0x1285, 0x0100, 0, 7},
        {"X,PCI\\VEN_125D&DEV_1978&SUBSYS_1978&REV_1", true, 0x125D, 0x1978, 0, 0},  // partial
        {"X,PCI\\VEN_125&DEV_1978", false, 0, 0, 0, 0},                              // three digits
        {"X,PCI\\VEN_0000&DEV_1978", false, 0, 0, 0, 0},                             // zero vendor
        {"X,PCI\\VEN_125D&DEV_0000", false, 0, 0, 0, 0},                             // zero device
        {"X,PCI\\VEN_125D", false, 0, 0, 0, 0},
        {"X,PCI\\VEN_125D&DEV_19", false, 0, 0, 0, 0},    // text ends in the id
        {"X,PCI\\DEV_1978&VEN_125D", false, 0, 0, 0, 0},  // the device id must follow
        {"X,PCI\\VEN_GGGG&DEV_1978", false, 0, 0, 0, 0},
        {"X,PCI\\VEN_&DEV_1978,VEN_125D&DEV_1978", true, 0x125D, 0x1978, 0, 0},
        {"X,ZIZEZ\\WAVE", false, 0, 0, 0, 0},
        {"", false, 0, 0, 0, 0},
    };
    for (const Row& row : rows) {
        infengine::ModelIds ids;
        ASSERT_EQ(infengine::parseModelIds(row.text, &ids), row.ids) << row.text;
        if (!row.ids) continue;
        EXPECT_EQ(ids.vendor, row.vendor) << row.text;
        EXPECT_EQ(ids.device, row.device) << row.text;
        EXPECT_EQ(ids.subsystem, row.subsystem) << row.text;
        EXPECT_EQ(ids.revision, row.revision) << row.text;
    }
}

TEST_F(IdentityTest, ACardOnTheBusGivesItsOwnIdentity) {
    // The description's own INF.
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\CNPROWT.INF"), 0);
    OutBuffer description, provider;
    EXPECT_EQ(infengine::DeviceExists(description.get(), provider.get()), 0);
    EXPECT_EQ(description.text(), "Tunara Multi-Device Enumerator");
    EXPECT_EQ(provider.text(), "Helvane");
    const infengine::EngineState& engine = infengine::engineState();
    EXPECT_EQ(engine.installSection, "Tunara.Enum");
    EXPECT_EQ(engine.subsystemId, 0x1978125Du);
    EXPECT_EQ(engine.revision, 0x10u);
    EXPECT_EQ(
        engine.hardwareIds,
        "PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D&REV_10,PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D,"
        "PCI\\VEN_125D&DEV_1978&REV_10,PCI\\VEN_125D&DEV_1978");
    EXPECT_EQ(infengine::RestartOrReboot(), 1);
}

TEST_F(IdentityTest, WithoutTheCardTheLineAndTheDefaultsDecide) {
    useMachine("win98-nocard");
    openInf(kInf, kVersion,
            models("%D1%=Install1, PCI\\VEN_125D&DEV_1978&SUBSYS_00000000\r\n"
                   "%Zizez%=Wave, ZIZEZ\\WAVE\r\n"));
    OutBuffer description, provider;
    EXPECT_EQ(infengine::DeviceExists(description.get(), provider.get()), 3);
    EXPECT_EQ(description.text(), "");
    const infengine::EngineState& engine = infengine::engineState();
    EXPECT_EQ(engine.revision, 1u);
    EXPECT_EQ(engine.hardwareIds.rfind("PCI\\VEN_125D&DEV_1978&SUBSYS_00000000&REV_01,", 0), 0u)
        << engine.hardwareIds;
    EXPECT_EQ(engine.installSection, "Install1") << "the last line with ids wins";

    // Maestro-1 defaults, and the line's own subsystem and revision when it has them.
    openInf(kInf, kVersion,
            models("%D1%=A, PCI\\VEN_1285&DEV_0100\r\n%D2%=B, "
                   "PCI\\VEN_125D&DEV_1978&SUBSYS_11112222&REV_22\r\n"));
    ASSERT_TRUE(infengine::lookUpDevice());
    EXPECT_EQ(engine.installSection, "B");
    EXPECT_EQ(engine.subsystemId, 0x11112222u);
    EXPECT_EQ(engine.revision, 0x22u);
    openInf(kInf, kVersion, models("%D1%=A, PCI\\VEN_1285&DEV_0100\r\n"));
    ASSERT_TRUE(infengine::lookUpDevice());
    EXPECT_EQ(engine.hardwareIds.substr(0, 45), "PCI\\VEN_1285&DEV_0100&SUBSYS_FFFF1285&REV_10,");
}

TEST_F(IdentityTest, TheLastNeededSectionStopsTheLookup) {
    useMachine("win98-nocard");
    openInf(kInf, kVersion,
            "[Setup]\r\nNeeds=Second\r\n" + models("%D1%=First, PCI\\VEN_125D&DEV_1978\r\n"
                                                   "%D2%=Second, PCI\\VEN_1285&DEV_0100\r\n"
                                                   "%D3%=Third, PCI\\VEN_1102&DEV_0002\r\n"));
    OutBuffer name;
    ASSERT_EQ(infengine::EnumNeeds("Setup", name.get()), 0);
    ASSERT_TRUE(infengine::lookUpDevice());
    EXPECT_EQ(infengine::engineState().installSection, "Second");
    EXPECT_EQ(infengine::engineState().vendorId, 0x1285u);
}

TEST_F(IdentityTest, AModelSectionWithoutIdsIsManufacturerLess) {
    useMachine("win98-nocard");
    openInf(kInf, kVersion,
            models("%D1%=Root1, *PNPB020\r\n%D2%=Root2, *PNPB021, *PNPB000\r\n"
                   "[Strings]\r\nD2=\"Root Device\"\r\n"));
    OutBuffer description, provider;
    EXPECT_EQ(infengine::DeviceExists(description.get(), provider.get()), 0);
    EXPECT_EQ(description.text(), "Root Device");
    EXPECT_EQ(provider.text(), "Helvane");
    const infengine::EngineState& engine = infengine::engineState();
    EXPECT_TRUE(engine.manufacturerLess);
    EXPECT_EQ(engine.installSection, "Root2");
    EXPECT_EQ(engine.hardwareIds, "*PNPB021");
}

TEST_F(IdentityTest, DeviceExistsResults) {
    OutBuffer description, provider;
    EXPECT_EQ(infengine::DeviceExists(description.get(), provider.get()), 1) << "no INF open";
    openInf(kInf, kVersion, "[Other]\r\nx=1\r\n");
    description.poison();
    EXPECT_EQ(infengine::DeviceExists(description.get(), provider.get()), 2);
    EXPECT_EQ(description.text(), "") << "emptied first";
    openInf(kInf, kVersion, "[Manufacturer]\r\n%Maker%=Maker\r\n[Maker]\r\n");
    EXPECT_EQ(infengine::DeviceExists(nullptr, nullptr), 2) << "an empty model section";
    // Ids FFFF:FFFF are what an empty slot reads: never "found".
    openInf(kInf, kVersion, models("%D%=X, PCI\\VEN_FFFF&DEV_FFFF\r\n"));
    EXPECT_EQ(infengine::DeviceExists(nullptr, nullptr), 3);
    // A Maestro-2E INF finds the card on the bus.
    openInf(kInf, kVersion, models("%D%=X, PCI\\VEN_125D&DEV_1978\r\n[Strings]\r\nD=\"Card\"\r\n"));
    EXPECT_EQ(infengine::DeviceExists(description.get(), nullptr), 0);
    EXPECT_EQ(description.text(), "Card");

    // A 300-character model name reaches the caller cut to its buffer.
    const std::string longName(300, 'N');
    openInf(kInf, kVersion, models(longName + "=X, PCI\\VEN_125D&DEV_1978\r\n"));
    description.poison();
    EXPECT_EQ(infengine::DeviceExists(description.get(), nullptr), 0);
    EXPECT_EQ(description.text(), longName.substr(0, 259));
    EXPECT_TRUE(description.guardIntact());

    // NT reads no ports: the card is never found there.
    useMachine("nt4-maestro2e");
    openInf(kInf, kVersion, models("%D%=X, PCI\\VEN_125D&DEV_1978\r\n"));
    EXPECT_EQ(infengine::DeviceExists(description.get(), provider.get()), 3);
    openInf(kInf, kVersion, "[Other]\r\nx=1\r\n");
    EXPECT_EQ(infengine::DeviceExists(description.get(), provider.get()), 2);
}

TEST_F(IdentityTest, SlotCodes) {
    const std::vector<std::pair<std::uint32_t, std::string>> rows = {
        {0, "00"},  {1, "08"},  {5, "28"},   {10, "50"},
        {14, "70"}, {19, "98"}, {20, "100"}, {0xFFFFFFFFu, "21474836478"}};
    for (const auto& [x, code] : rows) EXPECT_EQ(infengine::slotCode(x), code) << x;
}

struct KeyRow {
    const char* machine;
    std::uint32_t vendor, device, bus, number, function;
    int result;
    const char* key;
};

TEST_F(IdentityTest, ConstructPCIKey) {
    const std::vector<KeyRow> rows = {
        {"win98-maestro2e", 0x125D, 0x1978, 0, 10, 0, 1,
         "Enum\\PCI\\VEN_125D&DEV_1978\\BUS_00&DEV_0a&FUNC_00"},
        {"win98-maestro2e", 0x1125D, 0x21978, 0x12, 0x1F, 7, 1,
         "Enum\\PCI\\VEN_125D&DEV_1978\\BUS_12&DEV_1f&FUNC_07"},
        {"win98-maestro2e", 0x125D, 0x1978, 0x1FF, 0x100, 0, 1,
         "Enum\\PCI\\VEN_125D&DEV_1978\\BUS_1ff&DEV_100&FUNC_00"},
        {"win95-maestro1", 0x1285, 0x0100, 1, 0, 0, 0, ""},   // no bridge naming before OSR2
        {"win98-maestro2e", 0x125D, 0x1978, 1, 0, 0, 0, ""},  // no bridge, no fixed codes
        {"win95osr2-maestro2e", 0x125D, 0x1978, 1, 4, 0, 0, ""},
    };
    for (const KeyRow& row : rows) {
        useMachine(row.machine);
        OutBuffer key;
        EXPECT_EQ(infengine::ConstructPCIKey(row.vendor, row.device, row.bus, row.number,
                                             row.function, key.get()),
                  row.result)
            << row.machine << " bus " << row.bus;
        EXPECT_EQ(key.text(), row.key);
        EXPECT_TRUE(key.guardIntact());
    }
}

TEST_F(IdentityTest, KeysBehindABridge) {
    OutBuffer key;
    // A card of one of two known systems: fixed codes, by the INF's own ids.
    openInf(kInf, "Class=Display\r\n", models("%D%=X, PCI\\VEN_100C&DEV_3208\r\n"));
    ASSERT_TRUE(infengine::lookUpDevice());
    EXPECT_EQ(infengine::ConstructPCIKey(0x100C, 0x3208, 1, 5, 0, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_100C&DEV_3208\\282800");
    EXPECT_EQ(infengine::ConstructPCIKey(0x100C, 0x3208, 1, 5, 1, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_100C&DEV_3208\\002800");
    openInf(kInf, "Class=Display\r\n", models("%D%=X, PCI\\VEN_1234&DEV_0046\r\n"));
    ASSERT_TRUE(infengine::lookUpDevice());
    EXPECT_EQ(infengine::ConstructPCIKey(0x1234, 0x0046, 1, 14, 0, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_1234&DEV_0046\\307000");
    EXPECT_EQ(infengine::ConstructPCIKey(0x1234, 0x0046, 1, 14, 1, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_1234&DEV_0046\\707000");

    // The bridge itself on the bus: the card's, the bridge's and the function's codes.
    addPciFunction(0, 3, 0, 0x1285, 0x1000);
    addPciFunction(0, 9, 0, 0x1011, 0x0024);
    EXPECT_EQ(infengine::ConstructPCIKey(0x125D, 0x1978, 1, 14, 1, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_125D&DEV_1978\\701808");
    EXPECT_EQ(infengine::ConstructPCIKey(0x125D, 0x1978, 1, 6, 0, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_125D&DEV_1978\\304800");
    // Card numbers the bridges are not known for fall back to the fixed codes.
    EXPECT_EQ(infengine::ConstructPCIKey(0x125D, 0x1978, 1, 7, 0, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_125D&DEV_1978\\303800");
    // While preinstalling the bridge is not looked for.
    infengine::ScopedFlag preinstall(infengine::driverState().preinstall);
    EXPECT_EQ(infengine::ConstructPCIKey(0x125D, 0x1978, 1, 14, 1, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_125D&DEV_1978\\707000");
}

TEST_F(IdentityTest, KeysOfAnInstalledDevice) {
    OutBuffer key;
    const std::string slot = "\\BUS_00&DEV_0a&FUNC_00";
    const std::string subsys = "Enum\\PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D&REV_10";
    // Windows 98 named the installed card with its subsystem and revision.
    EXPECT_EQ(infengine::ConstructPCIKeyToDelete(0x125D, 0x1978, 0, 10, 0, key.get()), 1);
    EXPECT_EQ(key.text(), subsys + slot);
    EXPECT_FALSE(infengine::driverState().deleteLookup) << "cleared after the call";
    EXPECT_EQ(infengine::ConstructPCIKey(0x125D, 0x1978, 0, 10, 0, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_125D&DEV_1978" + slot);

    // The short form, once a device is registered under it.
    setString("Enum\\PCI\\VEN_125D&DEV_1978" + slot, "DeviceDesc", "Card");
    EXPECT_EQ(infengine::ConstructPCIKeyToDelete(0x125D, 0x1978, 0, 10, 0, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_125D&DEV_1978" + slot);
    deleteKey("Enum\\PCI\\VEN_125D&DEV_1978");

    // Neither: the form with a zero subsystem.
    deleteKey(subsys);
    EXPECT_EQ(infengine::ConstructPCIKeyToDelete(0x125D, 0x1978, 0, 10, 0, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_125D&DEV_1978&SUBSYS_00000000&REV_10" + slot);
    // A device that is not on the bus takes its defaults.
    EXPECT_EQ(infengine::ConstructPCIKeyToDelete(0x5333, 0x8A01, 0, 1, 0, key.get()), 1);
    EXPECT_EQ(key.text(),
              "Enum\\PCI\\VEN_5333&DEV_8A01&SUBSYS_00000000&REV_01\\BUS_00&DEV_01&FUNC_00");

    // The Maestro-1 and the earlier systems keep the short form.
    EXPECT_EQ(infengine::ConstructPCIKeyToDelete(0x1285, 0x0100, 0, 10, 0, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_1285&DEV_0100" + slot);
    useMachine("win95osr2-maestro2e");
    EXPECT_EQ(infengine::ConstructPCIKeyToDelete(0x125D, 0x1978, 0, 10, 0, key.get()), 1);
    EXPECT_EQ(key.text(), "Enum\\PCI\\VEN_125D&DEV_1978" + slot);
}

}  // namespace
}  // namespace infdriver_test

// The driver registration sequences: Windows 95/98 with the card on the bus and without it,
// the NT services with their legacy keys, and the preinstall slots.
#include <cstdint>
#include <string>
#include <vector>

#include "infengine/driver_state.h"
#include "infengine/engine.h"
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "platform/host/host_security.h"
#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "tests/unit/infdriver/driver_fixture.h"

namespace infdriver_test {
namespace {

using RegistrationTest = DriverTest;

constexpr std::uint64_t kJune5th1998 = 125415216000000000ull;  // 12:00 UTC
constexpr char kInf[] = "C:\\DRIVER\\SAMPLE.INF";
const std::string kPciKey = "Enum\\PCI\\VEN_125D&DEV_1978\\BUS_00&DEV_0a&FUNC_00";
const std::string kClassKey = "System\\CurrentControlSet\\Services\\Class\\MEDIA\\";

std::vector<std::string> names(const std::vector<RegValue>& values) {
    std::vector<std::string> result;
    for (const RegValue& value : values) result.push_back(value.name);
    return result;
}

const RegValue* find(const std::vector<RegValue>& values, const std::string& name) {
    for (const RegValue& value : values) {
        if (value.name == name) return &value;
    }
    return nullptr;
}

std::string sampleInf(const std::string& modelLine) {
    return "[Manufacturer]\r\n%Maker%=Maker\r\n[Maker]\r\n" + modelLine +
           "\r\n[Install]\r\nCopyFiles=Files\r\n[Files]\r\nes197x.drv\r\n"
           "[Strings]\r\nMaker=\"Helvane\"\r\nDesc=\"Tunara Sample\"\r\n";
}

TEST_F(RegistrationTest, Windows98WithTheCardOnTheBus) {
    openInf(kInf, "Class=MEDIA\r\nProvider=%Maker%\r\n",
            sampleInf("%Desc%=Install, PCI\\VEN_125D&DEV_1978"));
    setLastWriteTime(kInf, kJune5th1998);
    std::uint16_t end = 99;
    const std::vector<RegValue> values = runSequence(infengine::EnumDriverReg, 400, &end);
    EXPECT_EQ(end, 0) << "the engine sets the index back at the end";
    ASSERT_EQ(names(values),
              (std::vector<std::string>{"Class", "Driver", "DeviceDesc", "CompatibleIDs",
                                        "ConfigFlags", "HardwareID", "Mfg", "DeviceDesc",
                                        "DriverDate", "DriverDesc", "InfPath", "InfSection",
                                        "HWRevision", "ClassGUID", "MatchingDeviceID"}));
    struct Expected {
        std::size_t at;
        std::string subKey;
        std::string data;
        int flags;
    };
    // MEDIA\0000 to \0010 exist: the search carries into the tens.
    const std::vector<Expected> expected = {
        {0, kPciKey, "MEDIA", 0},
        {1, kPciKey, "MEDIA\\0011", 0},
        {2, kPciKey, "Tunara Sample", 0},
        {3, kPciKey, "PCI\\CC_048000,PCI\\CC_0480", 0},
        {4, kPciKey, std::string(4, '\0'), 1},
        {5, kPciKey,
         "PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D&REV_10,PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D,"
         "PCI\\VEN_125D&DEV_1978&REV_10,PCI\\VEN_125D&DEV_1978",
         0},
        {6, kPciKey, "Helvane", 0},
        {7, kClassKey + "0011", "Tunara Sample", 0},
        {8, kClassKey + "0011", "6-5-1998", 0},
        {10, kClassKey + "0011", "SAMPLE.INF", 0},
        {11, kClassKey + "0011", "Install", 0},
        {12, kPciKey, "16", 0},
        {13, kPciKey, "{4d36e96c-e325-11ce-bfc1-08002be10318}", 0},
        {14, kClassKey + "0011", "VEN_125D&DEV_1978", 0},
    };
    for (const Expected& e : expected) {
        const RegValue& value = values[e.at];
        EXPECT_EQ(value.root, "HKLM") << e.at;
        EXPECT_EQ(value.subKey, e.subKey) << e.at;
        EXPECT_EQ(value.data, e.data) << e.at;
        EXPECT_EQ(value.typeFlags, e.flags) << e.at;
    }
}

TEST_F(RegistrationTest, Windows95EndsAfterTheRevision) {
    useMachine("win95-maestro1");
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\MSTROWT.INF"), 0);
    const std::vector<RegValue> values = runSequence(infengine::EnumDriverReg);
    ASSERT_EQ(values.size(), 13u);
    EXPECT_EQ(values.back().name, "HWRevision");
    EXPECT_EQ(values[0].subKey, "Enum\\PCI\\VEN_1285&DEV_0100\\BUS_00&DEV_0b&FUNC_00");
    EXPECT_EQ(values[1].data, "MEDIA\\0007");
    EXPECT_EQ(values[3].data, "PCI\\CC_040100,PCI\\CC_0401");
    EXPECT_EQ(find(values, "ClassGUID"), nullptr);
    EXPECT_EQ(find(values, "MatchingDeviceID"), nullptr);
}

TEST_F(RegistrationTest, MissingItemsEndTheSequenceEarly) {
    // No "Provider": the values end after "HardwareID".
    openInf(kInf, "Class=MEDIA\r\n", sampleInf("%Desc%=Install, PCI\\VEN_125D&DEV_1978"));
    EXPECT_EQ(names(runSequence(infengine::EnumDriverReg)).back(), "HardwareID");
    // No "Class": nothing at all.
    openInf(kInf, "Provider=%Maker%\r\n", sampleInf("%Desc%=Install, PCI\\VEN_125D&DEV_1978"));
    EXPECT_TRUE(runSequence(infengine::EnumDriverReg).empty());
    // Another class has no class GUID: the end comes after the revision.
    openInf(kInf, "Class=Ports\r\nProvider=%Maker%\r\n",
            sampleInf("%Desc%=Install, PCI\\VEN_125D&DEV_1978"));
    std::vector<RegValue> values = runSequence(infengine::EnumDriverReg);
    EXPECT_EQ(values.back().name, "HWRevision");
    EXPECT_EQ(values[3].data, "") << "no compatible ids for this class";
    // A 300-character class: its values reach the caller cut, and its class key, which no
    // buffer can hold, ends the sequence where it is first needed.
    openInf(kInf, "Class=" + std::string(300, 'C') + "\r\nProvider=%Maker%\r\n",
            sampleInf("%Desc%=Install, PCI\\VEN_125D&DEV_1978"));
    values = runSequence(infengine::EnumDriverReg);
    EXPECT_EQ(names(values).back(), "Mfg");
    EXPECT_EQ(values[0].data, std::string(259, 'C'));
    // No INF at all.
    ASSERT_EQ(infengine::CloseInfFile(), 0);
    EXPECT_TRUE(runSequence(infengine::EnumDriverReg).empty());
    // A caller that starts anywhere but 0 gets nothing without keys.
    openInf(kInf, "Class=MEDIA\r\nProvider=%Maker%\r\n",
            sampleInf("%Desc%=Install, PCI\\VEN_125D&DEV_1978"));
    std::uint16_t index = 5;
    OutBuffer root, subKey, name, data;
    int flags = 0;
    EXPECT_EQ(
        infengine::EnumDriverReg(&index, root.get(), subKey.get(), name.get(), data.get(), &flags),
        1);
    EXPECT_EQ(
        infengine::EnumDriverReg(nullptr, root.get(), subKey.get(), name.get(), data.get(), &flags),
        1);
}

TEST_F(RegistrationTest, ACardThatIsNotOnTheBus) {
    useMachine("win98-nocard");
    openInf(kInf, "Class=MEDIA\r\nProvider=%Maker%\r\n",
            sampleInf("%Desc%=Install, PCI\\VEN_125D&DEV_1978"));
    // No slot and no device key yet: nothing is handed out (the caller would otherwise
    // write at the root of HKEY_LOCAL_MACHINE).
    EXPECT_TRUE(runSequence(infengine::EnumDriverReg).empty());
    // With a key held from before, the values go there and end before "HWRevision".
    infengine::engineState().deviceKey = kPciKey;
    const std::vector<RegValue> values = runSequence(infengine::EnumDriverReg);
    ASSERT_EQ(values.size(), 12u);
    EXPECT_EQ(values.back().name, "InfSection");
    EXPECT_EQ(values[0].subKey, kPciKey);
    EXPECT_EQ(values[1].data, "MEDIA\\0005") << "after the five software devices";
    EXPECT_EQ(values[5].data.substr(0, 45), "PCI\\VEN_125D&DEV_1978&SUBSYS_00000000&REV_01,");
}

TEST_F(RegistrationTest, AnInfWithoutPciIdsRegistersARootDevice) {
    useMachine("win98-nocard");
    openInf(kInf, "Class=MEDIA\r\nProvider=%Maker%\r\n", sampleInf("%Desc%=Install, *PNPB020"));
    const std::vector<RegValue> values = runSequence(infengine::EnumDriverReg);
    EXPECT_EQ(names(values), (std::vector<std::string>{
                                 "Class", "Driver", "DeviceDesc", "ConfigFlags", "HardwareID",
                                 "Mfg", "DeviceDesc", "DriverDate", "DriverDesc", "InfPath",
                                 "InfSection", "ClassGUID", "MatchingDeviceID"}));
    EXPECT_EQ(values[0].subKey, "Enum\\Root\\MEDIA\\0005") << "after the software devices";
    EXPECT_EQ(values[4].data, "*PNPB020");
    EXPECT_EQ(values.back().data, "VEN_0000&DEV_0000");
}

TEST_F(RegistrationTest, EveryInstanceTakenEndsTheSequence) {
    openInf(kInf, "Class=Tunara\r\nProvider=%Maker%\r\n",
            sampleInf("%Desc%=Install, PCI\\VEN_125D&DEV_1978"));
    for (int i = 0; i < 10000; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "%04d", i);
        createKey(kClassKey.substr(0, kClassKey.size() - 6) + "Tunara\\" + name);
    }
    machine().ui().expect(platform::host::UiAnswer::messageBox(IDOK)
                              .withText("Loop back round enumeration")
                              .withCaption(""));
    EXPECT_TRUE(runSequence(infengine::EnumDriverReg).empty());
    EXPECT_EQ(machine().ui().shown().size(), 1u);
}

TEST_F(RegistrationTest, WindowsNtRegistersTheServices) {
    useMachine("nt4-maestro2e");
    installLibraries("C:\\WINNT\\SYSTEM32");
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINNT\\INF\\CNPROWT.INF"), 0);
    std::uint16_t end = 99;
    const std::vector<RegValue> values = runSequence(infengine::EnumDriverReg, 400, &end);
    ASSERT_EQ(values.size(), 20u);
    const std::string classKey =
        "SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e96c-e325-11ce-bfc1-08002be10318}\\0000";
    const std::string serviceKey = "SYSTEM\\CurrentControlSet\\Services\\es1978";
    const std::string legacyKey = "SYSTEM\\CurrentControlSet\\Enum\\Root\\LEGACY_ES1978\\0000";
    struct Expected {
        std::string subKey, name, data;
        int flags;
    };
    const std::vector<Expected> expected = {
        {classKey, "DeviceDesc", "Tunara Multi-Device Enumerator", 0},
        {classKey, "InfPath", "CNPROWT.INF", 0},
        {classKey, "InfSection", "Tunara.Enum", 0},
        {classKey, "ProviderName", "Helvane", 0},
        {serviceKey, "ErrorControl", "1", 0x00010001},
        {serviceKey, "Group", "Extended Base", 0},
        {serviceKey, "ImagePath", "SYSTEM32\\drivers\\es1978.sys", 0},
        {serviceKey, "Start", "3", 0x00010001},
        {serviceKey, "Tag", "2", 0x00010001},
        {serviceKey, "Type", "1", 0x00010001},
        {legacyKey, "BaseDevicePath", "HTREE\\ROOT\\0", 0},
        {legacyKey, "Class", "MEDIA", 0},
        {legacyKey, "ClassGUID", "{4d36e96c-e325-11ce-bfc1-08002be10318}", 0},
        {legacyKey, "DeviceDesc", "Tunara Multi-Device Enumerator", 0},
        {legacyKey, "Driver", "{4d36e96c-e325-11ce-bfc1-08002be10318}\\0000", 0},
        {legacyKey, "Mfg", "Helvane", 0},
        {legacyKey, "Service", "es1978", 0},
        {"SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\es1978", "EventMessageFile",
         "%SystemRoot%\\System32\\IoLogMsg.dll", 0x00020000},
        {"SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\es1978", "TypesSupported", "7",
         0x00010001},
        {serviceKey + "\\Device0", "Interrupt", "5", 0x00010001},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(values[i].root, "HKLM") << i;
        EXPECT_EQ(values[i].subKey, expected[i].subKey) << i;
        EXPECT_EQ(values[i].name, expected[i].name) << i;
        EXPECT_EQ(values[i].data, expected[i].data) << i;
        EXPECT_EQ(values[i].typeFlags, expected[i].flags) << i;
    }
    // The sub-walks keep the caller's index on their step.
    EXPECT_EQ(values[17].index, 16);
    EXPECT_EQ(values[18].index, 16);
    EXPECT_EQ(values[19].index, 17);
    // The legacy key exists, and the Administrators hold full control of it.
    EXPECT_TRUE(keyExists(legacyKey));
    bool administrators = false;
    for (const auto& entry :
         machine().security().objectDacl(SE_REGISTRY_KEY, "MACHINE\\" + legacyKey)) {
        administrators = administrators ||
                         (entry.sid == platform::kAdministratorsSid && entry.access == GENERIC_ALL);
    }
    EXPECT_TRUE(administrators);
    EXPECT_EQ(machine().system().moduleReferenceCount("hvinfnt.dll"), 0u) << "unloaded again";
}

TEST_F(RegistrationTest, EveryAddServiceLineHasItsOwnRound) {
    useMachine("nt4-maestro2e");
    installLibraries("C:\\WINNT\\SYSTEM32");
    const std::string longName(300, 'L');
    openInf(
        "C:\\WINNT\\INF\\TWO.INF",
        "Class=MEDIA\r\nClassGUID={4d36e96c-e325-11ce-bfc1-08002be10318}\r\nProvider=Helvane\r\n",
        "[Manufacturer]\r\nHelvane=Models\r\n[Models]\r\nCard=Install,PCI\\VEN_125D&DEV_1978\r\n"
        "[Install.Services]\r\nAddService=Foo,0,FooService\r\nAddService=" +
            longName +
            ",0,FooService\r\nAddService=Bar,0,BarService\r\n"
            "[FooService]\r\nServiceBinary=C:\\WINNT\\system32\\drivers\\foo.sys\r\n"
            "[BarService]\r\nServiceBinary=bar.sys\r\nStartType=0x10\r\n"
            "[Install.SoftwareSettings]\r\nAddReg=Soft\r\n[Soft]\r\nHKR," +
            std::string(216, 'P') + ",Cut,0x10001,1\r\nHKR,Parameters,Kept,0x10001,2\r\n");
    const std::vector<RegValue> values = runSequence(infengine::EnumDriverReg);
    // Foo's 17 values and its one software setting whose key fits under "Device0" (a key
    // that would have to be cut is passed over); the 300-character service gives no key
    // that fits, which ends it all.
    ASSERT_EQ(values.size(), 18u);
    EXPECT_EQ(values[17].subKey, "SYSTEM\\CurrentControlSet\\Services\\Foo\\Device0\\Parameters");
    EXPECT_EQ(values[17].name, "Kept");
    EXPECT_EQ(values[4].subKey, "SYSTEM\\CurrentControlSet\\Services\\foo");
    EXPECT_EQ(values[6].data, "system32\\drivers\\foo.sys");
    EXPECT_EQ(values[10].subKey, "SYSTEM\\CurrentControlSet\\Enum\\Root\\LEGACY_FOO\\0000");

    openInf(
        "C:\\WINNT\\INF\\TWO.INF",
        "Class=MEDIA\r\nClassGUID={4d36e96c-e325-11ce-bfc1-08002be10318}\r\nProvider=Helvane\r\n",
        "[Manufacturer]\r\nHelvane=Models\r\n[Models]\r\nCard=Install,PCI\\VEN_125D&DEV_1978\r\n"
        "[Install.Services]\r\nAddService=Foo,0,FooService\r\nAddService=Bar,0,BarService\r\n"
        "[FooService]\r\nServiceBinary=foo.sys\r\n[BarService]\r\nServiceBinary=bar.sys\r\n"
        "StartType=0x10\r\n");
    const std::vector<RegValue> both = runSequence(infengine::EnumDriverReg);
    ASSERT_EQ(both.size(), 34u);
    EXPECT_EQ(both[17].index, 0) << "the second service starts again at 0";
    EXPECT_EQ(both[17 + 4].subKey, "SYSTEM\\CurrentControlSet\\Services\\bar");
    EXPECT_EQ(both[17 + 6].data, "bar.sys");
    EXPECT_EQ(both[17 + 7].data, "16");
    // Nothing was written between the rounds: both class keys are the first free one.
    EXPECT_EQ(both[17].subKey, both[0].subKey);
}

TEST_F(RegistrationTest, WindowsNtWithoutTheSecurityHelper) {
    useMachine("nt4-maestro2e");
    installLibraries("C:\\WINNT\\SYSTEM32", false);
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINNT\\INF\\CNPROWT.INF"), 0);
    EXPECT_TRUE(runSequence(infengine::EnumDriverReg).empty());
    EXPECT_FALSE(keyExists("SYSTEM\\CurrentControlSet\\Enum\\Root\\LEGACY_ES1978"));
    // Nor without a module file to find the folder by.
    useMachine("nt4-maestro2e");
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINNT\\INF\\CNPROWT.INF"), 0);
    EXPECT_TRUE(runSequence(infengine::EnumDriverReg).empty());
}

TEST_F(RegistrationTest, PreinstallReplaysTheHardwareKeyInEverySlot) {
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\CNPROWT.INF"), 0);
    const std::vector<RegValue> values = runSequence(infengine::EnumPreinstallDriverReg);
    // Values 0 to 11, then 17 positions of bus 0: the first slot of bus 1 has no key on a
    // machine without a known bridge, and that stops the preinstall.
    ASSERT_EQ(values.size(), 12u + 17u * 7u);
    EXPECT_EQ(values[0].subKey, "Enum\\PCI\\VEN_125D&DEV_1978\\BUS_00&DEV_00&FUNC_00");
    EXPECT_EQ(values[1].data, "MEDIA\\0011");
    EXPECT_EQ(values[5].data.substr(0, 45), "PCI\\VEN_125D&DEV_1978&SUBSYS_00000000&REV_01,")
        << "the bus is not read while preinstalling";
    const std::vector<std::string> replayed = {
        "Class", "Driver", "DeviceDesc", "CompatibleIDs", "ConfigFlags", "HardwareID", "Mfg"};
    for (std::size_t position = 0; position < 17; ++position) {
        char slot[64];
        std::snprintf(slot, sizeof slot, "Enum\\PCI\\VEN_125D&DEV_1978\\BUS_00&DEV_%02zx&FUNC_00",
                      position);
        for (std::size_t v = 0; v < 7; ++v) {
            const RegValue& value = values[12 + position * 7 + v];
            EXPECT_EQ(value.subKey, slot);
            EXPECT_EQ(value.name, replayed[v]);
            EXPECT_EQ(value.data, values[v].data) << "the data of registration value " << v;
        }
    }
    // Stopped until the library is loaded again.
    EXPECT_TRUE(runSequence(infengine::EnumPreinstallDriverReg).empty());
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\CNPROWT.INF"), 0);
    EXPECT_TRUE(runSequence(infengine::EnumPreinstallDriverReg).empty());
}

TEST_F(RegistrationTest, PreinstallCoversBusOneWhereItHasCodes) {
    openInf(kInf, "Class=Display\r\nProvider=%Maker%\r\n",
            sampleInf("%Desc%=Install, PCI\\VEN_100C&DEV_3208"));
    std::uint16_t end = 0;
    const std::vector<RegValue> values = runSequence(infengine::EnumPreinstallDriverReg, 400, &end);
    ASSERT_EQ(values.size(), 12u + 34u * 7u);
    EXPECT_EQ(values.back().name, "Mfg");
    EXPECT_EQ(values.back().subKey,
              "Enum\\PCI\\VEN_100C&DEV_3208\\28"
              "8000");
    EXPECT_EQ(values[3].data, "PCI\\CC_030000,PCI\\CC_0300");
    EXPECT_EQ(end, 12u + 34u * 7u);

    // Windows 95 before OSR2 names no slot of bus 1: the run stops after bus 0, and no
    // preinstall runs on NT nor for an INF without PCI ids.
    useMachine("win95-maestro1");
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINDOWS\\INF\\MSTROWT.INF"), 0);
    EXPECT_EQ(runSequence(infengine::EnumPreinstallDriverReg).size(), 12u + 17u * 7u);
    useMachine("nt4-maestro2e");
    ASSERT_EQ(infengine::OpenInfFile("C:\\WINNT\\INF\\CNPROWT.INF"), 0);
    EXPECT_TRUE(runSequence(infengine::EnumPreinstallDriverReg).empty());
    useMachine("win98-nocard");
    openInf(kInf, "Class=MEDIA\r\nProvider=%Maker%\r\n", sampleInf("%Desc%=Install, *PNPB020"));
    EXPECT_TRUE(runSequence(infengine::EnumPreinstallDriverReg).empty());
}

}  // namespace
}  // namespace infdriver_test

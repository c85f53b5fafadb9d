// The setting writers, and what the readers make of values this product did not write.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/host/host_files.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "platform/sim/sim_direct_sound.h"
#include "settings/tunara_settings.h"
#include "tests/unit/settings/settings_fixture.h"

namespace tunara_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// ---- writeConfigValue ------------------------------------------------------------------

struct ConfigWriteRow {
    std::int32_t value, item;
    const char* name;
    Bytes stored;
    bool hwAcceleration, micBoost;  // the fields afterwards
};

TEST_F(SettingsTest, WriteConfigValueStoresTwoByteBinaries) {
    // clang-format off
    const ConfigWriteRow rows[] = {
        {1,      2, "HwAcceleration",               {0x01, 0x00}, true,  false},
        {2,      2, "HwAcceleration",               {0x02, 0x00}, false, false},
        {0,      2, "HwAcceleration",               {0x00, 0x00}, false, false},
        {1,      1, "Enable Mic Volume 20dB Boost", {0x01, 0x00}, false, true},
        {4,      3, "SoundLibSize",                 {0x04, 0x00}, false, false},
        {1,      4, "JoyDisable",                   {0x01, 0x00}, false, false},
        {0x12345,3, "SoundLibSize",                 {0x45, 0x23}, false, false},
        {-1,     4, "JoyDisable",                   {0xFF, 0xFF}, false, false},
    };
    // clang-format on
    for (const ConfigWriteRow& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " = " + std::to_string(row.value));
        loadMachine("win98-maestro2e");
        settings::tunaraSettings s;
        s.hwAcceleration = false;
        ASSERT_TRUE(s.writeConfigValue(row.value, row.item));
        std::uint32_t type = 0;
        EXPECT_EQ(valueBytes(fact("configkey"), row.name, &type), row.stored);
        EXPECT_EQ(type, REG_BINARY);
        EXPECT_EQ(s.hwAcceleration, row.hwAcceleration);
        EXPECT_EQ(s.micBoost, row.micBoost);
    }
}

TEST_F(SettingsTest, WriteConfigValueFailuresChangeNothing) {
    loadMachine("win98-maestro2e");
    settings::tunaraSettings s;
    const Bytes before = valueBytes(fact("configkey"), "HwAcceleration");

    EXPECT_FALSE(s.writeConfigValue(1, 5));  // not an item
    EXPECT_FALSE(s.writeConfigValue(1, 0));

    platform::host::RegistryFault fault;
    fault.operation = platform::host::RegistryOperation::SetValue;
    fault.pathContains = "\\Config";
    fault.error = ERROR_CANTWRITE;
    machine().registry().addFault(fault);
    EXPECT_FALSE(s.writeConfigValue(0, 2 /* HwAcceleration */));
    EXPECT_TRUE(s.hwAcceleration);
    EXPECT_EQ(valueBytes(fact("configkey"), "HwAcceleration"), before);

    deleteKey(fact("configkey"));  // opened, never created
    EXPECT_FALSE(s.writeConfigValue(1, 1 /* microphone boost */));
    EXPECT_FALSE(s.micBoost);
    EXPECT_FALSE(hasValue(fact("configkey"), "Enable Mic Volume 20dB Boost"));
}

// ---- Device switches and hardware acceleration ----------------------------------------

TEST_F(SettingsTest, Maestro1DeviceSwitchesAreWrittenAsNamed) {
    loadMachine("win98-maestro1");
    settings::tunaraSettings s;
    char name[260] = "JoyDisable";
    ASSERT_TRUE(s.writeDeviceSwitch(name, sizeof name, true));
    EXPECT_EQ(valueBytes(fact("classkey"), "JoyDisable"), (Bytes{0x01, 0x00}));
    EXPECT_STREQ(name, "JoyDisable");
    char game[260] = "GameSupport";
    ASSERT_TRUE(s.writeDeviceSwitch(game, sizeof game, false));
    EXPECT_EQ(valueBytes(fact("classkey"), "GameSupport"), (Bytes{0x00, 0x00}));
    // The fields follow at the next read.
    EXPECT_FALSE(s.joystickDisabled);
    s.readJoystickAndGameSupport();
    EXPECT_TRUE(s.joystickDisabled);
    EXPECT_FALSE(s.gameSupport);
}

TEST_F(SettingsTest, Maestro2EHasOneInvertedJoystickSwitch) {
    loadMachine("win98-maestro2e");
    settings::tunaraSettings s;
    const Bytes gameBefore = valueBytes(fact("classkey"), "GameSupport");

    char name[260] = "JoyDisable";
    ASSERT_TRUE(s.writeDeviceSwitch(name, sizeof name, true));  // joystick off
    EXPECT_STREQ(name, "JoystickSupport");
    EXPECT_EQ(valueBytes(fact("classkey"), "JoystickSupport"), (Bytes{0x00, 0x00}));
    EXPECT_FALSE(hasValue(fact("classkey"), "JoyDisable"));

    // Whatever name is passed; a buffer too small for the new name is left as it was.
    char small[12] = "GameSupport";
    ASSERT_TRUE(s.writeDeviceSwitch(small, sizeof small, false));
    EXPECT_STREQ(small, "GameSupport");
    EXPECT_EQ(valueBytes(fact("classkey"), "JoystickSupport"), (Bytes{0x01, 0x00}));
    EXPECT_EQ(valueBytes(fact("classkey"), "GameSupport"), gameBefore);
}

TEST_F(SettingsTest, HardwareAccelerationReachesTheDriverPerChip) {
    loadMachine("win98-maestro1");
    {
        settings::tunaraSettings s;
        EXPECT_TRUE(s.setHwAcceleration(true));
        EXPECT_TRUE(s.hwAcceleration);
        EXPECT_FALSE(s.infNeedsUpdate);
        EXPECT_EQ(valueBytes(fact("configkey"), "HwAcceleration"), (Bytes{0x01, 0x00}));
    }
    loadMachine("win98-maestro2e");
    settings::tunaraSettings s;
    const Bytes before = valueBytes(fact("configkey"), "HwAcceleration");
    EXPECT_FALSE(s.setHwAcceleration(false));  // carried by the INF, not written now
    EXPECT_FALSE(s.hwAcceleration);
    EXPECT_TRUE(s.infNeedsUpdate);
    EXPECT_EQ(valueBytes(fact("configkey"), "HwAcceleration"), before);
}

// ---- Tray start-up and the language module --------------------------------------------

TEST_F(SettingsTest, TrayAutoStartWritesAndDeletesTheRunValue) {
    loadMachine("win95-maestro1");
    settings::tunaraSettings s;
    EXPECT_FALSE(s.trayAutoStart);
    s.setTrayAutoStart(true);
    std::uint32_t type = 0;
    const Bytes stored = valueBytes(kRunKey, "Cantora SysTray", &type);
    EXPECT_EQ(std::string(stored.begin(), stored.end()),
              std::string("C:\\WINDOWS\\SYSTEM\\tnrtray.exe") + '\0');
    EXPECT_EQ(type, REG_SZ);
    EXPECT_FALSE(s.trayAutoStart);  // reflects the registry as last read
    s.readTrayAutoStart();
    EXPECT_TRUE(s.trayAutoStart);
    s.setTrayAutoStart(false);
    EXPECT_FALSE(hasValue(kRunKey, "Cantora SysTray"));
    EXPECT_TRUE(hasValue(kRunKey, "SystemTray"));  // Windows' own values stay
}

TEST_F(SettingsTest, ResourceModuleGivesTheProductTitle) {
    loadMachine("win98-maestro2e");
    platform::host::ModuleImage image;
    image.strings[6] = std::string(300, 'T');  // longer than any caption buffer
    machine().system().registerModule("cnctlENU.dll", image);
    platform::FileHandle file = 0;
    ASSERT_EQ(machine().files().CreateFile("C:\\WINDOWS\\SYSTEM\\cnctlENU.dll", GENERIC_WRITE, 0,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, &file),
              ERROR_SUCCESS);
    ASSERT_EQ(machine().files().CloseHandle(file), ERROR_SUCCESS);
    const platform::HModule module =
        machine().system().LoadLibrary("C:\\WINDOWS\\SYSTEM\\cnctlENU.dll");
    ASSERT_NE(module, 0u);

    settings::tunaraSettings s;
    s.setResourceModule(module);
    EXPECT_EQ(s.resourceModule, module);
    EXPECT_EQ(s.productTitle, std::string(259, 'T'));
    machine().system().FreeLibrary(module);
}

// ---- The output device -----------------------------------------------------------------

TEST_F(SettingsTest, SpeakerOutputFollowsDirectSound) {
    loadMachine("win98-maestro1");  // headphones
    settings::tunaraSettings s;
    EXPECT_FALSE(s.readSpeakerOutput());
    s.toggleSpeakerOutput();
    EXPECT_TRUE(s.speakersOutput);
    EXPECT_TRUE(s.readSpeakerOutput());
    EXPECT_EQ(s.speakerConfig, DSSPEAKER_STEREO);
    s.setSpeakerOutput(false);
    EXPECT_FALSE(s.readSpeakerOutput());
    EXPECT_EQ(s.speakerConfig, DSSPEAKER_HEADPHONE);

    // Stereo with a speaker geometry is still speakers.
    setValue("Software\\SimulatedHardware\\DirectSound", "SpeakerConfig", REG_DWORD,
             {0x04, 0x00, 0x14, 0x00});
    EXPECT_TRUE(s.readSpeakerOutput());
    EXPECT_EQ(s.speakerConfig, 0x00140004u);
    EXPECT_EQ(s.directSound, 0u);
    EXPECT_EQ(machine().directSound().liveObjectCount(), 0u);
}

// ---- Values of the wrong type or size ------------------------------------------------

struct BadValueRow {
    const char* what;
    const char* name;
    std::uint32_t type;
    Bytes data;
    std::int32_t soundLibSize;  // what the object reads afterwards
    bool hwAcceleration;
    bool enableSpdif;
    bool micMute;
    bool spdif;
};

// Binary values of 1 to 4 bytes are numbers read into a zeroed 32-bit buffer (the driver INF
// writes one-byte switches); anything else reads as absent.
TEST_F(SettingsTest, ConfigValuesOfTheWrongShapeReadAsAbsent) {
    // The description has SoundLibSize 4, HwAcceleration 1, no EnableSPDIF, MicMute or SPDIF.
    // clang-format off
    const BadValueRow rows[] = {
        {"one byte",        "SoundLibSize",   REG_BINARY, {0x02},                   2, true,  false, false, false},
        {"eight bytes",     "SoundLibSize",   REG_BINARY, {2, 0, 0, 0, 0, 0, 0, 0}, 0, true,  false, false, false},
        {"five bytes",      "SoundLibSize",   REG_BINARY, {2, 0, 0, 0, 0},          0, true,  false, false, false},
        {"a string",        "SoundLibSize",   REG_SZ,     {'4', 0},                 0, true,  false, false, false},
        {"empty",           "SoundLibSize",   REG_BINARY, {},                       0, true,  false, false, false},
        {"four bytes",      "SoundLibSize",   REG_BINARY, {2, 0, 0, 0},             2, true,  false, false, false},
        {"a dword",         "SoundLibSize",   REG_DWORD,  {2, 0, 0, 0},             2, true,  false, false, false},
        {"one byte",        "HwAcceleration", REG_BINARY, {0x00},                   4, false, false, false, false},
        {"empty",           "HwAcceleration", REG_BINARY, {},                       4, false, false, false, false},
        {"a string",        "EnableSPDIF",    REG_SZ,     {'1', 0},                 4, true,  false, false, false},
        {"three bytes",     "EnableSPDIF",    REG_BINARY, {0, 0, 1},                4, true,  true,  false, false},
        {"one byte",        "EnableSPDIF",    REG_BINARY, {0x01},                   4, true,  true,  false, false},
        {"one byte",        "MicMute",        REG_BINARY, {0x01},                   4, true,  false, true,  false},
        {"five bytes",      "MicMute",        REG_BINARY, {1, 0, 0, 0, 0},          4, true,  false, false, false},
        {"one byte",        "SPDIF",          REG_BINARY, {0x01},                   4, true,  false, false, true},
        {"a string",        "SPDIF",          REG_SZ,     {'1', 0},                 4, true,  false, false, false},
    };
    // clang-format on
    for (const BadValueRow& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " as " + row.what);
        loadMachine("win98-maestro2e");
        setValue(fact("configkey"), row.name, row.type, row.data);
        settings::tunaraSettings s;
        EXPECT_EQ(s.soundLibSize, row.soundLibSize);
        EXPECT_EQ(s.hwAcceleration, row.hwAcceleration);
        EXPECT_EQ(s.enableSpdif, row.enableSpdif);
        EXPECT_EQ(s.micMute, row.micMute);
        EXPECT_EQ(s.spdif, row.spdif);
    }
}

TEST_F(SettingsTest, DriverNamesThatDoNotFitAreNotFollowed) {
    const std::string tooLong(300, 'A');
    const std::string longest(259, 'B');
    for (const std::string& driver : {tooLong, longest, std::string()}) {
        SCOPED_TRACE(driver.size());
        loadMachine("win98-maestro2e");
        setString(fact("wavekey"), "Driver", driver);
        setString(fact("pcikey"), "Driver", driver);
        settings::tunaraSettings s;
        // A name of 259 characters fits; it just names no key of this machine.
        EXPECT_EQ(s.driverKeysFound, driver.size() == longest.size());
        EXPECT_EQ(s.soundLibSize, 0);
        EXPECT_FALSE(s.hwAcceleration);
        EXPECT_FALSE(s.joystickDisabled);  // the class key was not consulted
        EXPECT_FALSE(s.gameSupport);
        EXPECT_FALSE(s.writeConfigValue(1, 2 /* HwAcceleration */));
        char name[260] = "JoyDisable";
        EXPECT_FALSE(s.writeDeviceSwitch(name, sizeof name, true));
    }
    // A Driver value that is not a string is no name either.
    loadMachine("win98-maestro2e");
    setValue(fact("wavekey"), "Driver", REG_BINARY, {'M', 'E', 'D', 'I', 'A', 0});
    settings::tunaraSettings s;
    EXPECT_FALSE(s.driverKeysFound);
}

TEST_F(SettingsTest, JoystickValueAbsentOrMalformedMeansOff) {
    // A one-byte switch is a number like the two-byte one; absent and over-long values are off.
    const struct {
        bool maestro2E;
        Bytes data;  // empty: no value
        bool disabled;
    } rows[] = {
        {true, {}, true},  {true, {1, 0, 0, 0, 0}, true},  {true, {1}, false}, {true, {0}, true},
        {false, {}, true}, {false, {1, 0, 0, 0, 0}, true}, {false, {1}, true}, {false, {0}, false},
    };
    for (const auto& row : rows) {
        const bool maestro2E = row.maestro2E;
        const Bytes& data = row.data;
        SCOPED_TRACE(std::to_string(maestro2E) + " " + std::to_string(data.size()));
        loadMachine(maestro2E ? "win98-maestro2e" : "win98-maestro1");
        const char* name = maestro2E ? "JoystickSupport" : "JoyDisable";
        platform::RegKey key;
        ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, fact("classkey").c_str(), KEY_ALL_ACCESS),
                  ERROR_SUCCESS);
        (void)key.deleteValue(name);
        (void)key.deleteValue("GameSupport");
        key.Close();
        if (!data.empty()) setValue(fact("classkey"), name, REG_BINARY, data);
        settings::tunaraSettings s;
        EXPECT_EQ(s.joystickDisabled, row.disabled);
        EXPECT_EQ(s.gameSupport, maestro2E);  // always offered by the Maestro-2E
    }
}

}  // namespace
}  // namespace tunara_test

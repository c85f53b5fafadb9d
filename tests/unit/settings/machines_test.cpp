// The settings object on every machine description with the card installed: what it reads
// must be what the description was built with (its [facts]).
#include <gtest/gtest.h>

#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "platform/sim/sim_direct_sound.h"
#include "platform/sim/sim_mixer.h"
#include "platform/sim/sim_pci_config.h"
#include "settings/tunara_settings.h"
#include "tests/unit/settings/settings_fixture.h"

namespace tunara_test {
namespace {

struct MachineRow {
    const char* name;
    bool trayRunValue;  // the description has "Cantora SysTray" (stated in its README entry)
};

class SettingsOnMachine : public SettingsTest, public ::testing::WithParamInterface<MachineRow> {};

TEST_P(SettingsOnMachine, ReadsTheDescribedSettings) {
    loadMachine(GetParam().name);
    const platform::HWnd sheet = machine().ui().addWindow("#32770", "Tunara Properties");

    settings::tunaraSettings s;
    const bool maestro2E = fact("chip") == "maestro2e";
    EXPECT_EQ(s.isMaestro2E, maestro2E);
    EXPECT_TRUE(debugSaid(maestro2E ? "Maestro-2E chip detected\n" : "Maestro-1 chip detected\n"));
    EXPECT_EQ(s.joystickValueName, maestro2E ? "JoystickSupport" : "JoyDisable");
    EXPECT_EQ(s.hardwareIdPrefix, maestro2E ? "PCI&VEN_125D&DEV_1978&" : "PCI&VEN_1285&DEV_0100&");
    EXPECT_EQ(s.pciLocation, locationText(fact("pci")));

    // The keys the description's Windows made for the card.
    EXPECT_EQ(s.pciEnumKey + "\\" + s.pciLocation, fact("pcikey"));
    EXPECT_EQ(std::string("Enum\\ZIZEZ\\WAVE\\") + s.hardwareIdPrefix + s.instanceSuffix,
              fact("wavekey"));
    EXPECT_TRUE(s.driverKeysFound);
    EXPECT_EQ(s.configKey, fact("configkey"));
    EXPECT_TRUE(debugSaid("Open mf lookup key succeeded\n"));
    EXPECT_TRUE(debugSaid("Open enum lookup key succeeded\n"));

    EXPECT_EQ(s.soundLibSize, std::stoi(fact("soundlibsize")));
    EXPECT_EQ(s.hwAcceleration, factOn("hwacceleration"));
    EXPECT_EQ(s.micMute, factOn("micmute"));
    EXPECT_EQ(s.spdif, factOn("spdif"));
    EXPECT_EQ(s.enableSpdif, factOn("enablespdif"));
    EXPECT_EQ(s.joystickDisabled, fact("joystick") == "off");
    EXPECT_EQ(s.gameSupport, factOn("gamesupport"));
    EXPECT_EQ(s.trayAutoStart, GetParam().trayRunValue);
    EXPECT_EQ(s.cardPresent, !fact("cardnodes").empty());
    EXPECT_FALSE(s.infNeedsUpdate);
    EXPECT_EQ(s.activeWavetableSize, 0);

    // The mixer and DirectSound, as the programs read them once they have a window.
    EXPECT_FALSE(s.micBoost);
    EXPECT_EQ(s.setOwnerWindow(sheet), factOn("micboost"));
    EXPECT_EQ(s.micBoost, factOn("micboost"));
    EXPECT_EQ(s.readSpeakerOutput(), fact("speakerconfig") == "4");
    EXPECT_EQ(s.speakerConfig, static_cast<std::uint32_t>(std::stoul(fact("speakerconfig"))));
    EXPECT_EQ(s.directSound, 0u);
    EXPECT_EQ(machine().directSound().liveObjectCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Descriptions, SettingsOnMachine,
                         ::testing::Values(MachineRow{"win98-maestro2e", true},
                                           MachineRow{"win98-maestro2e-conflict", true},
                                           MachineRow{"win98-maestro1", true},
                                           MachineRow{"win95-maestro1", false},
                                           MachineRow{"win95osr2-maestro2e", true}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

// Without a card every look-up fails and the object keeps its defaults.
TEST_F(SettingsTest, NoCardKeepsTheDefaults) {
    loadMachine("win98-nocard");
    settings::tunaraSettings s;
    EXPECT_TRUE(s.isMaestro2E);  // the Maestro-2E path is taken when nothing is found
    EXPECT_EQ(s.pciLocation, "BUS_100&DEV_20&FUNC_08");
    EXPECT_FALSE(s.driverKeysFound);
    EXPECT_TRUE(debugSaid("Open mf lookup key failed\n"));
    EXPECT_TRUE(debugSaid("Open enum lookup key failed\n"));
    EXPECT_EQ(s.soundLibSize, 0);
    EXPECT_FALSE(s.hwAcceleration || s.micMute || s.spdif || s.enableSpdif || s.joystickDisabled ||
                 s.gameSupport || s.cardPresent || s.micBoost || s.trayAutoStart);
    EXPECT_TRUE(s.speakersOutput);

    // No mixer, no DirectSound: the readers report failure or the last known state.
    EXPECT_FALSE(s.setOwnerWindow(machine().ui().addWindow("#32770", "Tunara Properties")));
    EXPECT_TRUE(debugSaid("Error opening Mic mixer line"));
    EXPECT_TRUE(s.readSpeakerOutput());
    s.setSpeakerOutput(false);
    EXPECT_TRUE(s.speakersOutput);
    // Nothing is written through keys that name no device of the card.
    EXPECT_FALSE(s.writeConfigValue(1, 2 /* HwAcceleration */));
    EXPECT_FALSE(hasValue("System\\CurrentControlSet\\Services\\Class\\Config", "HwAcceleration"));
}

// Windows NT does not let a program reach the ports: no read is made, nothing is found.
TEST_F(SettingsTest, NoScanWhereThePortsAreClosed) {
    loadMachine("nt4-maestro2e");
    machine().pci().setPortIoAvailable(false);
    machine().pci().resetReadCount();
    settings::tunaraSettings s;
    EXPECT_EQ(machine().pci().readCount(), 0u);
    EXPECT_EQ(s.pciLocation, "BUS_100&DEV_20&FUNC_08");
    EXPECT_FALSE(s.driverKeysFound);
    EXPECT_FALSE(s.cardPresent);
}

// Only Windows 98 (minor version 10) names the devices with their subsystem part.
TEST_F(SettingsTest, SubsystemPartOnlyOnMinorVersionTen) {
    for (std::uint32_t minor : {10u, 0u, 90u}) {
        SCOPED_TRACE(minor);
        loadMachine("win98-maestro2e");
        platform::OsVersionInfo version;
        ASSERT_TRUE(machine().system().GetVersionEx(&version));
        version.minorVersion = minor;
        machine().system().setVersion(version);

        settings::tunaraSettings s;
        if (minor == 10) {
            EXPECT_EQ(s.instanceSuffix, "SUBSYS_1978125D&REV_10&BUS_00&DEV_0A&FUNC_00");
            EXPECT_EQ(s.pciEnumKey, "Enum\\PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D&REV_10");
            EXPECT_EQ(s.soundLibSize, 4);
        } else {
            EXPECT_EQ(s.instanceSuffix, "BUS_00&DEV_0A&FUNC_00");
            EXPECT_EQ(s.pciEnumKey, "Enum\\PCI\\VEN_125D&DEV_1978");
            // This machine's keys carry the subsystem part, so nothing is found.
            EXPECT_FALSE(s.driverKeysFound);
            EXPECT_EQ(s.soundLibSize, 0);
        }
    }
}

}  // namespace
}  // namespace tunara_test

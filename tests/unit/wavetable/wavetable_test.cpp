// The sample set switch on the machine descriptions: its transitions, the refusal while MIDI
// plays, the sequencer probe and the file states.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/host_files.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "platform/registry_key.h"
#include "platform/sim/sim_installable_drivers.h"
#include "platform/sim/sim_layout.h"
#include "platform/sim/sim_mci.h"
#include "settings/tunara_settings.h"
#include "tests/unit/dosedit/dos_fixture.h"

namespace {

using platform::host::UiAnswer;

const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kWavetableRun = "Cantora Wavetable = 2MB";
const std::string kSystem = "C:\\WINDOWS\\SYSTEM\\";

class WavetableTest : public tunara_test::DosFileTest {
  protected:
    std::string runValue(const char* name) {
        platform::RegKey run;
        std::string value;
        if (run.Open(HKEY_LOCAL_MACHINE, kRunKey, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
            run.readString(name, &value) != ERROR_SUCCESS)
            return "<absent>";
        return value;
    }
    void writeRunValue(const char* name, const std::string& value) {
        platform::RegKey run;
        ASSERT_EQ(run.Open(HKEY_LOCAL_MACHINE, kRunKey, KEY_SET_VALUE), ERROR_SUCCESS);
        ASSERT_EQ(run.writeString(name, value), ERROR_SUCCESS);
    }
    // "SoundLibSize" as stored, as hex bytes ("02 00").
    std::string soundLibSizeBytes() {
        platform::RegKey config;
        std::vector<std::uint8_t> data;
        if (config.Open(HKEY_LOCAL_MACHINE, fact("configkey").c_str(), KEY_QUERY_VALUE) !=
                ERROR_SUCCESS ||
            config.readBinary("SoundLibSize", &data) != ERROR_SUCCESS)
            return "<absent>";
        std::string text;
        for (std::uint8_t byte : data) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%s%02X", text.empty() ? "" : " ", byte);
            text += hex;
        }
        return text;
    }
    void setSimDword(const char* key, const char* name, std::uint32_t value) {
        platform::RegKey k;
        ASSERT_EQ(k.Create(HKEY_LOCAL_MACHINE, key, KEY_ALL_ACCESS), ERROR_SUCCESS);
        ASSERT_EQ(k.writeDword(name, value), ERROR_SUCCESS);
    }
    std::vector<std::string> driverMessages() {
        return platform::sim::SimInstallableDrivers::readMessages(machine().registry());
    }
    // "img" when both sets have their active names, "im" when both the inactive ones.
    std::string setNames() {
        const bool active = exists(kSystem + "Plat2Meg.img") && exists(kSystem + "Plat4Meg.img") &&
                            !exists(kSystem + "Plat2Meg.im") && !exists(kSystem + "Plat4Meg.im");
        const bool inactive = exists(kSystem + "Plat2Meg.im") && exists(kSystem + "Plat4Meg.im") &&
                              !exists(kSystem + "Plat2Meg.img") && !exists(kSystem + "Plat4Meg.img");
        return active ? "img" : inactive ? "im" : "mixed";
    }
};

const std::string kTwoMbCommand = "C:\\WINDOWS\\SYSTEM\\tnrtray.exe -wavetableTwoMb";

TEST_F(WavetableTest, Transitions) {
    const struct {
        const char* machine;  // 0: win98-maestro1 (sets off), 2: win95-maestro1, 4: win98-maestro2e
        std::int32_t from, target;
        bool runBefore, driverPresent;
        bool restart;
        std::string names;
        std::int32_t active;
        std::string run;
        std::string soundLibSize;
        std::vector<std::string> messages;
        bool infNeedsUpdate;
    } cases[] = {
        {"win98-maestro1", 0, 2, false, true, true, "img", 2, kTwoMbCommand, "02 00", {}, true},
        {"win98-maestro1", 0, 4, false, true, true, "img", 4, "<absent>", "02 00", {}, true},
        {"win98-maestro1", 0, 0, true, true, false, "im", 0, "<absent>", "02 00", {}, false},
        {"win95-maestro1", 2, 4, false, true, true, "img", 4, "<absent>", "04 00", {}, true},
        {"win95-maestro1", 2, 0, false, true, true, "im", 2, "<absent>", "02 00", {}, false},
        {"win95-maestro1", 2, 2, false, true, false, "img", 2, kTwoMbCommand, "02 00", {}, false},
        {"win98-maestro2e", 4, 2, false, true, true, "img", 2, kTwoMbCommand, "02 00",
         {"4015,4,0"}, false},
        {"win98-maestro2e", 4, 4, true, true, false, "img", 4, "<absent>", "04 00", {}, false},
        // Between the sizes without the chip maker's driver: nothing changes.
        {"win98-maestro2e", 4, 2, false, false, false, "img", 4, "<absent>", "04 00", {}, false},
        // (The Run value of the 2 MB set goes first, whatever follows.)
        {"win95-maestro1", 2, 4, false, false, false, "img", 2, "<absent>", "02 00", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.machine) + ": " + std::to_string(c.from) + " -> " +
                     std::to_string(c.target));
        loadMachine(c.machine);
        if (c.runBefore) writeRunValue(kWavetableRun, kTwoMbCommand);
        if (!c.driverPresent) setSimDword(platform::sim::kSimWaveDriverKey, "Present", 0);
        settings::tunaraSettings s;
        ASSERT_EQ(s.detectActiveWavetableSize(), c.from);

        bool restart = !c.restart;  // poisoned: must be written
        EXPECT_TRUE(s.setWavetableSize(c.target, &restart));
        EXPECT_EQ(restart, c.restart);
        EXPECT_EQ(setNames(), c.names);
        EXPECT_EQ(s.activeWavetableSize, c.active);
        EXPECT_EQ(runValue(kWavetableRun), c.run);
        EXPECT_EQ(soundLibSizeBytes(), c.soundLibSize);
        EXPECT_EQ(driverMessages(), c.messages);
        EXPECT_EQ(s.infNeedsUpdate, c.infNeedsUpdate);
        EXPECT_EQ(machine().drivers().openDriverCount(), 0u);
        EXPECT_EQ(machine().mci().openDeviceCount(), 0u);
    }
}

TEST_F(WavetableTest, SwitchedOffSetsAreSeenAtTheNextDetection) {
    loadMachine("win98-maestro2e");
    settings::tunaraSettings s;
    ASSERT_EQ(s.detectActiveWavetableSize(), 4);
    ASSERT_TRUE(s.setWavetableSize(0, nullptr));
    EXPECT_EQ(s.activeWavetableSize, 4);
    EXPECT_EQ(s.detectActiveWavetableSize(), 0);
}

TEST_F(WavetableTest, OtherSizesAreRefused) {
    loadMachine("win98-maestro2e");
    writeRunValue(kWavetableRun, kTwoMbCommand);
    settings::tunaraSettings s;
    s.detectActiveWavetableSize();
    for (const std::int32_t target : {-1, 1, 3, 8}) {
        bool restart = true;
        EXPECT_FALSE(s.setWavetableSize(target, &restart)) << target;
        EXPECT_TRUE(restart);
    }
    EXPECT_EQ(setNames(), "img");
    EXPECT_EQ(runValue(kWavetableRun), kTwoMbCommand);
}

TEST_F(WavetableTest, RefusedWhileMidiPlaysWithoutTheInactiveTwoMbSet) {
    for (const bool blank : {false, true}) {
        SCOPED_TRACE(blank ? "string 18 is Blank" : "string 18 is a message");
        loadMachine("win98-maestro2e");  // sets active: no "plat2meg.im"
        setSimDword(platform::sim::kSimSequencerKey, "Busy", 1);
        writeRunValue(kWavetableRun, kTwoMbCommand);
        settings::tunaraSettings s;
        s.setResourceModule(loadEnglishModule(blank ? "Blank" : ""));
        s.detectActiveWavetableSize();
        if (!blank) ui().expect(UiAnswer::messageBox(IDOK).withText("MIDI music is playing"));

        bool restart = true;
        EXPECT_FALSE(s.setWavetableSize(0, &restart));
        EXPECT_TRUE(restart);  // not written
        EXPECT_EQ(setNames(), "img");
        EXPECT_EQ(runValue(kWavetableRun), kTwoMbCommand);  // not even the Run value went
        if (blank) {
            EXPECT_TRUE(ui().shown().empty());
        } else {
            ASSERT_EQ(ui().shown().size(), 1u);
            EXPECT_EQ(ui().shown()[0].text, kMidiBusy);
            EXPECT_EQ(ui().shown()[0].caption, "Tunara Properties");
            EXPECT_EQ(ui().shown()[0].owner, 0u);
            EXPECT_EQ(ui().shown()[0].type, MB_ICONINFORMATION);
        }
    }
}

TEST_F(WavetableTest, BusySequencerDoesNotStopASwitchWhenTheTwoMbSetIsThere) {
    loadMachine("win98-maestro1");  // sets inactive: "plat2meg.im" is there
    setSimDword(platform::sim::kSimSequencerKey, "Busy", 1);
    settings::tunaraSettings s;
    s.detectActiveWavetableSize();
    bool restart = false;
    EXPECT_TRUE(s.setWavetableSize(2, &restart));
    EXPECT_TRUE(restart);
    EXPECT_EQ(setNames(), "img");
    EXPECT_TRUE(ui().shown().empty());
}

TEST_F(WavetableTest, SequencerProbe) {
    loadMachine("win98-maestro2e");
    settings::tunaraSettings s;
    const platform::HWnd owner = ui().addWindow("TunaraSheet", "Tunara Properties");
    s.ownerWindow = owner;

    machine().system().clearDebugOutput();
    EXPECT_FALSE(s.isMidiPlaying());
    EXPECT_EQ(machine().system().debugOutput(),
              std::vector<std::string>{"MIDI not currently playing\n"});
    // The probe's song ends at once and says so to the owner window.
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].window, owner);
    EXPECT_EQ(ui().messages()[0].message, MM_MCINOTIFY);

    setSimDword(platform::sim::kSimSequencerKey, "Busy", 1);
    machine().system().clearDebugOutput();
    EXPECT_TRUE(s.isMidiPlaying());
    EXPECT_EQ(machine().system().debugOutput(),
              std::vector<std::string>{"MIDI currently playing\n"});
    EXPECT_EQ(machine().mci().openDeviceCount(), 0u);
}

// ---- File states --------------------------------------------------------------------------

TEST_F(WavetableTest, DetectionAndStaleCopies) {
    loadMachine("win98-maestro2e");
    writeFile(kSystem + "Plat4Meg.im", "stale");
    writeFile(kSystem + "Plat2Meg.im", "stale");
    {
        settings::tunaraSettings s;
        EXPECT_FALSE(s.twoMbSetMissing());
        EXPECT_EQ(s.detectActiveWavetableSize(), 4);  // "SoundLibSize"
        EXPECT_FALSE(exists(kSystem + "Plat4Meg.im"));
        EXPECT_FALSE(exists(kSystem + "Plat2Meg.im"));
        EXPECT_TRUE(s.twoMbSetMissing());
        EXPECT_TRUE(s.anyWavetableFilePresent());
    }

    // Without the active 2 MB set an inactive copy is not stale.
    ASSERT_EQ(machine().files().DeleteFile((kSystem + "Plat2Meg.img").c_str()), ERROR_SUCCESS);
    writeFile(kSystem + "Plat2Meg.im", "set");
    {
        settings::tunaraSettings s;
        EXPECT_EQ(s.detectActiveWavetableSize(), 4);
        EXPECT_TRUE(exists(kSystem + "Plat2Meg.im"));
    }

    loadMachine("win98-maestro1");  // inactive sets; "SoundLibSize" 2
    {
        settings::tunaraSettings s;
        EXPECT_EQ(s.detectActiveWavetableSize(), 0);
        EXPECT_TRUE(s.anyWavetableFilePresent());
    }

    loadMachine("win98-nocard");
    settings::tunaraSettings none;
    machine().system().clearDebugOutput();
    EXPECT_FALSE(none.anyWavetableFilePresent());
    EXPECT_TRUE(none.twoMbSetMissing());
    EXPECT_EQ(none.detectActiveWavetableSize(), 0);
    EXPECT_TRUE(machine().system().debugOutput().empty());
}

TEST_F(WavetableTest, TwoMbStartupCommand) {
    loadMachine("win98-maestro2e");
    settings::tunaraSettings s;
    s.setTwoMbStartupCommand(true);
    EXPECT_EQ(runValue(kWavetableRun), kTwoMbCommand);
    EXPECT_EQ(runValue("Cantora SysTray"), "C:\\WINDOWS\\SYSTEM\\tnrtray.exe");
    s.setTwoMbStartupCommand(false);
    EXPECT_EQ(runValue(kWavetableRun), "<absent>");
    EXPECT_EQ(runValue("Cantora SysTray"), "C:\\WINDOWS\\SYSTEM\\tnrtray.exe");
    s.setTwoMbStartupCommand(false);  // already gone: nothing to do
    EXPECT_EQ(runValue(kWavetableRun), "<absent>");
}

}  // namespace

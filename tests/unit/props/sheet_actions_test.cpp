// What the main sheet's OK and Cancel do to the card, the tray utility and Windows, on the
// simulated Maestro-2E machine.
#include "props/logic/sheet_actions.h"

#include <gtest/gtest.h>

#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "platform/registry_key.h"
#include "props/logic/help_path.h"
#include "settings/tunara_settings.h"
#include "tests/support/machine_test.h"

namespace tunara_test {
namespace {

using platform::host::UiAnswer;

class SheetActionsTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        loadMachine("win98-maestro2e");
        settings_ = std::make_unique<settings::tunaraSettings>();
        sheet_ = machine().ui().addWindow("#32770", "Tunara Properties");
        messages_ = settings::registerChangeMessages();
    }

    // The settings object closes its mixer handle while the machine still exists.
    void TearDown() override {
        settings_.reset();
        MachineTest::TearDown();
    }

    // The tray utility's hidden window.
    platform::HWnd addTray() { return tray_ = machine().ui().addWindow("Tunara Taskbar", ""); }

    // The registered messages the tray received, by name.
    std::vector<std::pair<std::string, std::uintptr_t>> trayMessages() {
        std::vector<std::pair<std::string, std::uintptr_t>> out;
        for (const auto& m : machine().ui().messages())
            if (m.window == tray_)
                out.emplace_back(machine().ui().registeredMessageName(m.message), m.wParam);
        return out;
    }

    props::OkContext context(bool advancedOpened, const props::AdvancedState& state) {
        props::OkContext c;
        c.sheet = sheet_;
        c.messages = messages_;
        c.trayIconChecked = settings_->trayAutoStart;
        c.advancedDialogOpened = advancedOpened;
        c.advanced = state;
        return c;
    }

    std::unique_ptr<settings::tunaraSettings> settings_;
    platform::HWnd sheet_ = 0;
    platform::HWnd tray_ = 0;
    settings::ChangeMessages messages_;
};

// The sheet starts from the card's own values: the driver's "HwAcceleration", the device's
// "JoystickSupport" (non-zero: the joystick is on, on a Maestro-2E) and the microphone line's
// boost switch, each as it stands in the registry and the mixer.
TEST_F(SheetActionsTest, SettingsAreReadFromTheCardsValues) {
    EXPECT_TRUE(settings_->cardPresent);
    EXPECT_TRUE(settings_->isMaestro2E);
    // The machine has HwAcceleration = 01 00, JoystickSupport = 01 00, the boost off.
    EXPECT_TRUE(settings_->hwAcceleration);
    EXPECT_FALSE(settings_->joystickDisabled);
    EXPECT_FALSE(settings_->readMicBoost());

    const auto write = [](const char* key, const char* name, std::uint32_t value, bool binary) {
        platform::RegKey open;
        ASSERT_EQ(open.Open(HKEY_LOCAL_MACHINE, key, KEY_ALL_ACCESS), ERROR_SUCCESS) << key;
        const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value), 0};
        ASSERT_EQ(binary ? open.writeBinary(name, bytes, 2) : open.writeDword(name, value),
                  ERROR_SUCCESS);
    };
    const char* const media = "System\\CurrentControlSet\\Services\\Class\\MEDIA\\";
    write((std::string(media) + "0006\\Config").c_str(), "HwAcceleration", 0, true);
    write((std::string(media) + "0005").c_str(), "JoystickSupport", 0, true);
    // The first microphone source (component type 0x1003) of the first destination.
    write("Software\\SimulatedHardware\\Mixer\\Destination0\\Source4", "Value", 1, false);
    settings::tunaraSettings reread;
    EXPECT_FALSE(reread.hwAcceleration);
    EXPECT_TRUE(reread.joystickDisabled);
    EXPECT_TRUE(reread.readMicBoost());
}

TEST_F(SheetActionsTest, OkWithoutTheAdvancedDialogChangesNoSetting) {
    addTray();
    props::AdvancedState changed = props::loadAdvancedState(*settings_);
    changed.micBoost = true;
    changed.joystickEnabled = false;
    changed.hwAcceleration = false;
    props::OkResult result = props::applyOk(*settings_, context(false, changed));
    EXPECT_TRUE(result.actions.empty());
    EXPECT_FALSE(result.restartAsked);
    EXPECT_TRUE(trayMessages().empty());
    EXPECT_TRUE(machine().ui().shown().empty());
    settings::tunaraSettings reread;
    EXPECT_FALSE(reread.readMicBoost());
    EXPECT_FALSE(reread.joystickDisabled);
    EXPECT_TRUE(reread.hwAcceleration);
}

TEST_F(SheetActionsTest, MicrophoneOnlySendsItsMessageAndAsksNoRestart) {
    addTray();
    props::AdvancedState state = props::loadAdvancedState(*settings_);
    state.micBoost = true;
    props::OkResult result = props::applyOk(*settings_, context(true, state));
    ASSERT_EQ(result.actions, std::vector<props::OkAction>{props::OkAction::MicBoost});
    EXPECT_FALSE(result.restartAsked);
    auto sent = trayMessages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].first, "Mic Boost Change");
    EXPECT_EQ(sent[0].second, 1u);
    EXPECT_TRUE(settings_->readMicBoost());
}

TEST_F(SheetActionsTest, JoystickOnlyAsksForARestartAndSendsNothing) {
    addTray();
    props::AdvancedState state = props::loadAdvancedState(*settings_);
    state.joystickEnabled = false;
    machine().ui().expect(UiAnswer::messageBox(IDNO));
    props::OkResult result = props::applyOk(*settings_, context(true, state));
    ASSERT_EQ(result.actions, std::vector<props::OkAction>{props::OkAction::Joystick});
    EXPECT_TRUE(result.restartAsked);
    EXPECT_FALSE(result.rebootRequested);
    EXPECT_TRUE(trayMessages().empty());
    EXPECT_TRUE(machine().system().exitWindowsRequests().empty());
    settings::tunaraSettings reread;
    EXPECT_TRUE(reread.joystickDisabled);
}

TEST_F(SheetActionsTest, HardwareAccelerationRestartsOnYes) {
    addTray();
    props::AdvancedState state = props::loadAdvancedState(*settings_);
    state.hwAcceleration = false;
    machine().ui().expect(UiAnswer::messageBox(IDYES));
    props::OkResult result = props::applyOk(*settings_, context(true, state));
    EXPECT_TRUE(result.rebootRequested);
    ASSERT_EQ(machine().system().exitWindowsRequests().size(), 1u);
    EXPECT_EQ(machine().system().exitWindowsRequests()[0], static_cast<std::uint32_t>(EWX_REBOOT));
    auto sent = trayMessages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].first, "HwAcceleration Change");
    EXPECT_EQ(sent[0].second, 0u);
    ASSERT_EQ(machine().ui().shown().size(), 1u);
    EXPECT_EQ(machine().ui().shown()[0].type,
              static_cast<std::uint32_t>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(machine().ui().shown()[0].owner, sheet_);
}

TEST_F(SheetActionsTest, AWavetableSizeOfMinusOneIsNoChange) {
    props::AdvancedState state = props::loadAdvancedState(*settings_);
    state.wavetableSize = -1;
    EXPECT_TRUE(props::planAdvancedChanges(state, *settings_, state.nativeDosSupport).empty());
    state.wavetableSize = 2;
    EXPECT_EQ(props::planAdvancedChanges(state, *settings_, state.nativeDosSupport),
              std::vector<props::OkAction>{props::OkAction::Wavetable});
}

TEST_F(SheetActionsTest, TrayIconOffDeclinedChangesNothing) {
    addTray();
    ASSERT_TRUE(settings_->trayAutoStart);
    machine().ui().expect(UiAnswer::messageBox(IDCANCEL));
    props::applyTrayIconChoice(*settings_, false, sheet_, 0, messages_);
    EXPECT_TRUE(trayMessages().empty());
    settings::tunaraSettings reread;
    EXPECT_TRUE(reread.trayAutoStart);
}

TEST_F(SheetActionsTest, TrayIconOffConfirmedTellsTheTrayToExit) {
    addTray();
    machine().ui().expect(UiAnswer::messageBox(IDOK));
    machine().ui().expect(UiAnswer::messageBox(IDOK));
    props::applyTrayIconChoice(*settings_, false, sheet_, 0, messages_);
    auto sent = trayMessages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].first, "Tell TunaraTray to exit");
    settings::tunaraSettings reread;
    EXPECT_FALSE(reread.trayAutoStart);
}

TEST_F(SheetActionsTest, TrayIconOnStartsTheTray) {
    settings_->setTrayAutoStart(false);
    props::applyTrayIconChoice(*settings_, true, sheet_, 0, messages_);
    settings::tunaraSettings reread;
    EXPECT_TRUE(reread.trayAutoStart);
    ASSERT_EQ(machine().system().processStarts().size(), 1u);
    const auto& start = machine().system().processStarts()[0];
    EXPECT_EQ(start.applicationName, "C:\\WINDOWS\\SYSTEM\\tnrtray.exe");
    EXPECT_EQ(start.currentDirectory, "C:\\WINDOWS\\SYSTEM\\");
    EXPECT_EQ(start.creationFlags,
              static_cast<std::uint32_t>(CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_CONSOLE));
    EXPECT_EQ(machine().ui().foregroundWindow(), sheet_);
}

TEST_F(SheetActionsTest, CancelRestoresTheOutputUnlessTheTrayChangedIt) {
    ASSERT_TRUE(settings_->readSpeakerOutput());
    settings_->setSpeakerOutput(false);  // the user chose headphones on the page
    EXPECT_TRUE(props::restoreOutputDevice(*settings_, true));
    EXPECT_TRUE(settings_->readSpeakerOutput());
    // The tray reported headphones: that is the new starting point, kept by Cancel.
    settings_->setSpeakerOutput(false);
    EXPECT_FALSE(props::restoreOutputDevice(*settings_, false));
    EXPECT_FALSE(settings_->readSpeakerOutput());
}

TEST_F(SheetActionsTest, TrayNotificationsUpdateTheDialogState) {
    props::AdvancedState state = props::loadAdvancedState(*settings_);
    props::noteWavetableChange(&state, *settings_, 0);
    props::noteWavetableChange(&state, *settings_, 4);
    EXPECT_EQ(state.wavetableSize, 4);
    EXPECT_EQ(settings_->activeWavetableSize, 4);
    props::noteMicBoostChange(&state, *settings_, true);
    EXPECT_TRUE(state.micBoost);
    EXPECT_TRUE(settings_->micBoost);
    // The settings now agree with the dialog: nothing left for OK to do.
    EXPECT_TRUE(props::planAdvancedChanges(state, *settings_, state.nativeDosSupport).empty());
}

}  // namespace
}  // namespace tunara_test

namespace tunara_test {
namespace {

class HelpPathTest : public MachineTest {};

TEST_F(HelpPathTest, TheThreadLocaleNamesTheHelpFile) {
    loadMachine("win98-maestro2e");
    struct Row {
        platform::Lcid locale;
        const char* file;
    };
    const Row rows[] = {{0x0407, "C:\\WINDOWS\\SYSTEM\\tnrmxDE_.hlp"},
                        {0x0409, "C:\\WINDOWS\\SYSTEM\\tnrmxEN_.hlp"},
                        {0x040C, "C:\\WINDOWS\\SYSTEM\\tnrmxFR_.hlp"}};
    for (const Row& row : rows) {
        ASSERT_TRUE(machine().system().SetThreadLocale(row.locale));
        EXPECT_EQ(props::helpFilePathForThread(), row.file) << std::hex << row.locale;
    }
}

TEST_F(HelpPathTest, ASystemFolderTooLongLeavesThePathEmpty) {
    loadMachine("win98-maestro2e");
    machine().system().setSystemDirectory("C:\\" + std::string(90, 'S'));
    EXPECT_EQ(props::helpFilePathForThread(), "");
}

}  // namespace
}  // namespace tunara_test

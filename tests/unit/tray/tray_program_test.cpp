// A whole run of the tray: the start-up sequence, the pending steps and the message loop.
#include "platform/host/host_registry.h"
#include "platform/registry_key.h"
#include "tests/unit/tray/tray_fixture.h"
#include "tray/maintenance.h"
#include "tray/start_menu.h"
#include "tray/tray_controller.h"

namespace tunara_test {
namespace {

using platform::host::UiAnswer;

const std::vector<std::string> kWholeTrayRun = {
    "InitCommonControls", "createTrayWindow", "addIcon",
    "runMessageLoop",     "removeIcon",       "destroyTrayWindow"};

TEST_F(TrayTest, WithoutCardTheTrayEndsBeforeAnything) {
    useMachine("win98-nocard");
    setRunValue(tray_names::kRunKey, tray_names::kDosRemovalRunValue, "x");
    EXPECT_EQ(run(""), 0);
    EXPECT_TRUE(shell->calls.empty());
    // The pending steps belong to the tray's start: they did not run.
    EXPECT_TRUE(hasRunValue(tray_names::kRunKey, tray_names::kDosRemovalRunValue));
    // A command-line pending step runs with or without the card.
    EXPECT_EQ(run("-removeNativeDOSSupport"), 0);
    EXPECT_FALSE(hasRunValue(tray_names::kRunKey, tray_names::kDosRemovalRunValue));
}

TEST_F(TrayTest, SecondTrayEndsSilently) {
    useMachine("win98-maestro2e");
    installLanguageModule();
    machine().ui().addWindow(tray_names::kTrayWindowClass, "");
    EXPECT_EQ(run(""), 0);
    EXPECT_TRUE(shell->calls.empty());
    EXPECT_FALSE(exists(tray::resolveStartMenuFolder() + "Tunara Properties.lnk"));
}

TEST_F(TrayTest, WithoutLanguageModuleTheFixedNoticeEndsTheRun) {
    useMachine("win98-maestro2e");
    machine().ui().expect(UiAnswer::messageBox(IDOK)
                              .withText(tray_names::kNoResourcesText)
                              .withCaption(tray_names::kNoResourcesCaption));
    EXPECT_EQ(run(""), 0);
    EXPECT_EQ(shell->calls, std::vector<std::string>{"InitCommonControls"});
    ASSERT_EQ(machine().ui().shown().size(), 1u);
    EXPECT_EQ(machine().ui().shown()[0].type, MB_OK | MB_ICONERROR);
    EXPECT_EQ(machine().ui().shown()[0].owner, 0u);
}

TEST_F(TrayTest, TrayRunsUntilTheExitMessageAndCutsTheTip) {
    useMachine("win98-maestro2e");
    const std::string longTitle(70, 'T');
    installLanguageModule(longTitle);
    shell->duringLoop = [this](platform::HWnd window) {
        // The properties program finds the tray by its class and tells it to go.
        platform::UserInterface& ui = machine().ui();
        EXPECT_EQ(ui.FindWindow(tray_names::kTrayWindowClass, nullptr), window);
        ui.SendMessage(window, ui.RegisterWindowMessage("Tell TunaraTray to exit"), 0, 0);
    };
    EXPECT_EQ(run(""), 0);
    EXPECT_EQ(shell->calls, kWholeTrayRun);
    EXPECT_EQ(shell->quitRequests, 1);
    EXPECT_EQ(shell->tip, std::string(63, 'T'));
    EXPECT_EQ(card().ownerWindow, shell->window);
    EXPECT_TRUE(exists(tray::resolveStartMenuFolder() + longTitle + ".lnk"));
}

TEST_F(TrayTest, PendingStepsWaitForTheTrayWhenItStartsAtLogOn) {
    useMachine("win98-maestro2e");
    installLanguageModule();
    setRunValue(tray_names::kRunKey, tray_names::kTrayRunValue, "C:\\WINDOWS\\SYSTEM\\tnrtray.exe");
    setRunValue(tray_names::kRunKey, tray_names::kDosRemovalRunValue, "x");
    remakeCard();
    ASSERT_TRUE(card().trayAutoStart);

    EXPECT_EQ(run("-removeNativeDOSSupport"), 0);
    EXPECT_TRUE(hasRunValue(tray_names::kRunKey, tray_names::kDosRemovalRunValue));

    // The tray started at the same log-on does it instead.
    EXPECT_EQ(run(""), 0);
    EXPECT_FALSE(hasRunValue(tray_names::kRunKey, tray_names::kDosRemovalRunValue));
    EXPECT_EQ(shell->calls, kWholeTrayRun);
}

TEST_F(TrayTest, TrayFinishesThePendingTwoMbChangeAndItsMenuShowsIt) {
    useMachine("win98-maestro2e");  // 4 MB set active, no inactive 2 MB copy
    installLanguageModule();
    setRunValue(tray_names::kRunKey, tray_names::kTwoMbRunValue, "x");
    shell->duringLoop = [this](platform::HWnd window) {
        machine().ui().SendMessage(window, tray_names::kTrayCallbackMessage, 0,
                                   tray_names::kMouseRightButtonDown);
    };
    EXPECT_EQ(run(""), 0);
    platform::RegKey config;
    std::vector<std::uint8_t> size;
    ASSERT_EQ(config.Open(HKEY_LOCAL_MACHINE, card().configKey.c_str(), KEY_READ), ERROR_SUCCESS);
    ASSERT_EQ(config.readBinary(tray_names::kSoundLibSizeValue, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, (std::vector<std::uint8_t>{2, 0}));
    ASSERT_EQ(shell->menus.size(), 1u);
    EXPECT_TRUE(shell->menus[0].sampleSets[1].checked);
    EXPECT_FALSE(shell->menus[0].sampleSets[2].checked);
    // The Run value is the store's to keep while the 2 MB set is chosen.
    EXPECT_TRUE(hasRunValue(tray_names::kRunKey, tray_names::kTwoMbRunValue));
}

TEST_F(TrayTest, UninstallRunsAloneWhenListedWithAPendingStep) {
    useMachine("win98-maestro2e");
    setRunValue(tray_names::kRunKey, tray_names::kTrayRunValue, "C:\\WINDOWS\\SYSTEM\\tnrtray.exe");
    setRunValue(tray_names::kRunKey, tray_names::kTwoMbRunValue, "x");
    EXPECT_EQ(run("-wavetableTwoMb -uninstall"), 0);
    EXPECT_FALSE(hasRunValue(tray_names::kRunKey, tray_names::kTrayRunValue));
    EXPECT_TRUE(hasRunValue(tray_names::kRunKey, tray_names::kTwoMbRunValue));
    EXPECT_TRUE(shell->calls.empty());
}

TEST_F(TrayTest, NoticeOfTheStoreDuringAPendingStepIsNotShown) {
    useMachine("win98-maestro2e");
    installLanguageModule();
    // MIDI plays and the 2 MB set is not there: the store refuses the change with a notice,
    // which has no text yet at this point of the start.
    platform::RegKey sequencer;
    ASSERT_EQ(sequencer.Create(HKEY_LOCAL_MACHINE, "Software\\SimulatedHardware\\Sequencer",
                               KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    ASSERT_EQ(sequencer.writeDword("Busy", 1), ERROR_SUCCESS);
    sequencer.Close();
    setRunValue(tray_names::kRunKey, tray_names::kTwoMbRunValue, "x");

    EXPECT_EQ(run("-wavetableTwoMb"), 0);
    EXPECT_EQ(run(""), 0);
    EXPECT_TRUE(machine().ui().shown().empty());
    EXPECT_EQ(shell->calls, kWholeTrayRun);
    // The Run value stays for the store to handle.
    EXPECT_TRUE(hasRunValue(tray_names::kRunKey, tray_names::kTwoMbRunValue));
}

}  // namespace
}  // namespace tunara_test

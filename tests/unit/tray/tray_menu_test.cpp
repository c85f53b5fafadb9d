// The tray window's behaviour: menu states, the registered messages and the menu commands.
#include "tray/tray_menu.h"

#include "platform/host/host_files.h"
#include "tests/unit/tray/tray_fixture.h"
#include "tray/tray_controller.h"

namespace tunara_test {
namespace {

using platform::host::UiAnswer;
using namespace tray_names;

// The commands of the tray's menu (menu 190 of the language module).
constexpr std::uint32_t kProperties = 2604;
constexpr std::uint32_t kSpeakers = 2610;
constexpr std::uint32_t kHeadphones = 2611;
constexpr std::uint32_t kExit = 2612;
constexpr std::uint32_t kHwAcceleration = 2613;
constexpr std::uint32_t kMicBoost = 2614;
constexpr std::uint32_t kSampleSetNone = 2615;
constexpr std::uint32_t kSampleSet2Mb = 2616;

class TrayWindowTest : public TrayTest {
  protected:
    void start(const std::string& machineName) {
        useMachine(machineName);
        installLanguageModule();
        module_ = machine().system().LoadLibrary("cnctlen_.dll");
        ASSERT_NE(module_, 0u);
        card().setResourceModule(module_);
        messages_ = settings::registerChangeMessages();
        controller_ = std::make_unique<tray::TrayController>(card(), module_, messages_, *shell);
    }
    void TearDown() override {
        controller_.reset();
        if (module_ != 0) machine().system().FreeLibrary(module_);
        TrayTest::TearDown();
    }

    // Opens the menu as a right-button press on the icon does.
    tray::TrayMenuState openMenu() {
        const std::size_t before = shell->menus.size();
        controller_->handleMessage(kTrayCallbackMessage, 0, kMouseRightButtonDown);
        EXPECT_EQ(shell->menus.size(), before + 1);
        return shell->menus.empty() ? tray::TrayMenuState() : shell->menus.back();
    }
    std::string sampleSetMarks() {
        const tray::TrayMenuState state = openMenu();
        std::string marks;
        for (const tray::SampleSetItemState& item : state.sampleSets)
            marks += std::string(item.checked ? "X" : "-") + (item.greyed ? "g" : "") + " ";
        return marks;
    }
    void command(std::uint32_t id) { controller_->handleMessage(WM_COMMAND, id, 0); }
    void expectRestartPrompt(int answer) {
        machine().ui().expect(UiAnswer::messageBox(answer)
                                  .withText("Restart Windows now?")
                                  .withCaption("Tunara Properties"));
    }

    platform::HModule module_ = 0;
    settings::ChangeMessages messages_;
    std::unique_ptr<tray::TrayController> controller_;
};

const char* const kSystem = "C:\\WINDOWS\\SYSTEM\\";

TEST_F(TrayWindowTest, SampleSetItemsFollowTheFilesAndTheRememberedSize) {
    start("win98-maestro2e");  // Plat2Meg.img and Plat4Meg.img present
    platform::FileSystem& files = machine().files();

    // The sizes the properties program announces: halved, rounded towards zero.
    controller_->handleMessage(messages_.wavetable, 4, 0);
    EXPECT_EQ(controller_->rememberedSize, 4);
    EXPECT_EQ(sampleSetMarks(), "- - X ");
    controller_->handleMessage(messages_.wavetable, 3, 0);
    EXPECT_EQ(sampleSetMarks(), "- X - ");
    controller_->handleMessage(messages_.wavetable, 6, 0);
    EXPECT_EQ(sampleSetMarks(), "- - - ");
    controller_->handleMessage(messages_.wavetable, 1, 0);
    EXPECT_EQ(sampleSetMarks(), "X - - ");

    // Without the 4 MB set's files the 4 MB item is grey; "none" never is.
    ASSERT_EQ(files.DeleteFile((std::string(kSystem) + "Plat4Meg.img").c_str()), ERROR_SUCCESS);
    controller_->handleMessage(messages_.wavetable, 2, 0);
    EXPECT_EQ(sampleSetMarks(), "- X -g ");
    // The inactive copy counts as well.
    writeFile(std::string(kSystem) + "Plat4Meg.im");
    EXPECT_EQ(sampleSetMarks(), "- X - ");

    // No file of either set: "none" is checked whatever the tray remembers.
    ASSERT_EQ(files.DeleteFile((std::string(kSystem) + "Plat4Meg.im").c_str()), ERROR_SUCCESS);
    ASSERT_EQ(files.DeleteFile((std::string(kSystem) + "Plat2Meg.img").c_str()), ERROR_SUCCESS);
    EXPECT_EQ(sampleSetMarks(), "X -g -g ");
}

TEST_F(TrayWindowTest, FlagsComeFromTheSettingsAndTheMessages) {
    start("win98-maestro2e");
    ASSERT_TRUE(openMenu().hwAcceleration) << "the machine's driver has it on";
    controller_->handleMessage(messages_.hwAcceleration, 0, 0);
    controller_->handleMessage(messages_.micBoost, 7, 0);
    tray::TrayMenuState state = openMenu();
    EXPECT_FALSE(card().hwAcceleration);
    EXPECT_FALSE(state.hwAcceleration);
    EXPECT_TRUE(state.micBoost);
    controller_->handleMessage(messages_.hwAcceleration, 1, 0);
    controller_->handleMessage(messages_.micBoost, 0, 0);
    state = openMenu();
    EXPECT_TRUE(state.hwAcceleration);
    EXPECT_FALSE(state.micBoost);

    // The output device is read from DirectSound each time the menu opens: speakers for the
    // stereo configuration (4) only; headphones (1) and anything else check the other item.
    const std::pair<std::uint32_t, bool> configurations[] = {
        {4, true}, {1, false}, {4, true}, {2, false}};
    for (const auto& [configuration, speakers] : configurations) {
        platform::RegKey directSound;
        ASSERT_EQ(directSound.Create(HKEY_LOCAL_MACHINE, "Software\\SimulatedHardware\\DirectSound",
                                     KEY_ALL_ACCESS),
                  ERROR_SUCCESS);
        ASSERT_EQ(directSound.writeDword("SpeakerConfig", configuration), ERROR_SUCCESS);
        EXPECT_EQ(openMenu().speakers, speakers) << "speaker configuration " << configuration;
    }
}

TEST_F(TrayWindowTest, WindowProcedureAnswersOnlyDestroyAndCommandItself) {
    start("win98-maestro2e");
    EXPECT_FALSE(controller_->handleMessage(messages_.exitTray, 0, 0));
    EXPECT_EQ(shell->quitRequests, 1);
    EXPECT_TRUE(controller_->handleMessage(WM_DESTROY, 0, 0));
    EXPECT_EQ(shell->quitRequests, 2);
    EXPECT_TRUE(controller_->handleMessage(WM_COMMAND, kExit, 0));
    EXPECT_EQ(shell->quitRequests, 3);
    // Unused commands and other mouse messages do nothing.
    EXPECT_TRUE(controller_->handleMessage(WM_COMMAND, 2605, 0));
    EXPECT_FALSE(controller_->handleMessage(kTrayCallbackMessage, 0, 0x0201));
    EXPECT_TRUE(shell->menus.empty());
    EXPECT_EQ(shell->quitRequests, 3);
    EXPECT_TRUE(started().empty());
    // A double click starts the properties program by its path, without a command line.
    EXPECT_FALSE(controller_->handleMessage(kTrayCallbackMessage, 0, kMouseLeftDoubleClick));
    ASSERT_EQ(machine().system().processStarts().size(), 1u);
    EXPECT_EQ(machine().system().processStarts()[0].applicationName,
              "C:\\WINDOWS\\SYSTEM\\tunaractl.exe");
    EXPECT_EQ(machine().system().processStarts()[0].commandLine, "");
    // So does the menu's properties command.
    EXPECT_TRUE(controller_->handleMessage(WM_COMMAND, kProperties, 0));
    ASSERT_EQ(machine().system().processStarts().size(), 2u);
    EXPECT_EQ(machine().system().processStarts()[1].applicationName,
              "C:\\WINDOWS\\SYSTEM\\tunaractl.exe");
    EXPECT_EQ(machine().system().processStarts()[1].commandLine, "");
}

TEST_F(TrayWindowTest, OutputDeviceIsAnnouncedEvenWhenUnchanged) {
    start("win98-maestro2e");
    const platform::HWnd sheet = openPropertiesWindow();
    // Stereo speakers with a wide geometry: setting speakers again would lose the geometry.
    const std::uint32_t wideStereo = 0x14000004u;
    platform::RegKey directSound;
    ASSERT_EQ(directSound.Create(HKEY_LOCAL_MACHINE, "Software\\SimulatedHardware\\DirectSound",
                                 KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    ASSERT_EQ(directSound.writeDword("SpeakerConfig", wideStereo), ERROR_SUCCESS);
    directSound.Close();
    command(kSpeakers);
    EXPECT_TRUE(card().readSpeakerOutput());
    EXPECT_EQ(card().speakerConfig, wideStereo);
    command(kHeadphones);
    EXPECT_FALSE(card().readSpeakerOutput());
    EXPECT_EQ(messagesTo(sheet),
              (std::vector<std::string>{"Output Device Change=1", "Output Device Change=0"}));
}

TEST_F(TrayWindowTest, HardwareAccelerationAlwaysEndsWithTheRestartPrompt) {
    start("win98-maestro2e");
    ASSERT_TRUE(card().isMaestro2E);
    ASSERT_TRUE(card().hwAcceleration);
    ASSERT_TRUE(waveKeyExists());
    // No properties program: nothing is sent, the prompt still comes.
    expectRestartPrompt(IDNO);
    command(kHwAcceleration);
    EXPECT_FALSE(card().hwAcceleration);
    EXPECT_TRUE(card().infNeedsUpdate);
    EXPECT_FALSE(waveKeyExists()) << "the INF defaults were not updated";
    EXPECT_TRUE(machine().system().exitWindowsRequests().empty());
    ASSERT_EQ(machine().ui().shown().size(), 1u);
    EXPECT_EQ(machine().ui().shown()[0].type, MB_YESNO | MB_ICONWARNING);

    const platform::HWnd sheet = openPropertiesWindow();
    expectRestartPrompt(IDYES);
    command(kHwAcceleration);
    EXPECT_TRUE(card().hwAcceleration);
    EXPECT_EQ(messagesTo(sheet), std::vector<std::string>{"HwAcceleration Change=1"});
    EXPECT_EQ(machine().system().exitWindowsRequests(), std::vector<std::uint32_t>{EWX_REBOOT});
}

TEST_F(TrayWindowTest, Maestro1HardwareAccelerationIsWrittenAtOnce) {
    start("win98-maestro1");
    ASSERT_FALSE(card().isMaestro2E);
    const bool before = card().hwAcceleration;
    expectRestartPrompt(IDNO);
    command(kHwAcceleration);
    EXPECT_EQ(card().hwAcceleration, !before);
    card().hwAcceleration = before;
    card().readConfigValues();
    EXPECT_EQ(card().hwAcceleration, !before) << "not in the registry";
    EXPECT_FALSE(card().infNeedsUpdate);
}

TEST_F(TrayWindowTest, MicrophoneBoostNeverAsksForARestart) {
    start("win98-maestro2e");
    const platform::HWnd sheet = openPropertiesWindow();
    const bool before = card().micBoost;
    command(kMicBoost);
    EXPECT_EQ(card().readMicBoost(), !before);
    command(kMicBoost);
    EXPECT_EQ(card().readMicBoost(), before);
    EXPECT_EQ(messagesTo(sheet),
              (std::vector<std::string>{std::string("Mic Boost Change=") + (before ? "0" : "1"),
                                        std::string("Mic Boost Change=") + (before ? "1" : "0")}));
    EXPECT_TRUE(machine().ui().shown().empty());
}

TEST_F(TrayWindowTest, NoneSkipsTheInfUpdateButTheSetsRunItEvenWhenRefused) {
    start("win98-maestro2e");
    const platform::HWnd sheet = openPropertiesWindow();
    card().infNeedsUpdate = true;  // as after a change the driver takes from its INF
    controller_->rememberedSize = 4;

    machine().ui().clearShown();
    checkUnscriptedUi = false;  // the store's own notices are its business
    command(kSampleSetNone);
    EXPECT_TRUE(waveKeyExists()) << "choosing none updated the INF defaults";

    // Refused: MIDI plays and the 2 MB set is missing. The INF update still runs; the
    // remembered size and the announcement do not change.
    platform::RegKey sequencer;
    ASSERT_EQ(sequencer.Create(HKEY_LOCAL_MACHINE, "Software\\SimulatedHardware\\Sequencer",
                               KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    ASSERT_EQ(sequencer.writeDword("Busy", 1), ERROR_SUCCESS);
    sequencer.Close();
    const std::int32_t remembered = controller_->rememberedSize;
    const std::size_t sent = messagesTo(sheet).size();
    controller_->runCommand(kSampleSet2Mb);
    EXPECT_FALSE(waveKeyExists());
    EXPECT_EQ(controller_->rememberedSize, remembered);
    EXPECT_EQ(messagesTo(sheet).size(), sent);
}

}  // namespace
}  // namespace tunara_test

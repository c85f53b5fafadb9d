// The tray's tests: a machine description, the settings object the tray would make, a
// language module, and a window shell that records what the tray asks of the window system.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "settings/tunara_settings.h"
#include "tests/support/machine_test.h"
#include "tray/tray_menu.h"
#include "tray/tray_program.h"

namespace tunara_test {

// The names and values the tray works with, written out as the tray's description gives
// them, so that a wrong constant in the product fails its tests instead of agreeing with them.
namespace tray_names {
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kTrayRunValue = "Cantora SysTray";
constexpr const char* kTwoMbRunValue = "Cantora Wavetable = 2MB";
constexpr const char* kDosRemovalRunValue = "Remove Native DOS Support";
constexpr const char* kComctlUpdateRunValue = "Comctl32.dll Update";
constexpr const char* kComOleRunOnceValue = "AXDist update";
constexpr const char* kTrayWindowClass = "Tunara Taskbar";
constexpr const char* kSoundLibSizeValue = "SoundLibSize";
constexpr const char* kNoResourcesText = "Unable to find any resource files, quitting application";
constexpr const char* kNoResourcesCaption = "Tunara Properties error";
constexpr const char* kTitleFrench = "Propri\xE9t\xE9s Tunara";
// The icon's callback message and the mouse messages it carries.
constexpr std::uint32_t kTrayCallbackMessage = 0x8000;
constexpr std::uint32_t kMouseLeftDoubleClick = 0x0203;
constexpr std::uint32_t kMouseRightButtonDown = 0x0204;
}  // namespace tray_names

// Stands in for the hidden window: its messages go to the controller through the simulated
// user interface, so the properties program's messages reach it as they would on Windows.
class RecordingTrayShell : public tray::TrayShell {
  public:
    explicit RecordingTrayShell(platform::host::HostUserInterface& ui) : ui_(ui) {}

    void initCommonControls() override { calls.push_back("InitCommonControls"); }
    platform::HWnd createTrayWindow(tray::TrayController& controller) override;
    void addIcon(platform::HModule module, const std::string& tip) override;
    void removeIcon() override { calls.push_back("removeIcon"); }
    void destroyTrayWindow() override;
    void runMessageLoop(std::uint32_t exitMessage) override;
    void requestQuit() override { ++quitRequests; }
    void showPopupMenu(const tray::TrayMenuState& state) override { menus.push_back(state); }

    // Run inside the message loop, with the tray window; the loop then ends.
    std::function<void(platform::HWnd)> duringLoop;

    std::vector<std::string> calls;
    std::vector<tray::TrayMenuState> menus;
    int quitRequests = 0;
    std::string tip;
    platform::HWnd window = 0;
    tray::TrayController* controller = nullptr;

  private:
    platform::host::HostUserInterface& ui_;
};

class TrayTest : public MachineTest {
  protected:
    void TearDown() override;

    // Loads the description and makes the settings object on it.
    void useMachine(const std::string& name);
    settings::tunaraSettings& card() { return *card_; }
    // A new settings object, as a new run of the program makes it (after registry changes
    // that its constructor reads).
    void remakeCard();
    // A window of the properties program, titled as the sheet is; it records what it gets.
    platform::HWnd openPropertiesWindow(const std::string& title = "Tunara Properties");
    // The registered messages that reached `window`, as "name=wParam".
    std::vector<std::string> messagesTo(platform::HWnd window);
    // Whether the card's wave device key still exists (an INF defaults update removes it).
    bool waveKeyExists();

    // A language module "cnctlen_.dll" in the system folder with product title `title`.
    void installLanguageModule(const std::string& title = "Tunara Properties");

    // The whole program with this command line and the recording shell.
    int run(const char* commandLine);

    void writeFile(const std::string& path, const std::string& content = "x");
    bool exists(const std::string& path);
    bool folderExists(const std::string& path);
    void setRunValue(const char* key, const char* name, const std::string& value);
    bool hasRunValue(const char* key, const char* name);
    std::string runValue(const char* key, const char* name);
    // The process starts' command lines or application names, in order.
    std::vector<std::string> started();

    std::unique_ptr<RecordingTrayShell> shell;

  private:
    std::unique_ptr<settings::tunaraSettings> card_;
};

}  // namespace tunara_test

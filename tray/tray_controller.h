// The tray window's behaviour: the registered messages shared with the properties program,
// the icon's mouse messages, and the menu commands. The window procedure hands every message
// here and only carries out what comes back (quit, show the menu, default processing).
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"
#include "platform/ui.h"
#include "settings/change_messages.h"

namespace settings {
class tunaraSettings;
}

namespace tray {

struct TrayMenuState;

// The icon's callback message; lParam carries the mouse message.
constexpr std::uint32_t kTrayCallbackMessage = 0x8000;
constexpr std::uint32_t kTrayIconId = 1;
constexpr std::uint32_t kMouseLeftDoubleClick = 0x0203;
constexpr std::uint32_t kMouseRightButtonDown = 0x0204;

// What only the window shell can do.
class TrayWindowActions {
  public:
    virtual ~TrayWindowActions() = default;
    // PostQuitMessage(0).
    virtual void requestQuit() = 0;
    // Loads menu 190, applies `state`, tracks the popup and destroys it.
    virtual void showPopupMenu(const TrayMenuState& state) = 0;
};

class TrayController {
  public:
    TrayController(settings::tunaraSettings& card, platform::HModule module,
                   const settings::ChangeMessages& messages, TrayWindowActions& actions);

    // The window procedure's decisions for one message: true when it answers 0 itself
    // (WM_DESTROY, WM_COMMAND), false when the default window procedure must run.
    bool handleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    // One menu command (the low word of WM_COMMAND's wParam).
    void runCommand(std::uint32_t command);

    // Starts tunaractl.exe from the system folder, without waiting.
    void startProperties();
    // String 3 with Yes and No; Yes restarts Windows.
    void restartPrompt();

    // The active sample set size as the tray last knew it (0, 2 or 4 MB, or what the
    // properties program last said).
    std::int32_t rememberedSize = 0;

  private:
    std::string loadText(std::uint32_t id) const;
    // SendMessage of `message` to the properties window, when there is one.
    void tell(platform::HWnd properties, std::uint32_t message, std::uintptr_t wParam);
    void toggleHwAcceleration(platform::HWnd properties);
    void chooseSampleSet(platform::HWnd properties, std::int32_t size);

    settings::tunaraSettings& card_;
    platform::HModule module_;
    settings::ChangeMessages messages_;
    TrayWindowActions& actions_;
};

}  // namespace tray

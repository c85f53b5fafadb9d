// tnrtray's run from start to end: the maintenance option named on the command line, or the
// tray itself with its hidden window, icon and message loop.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"
#include "platform/ui.h"
#include "tray/tray_controller.h"

namespace settings {
class tunaraSettings;
}

namespace tray {

// The built-in notice when no language module can be loaded.
constexpr const char* kNoResourcesText = "Unable to find any resource files, quitting application";
constexpr const char* kNoResourcesCaption = "Tunara Properties error";

// The window side of the tray: what needs the real window system.
class TrayShell : public TrayWindowActions {
  public:
    // InitCommonControls.
    virtual void initCommonControls() = 0;
    // Registers the class "Tunara Taskbar" and creates the hidden tool window, whose
    // messages go to `controller`. The window handle, or 0 when it could not be made.
    virtual platform::HWnd createTrayWindow(TrayController& controller) = 0;
    // Adds the notification icon (icon 188 of `module`, `tip` already cut to 63 bytes).
    virtual void addIcon(platform::HModule module, const std::string& tip) = 0;
    virtual void removeIcon() = 0;
    // Destroys the tray window after the loop; its messages no longer reach the controller.
    virtual void destroyTrayWindow() = 0;
    // Runs the thread's message loop until WM_QUIT; a message `exitMessage` posted to the
    // thread also ends it.
    virtual void runMessageLoop(std::uint32_t exitMessage) = 0;
};

// The tip of the icon: the product title, cut to the 63 characters the shell keeps.
std::string trayTip(const std::string& productTitle);

// The whole run. `commandLine` is the text after the program name. Returns the exit code,
// which is 0 in every case.
int runTrayProgram(settings::tunaraSettings& card, const char* commandLine, TrayShell& shell);

}  // namespace tray

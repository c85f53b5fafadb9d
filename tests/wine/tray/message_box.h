// A message box of another process as the user sees it: caption, message, buttons, icon, and
// whether it is drawn on the screen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "../drivers/screen_pixels.h"

namespace traycheck {

struct BoxView {
    std::string caption;
    std::string text;          // the message: the box's longest static text
    std::vector<int> buttons;  // identifiers of the visible buttons, in window order
    bool icon = false;         // an icon static that holds an icon
    screen::WindowLook look;
};

BoxView viewBox(HWND box);

// "1" or "6,7": the button identifiers in order.
std::string buttonList(const std::vector<int>& buttons);

// The visible dialog-class window (#32770) of the process, or null.
HWND findBox(DWORD process);

}  // namespace traycheck

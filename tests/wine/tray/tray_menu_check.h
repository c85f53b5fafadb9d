// The tray's popup menu as it opens: items, texts, check marks and grey states, compared with
// what the tray must show for a known state of the card, and the menu's picture on the
// screen.
#pragma once

#include <windows.h>

#include <set>

namespace traycheck {

struct MenuExpectation {
    bool speakers = true;
    bool hwAcceleration = false;
    bool micBoost = false;
    int checkedSet = 0;        // sample-set item checked: 0 none, 1 2 MB, 2 4 MB, -1 no item
    std::set<int> greyedSets;  // sample-set items greyed: 1 (2 MB), 2 (4 MB)
};

// Parses "OUTPUT HW MIC SET GREY" (see tray_driver.cpp); false on a wrong word.
bool parseMenuExpectation(char** words, MenuExpectation& expected);

// Opens the menu on the tray's icon and checks it; closes it after the screenshot. Exit code.
int checkTrayMenu(HWND tray, const MenuExpectation& expected);

}  // namespace traycheck

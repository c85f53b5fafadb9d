// The advanced settings dialog's decisions, which its window only carries out: which sample
// set buttons can be chosen, how the controls show the dialog's state, the re-layout on a
// Maestro-2E card, and how the controls read back into the state at the dialog's OK.
#pragma once

#include <cstdint>
#include <vector>

#include "props/logic/advanced_state.h"

namespace props {

// The sample-set size buttons that can be chosen: a set none of whose files opens in the
// system folder cannot be (settings::sampleSetFilePresent, as the tray's menu decides).
struct SampleSetButtons {
    bool twoMb = false;   // 1025 enabled
    bool fourMb = false;  // 1026 enabled
};
SampleSetButtons availableSampleSetButtons();

// What the dialog's refresh sets from its state.
struct AdvancedControlView {
    bool hwAcceleration = false;  // 1002 checked
    bool micBoost = false;        // 1017
    bool joystick = false;        // 1018
    bool nativeDos = false;       // 1020
    bool gameSupport = false;     // 1019
    // 1020 is disabled: DOS game support is off on a Maestro-1 card. The refresh never
    // enables it again; a click on 1019 does (nativeDosEnabledAfterGameSupportClick). On a
    // Maestro-2E game support is always on, so the box is never disabled there.
    bool disableNativeDos = false;
    // The size button to check alone (1024, 1025 or 1026); 0 leaves the buttons as they are
    // (a size other than 0, 2 or 4).
    int wavetableButton = 0;
};
AdvancedControlView advancedControlView(const AdvancedState& state, bool isMaestro2E);

// 1020 after a click on 1019: enabled exactly when game support is now checked.
bool nativeDosEnabledAfterGameSupportClick(bool gameSupportChecked);

// The check marks of the dialog's buttons when its OK is pressed.
struct AdvancedChecks {
    bool hwAcceleration = false;
    bool micBoost = false;
    bool joystick = false;
    bool gameSupport = false;
    bool nativeDos = false;
    bool wavetableNone = false;
    bool wavetable2Mb = false;
    bool wavetable4Mb = false;
};
// The state the dialog's OK records: each box checked is on; the size is 0, 2 or 4 by the
// first size button checked in that order, or -1 when none is.
AdvancedState advancedStateFromChecks(const AdvancedChecks& checks);

struct ControlShift {
    int id = 0;
    int dy = 0;  // pixels down (negative: up)
};

// Where the dialog's window and controls go when it opens.
struct AdvancedLayout {
    // Added to the edges of the window rectangle the system placed it at.
    int leftEdge = -3;
    int rightEdge = -1;
    int topEdge = 36;
    int bottomEdge = 36;
    // A Maestro-2E card has game support always on: its box and the group around the DOS
    // options go, the native DOS box moves up and is retitled, the rest closes up.
    std::vector<int> hidden;
    std::vector<ControlShift> shifts;
    const char* nativeDosText = nullptr;  // null: the template's text stays
    int heightChange = 0;
};
AdvancedLayout advancedLayout(bool isMaestro2E);

}  // namespace props

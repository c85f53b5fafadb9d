// Layout arithmetic of the two sheets' own button rows.
#pragma once

namespace props {

constexpr int kButtonWidth = 77;

// Three button slots of width 77 from x = 6 to the tab control's right edge, the gaps shared
// out evenly; the row sits 38 to 15 pixels above `bottom` (the sheet's window bottom + 5).
struct ButtonRow {
    int left[3] = {};
    int top = 0;
    int bottom = 0;
};

ButtonRow buttonRow(int tabRight, int bottom);

}  // namespace props

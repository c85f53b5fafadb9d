#include "props/logic/layout.h"

namespace props {

ButtonRow buttonRow(int tabRight, int bottom) {
    ButtonRow row;
    int gap = (tabRight - 6 - 3 * kButtonWidth) / 2;
    row.left[0] = 6;
    row.left[1] = 6 + kButtonWidth + gap;
    row.left[2] = 6 + 2 * kButtonWidth + 2 * gap;
    row.top = bottom - 38;
    row.bottom = bottom - 15;
    return row;
}

}  // namespace props

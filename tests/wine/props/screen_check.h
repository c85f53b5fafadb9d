// What a control of tunaractl.exe looks like on the screen right now.
//
// The window manager's state (a control exists, is visible) does not prove that a user sees
// it: a window of another program may lie on top, or the control may never have been drawn.
// These checks read the control's rectangle back from the screen, as the screenshot shows it,
// and look for what must be there: the dark pixels of its text in proportion to its length,
// the picture of an icon or bitmap, or nothing at all where a field is empty or a control is
// hidden.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace onscreen {

struct Verdict {
    bool passed = false;
    std::string detail;  // what was seen, for the check's line
};

// The top-level window that holds `window` (the window itself when it is one).
HWND rootOf(HWND window);

// Control `id` of `parent` exists, is visible, is not covered by another top-level window at
// its centre, and shows its text (an empty text: no dark pixels at all; an icon or bitmap:
// a picture that is not one flat colour).
Verdict drawn(HWND parent, int id);

// Control `id` of `parent` exists, is hidden, and its place on the screen shows no dark
// pixels outside the visible controls that overlap it.
Verdict hidden(HWND parent, int id);

struct Expect {
    enum Kind { Drawn, Hidden } kind;
    HWND parent;
    int id;
};

// Checks every expectation; a control that is not yet painted gets up to `patienceMs` (before
// scaling) to appear. Returns one verdict per expectation, in order.
std::vector<Verdict> checkAll(const std::vector<Expect>& expects, DWORD patienceMs);

}  // namespace onscreen

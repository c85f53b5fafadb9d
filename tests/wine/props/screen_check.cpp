#include "screen_check.h"

#include <commctrl.h>

#include "../drivers/message_pump.h"
#include "../drivers/screen_pixels.h"
#include "../drivers/time_scale.h"

namespace onscreen {
namespace {

// Text is drawn in COLOR_BTNTEXT or COLOR_WINDOWTEXT (black in every scheme the machine
// uses); faces, highlights and shadows are all much lighter, except the dark shadow of 3-D
// borders, which the checks leave out by looking inside each control's frame.
bool dark(DWORD pixel) {
    const unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r + g + b < 3 * 96;
}

// Characters that leave ink: no blanks, and no '&' of a mnemonic.
int inkedCharacters(const std::string& text) {
    int n = 0;
    for (char c : text)
        if (c != ' ' && c != '&' && c != '\r' && c != '\n' && c != '\t') ++n;
    return n;
}

std::string name(HWND parent, int id) {
    return "control " + std::to_string(id) + " of \"" + screen::textOf(rootOf(parent)) + "\"";
}

// How a control shows on the screen, and which part of its rectangle holds its content.
struct Look {
    enum Kind { Text, Picture, Unchecked } kind = Text;
    RECT inner = {};
    int minimumInk = 0;  // for Text: dark pixels needed; 0 with an empty text: none allowed
    std::string text;
};

Look lookOf(HWND control) {
    Look look;
    GetWindowRect(control, &look.inner);
    RECT& r = look.inner;
    const std::string cls = screen::classOf(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    look.text = screen::textOf(control);
    if (cls == "Button") {
        const LONG type = style & 0x0F;
        if (type == BS_GROUPBOX) {
            look.kind = Look::Unchecked;
        } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            if (style & BS_BITMAP) look.kind = Look::Picture;
            InflateRect(&r, -4, -4);  // frame, default frame and focus rectangle
        } else {
            r.left += 16;  // the check box or radio glyph and its gap
        }
    } else if (cls == "Static") {
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP) look.kind = Look::Picture;
    } else if (cls == "ComboBox") {
        InflateRect(&r, -3, -3);
        r.right -= GetSystemMetrics(SM_CXVSCROLL);  // the drop-down button's arrow
    } else if (cls == "SysListView32") {
        // Below the column header: about as much ink per row as a short word.
        const int rows = static_cast<int>(SendMessageA(control, LVM_GETITEMCOUNT, 0, 0));
        InflateRect(&r, -2, -2);
        r.top += 20;
        look.text.clear();
        look.minimumInk = 20 * rows;
        return look;
    } else {
        look.kind = Look::Unchecked;
    }
    look.minimumInk = 4 * inkedCharacters(look.text);
    return look;
}

Verdict judgeDrawn(HWND parent, int id) {
    Verdict v;
    HWND control = GetDlgItem(parent, id);
    const std::string what = name(parent, id);
    if (parent == nullptr || control == nullptr) {
        v.detail = what + " does not exist";
        return v;
    }
    if (!IsWindowVisible(control)) {
        v.detail = what + " exists but is not visible";
        return v;
    }
    HWND top = rootOf(control);
    RECT whole;
    GetWindowRect(control, &whole);
    POINT centre = {(whole.left + whole.right) / 2, (whole.top + whole.bottom) / 2};
    HWND atCentre = WindowFromPoint(centre);
    if (rootOf(atCentre) != top) {
        v.detail = what + " is covered by the window \"" + screen::textOf(rootOf(atCentre)) +
                   "\" (class " + screen::classOf(rootOf(atCentre)) + ")";
        return v;
    }
    Look look = lookOf(control);
    screen::Pixels pixels;
    if (look.kind == Look::Unchecked || IsRectEmpty(&look.inner) ||
        !screen::read(look.inner, pixels)) {
        v.detail =
            what + " (class " + screen::classOf(control) + ") cannot be read from the screen";
        return v;
    }
    long ink = 0, notFlat = 0;
    const DWORD first = pixels.values.front();
    for (DWORD p : pixels.values) {
        if (dark(p)) ++ink;
        if (p != first) ++notFlat;
    }
    const std::string text = "\"" + look.text + "\"";
    if (look.kind == Look::Picture) {
        v.passed = notFlat >= 20;
        v.detail = what + " shows a picture: " + std::to_string(notFlat) + " of " +
                   std::to_string(pixels.values.size()) + " pixels differ from its corner";
    } else if (look.minimumInk == 0) {
        v.passed = ink == 0;
        v.detail =
            what + " is empty on the screen " + text + ": " + std::to_string(ink) + " dark pixels";
    } else {
        v.passed = ink >= look.minimumInk;
        v.detail = what + " shows " + (look.text.empty() ? "its rows" : text) + ": " +
                   std::to_string(ink) + " dark pixels, at least " +
                   std::to_string(look.minimumInk) + " expected";
    }
    return v;
}

struct Siblings {
    std::vector<RECT> visible;
};

BOOL CALLBACK collectVisible(HWND child, LPARAM param) {
    RECT r;
    if (IsWindowVisible(child) && GetWindowRect(child, &r))
        reinterpret_cast<Siblings*>(param)->visible.push_back(r);
    return TRUE;
}

Verdict judgeHidden(HWND parent, int id) {
    Verdict v;
    HWND control = GetDlgItem(parent, id);
    const std::string what = name(parent, id);
    if (parent == nullptr || control == nullptr) {
        v.detail = what + " does not exist";
        return v;
    }
    if (IsWindowVisible(control)) {
        v.detail = what + " is visible";
        return v;
    }
    if (!IsWindowVisible(parent)) {
        v.detail = what + " is on a page that is not shown";
        return v;
    }
    RECT r;
    GetWindowRect(control, &r);
    screen::Pixels pixels;
    if (!screen::read(r, pixels)) {
        v.detail = what + " cannot be read from the screen";
        return v;
    }
    Siblings siblings;
    EnumChildWindows(parent, collectVisible, reinterpret_cast<LPARAM>(&siblings));
    long ink = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            POINT p = {x, y};
            bool covered = false;
            for (const RECT& s : siblings.visible) covered = covered || PtInRect(&s, p);
            if (!covered && dark(pixels.at(x, y))) ++ink;
        }
    v.passed = ink == 0;
    v.detail = what + " is hidden, its place shows " + std::to_string(ink) + " dark pixels";
    return v;
}

}  // namespace

HWND rootOf(HWND window) {
    while (window != nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
        HWND parent = GetParent(window);
        if (parent == nullptr) break;
        window = parent;
    }
    return window;
}

Verdict drawn(HWND parent, int id) {
    return judgeDrawn(parent, id);
}

Verdict hidden(HWND parent, int id) {
    return judgeHidden(parent, id);
}

std::vector<Verdict> checkAll(const std::vector<Expect>& expects, DWORD patienceMs) {
    std::vector<Verdict> verdicts;
    const DWORD start = GetTickCount();
    for (;;) {
        verdicts.clear();
        bool all = true;
        for (const Expect& e : expects) {
            verdicts.push_back(e.kind == Expect::Drawn ? drawn(e.parent, e.id)
                                                       : hidden(e.parent, e.id));
            all = all && verdicts.back().passed;
        }
        if (all || GetTickCount() - start > scaledWait(patienceMs)) return verdicts;
        // Painting may still be under way on a slow machine: let it finish, then look again.
        messages::dispatchWaiting();
        Sleep(100);
    }
}

}  // namespace onscreen

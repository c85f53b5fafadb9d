// What a window really shows on the screen, read back inside Wine.
//
// A screenshot proves little by itself: any window, blank or not, has a few colours. These
// helpers copy a part of the screen into memory and count pixels of given colours in given
// rectangles, so a driver can say where text must be drawn (inside each control that carries
// a text) and what fills the rest (the face colour of a dialog, the menu colour of a menu).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace screen {

// A copy of a screen rectangle, one 0x00RRGGBB value per pixel, top row first.
struct Pixels {
    RECT area = {0, 0, 0, 0};  // screen coordinates
    std::vector<DWORD> values;

    int width() const { return area.right - area.left; }
    int height() const { return area.bottom - area.top; }
    bool empty() const { return values.empty(); }
    // The pixel at screen point (x, y), which must lie inside `area`.
    DWORD at(int x, int y) const { return values[(y - area.top) * width() + (x - area.left)]; }
};

inline COLORREF asColorref(DWORD value) {
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

// Copies the screen rectangle `area`; false (and no pixels) when it cannot be read.
inline bool read(const RECT& area, Pixels& out) {
    out = Pixels();
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC desktop = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(desktop);
    HBITMAP bitmap = CreateDIBSection(desktop, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied =
            BitBlt(memory, 0, 0, width, height, desktop, area.left, area.top, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (copied) {
        const DWORD* pixels = static_cast<const DWORD*>(bits);
        out.area = area;
        out.values.assign(pixels, pixels + static_cast<size_t>(width) * height);
        for (DWORD& v : out.values) v &= 0x00FFFFFF;
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(nullptr, desktop);
    return copied;
}

// Pixels in `rect` (screen coordinates, clipped to the copy) whose colour is one of
// `colours`; `inside` receives the number of pixels looked at.
inline long count(const Pixels& pixels, RECT rect, const std::vector<COLORREF>& colours,
                  long* inside = nullptr) {
    RECT clipped;
    long matched = 0, looked = 0;
    if (IntersectRect(&clipped, &rect, &pixels.area)) {
        for (int y = clipped.top; y < clipped.bottom; ++y) {
            for (int x = clipped.left; x < clipped.right; ++x) {
                const COLORREF c = asColorref(
                    pixels.values[(y - pixels.area.top) * pixels.width() + (x - pixels.area.left)]);
                for (COLORREF wanted : colours) {
                    if (c == wanted) {
                        ++matched;
                        break;
                    }
                }
                ++looked;
            }
        }
    }
    if (inside != nullptr) *inside = looked;
    return matched;
}

inline std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

inline std::string textOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Where a control draws its text, in screen coordinates; empty when it draws none.
// Frames, check boxes and radio circles are left out: their edges use the same dark colours
// as text, so only the text's own place says whether the text was drawn.
inline RECT textPlace(HWND control) {
    RECT empty = {0, 0, 0, 0};
    const std::string kind = classOf(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (textOf(control).empty()) return empty;
    RECT r;
    GetWindowRect(control, &r);
    if (lstrcmpiA(kind.c_str(), "Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        const bool text = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT ||
                          type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
        return text ? r : empty;
    }
    if (lstrcmpiA(kind.c_str(), "Button") != 0) return empty;
    const LONG type = style & 0x0F;  // BS_TYPEMASK
    if (type == BS_GROUPBOX) {
        // The caption sits on the top edge, after the frame's corner.
        r.left += 6;
        r.bottom = r.top + 14;
    } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
               type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE) {
        r.left += 16;  // the 13-pixel box and its gap
    } else {
        InflateRect(&r, -3, -3);  // inside the push button's frame
    }
    return r;
}

// One line per control that should show its text but shows none of a text colour.
struct ControlsDrawn {
    int withText = 0;  // visible controls whose text place is on the screen
    int drawn = 0;     // ... with pixels of a text colour in it
    std::vector<std::string> blank;
};

struct ControlWalk {
    const Pixels* pixels;
    RECT visible;
    ControlsDrawn* result;
};

inline BOOL CALLBACK visitControl(HWND control, LPARAM parameter) {
    ControlWalk& walk = *reinterpret_cast<ControlWalk*>(parameter);
    if (!IsWindowVisible(control)) return TRUE;
    RECT place = textPlace(control);
    RECT shown;
    if (IsRectEmpty(&place) || !IntersectRect(&shown, &place, &walk.visible)) return TRUE;
    // A sliver cut off by the window's edge need not hold a letter.
    if (shown.bottom - shown.top < 6 || shown.right - shown.left < 6) return TRUE;
    const std::vector<COLORREF> text = {GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNTEXT),
                                        GetSysColor(COLOR_GRAYTEXT)};
    ++walk.result->withText;
    if (count(*walk.pixels, shown, text) > 0) {
        ++walk.result->drawn;
    } else {
        walk.result->blank.push_back("control " + std::to_string(GetDlgCtrlID(control)) + " (" +
                                     classOf(control) + " \"" + textOf(control) + "\")");
    }
    return TRUE;
}

// Every visible text-carrying control (statics, buttons) below `window`, at any depth.
inline ControlsDrawn controlsDrawn(HWND window, const Pixels& pixels) {
    ControlsDrawn result;
    ControlWalk walk = {&pixels, {0, 0, 0, 0}, &result};
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    IntersectRect(&walk.visible, &client, &pixels.area);
    EnumChildWindows(window, visitControl, reinterpret_cast<LPARAM>(&walk));
    return result;
}

// The share (0..100) of the window's client area in one of the colours `colours`.
inline long percentOf(HWND window, const Pixels& pixels, const std::vector<COLORREF>& colours) {
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    long looked = 0;
    const long matched = count(pixels, client, colours, &looked);
    return looked == 0 ? 0 : matched * 100 / looked;
}

inline long percentOf(HWND window, const Pixels& pixels, COLORREF colour) {
    return percentOf(window, pixels, std::vector<COLORREF>{colour});
}

// The colours a window is filled with: the face colour, and for a property sheet also what
// its visible page is filled with. With visual styles (Wine's default look) a page is drawn
// on the tab's own body, which is not the face colour; its corner pixel, where no control
// sits, says which colour that is.
inline std::vector<COLORREF> fillColours(HWND window, const Pixels& pixels) {
    std::vector<COLORREF> colours = {GetSysColor(COLOR_BTNFACE)};
    if (FindWindowExA(window, nullptr, "SysTabControl32", nullptr) == nullptr) return colours;
    for (HWND page = FindWindowExA(window, nullptr, "#32770", nullptr); page != nullptr;
         page = FindWindowExA(window, page, "#32770", nullptr)) {
        if (!IsWindowVisible(page)) continue;
        POINT corner = {1, 1};
        ClientToScreen(page, &corner);
        if (PtInRect(&pixels.area, corner))
            colours.push_back(asColorref(pixels.at(corner.x, corner.y)));
        break;
    }
    return colours;
}

// What a dialog, property sheet or message box shows: its text-carrying controls drawn, its
// fill colours.
struct WindowLook {
    bool read = false;
    ControlsDrawn controls;
    long facePercent = 0;

    // Something to read on a face of its own: not blank, not a window of another kind.
    bool shown() const {
        return read && controls.withText > 0 && controls.blank.empty() && facePercent >= 40;
    }
    std::string describe() const {
        if (!read) return "the screen could not be read";
        std::string text = std::to_string(controls.drawn) + " of " +
                           std::to_string(controls.withText) + " texts drawn, " +
                           std::to_string(facePercent) + "% face colour";
        for (const std::string& b : controls.blank) text += "; nothing drawn in " + b;
        return text;
    }
};

// The window as `pixels` (a copy of the screen that holds it) shows it.
inline WindowLook lookAt(HWND window, const Pixels& pixels) {
    WindowLook result;
    if (pixels.empty()) return result;
    result.read = true;
    result.controls = controlsDrawn(window, pixels);
    result.facePercent = percentOf(window, pixels, fillColours(window, pixels));
    return result;
}

inline WindowLook look(HWND window) {
    RECT area;
    Pixels pixels;
    if (!GetWindowRect(window, &area) || !read(area, pixels)) return WindowLook();
    return lookAt(window, pixels);
}

}  // namespace screen

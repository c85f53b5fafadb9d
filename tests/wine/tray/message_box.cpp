#include "message_box.h"

namespace traycheck {

namespace {

BOOL CALLBACK visitBoxChild(HWND child, LPARAM parameter) {
    BoxView& view = *reinterpret_cast<BoxView*>(parameter);
    const std::string kind = screen::classOf(child);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(kind.c_str(), "Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            if (SendMessageA(child, STM_GETICON, 0, 0) != 0) view.icon = true;
        } else {
            const std::string text = screen::textOf(child);
            if (text.size() > view.text.size()) view.text = text;
        }
    } else if (lstrcmpiA(kind.c_str(), "Button") == 0 && IsWindowVisible(child)) {
        view.buttons.push_back(GetDlgCtrlID(child));
    }
    return TRUE;
}

struct BoxSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK visitTopLevel(HWND window, LPARAM parameter) {
    BoxSearch& search = *reinterpret_cast<BoxSearch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search.process && IsWindowVisible(window) &&
        screen::classOf(window) == "#32770") {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

BoxView viewBox(HWND box) {
    BoxView view;
    view.caption = screen::textOf(box);
    EnumChildWindows(box, visitBoxChild, reinterpret_cast<LPARAM>(&view));
    view.look = screen::look(box);
    return view;
}

std::string buttonList(const std::vector<int>& buttons) {
    std::string out;
    for (int id : buttons) out += (out.empty() ? "" : ",") + std::to_string(id);
    return out.empty() ? "-" : out;
}

HWND findBox(DWORD process) {
    BoxSearch search = {process, nullptr};
    EnumWindows(visitTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace traycheck

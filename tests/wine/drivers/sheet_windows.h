// Finding tunaractl.exe's property sheets and dialogs from another program.
#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

namespace sheets {

namespace detail {

struct Search {
    HWND sheet;
    bool wantOwned;  // a dialog owned by the sheet; otherwise an unowned sheet of its process
    HWND found;
};

inline BOOL CALLBACK searchWindow(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (window == s->sheet || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    DWORD mine = 0, theirs = 0;
    GetWindowThreadProcessId(s->sheet, &mine);
    GetWindowThreadProcessId(window, &theirs);
    if (mine != theirs) return TRUE;
    HWND owner = GetWindow(window, GW_OWNER);
    if (s->wantOwned ? owner == s->sheet : owner == nullptr) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace detail

// A visible dialog of the sheet's process other than the sheet: one the sheet owns (`owned`),
// or else one without an owner (the advanced resources sheet); null when there is none.
inline HWND findOther(HWND sheet, bool owned) {
    detail::Search s{sheet, owned, nullptr};
    EnumWindows(detail::searchWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

inline HWND currentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

}  // namespace sheets

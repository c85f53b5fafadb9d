// tray_spy.dll: eyes inside tnrtray.exe's own thread, for tray_driver.
//
// Wine 8.0 keeps menus per process: a menu handle taken from another process (MN_GETHMENU on
// the #32768 window) answers nothing there, where Windows 98 would let GetMenuItemInfo read
// it. And a window that lives for a few milliseconds escapes any watcher that polls. So the
// driver hooks tnrtray's thread with this library, which Windows (and Wine) load into the
// tray's process, and reads what the hooks write:
//
//   watchWindows(thread)   WH_CBT: every window the thread creates, one line each in
//                          C:\tray-windows.log: "created<TAB>class<TAB>parent<TAB>title"
//   peekTrayMenu(thread)   WH_CALLWNDPROC: when the popup menu first waits for the user
//                          (WM_ENTERIDLE), its items as the tray set them, to
//                          C:\tray-menu.txt (written complete, then renamed into place):
//                          "item<TAB>where<TAB>position<TAB>id<TAB>type<TAB>state<TAB>
//                           submenu<TAB>left<TAB>top<TAB>right<TAB>bottom<TAB>text"
//                          where = "popup" or "sub<N>" (the submenu at popup position N);
//                          the rectangle is the item's place on the screen (popup items).
//
// Both return the hook handle (null on failure); the driver unhooks with UnhookWindowsHookEx.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HINSTANCE g_instance = nullptr;
HHOOK g_cbt = nullptr;
HHOOK g_callWindow = nullptr;
HMENU g_opened = nullptr;
HMENU g_peeked = nullptr;

const char kWindowLog[] = "C:\\tray-windows.log";
const char kMenuFile[] = "C:\\tray-menu.txt";
const char kMenuPart[] = "C:\\tray-menu.part";

void append(const char* path, const std::string& line) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

std::string hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "%lx", value);
    return text;
}

LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        char name[128] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        const LPCSTR title = create->lpcs->lpszName;
        const bool child = (create->lpcs->style & WS_CHILD) != 0;
        append(kWindowLog, std::string("created\t") + name + "\t" +
                               (child ? "child" : "top-level") + "\t" +
                               (title != nullptr && !IS_INTRESOURCE(title) ? title : "") + "\r\n");
    }
    return CallNextHookEx(g_cbt, code, wParam, lParam);
}

void dumpItems(HMENU menu, const std::string& where, std::string& out) {
    const int items = GetMenuItemCount(menu);
    for (int i = 0; i < items; ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;  // the Windows 95 size: WINVER 0x0400 has no hbmpItem
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_TYPE;
        info.dwTypeData = text;
        info.cch = sizeof text;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
            out += "error\t" + where + "\t" + std::to_string(i) + "\r\n";
            continue;
        }
        RECT place = {0, 0, 0, 0};
        if (where == "popup") GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &place);
        out += "item\t" + where + "\t" + std::to_string(i) + "\t" +
               std::to_string(info.hSubMenu != nullptr ? -1L : static_cast<long>(info.wID)) + "\t" +
               hex(info.fType) + "\t" + hex(info.fState) + "\t" +
               (info.hSubMenu != nullptr ? "1" : "0") + "\t" + std::to_string(place.left) + "\t" +
               std::to_string(place.top) + "\t" + std::to_string(place.right) + "\t" +
               std::to_string(place.bottom) + "\t" +
               ((info.fType & MFT_SEPARATOR) != 0 ? "" : text) + "\r\n";
    }
}

void dumpMenu(HMENU popup) {
    std::string out;
    dumpItems(popup, "popup", out);
    const int items = GetMenuItemCount(popup);
    for (int i = 0; i < items; ++i) {
        HMENU sub = GetSubMenu(popup, i);
        if (sub != nullptr) dumpItems(sub, "sub" + std::to_string(i), out);
    }
    DeleteFileA(kMenuPart);
    append(kMenuPart, out);
    MoveFileA(kMenuPart, kMenuFile);
}

LRESULT CALLBACK callWindowHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        // The first popup that opens is the tray's own (submenus open only later).
        if (call->message == WM_INITMENUPOPUP && g_opened == nullptr)
            g_opened = reinterpret_cast<HMENU>(call->wParam);
        if (call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU) {
            // The menu window answers with its menu; states and places are final by now.
            HMENU popup = reinterpret_cast<HMENU>(
                SendMessageA(reinterpret_cast<HWND>(call->lParam), MN_GETHMENU, 0, 0));
            if (popup == nullptr) popup = g_opened;
            if (popup != nullptr && popup != g_peeked) {
                g_peeked = popup;
                dumpMenu(popup);
            }
        }
    }
    return CallNextHookEx(g_callWindow, code, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) HHOOK watchWindows(DWORD thread) {
    g_cbt = SetWindowsHookExA(WH_CBT, cbtHook, g_instance, thread);
    return g_cbt;
}

extern "C" __declspec(dllexport) HHOOK peekTrayMenu(DWORD thread) {
    g_callWindow = SetWindowsHookExA(WH_CALLWNDPROC, callWindowHook, g_instance, thread);
    return g_callWindow;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
    return TRUE;
}

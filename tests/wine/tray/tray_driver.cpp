// Drives tnrtray.exe on the Wine machine as the properties program and the user would.
//
//   tray_driver windows            number of top-level windows of class "Tunara Taskbar"
//   tray_driver wait-window        waits up to 20 s for the tray window; exit code 1 if none
//   tray_driver icon               whether the shell holds icon 1 of the tray window
//   tray_driver menu               presses the right button on the icon (the icon's callback
//                                  message), waits for the popup menu, prints "shown: menu",
//                                  waits for C:\shot-menu, then closes the menu with Escape
//   tray_driver command ID         the menu command ID, as choosing it from the menu
//   tray_driver exit               sends "Tell TunaraTray to exit"
//   tray_driver exit-thread        posts it to the tray window's thread instead
//   tray_driver value KEY NAME     HKLM KEY's value NAME as hexadecimal bytes, or "absent"
//   tray_driver set KEY NAME TEXT  writes the string value NAME under HKLM KEY
//   tray_driver delete KEY NAME    deletes the value NAME under HKLM KEY
//
// Started under the name AXDist.exe it only records its command line in C:\axdist.txt, so
// the tray's start of the COM/OLE distribution can be seen.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../drivers/time_scale.h"
namespace {

const char kTrayClass[] = "Tunara Taskbar";

int g_windows = 0;

BOOL CALLBACK countWindow(HWND window, LPARAM) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, kTrayClass) == 0) ++g_windows;
    return TRUE;
}

HWND trayWindow() {
    return FindWindowA(kTrayClass, nullptr);
}

bool fileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int recordAsUpdater() {
    FILE* out = std::fopen("C:\\axdist.txt", "w");
    if (out == nullptr) return 1;
    std::fprintf(out, "%s\n", GetCommandLineA());
    std::fclose(out);
    return 0;
}

int menu(HWND tray) {
    PostMessageA(tray, 0x8000, 0, WM_RBUTTONDOWN);
    HWND popup = nullptr;
    for (DWORD i = 0; i < scaledWait(200) && popup == nullptr; ++i) {
        Sleep(100);
        popup = FindWindowA("#32768", nullptr);
        if (popup != nullptr && !IsWindowVisible(popup)) popup = nullptr;
    }
    if (popup == nullptr) {
        std::printf("FAIL: no popup menu\n");
        return 1;
    }
    std::printf("shown: menu\n");
    std::fflush(stdout);
    for (DWORD i = 0; i < scaledWait(600) && !fileExists("C:\\shot-menu"); ++i) Sleep(100);
    // Escape ends the menu's own loop in the tray's thread.
    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(tray, WM_KEYDOWN, VK_ESCAPE, 0);
    for (DWORD i = 0; i < scaledWait(100); ++i) {
        Sleep(100);
        HWND still = FindWindowA("#32768", nullptr);
        if (still == nullptr || !IsWindowVisible(still)) {
            std::printf("ok: menu closed\n");
            return 0;
        }
    }
    std::printf("FAIL: the menu stayed open\n");
    return 1;
}

int value(const char* key, const char* name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        std::printf("absent\n");
        return 0;
    }
    BYTE data[512] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    const LONG rc = RegQueryValueExA(handle, name, nullptr, &type, data, &size);
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS) {
        std::printf("absent\n");
        return 0;
    }
    for (DWORD i = 0; i < size; ++i) std::printf("%02x", data[i]);
    std::printf("\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    if (std::strstr(self, "AXDist") != nullptr || std::strstr(self, "axdist") != nullptr)
        return recordAsUpdater();
    if (argc < 2) return 2;
    const std::string what = argv[1];
    if (what == "windows") {
        EnumWindows(countWindow, 0);
        std::printf("%d\n", g_windows);
        return 0;
    }
    if (what == "wait-window") {
        for (DWORD i = 0; i < scaledWait(200); ++i) {
            if (trayWindow() != nullptr) return 0;
            Sleep(100);
        }
        return 1;
    }
    if (what == "value" && argc >= 4) return value(argv[2], argv[3]);
    if (what == "delete" && argc >= 4) {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, argv[2], 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS)
            return 1;
        const LONG rc = RegDeleteValueA(handle, argv[3]);
        RegCloseKey(handle);
        return rc == ERROR_SUCCESS ? 0 : 1;
    }
    if (what == "set" && argc >= 5) {
        HKEY handle = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, argv[2], 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &handle, nullptr) != ERROR_SUCCESS)
            return 1;
        const LONG rc =
            RegSetValueExA(handle, argv[3], 0, REG_SZ, reinterpret_cast<const BYTE*>(argv[4]),
                           static_cast<DWORD>(std::strlen(argv[4]) + 1));
        RegCloseKey(handle);
        return rc == ERROR_SUCCESS ? 0 : 1;
    }
    HWND tray = trayWindow();
    if (tray == nullptr) {
        std::printf("FAIL: no tray window\n");
        return 1;
    }
    if (what == "icon") {
        // Modifying nothing succeeds only for an icon the shell holds.
        NOTIFYICONDATAA data = {};
        data.cbSize = sizeof data;
        data.hWnd = tray;
        data.uID = 1;
        data.uFlags = 0;
        const BOOL held = Shell_NotifyIconA(NIM_MODIFY, &data);
        std::printf("%s\n", held ? "present" : "absent");
        return held ? 0 : 1;
    }
    if (what == "menu") return menu(tray);
    if (what == "command" && argc >= 3) {
        PostMessageA(tray, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
        return 0;
    }
    const UINT exitMessage = RegisterWindowMessageA("Tell TunaraTray to exit");
    if (what == "exit") {
        SendMessageA(tray, exitMessage, 0, 0);
        return 0;
    }
    if (what == "exit-thread") {
        const DWORD thread = GetWindowThreadProcessId(tray, nullptr);
        return PostThreadMessageA(thread, exitMessage, 0, 0) ? 0 : 1;
    }
    return 2;
}

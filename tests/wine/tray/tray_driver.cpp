// Drives tnrtray.exe on the Wine machine as the properties program and the user would.
//
//   tray_driver windows            number of top-level windows of class "Tunara Taskbar"
//   tray_driver wait-window        waits up to 20 s for the tray window; exit code 1 if none
//   tray_driver icon               whether the shell holds icon 1 of the tray window
//   tray_driver menu OUTPUT HW MIC SET GREY
//                                  presses the right button on the icon (the icon's callback
//                                  message), waits for the popup menu, checks its items as
//                                  the tray set them and its picture on the screen, prints
//                                  "shown: menu", waits for C:\shot-menu, then closes the
//                                  menu with Escape. The expected state: OUTPUT speakers or
//                                  headphones; HW and MIC on or off; SET the sample set
//                                  checked (none, 2, 4, or "-" for no item checked); GREY the
//                                  greyed sets ("-", 2, 4 or 2,4)
//   tray_driver restart-prompt     chooses hardware acceleration (2613) and checks the
//                                  restart prompt it ends with; answers No
//   tray_driver watch SECONDS PROGRAM [ARGS...]
//                                  runs PROGRAM and reports every window it creates
//                                  ("created: ...") and shows ("shown: ...", message boxes
//                                  with their caption, text and buttons; each box is then
//                                  answered with its first button), then "ran: N ms" (from
//                                  its start to its end) and "exit: CODE". After
//                                  SECONDS (stretched by the time scale) it is ended
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
#include "message_box.h"
#include "tray_checks.h"
#include "tray_menu_check.h"
#include "window_watch.h"

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

int recordAsUpdater() {
    FILE* out = std::fopen("C:\\axdist.txt", "w");
    if (out == nullptr) return 1;
    std::fprintf(out, "%s\n", GetCommandLineA());
    std::fclose(out);
    return 0;
}

// Chooses hardware acceleration, which always ends with the restart prompt: string 3 of the
// language module under its product title (string 6), Yes and No, the warning icon. No
// leaves Windows running.
int restartPrompt(HWND tray) {
    HMODULE module = LoadLibraryA("cnctlen_.dll");
    char question[512] = {}, title[260] = {};
    if (module != nullptr) {
        LoadStringA(module, 3, question, sizeof question);
        LoadStringA(module, 6, title, sizeof title);
    }
    if (!traycheck::check(question[0] != '\0' && title[0] != '\0',
                          "strings 3 and 6 of cnctlen_.dll load"))
        return 1;
    DWORD process = 0;
    GetWindowThreadProcessId(tray, &process);
    PostMessageA(tray, WM_COMMAND, 2613, 0);
    HWND box = nullptr;
    for (DWORD i = 0; i < scaledWait(200) && box == nullptr; ++i) {
        Sleep(100);
        box = traycheck::findBox(process);
    }
    if (!traycheck::check(box != nullptr, "the restart prompt appears")) return 1;
    Sleep(300);  // let it finish drawing
    const traycheck::BoxView view = traycheck::viewBox(box);
    using traycheck::quoted;
    traycheck::check(view.caption == title,
                     "its caption is the product title: " + quoted(view.caption) + ", expected " +
                         quoted(title));
    traycheck::check(view.text == question,
                     "its text is the restart question: " + quoted(view.text) + ", expected " +
                         quoted(question));
    traycheck::check(traycheck::buttonList(view.buttons) == "6,7",
                     "its buttons are Yes and No (" + traycheck::buttonList(view.buttons) + ")");
    traycheck::check(view.icon, "it shows an icon");
    traycheck::check(view.look.shown(), "it is on the screen: " + view.look.describe());
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    bool closed = false;
    for (DWORD i = 0; i < scaledWait(100) && !closed; ++i) {
        Sleep(100);
        closed = !IsWindow(box) || !IsWindowVisible(box);
    }
    traycheck::check(closed, "No closes the prompt");
    return traycheck::failures == 0 ? 0 : 1;
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
    if (what == "watch" && argc >= 4)
        return traycheck::watchProgram(std::atoi(argv[2]), argc - 3, argv + 3);
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
    if (what == "menu" && argc >= 7) {
        traycheck::MenuExpectation expected;
        if (!traycheck::parseMenuExpectation(argv + 2, expected)) return 2;
        return traycheck::checkTrayMenu(tray, expected);
    }
    if (what == "restart-prompt") return restartPrompt(tray);
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

#include "window_watch.h"

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "../drivers/time_scale.h"
#include "../drivers/whole_file.h"
#include "message_box.h"
#include "tray_checks.h"

namespace traycheck {

namespace {

const char kSpyLibrary[] = "C:\\windows\\tray_spy.dll";
const char kWindowLog[] = "C:\\tray-windows.log";

struct Shown {
    DWORD process;
    std::set<HWND>* seen;
};

// Reports a window of the program the first time it is seen visible; answers a message box
// with its first button so that the program can go on to its end.
BOOL CALLBACK visitWindow(HWND window, LPARAM parameter) {
    Shown& shown = *reinterpret_cast<Shown*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != shown.process || !IsWindowVisible(window)) return TRUE;
    if (!shown.seen->insert(window).second) return TRUE;
    const std::string kind = screen::classOf(window);
    std::printf("shown: %s %s\n", kind.c_str(), quoted(screen::textOf(window)).c_str());
    if (kind == "#32770") {
        // A box just shown may not be painted yet: it is looked at again for a while.
        BoxView box = viewBox(window);
        for (const DWORD start = GetTickCount();
             !box.look.shown() && GetTickCount() - start < scaledWait(3000);) {
            Sleep(100);
            box = viewBox(window);
        }
        std::printf("box-caption: %s\n", box.caption.c_str());
        std::printf("box-text: %s\n", quoted(box.text).c_str());
        std::printf("box-buttons: %s\n", buttonList(box.buttons).c_str());
        std::printf("box-icon: %s\n", box.icon ? "yes" : "no");
        std::printf("box-look: %s %s\n", box.look.shown() ? "ok" : "FAIL",
                    box.look.describe().c_str());
        if (!box.buttons.empty())
            PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(box.buttons.front()), 0);
    }
    std::fflush(stdout);
    return TRUE;
}

}  // namespace

int watchProgram(int seconds, int argc, char** argv) {
    std::string commandLine;
    for (int i = 0; i < argc; ++i) {
        if (i != 0) commandLine += ' ';
        commandLine += argv[i];
    }
    // The hook library goes into the program and writes down every window its thread
    // creates, even one that lives for a moment only.
    HMODULE spy = LoadLibraryA(kSpyLibrary);
    typedef HHOOK(__cdecl * WatchFunction)(DWORD);
    WatchFunction watch =
        spy != nullptr ? reinterpret_cast<WatchFunction>(
                             reinterpret_cast<void (*)()>(GetProcAddress(spy, "watchWindows")))
                       : nullptr;
    if (watch == nullptr) {
        std::printf("FAIL: %s cannot be loaded\n", kSpyLibrary);
        return 3;
    }
    DeleteFileA(kWindowLog);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &child)) {
        std::printf("FAIL: %s cannot be started (%lu)\n", commandLine.c_str(), GetLastError());
        return 3;
    }
    HHOOK hook = watch(child.dwThreadId);
    if (hook == nullptr) {
        std::printf("FAIL: the program's thread cannot be watched (%lu)\n", GetLastError());
        TerminateProcess(child.hProcess, 1);
        return 3;
    }
    ResumeThread(child.hThread);

    std::set<HWND> seen;
    Shown shown = {child.dwProcessId, &seen};
    const DWORD start = GetTickCount();
    DWORD ran = 0;
    bool ended = false;
    while (!ended) {
        EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&shown));
        ended = WaitForSingleObject(child.hProcess, 20) == WAIT_OBJECT_0;
        ran = GetTickCount() - start;
        if (!ended && GetTickCount() - start > scaledWait(static_cast<DWORD>(seconds) * 1000)) {
            std::printf("FAIL: still running after %d s; ended\n", seconds);
            TerminateProcess(child.hProcess, 1);
            WaitForSingleObject(child.hProcess, scaledWait(5000));
            break;
        }
    }
    UnhookWindowsHookEx(hook);

    // The hook's record: one line per window created.
    std::string text;
    if (files::readWhole(kWindowLog, text)) {
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t end = text.find("\r\n", at);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(at, end - at);
            at = end + 2;
            if (line.compare(0, 8, "created\t") != 0) continue;
            line = line.substr(8);
            for (char& c : line)
                if (c == '\t') c = ' ';
            std::printf("created: %s\n", line.c_str());
        }
    }
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    std::printf("ran: %lu ms\nexit: %lu\n", ran, code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return 0;
}

}  // namespace traycheck

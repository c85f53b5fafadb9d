// Drives hvinutil.exe on the Wine machine and checks what a user and Windows see of it.
//
//   hvinutil_driver quiet    <hvinutil.exe> [arguments...]  no "-shutdown": ends at once
//   hvinutil_driver notice   <hvinutil.exe> <notice...>     "-shutdown <notice>": box, then
//   shutdown hvinutil_driver shutdown <hvinutil.exe>                  "-shutdown" alone: no box,
//   shutdown
//
// The arguments after the program are handed on exactly as they stand on this command line.
// Prints one line per check ("ok: ..." or "FAIL: ..."), and "box-shown" as soon as the notice
// box is on the screen (the test takes its screenshot then). Exit code 0 when all passed.
//
// How the shutdown request is observed. Under Wine, ExitWindowsEx(EWX_SHUTDOWN, 0) starts
// "wineboot --end-session --shutdown" (without waiting for it); wineboot sends
// WM_QUERYENDSESSION (lParam 0: a shutdown, not a log-off) to the top-level windows of every
// process, one process after the other in process-id order. A forced request (EWX_FORCE)
// would kill processes without asking. So a hidden window of this driver that receives
// WM_QUERYENDSESSION about five seconds after hvinutil started proves that hvinutil made the
// plain shutdown request at that time. The driver refuses the query: wineboot then stops
// asking, and nothing else on the machine is ended. Since the driver starts hvinutil, its
// process id is the lower one (Wine hands out ids in increasing order on a fresh server), so
// the driver is asked first and hvinutil is never asked or ended by wineboot: when hvinutil's
// process ends with exit code 0 shortly after the request, it closed itself.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "screen_pixels.h"
#include "time_scale.h"

namespace {

const char kNoticeClass[] = "hvinutil_dlg";
const char kMainClass[] = "hvinutil";
const COLORREF kTextColour = RGB(0x12, 0, 0);

// Windows of the shutdown and how long the program may take for each step, in milliseconds
// after it was started. The timer is 5000 ms; starting a process under Wine costs up to a few
// hundred more. On a slow machine the upper limits stretch (starting takes longer there), the
// lower ones cannot: the timer itself runs in real time.
const DWORD kQuitAtOnceMs = 3000;
const DWORD kRequestEarliestMs = 4500;
const DWORD kRequestLatestMs = 7000;
const DWORD kBoxAppearsWithinMs = 4000;
const DWORD kBoxStillShownAtMs = 4000;
const DWORD kGiveUpMs = 15000;
// ExitWindowsEx returns before wineboot has asked anyone: keep listening this long after
// hvinutil ended.
const DWORD kListenAfterEndMs = 2500;

int g_failures = 0;

void check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed) ++g_failures;
}

std::string number(long value) {
    return std::to_string(value);
}

// ---------------------------------------------------------------------------------------
// The listening window

struct EndSessionLog {
    int queries = 0;
    DWORD firstQueryMs = 0;
    LPARAM firstQueryFlags = 0;
    int endSessions = 0;
    WPARAM lastEndSessionWParam = 0;
};

EndSessionLog g_endSession;
DWORD g_startTick = 0;

DWORD elapsedMs() {
    return GetTickCount() - g_startTick;
}

LRESULT CALLBACK listenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_QUERYENDSESSION:
            if (g_endSession.queries++ == 0) {
                g_endSession.firstQueryMs = elapsedMs();
                g_endSession.firstQueryFlags = lParam;
            }
            return FALSE;  // refuse: nothing on the test machine is to be ended
        case WM_ENDSESSION:
            ++g_endSession.endSessions;
            g_endSession.lastEndSessionWParam = wParam;
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND createListener() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = listenerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "tunara_test_listener";
    if (!RegisterClassA(&windowClass)) return nullptr;
    // Top-level and hidden: wineboot asks hidden windows too. The first window of a fresh
    // Wine session starts the desktop process and waits only ten seconds for it; on a slow
    // machine that wait can run out while the desktop is still coming up, so try again a
    // little later.
    const auto create = [&] {
        return CreateWindowExA(0, windowClass.lpszClassName, "listener", WS_OVERLAPPED, 0, 0, 10,
                               10, nullptr, nullptr, windowClass.hInstance, nullptr);
    };
    HWND window = create();
    for (DWORD retries = scaledWait(1); window == nullptr && retries > 0; --retries) {
        Sleep(5000);
        window = create();
    }
    return window;
}

// ---------------------------------------------------------------------------------------
// The program under test

struct Child {
    PROCESS_INFORMATION info = {};
    bool ended = false;
    DWORD endedMs = 0;
    DWORD exitCode = STILL_ACTIVE;
};

bool startChild(const std::string& program, const std::string& arguments, Child& child) {
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    std::printf("starting: %s\n", commandLine.c_str());
    std::fflush(stdout);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    g_startTick = GetTickCount();
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &child.info)) {
        std::printf("FAIL: cannot start %s (error %lu)\n", program.c_str(), GetLastError());
        return false;
    }
    return true;
}

// Runs this thread's messages for up to `ms`, noting when the child ends. Returns early once
// the child has ended when `untilEnd` is set.
void pump(Child& child, DWORD ms, bool untilEnd) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms) return;
        DWORD wait = ms - spent;
        if (wait > 20) wait = 20;
        const DWORD handles = child.ended ? 0 : 1;
        const DWORD result =
            MsgWaitForMultipleObjects(handles, &child.info.hProcess, FALSE, wait, QS_ALLINPUT);
        if (handles == 1 && result == WAIT_OBJECT_0) {
            child.ended = true;
            child.endedMs = elapsedMs();
            GetExitCodeProcess(child.info.hProcess, &child.exitCode);
            if (untilEnd) return;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
}

void closeChild(Child& child) {
    if (!child.ended) TerminateProcess(child.info.hProcess, 99);
    CloseHandle(child.info.hThread);
    CloseHandle(child.info.hProcess);
}

DWORD windowProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

// A visible window of the class that belongs to the child, or null.
HWND childWindow(const Child& child, const char* className) {
    HWND window = FindWindowA(className, nullptr);
    if (window != nullptr && windowProcess(window) == child.info.dwProcessId &&
        IsWindowVisible(window)) {
        return window;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// The notice box as it stands on the screen

// The text's extent as hvinutil measures it: in a device context of the box, whose font is
// the default one.
SIZE textExtent(HWND box, const std::string& text) {
    SIZE extent = {0, 0};
    HDC dc = GetDC(box);
    if (dc != nullptr) {
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        ReleaseDC(box, dc);
    }
    return extent;
}

struct PixelCount {
    long textColour = 0;         // pixels of the text colour inside the text's rectangle
    long textColourOutside = 0;  // ... and elsewhere in the client area
    long background = 0;         // pixels of the button-face colour
    long total = 0;
};

// Reads the box's client area back from the screen and counts colours.
bool countPixels(HWND box, const SIZE& extent, PixelCount& count) {
    RECT client;
    if (!GetClientRect(box, &client)) return false;
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&client), 2);
    screen::Pixels pixels;
    if (!screen::read(client, pixels)) return false;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            const COLORREF colour = screen::asColorref(pixels.at(client.left + x, client.top + y));
            const bool inText = x >= 21 && x < 21 + extent.cx && y >= 11 && y < 11 + extent.cy;
            if (colour == kTextColour) {
                (inText ? count.textColour : count.textColourOutside)++;
            } else if (colour == face) {
                count.background++;
            }
            count.total++;
        }
    }
    return true;
}

void checkNoticeBox(HWND box, const Child& child, const std::string& notice) {
    const LONG exStyle = GetWindowLongA(box, GWL_EXSTYLE);
    const LONG style = GetWindowLongA(box, GWL_STYLE);
    check((exStyle & WS_EX_TOPMOST) != 0, "the box is always on top (WS_EX_TOPMOST)");
    check((exStyle & WS_EX_DLGMODALFRAME) != 0, "the box has a dialog frame");
    check((style & WS_POPUP) != 0 && (style & WS_CAPTION) != WS_CAPTION,
          "the box is a pop-up without a title bar");

    char title[64] = "(unchanged)";
    GetWindowTextA(box, title, sizeof title);
    check(title[0] == '\0', std::string("the box has no title (got \"") + title + "\")");

    HWND owner = GetWindow(box, GW_OWNER);
    char ownerClass[64] = "";
    if (owner != nullptr) GetClassNameA(owner, ownerClass, sizeof ownerClass);
    check(owner != nullptr && std::strcmp(ownerClass, kMainClass) == 0 && !IsWindowVisible(owner),
          "the box is owned by the hidden main window of class \"hvinutil\"");
    check(windowProcess(box) == child.info.dwProcessId, "the box belongs to hvinutil's process");

    const SIZE extent = textExtent(box, notice);
    RECT rect;
    GetWindowRect(box, &rect);
    const long width = rect.right - rect.left;
    const long height = rect.bottom - rect.top;
    check(extent.cx > 0 && extent.cy > 0,
          "the notice has an extent: " + number(extent.cx) + " x " + number(extent.cy));
    check(width == extent.cx + 50 && height == extent.cy + 30,
          "the box is the text extent plus 50 x 30: " + number(width) + " x " + number(height));

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const long left = screenWidth / 2 - width / 2;
    const long top = screenHeight / 2 - height / 2;
    check(rect.left == left && rect.top == top,
          "the box is centred on the " + number(screenWidth) + " x " + number(screenHeight) +
              " screen: at " + number(rect.left) + "," + number(rect.top) + ", expected " +
              number(left) + "," + number(top));

    // The box is found as soon as it exists; hvinutil may not have painted it yet, so its
    // place is read again for a while until the notice's colour shows.
    PixelCount pixels;
    bool read = false;
    const DWORD start = GetTickCount();
    do {
        pixels = PixelCount();
        read = countPixels(box, extent, pixels);
        if (read && pixels.textColour > 0) break;
        Sleep(100);
    } while (GetTickCount() - start < scaledWait(3000));
    check(read, "the box's pixels can be read from the screen");
    if (read) {
        check(pixels.textColour > 0,
              "the notice is drawn in dark red at 21,11: " + number(pixels.textColour) +
                  " pixels of RGB(0x12,0,0) in the text's rectangle");
        check(pixels.textColourOutside == 0,
              "nothing of the text colour outside the text's rectangle (" +
                  number(pixels.textColourOutside) + " pixels)");
        check(pixels.background * 2 > pixels.total,
              "the box is filled with the button-face colour (" + number(pixels.background) +
                  " of " + number(pixels.total) + " pixels)");
    }
}

// ---------------------------------------------------------------------------------------
// Checks shared by the modes

void checkShutdownRequest(const Child& child) {
    check(child.ended, "hvinutil ended by itself within " + number(kGiveUpMs) + " ms");
    if (child.ended) {
        check(child.endedMs >= kRequestEarliestMs && child.endedMs <= scaledWait(kRequestLatestMs),
              "hvinutil ended " + number(child.endedMs) + " ms after its start (expected " +
                  number(kRequestEarliestMs) + ".." + number(scaledWait(kRequestLatestMs)) + ")");
        check(child.exitCode == 0,
              "hvinutil's exit code is 0 (got " + number(child.exitCode) + ")");
    }
    check(g_endSession.queries > 0, "Windows asked this driver to end the session");
    if (g_endSession.queries > 0) {
        check(g_endSession.firstQueryMs >= kRequestEarliestMs &&
                  g_endSession.firstQueryMs <= scaledWait(kRequestLatestMs),
              "the shutdown request came " + number(g_endSession.firstQueryMs) +
                  " ms after hvinutil started (expected " + number(kRequestEarliestMs) + ".." +
                  number(scaledWait(kRequestLatestMs)) + ")");
        check(g_endSession.firstQueryFlags == 0, "it is a shutdown, not a log-off (lParam " +
                                                     number(g_endSession.firstQueryFlags) + ")");
        check(g_endSession.queries == 1,
              "the request was made once (" + number(g_endSession.queries) + " queries)");
        check(g_endSession.endSessions == 1 && g_endSession.lastEndSessionWParam == FALSE,
              "after the refusal Windows reported the session as going on");
    }
}

void checkProcessOrder(const Child& child) {
    // See the top of this file: the driver must be asked before hvinutil.
    check(GetCurrentProcessId() < child.info.dwProcessId,
          "the driver's process id " + number(GetCurrentProcessId()) + " is below hvinutil's " +
              number(child.info.dwProcessId));
}

// ---------------------------------------------------------------------------------------
// Modes

int runQuiet(const std::string& program, const std::string& arguments) {
    Child child;
    if (!startChild(program, arguments, child)) return 1;
    bool windowSeen = false;
    while (!child.ended && elapsedMs() < scaledWait(kGiveUpMs)) {
        pump(child, 10, true);
        if (childWindow(child, kNoticeClass) || childWindow(child, kMainClass)) windowSeen = true;
    }
    if (child.ended) pump(child, scaledWait(kListenAfterEndMs), false);

    check(child.ended && child.endedMs <= scaledWait(kQuitAtOnceMs),
          "hvinutil ended at once: " +
              (child.ended ? number(child.endedMs) + " ms" : "still running"));
    check(child.exitCode == 0, "hvinutil's exit code is 0 (got " + number(child.exitCode) + ")");
    check(!windowSeen, "no window of hvinutil was shown");
    check(g_endSession.queries == 0, "no shutdown was requested");
    closeChild(child);
    return g_failures == 0 ? 0 : 1;
}

int runNotice(const std::string& program, const std::string& notice) {
    Child child;
    if (!startChild(program, "-shutdown " + notice, child)) return 1;
    checkProcessOrder(child);

    HWND box = nullptr;
    while (!child.ended && elapsedMs() < scaledWait(kBoxAppearsWithinMs) && box == nullptr) {
        pump(child, 10, true);
        box = childWindow(child, kNoticeClass);
    }
    check(box != nullptr, "the notice box appeared within " + number(kBoxAppearsWithinMs) +
                              " ms (after " + number(elapsedMs()) + " ms)");
    if (box != nullptr) {
        pump(child, 300, true);  // let it paint
        checkNoticeBox(box, child, notice);
        std::printf("box-shown\n");
        std::fflush(stdout);
        if (elapsedMs() < kBoxStillShownAtMs) pump(child, kBoxStillShownAtMs - elapsedMs(), true);
        check(!child.ended && childWindow(child, kNoticeClass) == box,
              "the box is still shown " + number(elapsedMs()) + " ms after the start");
    }

    while (!child.ended && elapsedMs() < scaledWait(kGiveUpMs)) pump(child, 50, true);
    if (child.ended) pump(child, scaledWait(kListenAfterEndMs), false);
    checkShutdownRequest(child);
    check(FindWindowA(kNoticeClass, nullptr) == nullptr, "the box is gone at the end");
    closeChild(child);
    return g_failures == 0 ? 0 : 1;
}

int runShutdown(const std::string& program) {
    Child child;
    if (!startChild(program, "-shutdown", child)) return 1;
    checkProcessOrder(child);
    bool boxSeen = false;
    while (!child.ended && elapsedMs() < scaledWait(kGiveUpMs)) {
        pump(child, 10, true);
        if (childWindow(child, kNoticeClass) || childWindow(child, kMainClass)) boxSeen = true;
    }
    if (child.ended) pump(child, scaledWait(kListenAfterEndMs), false);
    check(!boxSeen, "no window was shown while waiting");
    checkShutdownRequest(child);
    closeChild(child);
    return g_failures == 0 ? 0 : 1;
}

// ---------------------------------------------------------------------------------------
// This driver's own command line: mode, program, then the rest as it stands.

const char* skipBlanks(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// One word, quotes removed; returns the position after it.
const char* nextWord(const char* p, std::string& word) {
    word.clear();
    p = skipBlanks(p);
    bool quoted = false;
    for (; *p != '\0'; ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (!quoted && (*p == ' ' || *p == '\t')) {
            break;
        } else {
            word += *p;
        }
    }
    return p;
}

int usage() {
    std::printf("usage: hvinutil_driver quiet|notice|shutdown <hvinutil.exe> [arguments...]\n");
    return 2;
}

}  // namespace

int main() {
    std::string self, mode, program;
    const char* rest = nextWord(GetCommandLineA(), self);
    rest = nextWord(rest, mode);
    rest = nextWord(rest, program);
    rest = skipBlanks(rest);
    if (program.empty()) return usage();

    if (createListener() == nullptr) {
        std::printf("FAIL: cannot create the listening window (error %lu)\n", GetLastError());
        return 1;
    }
    if (mode == "quiet") return runQuiet(program, rest);
    if (mode == "notice") return *rest != '\0' ? runNotice(program, rest) : usage();
    if (mode == "shutdown") return runShutdown(program);
    return usage();
}

// hvinutil.exe: shows the setup's notice in a small always-on-top box, waits five seconds
// and asks Windows to shut down. Started without "-shutdown" it ends at once.
//
// The window code here only gathers input and calls Windows; reading the command line and
// placing the box are plain functions (command_line.h, notice_box.h).
#include <windows.h>

#include "instutil/command_line.h"
#include "instutil/notice_box.h"

namespace {

const char kMainClass[] = "hvinutil";
const char kNoticeClass[] = "hvinutil_dlg";

// Process-wide state: one thread, one hidden main window and at most one notice box.
struct Program {
    instutil::Arguments arguments;
    HINSTANCE instance = nullptr;
    HWND noticeBox = nullptr;
    UINT_PTR timer = 0;
    bool shutdownRequested = false;
};

Program g_program;

// The plain request, without forcing applications to close: what Windows does when one
// refuses is its own business, and a refusal is not reported. Made once at most.
void requestShutdown() {
    if (g_program.shutdownRequested) return;
    g_program.shutdownRequested = true;
    ExitWindowsEx(EWX_SHUTDOWN, 0);
}

// The notice box is sized from the text as the box's own device context measures it. If
// the box cannot be made the wait and the shutdown go on without it.
void showNoticeBox(HWND owner) {
    HWND box =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, kNoticeClass, nullptr, WS_POPUPWINDOW,
                        0, 0, 0, 0, owner, nullptr, g_program.instance, nullptr);
    if (box == nullptr) return;
    g_program.noticeBox = box;

    const char* notice = g_program.arguments.notice;
    SIZE extent = {0, 0};
    if (HDC dc = GetDC(box)) {
        GetTextExtentPoint32A(dc, notice, lstrlenA(notice), &extent);
        ReleaseDC(box, dc);
    }
    const instutil::BoxPlacement place = instutil::placeNoticeBox(
        extent.cx, extent.cy, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    MoveWindow(box, place.left, place.top, place.width, place.height, FALSE);
    ShowWindow(box, SW_SHOWNORMAL);
}

void onMainCreate(HWND window) {
    if (!g_program.arguments.shutdown) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
    g_program.timer =
        SetTimer(window, instutil::kShutdownTimerId, instutil::kShutdownDelayMs, nullptr);
    if (g_program.timer == 0) {
        // No way to wait: shut down at once rather than not at all.
        DestroyWindow(window);
        requestShutdown();
        return;
    }
    if (g_program.arguments.notice[0] != '\0') showNoticeBox(window);
}

void onMainTimer(HWND window, WPARAM id) {
    if (id != instutil::kShutdownTimerId) return;
    KillTimer(window, instutil::kShutdownTimerId);
    g_program.timer = 0;
    requestShutdown();
    PostMessageA(window, WM_CLOSE, 0, 0);
}

void onMainClose(HWND window) {
    if (g_program.noticeBox != nullptr) PostMessageA(g_program.noticeBox, WM_CLOSE, 0, 0);
    DestroyWindow(window);
}

void onMainDestroy(HWND window) {
    if (g_program.timer != 0) {
        KillTimer(window, instutil::kShutdownTimerId);
        g_program.timer = 0;
    }
    PostQuitMessage(0);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onMainCreate(window);
            return 0;
        case WM_TIMER:
            onMainTimer(window, wParam);
            return 0;
        case WM_CLOSE:
            onMainClose(window);
            return 0;
        case WM_DESTROY:
            onMainDestroy(window);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void paintNotice(HWND box) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    if (dc == nullptr) return;
    const char* notice = g_program.arguments.notice;
    SetTextColor(dc, static_cast<COLORREF>(instutil::kTextColour));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    TextOutA(dc, instutil::kTextLeft, instutil::kTextTop, notice, lstrlenA(notice));
    EndPaint(box, &paint);
}

LRESULT CALLBACK noticeBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return 0;
        case WM_PAINT:
            paintNotice(box);
            return 0;
        case WM_CLOSE:
            DestroyWindow(box);
            return 0;
        case WM_DESTROY:
            // The owner's WM_CLOSE must not post to a handle that may since name another window.
            g_program.noticeBox = nullptr;
            return 0;
        default:
            return DefWindowProcA(box, message, wParam, lParam);
    }
}

bool registerClass(const char* name, WNDPROC procedure, int backgroundColour) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = g_program.instance;
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColour + 1));
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    g_program.instance = instance;
    const char* commandLine = GetCommandLineA();
    g_program.arguments = instutil::readArguments(
        instutil::skipProgramName(commandLine != nullptr ? commandLine : ""));

    if (!registerClass(kNoticeClass, noticeBoxProc, COLOR_BTNFACE) ||
        !registerClass(kMainClass, mainWindowProc, COLOR_WINDOW)) {
        return 1;
    }

    HWND mainWindow = CreateWindowExA(0, kMainClass, "hvinutil", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                      instance, nullptr);
    if (mainWindow != nullptr) {
        ShowWindow(mainWindow, SW_HIDE);
    } else if (!g_program.shutdownRequested) {
        return 1;
    }
    // A main window that destroyed itself while being created (no timer to be had) has
    // already asked for the shutdown and posted its quit message: the loop below ends with 0.

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

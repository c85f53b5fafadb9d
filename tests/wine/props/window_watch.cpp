#include "window_watch.h"

#include "../drivers/message_pump.h"

namespace {

// SetWinEventHook is in Windows 98's user32 but not in the Windows 95 headers this build
// uses: declared here and found at run time.
constexpr DWORD kEventObjectShow = 0x8002;
constexpr DWORD kOutOfContext = 0x0000;
constexpr LONG kObjectWindow = 0;
typedef void(CALLBACK* WinEventProc)(HANDLE, DWORD, HWND, LONG, LONG, DWORD, DWORD);
typedef HANDLE(WINAPI* SetWinEventHookFn)(DWORD, DWORD, HMODULE, WinEventProc, DWORD, DWORD, DWORD);
typedef BOOL(WINAPI* UnhookWinEventFn)(HANDLE);

WindowWatch* g_watch = nullptr;

void CALLBACK onShow(HANDLE, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (g_watch != nullptr && event == kEventObjectShow && object == kObjectWindow)
        g_watch->note(window, true);
}

struct Listing {
    WindowWatch* watch;
    DWORD process;
};

BOOL CALLBACK listWindow(HWND window, LPARAM param) {
    auto* listing = reinterpret_cast<Listing*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == listing->process) listing->watch->note(window, false);
    return TRUE;
}

HWND topLevel(HWND window) {
    while (window != nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
        HWND parent = GetParent(window);
        if (parent == nullptr) break;
        window = parent;
    }
    return window;
}

}  // namespace

WindowWatch::~WindowWatch() {
    if (hook_ != nullptr) {
        auto unhook = reinterpret_cast<UnhookWinEventFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "UnhookWinEvent")));
        if (unhook != nullptr) unhook(hook_);
    }
    if (g_watch == this) g_watch = nullptr;
    if (process_.hProcess != nullptr) {
        if (!ended_) TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

bool WindowWatch::start(const std::string& program) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &process_))
        return false;
    g_watch = this;
    auto setHook = reinterpret_cast<SetWinEventHookFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetWinEventHook")));
    if (setHook != nullptr)
        hook_ = setHook(kEventObjectShow, kEventObjectShow, nullptr, onShow, process_.dwProcessId,
                        0, kOutOfContext);
    startTick_ = GetTickCount();
    ResumeThread(process_.hThread);
    return true;
}

void WindowWatch::note(HWND window, bool fromEvent) {
    HWND top = IsWindow(window) ? topLevel(window) : window;
    const bool visible = IsWindow(top) && IsWindowVisible(top);
    Seen* entry = nullptr;
    for (Seen& s : seen_)
        if (s.window == top) entry = &s;
    if (entry == nullptr) {
        seen_.push_back(Seen{});
        entry = &seen_.back();
        entry->window = top;
        entry->firstMs = elapsedMs();
    }
    // An event for a window that is already gone still says that it was shown.
    if (!entry->visible && (visible || (fromEvent && !IsWindow(top)))) {
        entry->visible = true;
        entry->gone = !IsWindow(top);
        char text[261] = {};
        if (GetClassNameA(top, text, sizeof text) > 0) entry->className = text;
        text[0] = '\0';
        GetWindowTextA(top, text, sizeof text);
        entry->title = text;
    }
}

void WindowWatch::poll() {
    if (!ended_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_.hProcess, &exitCode_);
        ended_ = true;
    }
    messages::dispatchWaiting();
    Listing listing{this, process_.dwProcessId};
    EnumWindows(listWindow, reinterpret_cast<LPARAM>(&listing));
}

void WindowWatch::pumpUntilEnd(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        poll();
        if (ended_) return;
        MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

std::vector<std::string> WindowWatch::shownOtherThan(HWND except, bool countGone) const {
    std::vector<std::string> lines;
    for (const Seen& s : seen_)
        if (s.visible && s.window != except && (countGone || !s.gone))
            lines.push_back((s.gone ? std::string("a window already gone")
                                    : s.className + " \"" + s.title + "\"") +
                            " at " + std::to_string(s.firstMs) + " ms");
    return lines;
}

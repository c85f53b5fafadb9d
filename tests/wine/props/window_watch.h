// tunaractl.exe started by the driver itself, with every top-level window of its process
// noted from its first instruction to its end.
//
// Looking for windows after the program has ended sees nothing, whatever it showed. So the
// program starts suspended; a window-event hook for its process (EVENT_OBJECT_SHOW, out of
// context) is set before it runs, and every poll also lists its top-level windows. A window
// counts as shown when either saw it visible.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class WindowWatch {
  public:
    struct Seen {
        HWND window = nullptr;
        std::string className;  // as first seen visible ("" when it was gone before it could
        std::string title;      // be asked)
        bool visible = false;
        bool gone = false;  // shown by the event alone, destroyed before it could be asked
        DWORD firstMs = 0;  // after the start
    };

    ~WindowWatch();

    // Starts the program (full path); false when it cannot be started.
    bool start(const std::string& program);
    // Notes the program's windows now, and its end. Runs this thread's messages (the hook's
    // events arrive as messages).
    void poll();
    // Polls for `ms` or until the program ended.
    void pumpUntilEnd(DWORD ms);

    bool ended() const { return ended_; }
    DWORD exitCode() const { return exitCode_; }
    DWORD elapsedMs() const { return GetTickCount() - startTick_; }
    DWORD processId() const { return process_.dwProcessId; }
    bool hooked() const { return hook_ != nullptr; }
    const std::vector<Seen>& seen() const { return seen_; }
    // The windows seen visible so far, other than `except`, as "class \"title\"" lines;
    // with `countGone`, also those known only from an event after they were destroyed.
    std::vector<std::string> shownOtherThan(HWND except, bool countGone) const;

    void note(HWND window, bool fromEvent);  // used by the hook's callback

  private:
    PROCESS_INFORMATION process_ = {};
    bool ended_ = false;
    DWORD exitCode_ = STILL_ACTIVE;
    DWORD startTick_ = 0;
    HANDLE hook_ = nullptr;
    std::vector<Seen> seen_;
};

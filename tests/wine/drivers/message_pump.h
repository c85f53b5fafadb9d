// Keeping a test driver's own windows alive while it waits for the program under test.
#pragma once

#include <windows.h>

#include "time_scale.h"

namespace messages {

// Hands every message waiting for this thread to its window.
inline void dispatchWaiting() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Dispatches messages for `milliseconds` (at least one round); `eachRound`, when given, runs
// first in every round, so a driver can note the program's windows as they come and go.
inline void run(DWORD milliseconds, void (*eachRound)() = nullptr) {
    const DWORD start = GetTickCount();
    do {
        if (eachRound != nullptr) eachRound();
        dispatchWaiting();
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

// Waits until `condition()` holds, dispatching messages in steps of `stepMs`; false when the
// limit (stretched for a slow machine) passes first.
template <typename Condition>
bool waitFor(Condition condition, DWORD limitMs, DWORD stepMs, void (*eachRound)() = nullptr) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > scaledWait(limitMs)) return false;
        run(stepMs, eachRound);
    }
    return true;
}

}  // namespace messages

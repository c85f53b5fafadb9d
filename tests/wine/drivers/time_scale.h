// How long a test driver may wait for something, on this machine.
//
// The limits in the drivers are set for a real PC. On a slow one (the emulated PC of
// tools/wine-vm.sh) the environment's TUNARA_WINE_TIME_SCALE, a whole number, stretches
// every give-up limit by that factor. Wine hands the Unix environment to the programs.
#pragma once

#include <windows.h>

inline DWORD waitScale() {
    static DWORD scale = 0;
    if (scale == 0) {
        char text[16] = {};
        const DWORD length = GetEnvironmentVariableA("TUNARA_WINE_TIME_SCALE", text, sizeof text);
        DWORD parsed = 0;
        for (DWORD i = 0; length > 0 && length < sizeof text && i < length; ++i) {
            if (text[i] < '0' || text[i] > '9' || parsed > 1000) {
                parsed = 0;
                break;
            }
            parsed = parsed * 10 + static_cast<DWORD>(text[i] - '0');
        }
        scale = parsed == 0 ? 1 : parsed;
    }
    return scale;
}

// A give-up limit (milliseconds or a count of polls) for this machine.
inline DWORD scaledWait(DWORD limit) { return limit * waitScale(); }

// How long a test driver may wait for something, on this machine.
//
// The limits in the drivers are set for a real PC. On a slow one (the emulated PC of
// tools/wine-vm.sh) the environment's TUNARA_WINE_TIME_SCALE, a whole number, stretches
// every give-up limit by that factor. Wine hands the Unix environment to the programs.
#pragma once

#include <windows.h>

#include <cstdlib>

inline DWORD waitScale() {
    static DWORD scale = 0;
    if (scale == 0) {
        char text[16] = {};
        const DWORD length = GetEnvironmentVariableA("TUNARA_WINE_TIME_SCALE", text, sizeof text);
        char* end = text;
        const unsigned long parsed =
            length > 0 && length < sizeof text ? std::strtoul(text, &end, 10) : 0;
        scale = parsed == 0 || parsed > 1000 || *end != '\0' ? 1 : static_cast<DWORD>(parsed);
    }
    return scale;
}

// A give-up limit (milliseconds or a count of polls) for this machine.
inline DWORD scaledWait(DWORD limit) { return limit * waitScale(); }

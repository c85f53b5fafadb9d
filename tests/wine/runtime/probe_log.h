// A line log for the runtime probes: appended to a file with the system's own calls only, so
// it works while static destructors run and after the runtime's exit list is gone.
#pragma once

#include <windows.h>

inline char g_probeLog[MAX_PATH];

inline void probeLog(const char* text) {
    if (g_probeLog[0] == '\0') return;
    HANDLE file = CreateFileA(g_probeLog, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
}

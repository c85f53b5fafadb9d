// Reading a whole file from a test driver, through the Win32 calls the program itself uses.
#pragma once

#include <windows.h>

#include <string>

namespace files {

// The file's bytes, or nothing when it cannot be opened. Other programs may still hold it
// open for writing (a hook's log, a dump being made).
inline bool readWhole(const char* path, std::string& text) {
    text.clear();
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buffer[4096];
    DWORD read = 0;
    bool whole = true;
    while ((whole = ReadFile(file, buffer, sizeof buffer, &read, nullptr) != FALSE) && read != 0)
        text.append(buffer, read);
    CloseHandle(file);
    return whole;
}

}  // namespace files

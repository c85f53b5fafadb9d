// Paths in the Windows and system folders, and the Run values that start the tray utility
// with a maintenance option at the next log-on.
//
// Every path the card settings open is built here or checked against kTextBufferSize: a path
// that would not fit the 260-byte buffers of the Win32 calls is refused (empty), never cut.
#pragma once

#include <string>

namespace settings {

// GetWindowsDirectoryA + `tail` ("\\DosStart.bat"); empty when the folder cannot be read or
// the whole path would not fit 260 bytes with its terminating zero.
std::string windowsFolderPath(const char* tail);
// The same in the system folder (GetSystemDirectoryA).
std::string systemFolderPath(const char* tail);

// Whether two paths name the same file as Windows compares names: ASCII letters without
// regard to case, every other byte as it is.
bool samePathName(const std::string& a, const std::string& b);

// Writes (enable) the HKEY_LOCAL_MACHINE Run value `valueName` = system folder +
// "\\tnrtray.exe" + `option` as a string, or deletes it. Nothing happens when the Run key
// cannot be opened with full access, or (writing) when the system folder cannot be read.
// True when the value was written or deleted (or was already absent).
bool setTrayRunCommand(const char* valueName, const char* option, bool enable);

}  // namespace settings

// Files replaced or deleted at the next start of Windows: MoveFileEx where the system has
// it, otherwise a line in the "[Rename]" section of WinInit.ini, which Windows 95/98 carry
// out before the graphical shell starts.
#pragma once

#include <string>

namespace instsupport {

// The WinInit.ini text with `line` (ending in "\r\n") placed directly after the
// "[Rename]" header line (or "[rename]" when there is no "[Rename]"); without either header,
// the header and the line are appended at the end, after a line end when the text does
// not end with one.
std::string insertRenameLine(const std::string& contents, const std::string& line);

// Schedules `existingPath` to be moved to `newPath` at the next start,
// or deleted when `newPath` is null. Non-zero when scheduled.
int scheduleAtRestart(const char* existingPath, const char* newPath);

}  // namespace instsupport

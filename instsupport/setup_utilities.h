// The small helpers the setup script calls one by one: version, hexadecimal and date texts,
// the Windows classification, the program of a document and the Open-file dialog.
#pragma once

#include <cstdint>

namespace instsupport {

// The library's own version text, and its length with the zero (the script's result).
constexpr char kLibraryVersion[] = "1.03.00.0023";

// Copies the version into `text` (260 bytes) and returns 13.
int getVersionString(char* text);

// "0x" and the two lowercase hexadecimal digits of the value's low byte.
void getHexString(std::uint32_t value, char* text);

// The local time as a long date and time ("Tuesday, December 08, 2026 04:05:09") and the
// current time as seconds since 1 January 1970. Returns 1.
int getDateTimeString(char* text, std::uint32_t* timeValue);

// The Windows classification of the setup script: 1000 to 1002 for the 95 family, 2000 to
// 2002 for NT, 0 for anything else.
int getOs();

// The program the shell associates with the document; 1 when there is one, else 0. The
// output holds the shell's answer in both cases.
int getDocApp(const char* documentPath, char* programPath);

// The Open-file dialog with a filter of "description|pattern|..." pairs. 1 when the user
// chose a path that names an existing file; the path is written whenever the user confirmed.
int selectFileDialog(const char* initialFolder, const char* filter, char* selectedPath);

}  // namespace instsupport

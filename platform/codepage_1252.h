// The Windows ANSI code page 1252, as the file functions and version resources need it:
// conversion from UTF-16 (resources), to and from UTF-8 (names on a Linux host), and the
// case folding Windows applies when it compares file names and resource keys.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The 1252 byte for one UTF-16 code unit, '?' when the code page has none (as
// WideCharToMultiByte with the default character).
char ansiFromUtf16(std::uint16_t unit);

// The UTF-16 code unit of one 1252 byte. The five bytes that 1252 leaves undefined map to
// the C1 control of the same number, as Windows does.
std::uint16_t utf16FromAnsi(unsigned char byte);

// UTF-8 -> 1252; a character 1252 cannot show, and a malformed sequence, become '?'.
std::string ansiFromUtf8(const std::string& utf8);

// 1252 -> UTF-8.
std::string utf8FromAnsi(const std::string& ansi);

// Upper case of a 1252 byte: ASCII letters and the accented letters that have an upper-case
// form in the code page (\xE9 -> \xC9, \x9A -> \x8A, \xFF -> \x9F).
unsigned char upperAnsi(unsigned char byte);

// Byte-wise comparison of two 1252 texts after upperAnsi.
bool equalAnsiNoCase(const std::string& a, const std::string& b);

}  // namespace platform

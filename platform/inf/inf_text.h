// Character rules of INF text: blanks, case folding for section and key names, the hash used
// by the indexes, integer fields, and the decoding of the file's bytes into ANSI text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::inf {

// End of the readable text: a Ctrl-Z byte ends an INF file wherever it stands.
constexpr unsigned char kControlZ = 0x1A;

// True for the bytes the parser skips around names and values: tab, line feed, vertical tab,
// form feed, carriage return, space and the no-break space 0xA0.
bool isInfBlank(unsigned char byte);

// The byte that two names agree on when they are equal without regard to case (only ASCII
// letters have a case).
unsigned char foldInfChar(unsigned char byte);

// Equality without regard to case: of `a` (length `aLength`, not terminated) and the zero-
// terminated `b`.
bool equalInfNames(const char* a, std::size_t aLength, const char* b);

// Hash of a name after folding; equal names give equal hashes. `seed` mixes in the owner (a
// section number) so one table can index the keys of every section.
std::uint32_t hashInfName(const char* name, std::size_t length, std::uint32_t seed = 0);

// Reads a field as SetupGetIntField does (the C runtime's strtol with base 0): leading blanks,
// a sign, "0x" for hexadecimal or a leading 0 for octal; values beyond 32 bits are clamped to
// the nearest 32-bit limit. An empty text is 0. False when the text is not a number through to
// its end; *value is then untouched.
bool parseInfInteger(const char* text, std::int32_t* value);

// The file's bytes as ANSI text: a UTF-8 text with its byte-order mark and a UTF-16 (little
// endian) text with its byte-order mark are converted to Windows-1252 into *text ('?' for
// characters the code page lacks) and the result is true; anything else is ANSI already, and
// the result is false with *text untouched.
bool decodeInfBytes(const unsigned char* bytes, std::size_t size, std::string* text);

}  // namespace platform::inf

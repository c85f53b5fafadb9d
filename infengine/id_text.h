// The number formats of device ids and registry key names.
//
//   vendor and device ids   4 upper-case hex digits    "125D"
//   subsystem id            8 upper-case hex digits    "1978125D"
//   revision                2 upper-case hex digits    "10" (the low 8 bits)
//   bus, device, function   lower-case hex, at least 2 digits, inside key names ("0a")
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace infengine {

std::string hex4(std::uint32_t value);  // low 16 bits
std::string hex8(std::uint32_t value);
std::string hex2(std::uint32_t value);  // low 8 bits
std::string lowerHex2(std::uint32_t value);
std::string decimal(std::uint64_t value);

// The value of `digits` hexadecimal digits at `text[offset]` (either case); false when the
// text ends before them or one of them is not a hex digit.
bool readHexDigits(std::string_view text, std::size_t offset, std::size_t digits,
                   std::uint32_t* value);

// ASCII letters folded; other bytes unchanged.
std::string lowerAscii(std::string_view text);
// Windows-1252 upper case (accented letters too), as CharUpper makes it.
std::string upperAnsiText(std::string_view text);

// `text` starts with `prefix`, ASCII letters compared without case.
bool startsWithNoCase(std::string_view text, std::string_view prefix);
// Position of `part` in `text`, ASCII letters compared without case; npos when absent.
std::size_t findNoCase(std::string_view text, std::string_view part);

}  // namespace infengine

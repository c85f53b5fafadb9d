// The data of a registry entry, as the engine hands it to the caller in a 260-byte buffer.
// Which form it takes depends on the entry's INF flags (value 4 of an AddReg line):
//
//   1        binary: byte 0 holds the count n, bytes 1..n the values 5, 6, ... of the line,
//            each a hexadecimal number of one or two digits. The list ends at the first
//            missing value or value that is not such a number, and after 255 bytes (the most
//            the count byte can tell).
//   0x10000  multi-string: from byte 1 on, the values 5, 6, ... each followed by a zero byte,
//            the rest of the buffer zero; byte 0 holds the size to write: the strings with
//            their zeros and the zero that ends the list, and never less than the length of
//            the strings plus three. A string that would take the size past 255 ends the list
//            (whole strings only; none is cut).
//   other    text: value 5 as written (a DWORD is the text of the INF, "1" or "0x10").
#pragma once

#include <cstdint>

#include "platform/inf_reader.h"

namespace infengine {

constexpr std::int32_t kRegistryBinary = 1;
constexpr std::int32_t kRegistryMultiString = 0x10000;

// Index of the first data value of a registry line.
constexpr std::uint32_t kFirstDataValue = 5;

// Fills `data` (a zeroed buffer of kTextSize bytes) from the line's data values.
void encodeRegistryData(const platform::InfContext& line, std::int32_t typeFlags,
                        char* data);

}  // namespace infengine

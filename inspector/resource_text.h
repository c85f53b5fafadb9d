// The display texts of the resources a device holds, as the resource pages show them.
#pragma once

#include <cstdint>
#include <string>

namespace inspector {

// "000D0000-000D0FFF": first and last address, upper-case hexadecimal, 8 digits each.
std::string memoryRangeText(std::uint32_t base, std::uint32_t length);
// "0220-022F": first and last port, upper-case hexadecimal, 4 digits each.
std::string ioRangeText(std::uint16_t base, std::uint16_t length);
// "05", "10": an IRQ or DMA channel in decimal, at least two digits.
std::string channelText(std::uint8_t number);

// The last address of a range: base + length - 1. A range of length 0 is shown as its base
// alone, and one that would run past the top of the address space (`top`) ends at the top,
// so the text always has its fixed width. Neither comes from a sound record.
std::uint32_t rangeEnd(std::uint32_t base, std::uint32_t length, std::uint32_t top);

}  // namespace inspector

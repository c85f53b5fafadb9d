#include "inspector/resource_text.h"

#include <cstdio>

namespace inspector {

std::uint32_t rangeEnd(std::uint32_t base, std::uint32_t length, std::uint32_t top) {
    if (length == 0) return base;
    const std::uint64_t end = std::uint64_t{base} + length - 1;
    return end > top ? top : static_cast<std::uint32_t>(end);
}

std::string memoryRangeText(std::uint32_t base, std::uint32_t length) {
    char text[24];
    std::snprintf(text, sizeof text, "%08X-%08X", static_cast<unsigned>(base),
                  static_cast<unsigned>(rangeEnd(base, length, 0xFFFFFFFFu)));
    return text;
}

std::string ioRangeText(std::uint16_t base, std::uint16_t length) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X-%04X", static_cast<unsigned>(base),
                  static_cast<unsigned>(rangeEnd(base, length, 0xFFFFu)));
    return text;
}

std::string channelText(std::uint8_t number) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", static_cast<int>(number));
    return text;
}

}  // namespace inspector

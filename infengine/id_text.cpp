#include "infengine/id_text.h"

#include <cstdio>

#include "platform/codepage_1252.h"

namespace infengine {
namespace {

std::string format(const char* pattern, unsigned long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string hex4(std::uint32_t value) {
    return format("%04lX", value & 0xFFFFu);
}
std::string hex8(std::uint32_t value) {
    return format("%08lX", value);
}
std::string hex2(std::uint32_t value) {
    return format("%02lX", value & 0xFFu);
}
std::string lowerHex2(std::uint32_t value) {
    return format("%02lx", value);
}

std::string decimal(std::uint64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llu", static_cast<unsigned long long>(value));
    return buffer;
}

bool readHexDigits(std::string_view text, std::size_t offset, std::size_t digits,
                   std::uint32_t* value) {
    if (offset > text.size() || text.size() - offset < digits) return false;
    std::uint32_t result = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = text[offset + i];
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else {
            return false;
        }
        result = result << 4 | digit;
    }
    *value = result;
    return true;
}

std::string lowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = foldAscii(c);
    return result;
}

std::string upperAnsiText(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(platform::upperAnsi(static_cast<unsigned char>(c)));
    }
    return result;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (foldAscii(text[i]) != foldAscii(prefix[i])) return false;
    }
    return true;
}

std::size_t findNoCase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return std::string_view::npos;
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (startsWithNoCase(text.substr(at), part)) return at;
    }
    return std::string_view::npos;
}

}  // namespace infengine

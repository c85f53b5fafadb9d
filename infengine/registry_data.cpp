#include "infengine/registry_data.h"

#include <cstring>
#include <string>

#include "infengine/engine_text.h"
#include "infengine/inf_lines.h"

namespace infengine {
namespace {

// The count byte of a binary value, and the size byte of a multi-string, tell at most this.
constexpr std::size_t kMaxCountedBytes = 255;

// The value of a hexadecimal digit, or -1.
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A byte written as one or two hexadecimal digits; false for anything else.
bool parseHexByte(const std::string& text, unsigned char* byte) {
    if (text.empty() || text.size() > 2) return false;
    int value = 0;
    for (char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0) return false;
        value = value * 16 + digit;
    }
    *byte = static_cast<unsigned char>(value);
    return true;
}

void encodeBinary(const platform::InfContext& line, unsigned char* data) {
    std::size_t count = 0;
    std::string value;
    for (std::uint32_t index = kFirstDataValue; count < kMaxCountedBytes; ++index) {
        if (!readField(line, index, &value) || !parseHexByte(value, &data[1 + count])) break;
        ++count;
    }
    data[0] = static_cast<unsigned char>(count);
}

void encodeMultiString(const platform::InfContext& line, unsigned char* data) {
    std::size_t characters = 0;  // of the strings taken
    std::size_t strings = 0;
    std::size_t used = 0;  // bytes from byte 1 on: strings and their zeros
    std::string value;
    // The size a list of `n` strings of `c` characters reports.
    auto sizeOf = [](std::size_t c, std::size_t n) { return c + (n + 1 > 3 ? n + 1 : 3); };
    for (std::uint32_t index = kFirstDataValue;; ++index) {
        if (!readField(line, index, &value)) break;
        if (sizeOf(characters + value.size(), strings + 1) > kMaxCountedBytes) break;
        std::memcpy(data + 1 + used, value.data(), value.size());
        used += value.size() + 1;  // the zero is already there
        characters += value.size();
        ++strings;
    }
    data[0] = static_cast<unsigned char>(sizeOf(characters, strings));
}

}  // namespace

void encodeRegistryData(const platform::InfContext& line, std::int32_t typeFlags, char* data) {
    unsigned char* bytes = reinterpret_cast<unsigned char*>(data);
    if (typeFlags == kRegistryBinary) {
        encodeBinary(line, bytes);
    } else if (typeFlags == kRegistryMultiString) {
        encodeMultiString(line, bytes);
    } else {
        std::string text;
        if (readField(line, kFirstDataValue, &text)) copyOut(data, text);
    }
}

}  // namespace infengine

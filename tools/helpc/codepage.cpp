#include "tools/helpc/codepage.h"

#include <cstdio>

namespace helpc {

namespace {

// The five byte values that Windows-1252 leaves without a character.
bool undefinedIn1252(unsigned char c) {
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// Length of a well-formed UTF-8 sequence of two to four bytes starting at `i`, else 0.
std::size_t utf8SequenceAt(const std::string& s, std::size_t i) {
    auto c = static_cast<unsigned char>(s[i]);
    std::size_t length = c >= 0xC2 && c <= 0xDF   ? 2
                         : c >= 0xE0 && c <= 0xEF ? 3
                         : c >= 0xF0 && c <= 0xF4 ? 4
                                                  : 0;
    if (length == 0 || i + length > s.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        auto next = static_cast<unsigned char>(s[i + k]);
        if (next < 0x80 || next > 0xBF) return 0;
    }
    return length;
}

std::string at(std::size_t column, unsigned char c) {
    char text[64];
    std::snprintf(text, sizeof text, "byte 0x%02X in column %zu", c, column + 1);
    return text;
}

}  // namespace

std::string codePageProblem(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        auto c = static_cast<unsigned char>(line[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return at(i, c) + " is a control character, not text";
        if (undefinedIn1252(c)) return at(i, c) + " is not a character of Windows-1252";
    }
    return std::string();
}

bool isUtf8Text(const std::string& text) {
    bool sequences = false;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = utf8SequenceAt(text, i);
        if (length == 0) return false;
        sequences = true;
        i += length;
    }
    return sequences;
}

}  // namespace helpc

#include "platform/inf/inf_text.h"

#include <cstring>
#include <utility>

#include "platform/codepage_1252.h"

namespace platform::inf {
namespace {

// The system reads an ANSI INF through its Unicode form and asks the C runtime whether a
// character is a space; these are the ANSI bytes whose character it counts (0xA0 is the
// no-break space).
constexpr bool computeBlank(unsigned char byte) {
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x20 || byte == 0xA0;
}

// Names compare as the system's C runtime compares them in its default locale: only the
// ASCII letters have a case ("\xC9" and "\xE9" are different names).
constexpr unsigned char computeFold(unsigned char byte) {
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// Built by the compiler: no run-time initialisation (and no thread-safe static guard, which
// would pull the threading runtime into every library).
struct CharTables {
    bool blank[256];
    unsigned char fold[256];
};

constexpr CharTables makeTables() {
    CharTables tables{};
    for (int i = 0; i < 256; ++i) {
        const auto byte = static_cast<unsigned char>(i);
        tables.blank[i] = computeBlank(byte);
        tables.fold[i] = computeFold(byte);
    }
    return tables;
}

constexpr CharTables kTables = makeTables();

bool isCSpace(unsigned char byte) {
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x20;
}

int digitValue(unsigned char byte) {
    if (byte >= '0' && byte <= '9') return byte - '0';
    if (byte >= 'a' && byte <= 'z') return byte - 'a' + 10;
    if (byte >= 'A' && byte <= 'Z') return byte - 'A' + 10;
    return 99;
}

void appendUtf16Unit(std::string* out, std::uint32_t unit) {
    out->push_back(ansiFromUtf16(static_cast<std::uint16_t>(unit)));
}

// UTF-8 as the system's converter reads it: a character outside the 16-bit range becomes two
// units (two '?' here), a malformed byte one replacement character ('?').
std::string ansiFromUtf8Text(const unsigned char* bytes, std::size_t size) {
    std::string out;
    out.reserve(size);
    std::size_t i = 0;
    while (i < size) {
        const unsigned char lead = bytes[i];
        std::size_t extra = 0;
        std::uint32_t code = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            extra = 1, code = lead & 0x1Fu, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, code = lead & 0x0Fu, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, code = lead & 0x07u, minimum = 0x10000;
        } else {
            out.push_back('?');
            ++i;
            continue;
        }
        std::size_t taken = 1;
        while (taken <= extra && i + taken < size && (bytes[i + taken] & 0xC0) == 0x80) {
            code = (code << 6) | (bytes[i + taken] & 0x3Fu);
            ++taken;
        }
        if (taken <= extra || code < minimum || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            out.push_back('?');
            i += taken;
            continue;
        }
        i += taken;
        if (code >= 0x10000) {
            out += "??";
        } else {
            appendUtf16Unit(&out, code);
        }
    }
    return out;
}

}  // namespace

bool isInfBlank(unsigned char byte) {
    return kTables.blank[byte];
}

unsigned char foldInfChar(unsigned char byte) {
    return kTables.fold[byte];
}

bool equalInfNames(const char* a, std::size_t aLength, const char* b) {
    const unsigned char* fold = kTables.fold;
    for (std::size_t i = 0; i < aLength; ++i) {
        const auto right = static_cast<unsigned char>(b[i]);
        if (right == 0) return false;
        if (fold[static_cast<unsigned char>(a[i])] != fold[right]) return false;
    }
    return b[aLength] == 0;
}

std::uint32_t hashInfName(const char* name, std::size_t length, std::uint32_t seed) {
    const unsigned char* fold = kTables.fold;
    std::uint32_t hash = 2166136261u ^ (seed * 16777619u);
    for (std::size_t i = 0; i < length; ++i) {
        hash ^= fold[static_cast<unsigned char>(name[i])];
        hash *= 16777619u;
    }
    return hash ^ (hash >> 15);
}

bool parseInfInteger(const char* text, std::int32_t* value) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    if (*p == 0) {
        *value = 0;
        return true;
    }
    while (isCSpace(*p)) ++p;
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
    } else if (*p == '+') {
        ++p;
    }
    int base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    } else if (p[0] == '0') {
        base = 8;
    }
    // The runtime saturates at 64 bits and then clamps to 32; a magnitude kept just above the
    // 32-bit range gives the same clamp without overflowing.
    constexpr std::int64_t kSaturated = std::int64_t(1) << 40;
    std::int64_t magnitude = 0;
    bool digits = false;
    for (; *p != 0; ++p) {
        const int digit = digitValue(*p);
        if (digit >= base) break;
        digits = true;
        magnitude = magnitude * base + digit;
        if (magnitude > kSaturated) magnitude = kSaturated;
    }
    if (!digits || *p != 0) return false;
    std::int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX) result = INT32_MAX;
    if (result < INT32_MIN) result = INT32_MIN;
    *value = static_cast<std::int32_t>(result);
    return true;
}

bool decodeInfBytes(const unsigned char* bytes, std::size_t size, std::string* text) {
    if (size > 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        *text = ansiFromUtf8Text(bytes + 3, size - 3);
        return true;
    }
    // UTF-16 is recognised by its byte-order mark, on an even size, when no word of the start
    // of the text is one that a Unicode text cannot hold (a zero word, 0xFFFE, 0xFFFF, or an
    // ANSI carriage return and line feed packed into one word).
    if (size >= 2 && size % 2 == 0 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::size_t words = (bytes[size - 1] == 0 ? size - 1 : size) / 2;
        if (words > 256) words = 256;
        bool unicode = true;
        for (std::size_t i = 0; i < words && unicode; ++i) {
            const unsigned unit = bytes[2 * i] | (bytes[2 * i + 1] << 8);
            unicode = unit != 0 && unit != 0xFFFE && unit != 0xFFFF && unit != 0x0A0D;
        }
        if (unicode) {
            std::string out;
            out.reserve(size / 2);
            for (std::size_t i = 2; i + 1 < size; i += 2) {
                appendUtf16Unit(&out, bytes[i] | (bytes[i + 1] << 8));
            }
            *text = std::move(out);
            return true;
        }
    }
    return false;
}

}  // namespace platform::inf

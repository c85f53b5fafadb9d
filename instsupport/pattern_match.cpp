#include "instsupport/pattern_match.h"

#include <cstring>
#include <string>

#include "instsupport/lead_bytes.h"

namespace instsupport {
namespace {

// The marks that frame both work copies. They take part in the match, so a segment that
// reaches the end of the pattern is found only at the end of the text.
constexpr char kStartMark = '\xDE';
constexpr char kEndMark = '\xA4';

bool workCopy(const char* input, std::string* out) {
    std::size_t length = std::strlen(input);
    if (length > static_cast<std::size_t>(kMaxPatternInput)) return false;
    out->reserve(length + 2);
    out->push_back(kStartMark);
    for (std::size_t i = 0; i < length; ++i) {
        char c = input[i];
        out->push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    out->push_back(kEndMark);
    return true;
}

// Length of the character at `at`: two bytes for a lead byte that has a second byte.
std::size_t characterLength(const std::string& s, std::size_t at) {
    return isLeadByte(static_cast<unsigned char>(s[at])) && at + 1 < s.size() ? 2 : 1;
}

}  // namespace

int matchPattern(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr) return 0;
    std::string t;
    std::string p;
    if (!workCopy(text, &t) || !workCopy(pattern, &p)) return 0;

    std::size_t ti = 0;
    std::size_t pi = 0;
    while (ti < t.size() && pi < p.size()) {
        if (p[pi] != '*') {
            // For a double-byte character only the lead bytes are compared.
            if (p[pi] != '?' && p[pi] != t[ti]) return 0;
            ti += characterLength(t, ti);
            pi += characterLength(p, pi);
            continue;
        }
        std::size_t segmentStart = pi + 1;
        std::size_t segmentEnd = p.find_first_of("*?", segmentStart);
        if (segmentEnd == std::string::npos) segmentEnd = p.size();
        if (segmentEnd == segmentStart) {
            // A star directly before '*' or '?' swallows the rest of the text.
            ti = t.size();
            pi = segmentStart;
            continue;
        }
        std::size_t found = t.find(p.data() + segmentStart, ti, segmentEnd - segmentStart);
        if (found == std::string::npos) return 0;
        ti = found + (segmentEnd - segmentStart);
        pi = segmentEnd;
    }
    return ti >= t.size() && pi >= p.size() ? 1 : 0;
}

}  // namespace instsupport

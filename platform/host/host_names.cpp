#include "platform/host/host_names.h"

#include <cstring>
#include <vector>

#include "platform/codepage_1252.h"

namespace platform::host {
namespace {

std::string upper(const std::string& text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(upperAnsi(static_cast<unsigned char>(c)));
    return out;
}

// A character an 8.3 name may hold as it is.
bool isShortNameChar(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return true;
    if (c >= '0' && c <= '9') return true;
    if (c >= 0x80) return upperAnsi(c) == c;
    return c != 0 && std::strchr("$%'-_@~`!(){}^#&", c) != nullptr;
}

}  // namespace

bool matchesWildcard(const std::string& patternText, const std::string& nameText) {
    std::string pattern = upper(patternText);
    std::string name = upper(nameText);
    if (pattern.size() > 1 && pattern.back() == '.') {
        if (name.find('.') != std::string::npos) return false;
        while (!pattern.empty() && pattern.back() == '.') pattern.pop_back();
    }

    // match[i][j]: pattern from i matches name from j; filled from the ends backwards.
    const std::size_t p = pattern.size(), n = name.size();
    std::vector<std::vector<char>> match(p + 1, std::vector<char>(n + 1, 0));
    match[p][n] = 1;
    for (std::size_t i = p; i-- > 0;) {
        for (std::size_t j = n + 1; j-- > 0;) {
            bool more = j < n;
            bool result = false;
            switch (pattern[i]) {
                case '*':
                    result = match[i + 1][j] || (more && match[i][j + 1]);
                    break;
                case '?':
                    result = (more && name[j] != '.' && match[i + 1][j + 1]) ||
                             ((!more || name[j] == '.') && match[i + 1][j]);
                    break;
                case '.':
                    result = (more && name[j] == '.' && match[i + 1][j + 1]) ||
                             (!more && match[i + 1][j]);
                    break;
                default:
                    result = more && name[j] == pattern[i] && match[i + 1][j + 1];
                    break;
            }
            match[i][j] = result;
        }
    }
    return match[0][0] != 0;
}

bool isShortName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    std::size_t dot = name.find('.');
    std::size_t baseLength = dot == std::string::npos ? name.size() : dot;
    if (baseLength == 0 || baseLength > 8) return false;
    if (dot != std::string::npos) {
        std::size_t extLength = name.size() - dot - 1;
        if (extLength == 0 || extLength > 3) return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (i == dot) continue;
        if (!isShortNameChar(static_cast<unsigned char>(name[i]))) return false;
    }
    return true;
}

std::string makeShortName(const std::string& longName, const std::set<std::string>& taken) {
    std::string name;
    for (char c : upper(longName)) {
        if (c == ' ') continue;
        name.push_back(std::strchr("+,;=[]", c) != nullptr && c != 0 ? '_' : c);
    }
    std::size_t lead = name.find_first_not_of('.');
    name.erase(0, lead == std::string::npos ? name.size() : lead);

    std::size_t lastDot = name.rfind('.');
    std::string base, ext;
    for (std::size_t i = 0; i < name.size() && i != lastDot; ++i) {
        if (name[i] != '.') base.push_back(name[i]);
    }
    if (lastDot != std::string::npos) ext = name.substr(lastDot + 1, 3);
    base = base.substr(0, 8);
    if (base.empty()) base = "_";

    std::string basis = ext.empty() ? base : base + "." + ext;
    if (basis == upper(longName) && taken.count(basis) == 0) return basis;

    for (unsigned n = 1; n < 1000000; ++n) {
        std::string tail = "~" + std::to_string(n);
        std::string candidate = base.substr(0, 8 - tail.size()) + tail;
        if (!ext.empty()) candidate += "." + ext;
        if (taken.count(candidate) == 0) return candidate;
    }
    return basis;  // a folder with a million clashing names; not reached on FAT
}

}  // namespace platform::host

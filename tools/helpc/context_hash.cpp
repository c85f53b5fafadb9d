#include "tools/helpc/context_hash.h"

namespace helpc {

namespace {

unsigned hashValue(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A') + 17;
    if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a') + 17;
    if (c >= '1' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c == '0') return 10;
    if (c == '.') return 12;
    if (c == '_') return 13;
    return 0;
}

}  // namespace

std::int32_t contextHash(const std::string& name) {
    // The viewer computes in 32-bit arithmetic and lets it wrap.
    std::uint32_t hash = 0;
    for (char c : name) {
        unsigned value = hashValue(c);
        if (value != 0) hash = hash * 43 + value;
    }
    return static_cast<std::int32_t>(hash);
}

bool validContextName(const std::string& name) {
    if (name.empty() || name.size() > 255) return false;
    for (char c : name)
        if (hashValue(c) == 0) return false;
    return true;
}

}  // namespace helpc

#include "infengine/engine_text.h"

#include <cstring>

namespace infengine {

void copyOut(char* buffer, std::string_view text) {
    if (buffer == nullptr) return;
    const std::size_t length = text.size() < kTextSize ? text.size() : kTextSize - 1;
    if (length > 0) std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

void clearOut(char* buffer) {
    if (buffer != nullptr) buffer[0] = '\0';
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace infengine

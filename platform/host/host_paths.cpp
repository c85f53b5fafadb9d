#include "platform/host/host_paths.h"

#include <cstring>

#include "platform/win32_constants.h"

namespace platform::host {
namespace {

constexpr std::size_t kMaxName = 255;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char upperLetter(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
}

bool isForbidden(unsigned char c) {
    return c < 0x20 || std::strchr("<>:\"|", c) != nullptr;
}

// Checks one name and adds it to `names` ("." and ".." move within the list).
std::uint32_t addName(std::string name, bool last, bool allowWildcards,
                      std::vector<std::string>* names) {
    bool wildcard = last && allowWildcards && hasWildcards(name);
    for (unsigned char c : name) {
        if (isForbidden(c)) return ERROR_INVALID_NAME;
        if ((c == '*' || c == '?') && !(last && allowWildcards)) return ERROR_INVALID_NAME;
    }
    if (name == "..") {
        if (!names->empty()) names->pop_back();
        return ERROR_SUCCESS;
    }
    if (!wildcard) {
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    }
    if (name.empty() || name == ".") return ERROR_SUCCESS;
    if (name.size() > kMaxName) return ERROR_FILENAME_EXCED_RANGE;
    names->push_back(std::move(name));
    return ERROR_SUCCESS;
}

}  // namespace

std::string WindowsPath::text() const {
    std::string out;
    out.push_back(drive);
    out += ":\\";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i != 0) out.push_back('\\');
        out += names[i];
    }
    return out;
}

bool hasWildcards(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

std::uint32_t absolutePath(const char* path, const PathContext& context, bool allowWildcards,
                           WindowsPath* result) {
    if (path == nullptr) return ERROR_INVALID_PARAMETER;
    std::string text(path);
    if (text.empty()) return ERROR_PATH_NOT_FOUND;
    if (text.size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    for (char& c : text) {
        if (c == '/') c = '\\';
    }
    if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') {
        if (text.size() >= 4 && (text[2] == '.' || text[2] == '?') && text[3] == '\\') {
            return ERROR_FILE_NOT_FOUND;
        }
        return ERROR_PATH_NOT_FOUND;
    }

    WindowsPath out;
    std::size_t rest = 0;
    bool absolute = false;
    if (text.size() >= 2 && text[1] == ':') {
        if (!isLetter(text[0])) return ERROR_INVALID_NAME;
        out.drive = upperLetter(text[0]);
        rest = 2;
    } else {
        out.drive = context.currentDrive;
    }
    if (rest < text.size() && text[rest] == '\\') absolute = true;
    if (!absolute) {
        int index = out.drive - 'A';
        if (index >= 0 && index < 26) out.names = context.directories[index];
    }

    // Split what follows into names; the last one may carry wildcards.
    std::vector<std::string> parts;
    std::size_t start = rest;
    for (std::size_t i = rest; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\\') {
            if (i > start) parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    out.trailingSeparator = !parts.empty() && text.back() == '\\';
    for (std::size_t i = 0; i < parts.size(); ++i) {
        bool last = i + 1 == parts.size() && !out.trailingSeparator;
        std::uint32_t rc = addName(parts[i], last, allowWildcards, &out.names);
        if (rc != ERROR_SUCCESS) return rc;
    }
    if (out.names.empty()) out.trailingSeparator = false;
    if (out.text().size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    *result = std::move(out);
    return ERROR_SUCCESS;
}

}  // namespace platform::host

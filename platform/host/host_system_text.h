// Small text helpers of the simulated operating system: ASCII case folding and the parts of
// a Windows path.
#pragma once

#include <string>
#include <string_view>

namespace platform::host::systext {

inline std::string upperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

inline bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return upperCase(a) == upperCase(b);
}

// The position of the file name in a path: after its last '\\', '/' or drive colon.
inline std::size_t fileNameOffset(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string_view::npos ? 0 : slash + 1;
}

inline std::string baseNameOf(std::string_view path) {
    return std::string(path.substr(fileNameOffset(path)));
}

// True when the path names a folder or drive rather than a bare file name.
inline bool hasFolder(std::string_view path) {
    return fileNameOffset(path) != 0;
}

inline bool hasExtension(std::string_view path) {
    return path.substr(fileNameOffset(path)).find('.') != std::string_view::npos;
}

}  // namespace platform::host::systext

#include "infengine/file_names.h"

namespace infengine {
namespace {

bool isFileNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '\\' || c == '.' || c == '_';
}

}  // namespace

std::string cutFileName(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && isFileNameChar(text[length])) ++length;
    return std::string(text.substr(0, length));
}

}  // namespace infengine

#include "instsupport/text_buffer.h"

#include <cstring>

namespace instsupport {

void copyToBuffer(char* out, std::string_view text) {
    if (out == nullptr) return;
    std::size_t count = text.size() < kTextBufferSize ? text.size() : kTextBufferSize - 1;
    std::memcpy(out, text.data(), count);
    out[count] = '\0';
}

std::string_view bufferText(const char* buffer) {
    if (buffer == nullptr) return {};
    const void* end = std::memchr(buffer, 0, kTextBufferSize);
    std::size_t length = end ? static_cast<const char*>(end) - buffer : kTextBufferSize;
    return std::string_view(buffer, length);
}

}  // namespace instsupport

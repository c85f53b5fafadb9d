// Texts handed to the setup script go into its 260-byte buffers: at most 259 characters and
// the terminating zero, never more.
#pragma once

#include <cstddef>
#include <string_view>

namespace instsupport {

constexpr std::size_t kTextBufferSize = 260;

// Copies `text` into `out` (260 bytes), cut short to fit; a null `out` is ignored.
void copyToBuffer(char* out, std::string_view text);

// The text in a 260-byte buffer the engine filled: up to its zero, and never past the end of
// the buffer even when the zero is missing.
std::string_view bufferText(const char* buffer);

}  // namespace instsupport

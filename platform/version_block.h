// The version block of a file, read whole through the machine's files, for VerQueryValue.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/files.h"

namespace platform {

// GetFileVersionInfoSize, then GetFileVersionInfo into `block` sized as it says. The whole
// block is read: VerQueryValue follows the lengths recorded inside it, so a block cut short
// could send it past the buffer. False when the file has no (readable) version block.
bool readVersionBlock(FileSystem& files, const char* path, std::vector<std::uint8_t>* block);

}  // namespace platform

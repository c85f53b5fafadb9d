#include "platform/version_block.h"

namespace platform {

bool readVersionBlock(FileSystem& files, const char* path, std::vector<std::uint8_t>* block) {
    std::uint32_t size = 0;
    if (files.GetFileVersionInfoSize(path, &size) != ERROR_SUCCESS || size == 0) return false;
    block->assign(size, 0);
    return files.GetFileVersionInfo(path, size, block->data()) == ERROR_SUCCESS;
}

}  // namespace platform

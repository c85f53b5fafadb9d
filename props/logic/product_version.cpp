#include "props/logic/product_version.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/files.h"
#include "platform/machine.h"
#include "platform/version_block.h"
#include "settings/folder_paths.h"

namespace props {

std::string installedProductVersion() {
    const std::string path = settings::systemFolderPath("\\tunaractl.exe");
    if (path.empty()) return std::string();
    platform::FileSystem& files = *platform::machine().files;
    std::vector<std::uint8_t> block;
    if (!platform::readVersionBlock(files, path.c_str(), &block)) return std::string();
    void* value = nullptr;
    std::uint32_t length = 0;
    if (files.VerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length) !=
            ERROR_SUCCESS ||
        value == nullptr || length < 4)
        return std::string();
    const std::uint8_t* pair = static_cast<const std::uint8_t*>(value);
    const unsigned language = pair[0] | pair[1] << 8;
    const unsigned codePage = pair[2] | pair[3] << 8;
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\ProductVersion", language,
                  codePage);
    if (files.VerQueryValue(block.data(), query, &value, &length) != ERROR_SUCCESS ||
        value == nullptr)
        return std::string();
    // The text ends at its zero, and never past the block it lies in.
    const char* text = static_cast<const char*>(value);
    const char* end = reinterpret_cast<const char*>(block.data()) + block.size();
    std::size_t count = 0;
    while (text + count < end && count < 259 && text[count] != '\0') ++count;
    return std::string(text, count);
}

}  // namespace props

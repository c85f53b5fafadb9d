// Fuzzes the PE reader that finds a file's version block, the version block parser, and the
// simulated VerQueryValue that writes ANSI texts into the second half of the block: the
// input is tried both as a whole PE file and as a bare version block.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/host/host_files.h"
#include "platform/pe_version_reader.h"
#include "platform/version_resource.h"

namespace {

const char* const kQueries[] = {
    "\\",
    "\\VarFileInfo\\Translation",
    "\\StringFileInfo\\040904E4\\CompanyName",
    "\\StringFileInfo\\040904b0\\ProductVersion",
    "\\\\StringFileInfo\\\\040904E4",
    "StringFileInfo\\040904E4\\FileVersion\\",
};

// Reads a version block as the product does: parsed whole, then queried through the
// simulated VerQueryValue over a block laid out as GetFileVersionInfo leaves it.
void exerciseBlock(const std::uint8_t* data, std::size_t size) {
    platform::VersionInfo info;
    platform::parseVersionInfo(data, size, &info);

    std::size_t length = platform::versionBlockLength(data, size);
    if (length == 0 || length > size) return;
    // Exactly the size GetFileVersionInfoSize reports: the block and its room for texts.
    std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[2 * length]);
    std::memcpy(block.get(), data, length);
    std::memset(block.get() + length, 0, length);

    platform::host::HostFileSystem files("/nonexistent");
    for (const char* query : kQueries) {
        void* value = nullptr;
        std::uint32_t valueLength = 0;
        if (files.VerQueryValue(block.get(), query, &value, &valueLength) != 0) continue;
        const auto* start = static_cast<const std::uint8_t*>(value);
        bool inside = start >= block.get() && start + valueLength <= block.get() + 2 * length;
        // Empty texts may point at a shared empty string instead of the block.
        if (!inside && !(valueLength == 1 && *start == 0)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size heap copy, so a read past the input is caught.
    std::unique_ptr<std::uint8_t[]> input(new std::uint8_t[size ? size : 1]);
    if (size) std::memcpy(input.get(), data, size);

    platform::MemoryByteSource source(input.get(), size);
    std::vector<std::uint8_t> resource;
    if (platform::readPeVersionResource(source, &resource) == 0) {
        if (resource.size() < 6 || resource.size() > 0xFFFF) std::abort();
        std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[resource.size()]);
        std::memcpy(exact.get(), resource.data(), resource.size());
        exerciseBlock(exact.get(), resource.size());
    }
    exerciseBlock(input.get(), size);
    return 0;
}

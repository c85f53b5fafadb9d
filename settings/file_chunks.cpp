#include "settings/file_chunks.h"

#include <algorithm>
#include <vector>

namespace settings {

bool filePosition(platform::FileSystem& files, platform::FileHandle file, std::uint64_t* position) {
    std::int32_t high = 0;
    std::uint32_t low = 0;
    if (files.SetFilePointer(file, 0, &high, FILE_CURRENT, &low) != ERROR_SUCCESS) return false;
    *position = (std::uint64_t{static_cast<std::uint32_t>(high)} << 32) | low;
    return true;
}

bool seekFile(platform::FileSystem& files, platform::FileHandle file, std::uint64_t position) {
    std::int32_t high = static_cast<std::int32_t>(static_cast<std::uint32_t>(position >> 32));
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(position));
    return files.SetFilePointer(file, low, &high, FILE_BEGIN, nullptr) == ERROR_SUCCESS;
}

bool fileLength(platform::FileSystem& files, platform::FileHandle file, std::uint64_t* size) {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (files.GetFileSize(file, &low, &high) != ERROR_SUCCESS) return false;
    *size = (std::uint64_t{high} << 32) | low;
    return true;
}

bool readSome(platform::FileSystem& files, platform::FileHandle file, void* buffer,
              std::uint32_t size, std::uint32_t* read) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::uint32_t total = 0;
    while (total < size) {
        std::uint32_t got = 0;
        if (files.ReadFile(file, bytes + total, size - total, &got) != ERROR_SUCCESS) return false;
        if (got == 0) break;  // the end of the file
        total += std::min(got, size - total);
    }
    *read = total;
    return true;
}

bool writeAll(platform::FileSystem& files, platform::FileHandle file, const void* buffer,
              std::uint32_t size) {
    if (size == 0) return true;
    std::uint32_t written = 0;
    return files.WriteFile(file, buffer, size, &written) == ERROR_SUCCESS && written == size;
}

bool moveFileBytes(platform::FileSystem& files, platform::FileHandle file, std::uint64_t from,
                   std::uint64_t to, std::uint64_t length, std::size_t chunkSize) {
    if (from == to || length == 0) return true;
    if (chunkSize == 0) return false;
    std::vector<unsigned char> buffer(std::min<std::uint64_t>(chunkSize, length));
    const bool forward = to > from;
    std::uint64_t done = 0;
    while (done < length) {
        const auto count =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(buffer.size(), length - done));
        // Moving forward, the last chunk goes first so that no byte is overwritten before it
        // has been read; moving back, the first.
        const std::uint64_t offset = forward ? length - done - count : done;
        std::uint32_t read = 0;
        if (!seekFile(files, file, from + offset) ||
            !readSome(files, file, buffer.data(), count, &read) || read != count)
            return false;
        if (!seekFile(files, file, to + offset) || !writeAll(files, file, buffer.data(), count))
            return false;
        done += count;
    }
    return true;
}

}  // namespace settings

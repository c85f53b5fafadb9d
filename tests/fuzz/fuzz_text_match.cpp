// Fuzzes the text matching of the settings core and the driver INF patch against their
// byte-at-a-time definition: the matcher fed in pieces of any size, and patchInfMarker on a
// file whose reads come back short, from any starting position, with any code.
//
// Input: byte 0 the patch code (value % 12 - 1, so -1 to 10: the codes, find-only and
// non-codes); byte 1 the read buffer size (1 to 256); byte 2 the most a ReadFile hands back
// (0: all it is asked for); byte 3 the marker length (0 to 31); byte 4 the starting position
// (scaled to the file); then the marker bytes and the file to the end.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "settings/inf_patch.h"
#include "settings/text_match.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// One open file in memory. Only what the search and the patch call does something; the rest
// answers "not supported".
class MemoryFile : public platform::FileSystem {
  public:
    std::vector<unsigned char> bytes;
    std::uint64_t position = 0;
    std::uint32_t shortReads = 0;  // at most this many bytes per ReadFile (0: no limit)

    std::uint32_t ReadFile(platform::FileHandle, void* buffer, std::uint32_t toRead,
                           std::uint32_t* read) override {
        std::uint64_t left = position < bytes.size() ? bytes.size() - position : 0;
        std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(toRead, left));
        if (shortReads != 0) count = std::min(count, shortReads);
        if (count != 0) std::memcpy(buffer, bytes.data() + position, count);
        position += count;
        if (read != nullptr) *read = count;
        return ERROR_SUCCESS;
    }
    std::uint32_t WriteFile(platform::FileHandle, const void* buffer, std::uint32_t toWrite,
                            std::uint32_t* written) override {
        if (position + toWrite > bytes.size()) bytes.resize(position + toWrite);
        std::memcpy(bytes.data() + position, buffer, toWrite);
        position += toWrite;
        if (written != nullptr) *written = toWrite;
        return ERROR_SUCCESS;
    }
    std::uint32_t SetFilePointer(platform::FileHandle, std::int32_t distance, std::int32_t* high,
                                 std::uint32_t method, std::uint32_t* newPosition) override {
        std::int64_t move = distance;
        if (high != nullptr)
            move = static_cast<std::int64_t>(
                (static_cast<std::uint64_t>(static_cast<std::uint32_t>(*high)) << 32) |
                static_cast<std::uint32_t>(distance));
        const std::int64_t base = method == FILE_BEGIN ? 0
                                  : method == FILE_CURRENT
                                      ? static_cast<std::int64_t>(position)
                                      : static_cast<std::int64_t>(bytes.size());
        if (base + move < 0) return ERROR_NEGATIVE_SEEK;
        position = static_cast<std::uint64_t>(base + move);
        if (newPosition != nullptr) *newPosition = static_cast<std::uint32_t>(position);
        if (high != nullptr) *high = static_cast<std::int32_t>(position >> 32);
        return ERROR_SUCCESS;
    }
    std::uint32_t GetFileSize(platform::FileHandle, std::uint32_t* low,
                              std::uint32_t* high) override {
        *low = static_cast<std::uint32_t>(bytes.size());
        if (high != nullptr) *high = 0;
        return ERROR_SUCCESS;
    }

#define NOT_SUPPORTED(signature)       \
    std::uint32_t signature override { \
        return ERROR_NOT_SUPPORTED;    \
    }
    NOT_SUPPORTED(CreateFile(const char*, std::uint32_t, std::uint32_t, std::uint32_t,
                             std::uint32_t, platform::FileHandle*))
    NOT_SUPPORTED(SetEndOfFile(platform::FileHandle))
    NOT_SUPPORTED(FlushFileBuffers(platform::FileHandle))
    NOT_SUPPORTED(CloseHandle(platform::FileHandle))
    NOT_SUPPORTED(GetFileTime(platform::FileHandle, platform::FileTime*, platform::FileTime*,
                              platform::FileTime*))
    NOT_SUPPORTED(SetFileTime(platform::FileHandle, const platform::FileTime*,
                              const platform::FileTime*, const platform::FileTime*))
    NOT_SUPPORTED(DeleteFile(const char*))
    NOT_SUPPORTED(MoveFile(const char*, const char*))
    NOT_SUPPORTED(MoveFileEx(const char*, const char*, std::uint32_t))
    NOT_SUPPORTED(CopyFile(const char*, const char*, bool))
    NOT_SUPPORTED(GetFileAttributes(const char*, std::uint32_t*))
    NOT_SUPPORTED(SetFileAttributes(const char*, std::uint32_t))
    NOT_SUPPORTED(CreateDirectory(const char*))
    NOT_SUPPORTED(RemoveDirectory(const char*))
    NOT_SUPPORTED(FindFirstFile(const char*, platform::FindData*, platform::FindHandle*))
    NOT_SUPPORTED(FindNextFile(platform::FindHandle, platform::FindData*))
    NOT_SUPPORTED(FindClose(platform::FindHandle))
    NOT_SUPPORTED(GetCurrentDirectory(std::string*))
    NOT_SUPPORTED(SetCurrentDirectory(const char*))
    NOT_SUPPORTED(SetCurrentDrive(char))
    NOT_SUPPORTED(GetDriveType(const char*))
    NOT_SUPPORTED(GetFullPathName(const char*, std::string*, std::size_t*))
    NOT_SUPPORTED(GetTempFileName(const char*, const char*, std::uint32_t, std::string*,
                                  std::uint32_t*))
    NOT_SUPPORTED(GetFileVersionInfoSize(const char*, std::uint32_t*))
    NOT_SUPPORTED(GetFileVersionInfo(const char*, std::uint32_t, void*))
    NOT_SUPPORTED(VerQueryValue(void*, const char*, void**, std::uint32_t*))
    NOT_SUPPORTED(GetDiskFreeSpace(const char*, std::uint32_t*, std::uint32_t*, std::uint32_t*,
                                   std::uint32_t*))
#undef NOT_SUPPORTED
    char GetCurrentDrive() override {
        return 0;
    }
};

// The definition, one byte at a time: where the match ends, or npos.
std::size_t referenceMatchEnd(const unsigned char* file, std::size_t size, std::size_t from,
                              const unsigned char* text, std::size_t length) {
    std::size_t matched = 0;
    if (length == 0) return from;
    for (std::size_t i = from; i < size; ++i) {
        if (settings::textByteMatches(file[i], text[matched])) {
            if (++matched == length) return i + 1;
        } else {
            matched = 0;
        }
    }
    return std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    const std::int32_t code = static_cast<std::int32_t>(data[0] % 12) - 1;
    const std::size_t chunk = static_cast<std::size_t>(data[1]) + 1;
    const std::uint32_t shortReads = data[2];
    const std::size_t markerLength = std::min<std::size_t>(data[3] % 32, size - 5);
    const std::uint8_t startByte = data[4];
    const std::size_t fileSize = size - 5 - markerLength;

    // Exact-size heap copies, so that a read past either is caught.
    std::unique_ptr<unsigned char[]> marker(new unsigned char[markerLength ? markerLength : 1]);
    std::memcpy(marker.get(), data + 5, markerLength);
    std::unique_ptr<unsigned char[]> file(new unsigned char[fileSize ? fileSize : 1]);
    std::memcpy(file.get(), data + 5 + markerLength, fileSize);
    const std::size_t from = fileSize * startByte / 255;
    const std::string markerText(reinterpret_cast<const char*>(marker.get()), markerLength);

    // The matcher, fed in pieces of `chunk` bytes.
    const std::size_t want =
        referenceMatchEnd(file.get(), fileSize, from, marker.get(), markerLength);
    settings::TextMatcher matcher(markerText);
    std::size_t got = matcher.complete() ? from : std::string::npos;
    for (std::size_t at = from; got == std::string::npos && at < fileSize; at += chunk) {
        const std::size_t used = matcher.feed(file.get() + at, std::min(chunk, fileSize - at));
        if (used != settings::TextMatcher::kNotYet) got = at + used;
    }
    check(got == want);

    // The patch on a file whose reads may come back short.
    MemoryFile product;
    product.bytes.assign(file.get(), file.get() + fileSize);
    product.position = from;
    product.shortReads = shortReads;
    const bool patched = settings::patchInfMarker(product, 1, markerText, code, chunk);

    std::vector<unsigned char> expected(file.get(), file.get() + fileSize);
    std::uint64_t expectedPosition = from;
    unsigned char byte = 0;
    const bool writes = settings::infPatchByte(code, &byte);
    bool expectedResult = false;
    if (writes || code == settings::kPatchFindOnly) {
        if (want == std::string::npos) {
            expectedPosition = fileSize;
        } else {
            expectedResult = true;
            expectedPosition = want;
            if (writes) {
                if (want == expected.size())
                    expected.push_back(byte);
                else
                    expected[want] = byte;
                ++expectedPosition;
            }
        }
    }
    check(patched == expectedResult);
    check(product.bytes == expected);
    check(product.position == expectedPosition);
    return 0;
}

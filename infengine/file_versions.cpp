// CompareFileVersions: which of two files is newer, by their version resources or, when one
// has none, by their last-modification times.
#include "infengine/file_versions.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "infengine/engine_driver.h"
#include "infengine/engine_text.h"
#include "platform/file_handle.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "platform/version_block.h"

namespace infengine {
namespace {

constexpr std::size_t kFixedInfoSize = 52;
constexpr std::size_t kProductVersionOffset = 16;  // dwProductVersionMS, then LS
constexpr std::string_view kCombinedPrefix = "4.10.01.";
constexpr std::size_t kCombinedMinimum = 15;  // "W.X.Y.Z-A.B.C.D"

std::uint32_t littleEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// VerQueryValue, with the answer bounded by the block it points into.
bool queryValue(std::vector<std::uint8_t>& block, const char* subBlock, const std::uint8_t** value,
                std::size_t* length) {
    void* found = nullptr;
    std::uint32_t size = 0;
    if (platform::machine().files->VerQueryValue(block.data(), subBlock, &found, &size) !=
            ERROR_SUCCESS ||
        found == nullptr) {
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(found);
    if (bytes < block.data() || bytes >= block.data() + block.size()) return false;
    const std::size_t room = static_cast<std::size_t>(block.data() + block.size() - bytes);
    *value = bytes;
    *length = size < room ? size : room;
    return true;
}

bool isCombined(const std::string& text) {
    return text.size() >= kCombinedMinimum &&
           text.compare(0, kCombinedPrefix.size(), kCombinedPrefix) == 0;
}

std::string ownPart(const std::string& combined) {
    const std::size_t dash = combined.find('-');
    return dash == std::string::npos ? std::string() : combined.substr(dash + 1);
}

// The first `count` numbers of a text split at "." and "-"; a missing or empty number is 0.
std::vector<std::uint64_t> versionNumbers(const std::string& text, std::size_t count) {
    std::vector<std::uint64_t> numbers(count, 0);
    std::size_t index = 0;
    std::size_t at = 0;
    while (index < count && at <= text.size()) {
        const std::size_t end = text.find_first_of(".-", at);
        const std::string piece =
            text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        std::size_t i = 0;
        while (i < piece.size() && piece[i] == ' ') ++i;
        std::uint64_t value = 0;
        for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
            value = value * 10 + static_cast<std::uint64_t>(piece[i] - '0');
            if (value > 0xFFFFFFFFu) value = 0xFFFFFFFFu;
        }
        numbers[index++] = value;
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return numbers;
}

std::int32_t clampedDifference(std::uint64_t b, std::uint64_t a) {
    const std::int64_t difference = static_cast<std::int64_t>(b) - static_cast<std::int64_t>(a);
    if (difference > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (difference < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(difference);
}

// B's numbers minus A's, the first difference that is not zero; 0 when all are equal.
std::int32_t compareNumbers(const std::string& a, const std::string& b, std::size_t count) {
    const std::vector<std::uint64_t> numbersA = versionNumbers(a, count);
    const std::vector<std::uint64_t> numbersB = versionNumbers(b, count);
    for (std::size_t i = 0; i < count; ++i) {
        if (numbersA[i] != numbersB[i]) return clampedDifference(numbersB[i], numbersA[i]);
    }
    return 0;
}

// The last-write time of a file; 0 when it cannot be read.
platform::FileTime lastWriteTime(const char* path) {
    platform::FileSystem& files = *platform::machine().files;
    platform::ScopedFile file;
    platform::FileTime time = 0;
    if (path == nullptr ||
        files.CreateFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0,
                         file.receive()) != ERROR_SUCCESS ||
        files.GetFileTime(file.get(), nullptr, nullptr, &time) != ERROR_SUCCESS) {
        return 0;
    }
    return time;
}

std::int32_t compareTimes(const char* pathA, const char* pathB) {
    const platform::FileTime a = lastWriteTime(pathA);
    const platform::FileTime b = lastWriteTime(pathB);
    if (b < a) return -1;
    return b == a ? 0 : 1;
}

}  // namespace

bool readFileVersion(const char* path, FileVersion* version) {
    platform::FileSystem* files = platform::machine().files;
    std::vector<std::uint8_t> block;
    if (path == nullptr || files == nullptr || !platform::readVersionBlock(*files, path, &block))
        return false;

    FileVersion result;
    const std::uint8_t* value = nullptr;
    std::size_t length = 0;
    if (queryValue(block, "\\VarFileInfo\\Translation", &value, &length)) {
        // Copied first: the text queries below may write into the block.
        const std::vector<std::uint8_t> pairs(value, value + length / 4 * 4);
        for (std::size_t at = 0; at + 4 <= pairs.size(); at += 4) {
            const unsigned language = pairs[at] | pairs[at + 1] << 8;
            const unsigned codePage = pairs[at + 2] | pairs[at + 3] << 8;
            char name[64];
            std::snprintf(name, sizeof name, "\\StringFileInfo\\%04x%04x\\FileVersion", language,
                          codePage);
            if (queryValue(block, name, &value, &length)) {
                const char* text = reinterpret_cast<const char*>(value);
                std::size_t characters = 0;
                while (characters < length && text[characters] != '\0') ++characters;
                result.text.assign(text, characters < kTextSize ? characters : kTextSize - 1);
                break;
            }
        }
    }
    if (queryValue(block, "\\", &value, &length) && length >= kFixedInfoSize) {
        result.productMS = littleEndian32(value + kProductVersionOffset);
        result.productLS = littleEndian32(value + kProductVersionOffset + 4);
    }
    *version = result;
    return true;
}

std::int32_t compareVersions(const FileVersion& a, const FileVersion& b) {
    const bool combinedA = isCombined(a.text);
    const bool combinedB = isCombined(b.text);
    if (!combinedA && !combinedB) {
        if (b.productMS != a.productMS) return b.productMS < a.productMS ? -1 : 1;
        if (b.productLS != a.productLS) return b.productLS < a.productLS ? -1 : 1;
        const int order = b.text.compare(a.text);
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    if (combinedA != combinedB) {
        // A Windows build text against a plain one: the build's own part counts.
        const std::string textA = combinedA ? ownPart(a.text) : a.text;
        const std::string textB = combinedB ? ownPart(b.text) : b.text;
        const std::int32_t order = compareNumbers(textA, textB, 4);
        if (order != 0) return order;
        return combinedA ? -1 : 0;
    }
    const std::int32_t order = compareNumbers(a.text, b.text, 2);
    if (order != 0) return order;
    return compareNumbers(ownPart(a.text), ownPart(b.text), 2);
}

int CompareFileVersions(const char* pathA, const char* pathB, char* versionA, char* versionB,
                        std::int32_t* comparison) {
    clearOut(versionA);
    clearOut(versionB);
    FileVersion a;
    FileVersion b;
    if (!readFileVersion(pathB, &b) || !readFileVersion(pathA, &a)) {
        if (comparison != nullptr) *comparison = compareTimes(pathA, pathB);
        return 1;
    }
    copyOut(versionA, a.text);
    copyOut(versionB, b.text);
    if (comparison != nullptr) *comparison = compareVersions(a, b);
    return 0;
}

}  // namespace infengine

#include "settings/text_match.h"

#include <algorithm>
#include <vector>

#include "settings/file_chunks.h"

namespace settings {

std::size_t TextMatcher::feed(const unsigned char* data, std::size_t size) {
    if (complete()) return 0;
    const auto* text = reinterpret_cast<const unsigned char*>(text_.data());
    for (std::size_t i = 0; i < size; ++i) {
        if (textByteMatches(data[i], text[matched_])) {
            if (++matched_ == text_.size()) return i + 1;
        } else {
            // The byte that broke the match is dropped, not tried against the first character.
            matched_ = 0;
        }
    }
    return kNotYet;
}

FileSearch findTextInFile(platform::FileSystem& files, platform::FileHandle file,
                          std::string_view text, std::size_t chunkSize, std::uint64_t* matchEnd) {
    std::uint64_t position = 0;
    if (!filePosition(files, file, &position)) return FileSearch::ReadFailed;
    TextMatcher matcher(text);
    if (matcher.complete()) {
        if (matchEnd != nullptr) *matchEnd = position;
        return FileSearch::Found;
    }
    if (chunkSize == 0) return FileSearch::ReadFailed;

    std::vector<unsigned char> buffer(chunkSize);
    for (;;) {
        std::uint32_t read = 0;
        if (files.ReadFile(file, buffer.data(), static_cast<std::uint32_t>(buffer.size()), &read) !=
            ERROR_SUCCESS)
            return FileSearch::ReadFailed;
        if (read == 0) return FileSearch::NotFound;
        read = std::min<std::uint32_t>(read, static_cast<std::uint32_t>(buffer.size()));
        const std::size_t used = matcher.feed(buffer.data(), read);
        if (used != TextMatcher::kNotYet) {
            // The buffer read past the match: put the pointer back just after it.
            position += used;
            if (!seekFile(files, file, position)) return FileSearch::ReadFailed;
            if (matchEnd != nullptr) *matchEnd = position;
            return FileSearch::Found;
        }
        position += read;
    }
}

}  // namespace settings

// How the card settings find a text in a file: the DOS start-up files (is the driver line
// there, where does it start) and the driver INF (where is the byte after a marker).
//
// The rule is deliberately simple, and the files on users' disks were edited by it, so it is
// kept exactly:
//  - bytes are compared one by one; the letters A-Z equal their lower-case forms, every
//    other byte (accented letters included) only itself;
//  - a '|' in the text, or in the file, matches any byte;
//  - after a mismatch the comparison starts again at the text's first character with the
//    NEXT byte: the byte that broke the match is not tried against the first character.
//    So "HHwAcceleration" does not contain "HwAcceleration", and a text is found only where
//    no partial match runs into it.
//
// The matcher keeps its state between calls, so a file can be fed in buffers of any size and
// a text that straddles two buffers is found as if the file were read byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace settings {

// The wildcard that matches any byte, on either side.
constexpr unsigned char kTextWildcard = '|';

// Whether a byte of a file matches a character of the searched text.
constexpr bool textByteMatches(unsigned char fileByte, unsigned char textByte) {
    if (fileByte == kTextWildcard || textByte == kTextWildcard) return true;
    const auto fold = [](unsigned char c) -> unsigned char {
        return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
    };
    return fold(fileByte) == fold(textByte);
}

class TextMatcher {
  public:
    // Returned by feed while the text is not complete.
    static constexpr std::size_t kNotYet = static_cast<std::size_t>(-1);

    explicit TextMatcher(std::string_view text) : text_(text) {}

    // Feeds the next `size` bytes of the file. Returns how many of them were used up to and
    // including the byte that completed the text (1 to size), or kNotYet when the text is
    // still incomplete after all of them. Once the text is complete nothing more is used:
    // further calls return 0. An empty text is complete from the start.
    std::size_t feed(const unsigned char* data, std::size_t size);

    bool complete() const { return matched_ == text_.size(); }
    // How many characters of the text the last bytes fed have matched so far.
    std::size_t matched() const { return matched_; }
    std::size_t length() const { return text_.size(); }
    // Starts over, as for a new file.
    void reset() { matched_ = 0; }

  private:
    std::string text_;
    std::size_t matched_ = 0;
};

// What a search in an open file found.
enum class FileSearch {
    Found,       // the file pointer is just past the match
    NotFound,    // the file ended first; the file pointer is at its end
    ReadFailed,  // a read failed; the file pointer is wherever that read left it
};

// Searches an open file for `text` from its current position, reading `chunkSize` bytes per
// ReadFile (kFileChunkSize in the product; tests use small chunks to move the buffer
// boundaries). On Found, *matchEnd (may be null) receives the offset just past the match and
// the file pointer is put there, exactly where a byte-by-byte search would have left it.
FileSearch findTextInFile(platform::FileSystem& files, platform::FileHandle file,
                          std::string_view text, std::size_t chunkSize,
                          std::uint64_t* matchEnd = nullptr);

}  // namespace settings

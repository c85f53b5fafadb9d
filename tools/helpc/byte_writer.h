// Little-endian byte output for the help file's structures, and the variable-length numbers
// of the topic records (a small value in fewer bytes, the low bit saying which form is used).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace helpc {

using Bytes = std::vector<std::uint8_t>;

struct ByteWriter {
    Bytes bytes;

    void u8(unsigned value) { bytes.push_back(static_cast<std::uint8_t>(value)); }
    void u16(unsigned value) {
        u8(value & 0xFF);
        u8((value >> 8) & 0xFF);
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    // A string with its terminating zero.
    void stringz(const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        u8(0);
    }
    // A string in a field of `size` bytes, zero-padded.
    void fixedString(const std::string& text, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            u8(i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
    }
    void append(const Bytes& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
    std::size_t size() const { return bytes.size(); }
    void put32At(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }

    // The compressed numbers of topic records (see byte_writer.cpp for their encoding). The
    // writer only stores sizes and spacings of one topic block, far inside these ranges.
    void compressedLong(std::uint32_t value);    // signed form, value < 0x40000000
    void compressedUShort(std::uint32_t value);  // value < 0x8000
    void compressedShort(int value);             // 0 <= value < 0x4000
};

}  // namespace helpc

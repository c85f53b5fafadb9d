#include "tools/helpc/byte_writer.h"

namespace helpc {

// The viewer's decoding: an odd first byte means the long form. Long (signed): two bytes
// v -> (v - 0x8000) / 2, four bytes v -> (v - 0x80000000) / 2. Unsigned short: one byte
// v -> v / 2, two bytes v -> v / 2. Short (signed): one byte v -> (v - 0x80) / 2, two bytes
// v -> (v - 0x8000) / 2.
void ByteWriter::compressedLong(std::uint32_t value) {
    if (value < 0x4000)
        u16(0x8000 + value * 2);
    else
        u32(0x80000000u + value * 2 + 1);
}

void ByteWriter::compressedUShort(std::uint32_t value) {
    if (value < 0x80)
        u8(value * 2);
    else
        u16(value * 2 + 1);
}

void ByteWriter::compressedShort(int value) {
    auto v = static_cast<unsigned>(value);
    if (value < 0x40)
        u8(0x80 + v * 2);
    else
        u16(0x8000 + v * 2 + 1);
}

}  // namespace helpc

// The Configuration Manager's resource record of one device node (CMCONFIG), as
// "\\.\PNPCONF.VXD" hands it out, and its decoding into an aligned record.
//
// The device writes the record packed and little-endian, 216 bytes:
//
//   offset  field                              width
//        0  number of memory windows           u16
//        2  memory window bases, 9             u32 each
//       38  memory window lengths, 9           u32 each
//       74  memory window attributes, 9        u16 each
//       92  number of I/O ranges               u16
//       94  I/O range bases, 20                u16 each
//      134  I/O range lengths, 20              u16 each
//      174  number of IRQs                     u16
//      176  IRQ numbers, 7                     u8 each
//      183  IRQ attributes, 7                  u8 each
//      190  number of DMA channels             u16
//      192  DMA channel numbers, 7             u8 each
//      199  DMA attributes, 7                  u16 each
//      213  reserved                           3 bytes
//
// The decoder is a pure function over bytes so that it can be tested and fuzzed alone.
#pragma once

#include <cstddef>
#include <cstdint>

namespace inspector {

constexpr std::size_t kCmConfigBytes = 216;

constexpr std::size_t kMaxMemoryWindows = 9;
constexpr std::size_t kMaxIoRanges = 20;
constexpr std::size_t kMaxIrqs = 7;
constexpr std::size_t kMaxDmaChannels = 7;

// The aligned copy of a CMCONFIG record. Each count is at most its array's capacity; entries
// past the count are zero.
struct CmConfig {
    std::uint16_t memoryCount = 0;
    std::uint32_t memoryBase[kMaxMemoryWindows] = {};
    std::uint32_t memoryLength[kMaxMemoryWindows] = {};
    std::uint16_t memoryAttributes[kMaxMemoryWindows] = {};

    std::uint16_t ioCount = 0;
    std::uint16_t ioBase[kMaxIoRanges] = {};
    std::uint16_t ioLength[kMaxIoRanges] = {};

    std::uint16_t irqCount = 0;
    std::uint8_t irq[kMaxIrqs] = {};
    std::uint8_t irqAttributes[kMaxIrqs] = {};

    std::uint16_t dmaCount = 0;
    std::uint8_t dma[kMaxDmaChannels] = {};
    std::uint16_t dmaAttributes[kMaxDmaChannels] = {};
};

// Decodes a packed record. `out` is first reset to an empty record; then, when `size` is
// at least kCmConfigBytes, the counts and as many entries of each array as its count says
// are copied. A count larger than its array's capacity is clamped to the capacity (the
// device never reports more; a record that does is damaged, and its arrays hold no more).
// Bytes past kCmConfigBytes are ignored. Returns false, with the empty record, when `size`
// is too small or a pointer is null. Never reads outside [bytes, bytes + kCmConfigBytes).
bool decodeCmConfig(const std::uint8_t* bytes, std::size_t size, CmConfig* out);

}  // namespace inspector

#include "inspector/cm_config.h"

#include <algorithm>

namespace inspector {

namespace {

// Offsets of the packed record's fields.
constexpr std::size_t kMemoryCountAt = 0;
constexpr std::size_t kMemoryBaseAt = 2;
constexpr std::size_t kMemoryLengthAt = 38;
constexpr std::size_t kMemoryAttributesAt = 74;
constexpr std::size_t kIoCountAt = 92;
constexpr std::size_t kIoBaseAt = 94;
constexpr std::size_t kIoLengthAt = 134;
constexpr std::size_t kIrqCountAt = 174;
constexpr std::size_t kIrqAt = 176;
constexpr std::size_t kIrqAttributesAt = 183;
constexpr std::size_t kDmaCountAt = 190;
constexpr std::size_t kDmaAt = 192;
constexpr std::size_t kDmaAttributesAt = 199;
constexpr std::size_t kReservedAt = 213;

static_assert(kMemoryCountAt + 2 == kMemoryBaseAt && kIoCountAt + 2 == kIoBaseAt);
static_assert(kIrqCountAt + 2 == kIrqAt && kDmaCountAt + 2 == kDmaAt);
static_assert(kMemoryBaseAt + 4 * kMaxMemoryWindows == kMemoryLengthAt);
static_assert(kMemoryLengthAt + 4 * kMaxMemoryWindows == kMemoryAttributesAt);
static_assert(kMemoryAttributesAt + 2 * kMaxMemoryWindows == kIoCountAt);
static_assert(kIoBaseAt + 2 * kMaxIoRanges == kIoLengthAt);
static_assert(kIoLengthAt + 2 * kMaxIoRanges == kIrqCountAt);
static_assert(kIrqAt + kMaxIrqs == kIrqAttributesAt);
static_assert(kIrqAttributesAt + kMaxIrqs == kDmaCountAt);
static_assert(kDmaAt + kMaxDmaChannels == kDmaAttributesAt);
static_assert(kDmaAttributesAt + 2 * kMaxDmaChannels == kReservedAt);
static_assert(kReservedAt + 3 == kCmConfigBytes);

std::uint16_t u16At(const std::uint8_t* p, std::size_t at) {
    return static_cast<std::uint16_t>(p[at] | p[at + 1] << 8);
}

std::uint32_t u32At(const std::uint8_t* p, std::size_t at) {
    return static_cast<std::uint32_t>(p[at]) | static_cast<std::uint32_t>(p[at + 1]) << 8 |
           static_cast<std::uint32_t>(p[at + 2]) << 16 | static_cast<std::uint32_t>(p[at + 3]) << 24;
}

// The record's count, clamped to what its array can hold.
std::uint16_t countAt(const std::uint8_t* p, std::size_t at, std::size_t capacity) {
    return static_cast<std::uint16_t>(std::min<std::size_t>(u16At(p, at), capacity));
}

}  // namespace

bool decodeCmConfig(const std::uint8_t* bytes, std::size_t size, CmConfig* out) {
    if (out == nullptr) return false;
    *out = CmConfig{};
    if (bytes == nullptr || size < kCmConfigBytes) return false;

    CmConfig& r = *out;
    r.memoryCount = countAt(bytes, kMemoryCountAt, kMaxMemoryWindows);
    for (std::size_t i = 0; i < r.memoryCount; ++i) {
        r.memoryBase[i] = u32At(bytes, kMemoryBaseAt + 4 * i);
        r.memoryLength[i] = u32At(bytes, kMemoryLengthAt + 4 * i);
        r.memoryAttributes[i] = u16At(bytes, kMemoryAttributesAt + 2 * i);
    }

    r.ioCount = countAt(bytes, kIoCountAt, kMaxIoRanges);
    for (std::size_t i = 0; i < r.ioCount; ++i) {
        r.ioBase[i] = u16At(bytes, kIoBaseAt + 2 * i);
        r.ioLength[i] = u16At(bytes, kIoLengthAt + 2 * i);
    }

    r.irqCount = countAt(bytes, kIrqCountAt, kMaxIrqs);
    for (std::size_t i = 0; i < r.irqCount; ++i) {
        r.irq[i] = bytes[kIrqAt + i];
        r.irqAttributes[i] = bytes[kIrqAttributesAt + i];
    }

    r.dmaCount = countAt(bytes, kDmaCountAt, kMaxDmaChannels);
    for (std::size_t i = 0; i < r.dmaCount; ++i) {
        r.dma[i] = bytes[kDmaAt + i];
        r.dmaAttributes[i] = u16At(bytes, kDmaAttributesAt + 2 * i);
    }
    return true;
}

}  // namespace inspector

// Packed CMCONFIG records for tests: the byte layout the Configuration Manager hands out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace inspector_test {

// Field offsets of the packed record.
enum : std::size_t {
    kMemCount = 0, kMemBase = 2, kMemLength = 38, kMemAttr = 74,
    kIoCount = 92, kIoBase = 94, kIoLength = 134,
    kIrqCount = 174, kIrq = 176, kIrqAttr = 183,
    kDmaCount = 190, kDma = 192, kDmaAttr = 199,
};

class RecordBuilder {
public:
    RecordBuilder() : bytes_(216, 0) {}

    RecordBuilder& memory(std::uint32_t base, std::uint32_t length) {
        const std::size_t i = next(kMemCount);
        u32(kMemBase + 4 * i, base);
        u32(kMemLength + 4 * i, length);
        return *this;
    }
    RecordBuilder& io(std::uint16_t base, std::uint16_t length) {
        const std::size_t i = next(kIoCount);
        u16(kIoBase + 2 * i, base);
        u16(kIoLength + 2 * i, length);
        return *this;
    }
    RecordBuilder& irq(std::uint8_t number) {
        bytes_[kIrq + next(kIrqCount)] = number;
        return *this;
    }
    RecordBuilder& dma(std::uint8_t channel) {
        bytes_[kDma + next(kDmaCount)] = channel;
        return *this;
    }
    // Writes a field directly, e.g. a count beyond its array.
    RecordBuilder& u16(std::size_t at, std::uint16_t value) {
        bytes_[at] = static_cast<std::uint8_t>(value);
        bytes_[at + 1] = static_cast<std::uint8_t>(value >> 8);
        return *this;
    }
    RecordBuilder& u32(std::size_t at, std::uint32_t value) {
        u16(at, static_cast<std::uint16_t>(value));
        return u16(at + 2, static_cast<std::uint16_t>(value >> 16));
    }
    RecordBuilder& fill(std::uint8_t byte) {
        bytes_.assign(bytes_.size(), byte);
        return *this;
    }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::size_t next(std::size_t countAt) {
        const std::size_t i = bytes_[countAt] | bytes_[countAt + 1] << 8;
        u16(countAt, static_cast<std::uint16_t>(i + 1));
        return i;
    }

    std::vector<std::uint8_t> bytes_;
};

}  // namespace inspector_test

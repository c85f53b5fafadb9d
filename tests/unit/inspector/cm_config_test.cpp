// Decoding the Configuration Manager's packed resource record.
#include "inspector/cm_config.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/unit/inspector/record_builder.h"

using inspector::CmConfig;
using inspector::decodeCmConfig;
using inspector_test::RecordBuilder;

TEST(CmConfig, DecodesEveryKindAtItsPackedOffset) {
    RecordBuilder b;
    b.memory(0xD0000, 0x1000).memory(0xFFFFF000, 0x2000);
    b.io(0x220, 16).io(0x388, 4).io(0xE800, 256);
    b.irq(5).irq(10).dma(1);
    b.u16(inspector_test::kMemAttr + 2, 0xA5A5).u16(inspector_test::kDmaAttr, 0x1234);
    b.u16(inspector_test::kIrqAttr, 0x0077);  // IRQ attribute byte 0x77, next byte 0

    CmConfig r;
    ASSERT_TRUE(decodeCmConfig(b.bytes().data(), b.bytes().size(), &r));
    EXPECT_EQ(r.memoryCount, 2);
    EXPECT_EQ(r.memoryBase[0], 0xD0000u);
    EXPECT_EQ(r.memoryLength[1], 0x2000u);
    EXPECT_EQ(r.memoryBase[1], 0xFFFFF000u);
    EXPECT_EQ(r.memoryAttributes[1], 0xA5A5);
    EXPECT_EQ(r.ioCount, 3);
    EXPECT_EQ(r.ioBase[1], 0x388);
    EXPECT_EQ(r.ioLength[2], 256);
    EXPECT_EQ(r.irqCount, 2);
    EXPECT_EQ(r.irq[0], 5);
    EXPECT_EQ(r.irq[1], 10);
    EXPECT_EQ(r.irqAttributes[0], 0x77);
    EXPECT_EQ(r.dmaCount, 1);
    EXPECT_EQ(r.dma[0], 1);
    EXPECT_EQ(r.dmaAttributes[0], 0x1234);
}

TEST(CmConfig, CopiesOnlyAsManyEntriesAsEachCountSays) {
    // Every byte set, then the counts put back to 1: the entries past them are not copied.
    RecordBuilder b;
    b.fill(0xEE);
    b.u16(inspector_test::kMemCount, 1).u16(inspector_test::kIoCount, 1);
    b.u16(inspector_test::kIrqCount, 1).u16(inspector_test::kDmaCount, 0);

    CmConfig r;
    ASSERT_TRUE(decodeCmConfig(b.bytes().data(), b.bytes().size(), &r));
    EXPECT_EQ(r.memoryBase[0], 0xEEEEEEEEu);
    EXPECT_EQ(r.memoryBase[1], 0u);
    EXPECT_EQ(r.memoryAttributes[1], 0);
    EXPECT_EQ(r.ioBase[0], 0xEEEE);
    EXPECT_EQ(r.ioLength[1], 0);
    EXPECT_EQ(r.irqAttributes[1], 0);
    EXPECT_EQ(r.dma[0], 0);
    EXPECT_EQ(r.dmaAttributes[0], 0);
}

TEST(CmConfig, ClampsCountsBeyondTheArraysAndReadsNoFurther) {
    RecordBuilder b;
    b.fill(0xFF);  // every count 65535
    // An exact-size heap copy, so that a read past the record is caught under ASan.
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[216]);
    std::copy(b.bytes().begin(), b.bytes().end(), bytes.get());

    CmConfig r;
    ASSERT_TRUE(decodeCmConfig(bytes.get(), 216, &r));
    EXPECT_EQ(r.memoryCount, 9);
    EXPECT_EQ(r.ioCount, 20);
    EXPECT_EQ(r.irqCount, 7);
    EXPECT_EQ(r.dmaCount, 7);
    EXPECT_EQ(r.memoryAttributes[8], 0xFFFF);
    EXPECT_EQ(r.ioLength[19], 0xFFFF);
    EXPECT_EQ(r.dmaAttributes[6], 0xFFFF);
}

TEST(CmConfig, RefusesShortInputWithAnEmptyRecord) {
    RecordBuilder b;
    b.io(0x220, 16);
    CmConfig r;
    r.ioCount = 3;
    EXPECT_FALSE(decodeCmConfig(b.bytes().data(), 216 - 1, &r));
    EXPECT_EQ(r.ioCount, 0);
    EXPECT_EQ(r.ioBase[0], 0);
    EXPECT_FALSE(decodeCmConfig(nullptr, 216, &r));
    EXPECT_FALSE(decodeCmConfig(b.bytes().data(), b.bytes().size(), nullptr));
    // Longer input: the record is its first 216 bytes.
    std::vector<std::uint8_t> longer = b.bytes();
    longer.resize(300, 0xFF);
    ASSERT_TRUE(decodeCmConfig(longer.data(), longer.size(), &r));
    EXPECT_EQ(r.ioCount, 1);
}

#include <cstdint>
#include <vector>

#include "platform/sim/sim_pci_config.h"
#include "tests/unit/hardware/hardware_fixture.h"

namespace tunara_test {
namespace {

// What a read of a function that is not there returns.
constexpr std::uint32_t kPciNoDevice = 0xFFFFFFFFu;
using platform::sim::SimPciConfig;
using platform::sim::simPciFunctionKey;

// A configuration space whose byte i is (i + seed) & 0xFF, with the ids at offset 0.
std::vector<std::uint8_t> space(std::size_t size, std::uint16_t vendor, std::uint16_t device,
                                std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i + seed);
    if (size >= 4) {
        bytes[0] = static_cast<std::uint8_t>(vendor);
        bytes[1] = static_cast<std::uint8_t>(vendor >> 8);
        bytes[2] = static_cast<std::uint8_t>(device);
        bytes[3] = static_cast<std::uint8_t>(device >> 8);
    }
    return bytes;
}

class PciConfigTest : public HardwareTest {
  protected:
    void SetUp() override {
        // A Maestro-2E at 00:0A.0 with a full 256-byte space.
        setValue(simPciFunctionKey(0, 10, 0), "Config", REG_BINARY, space(256, 0x125D, 0x1978, 0));
        // A short description: six bytes only.
        setValue(simPciFunctionKey(1, 5, 1), "Config", REG_BINARY,
                 {0x85, 0x12, 0x00, 0x10, 0xAA, 0xBB});
        // Longer than a configuration space: 300 bytes.
        setValue(simPciFunctionKey(0, 11, 0), "Config", REG_BINARY, space(300, 0x1011, 0x0024, 7));
        // A Config of the wrong type, and a key without Config.
        setDword(simPciFunctionKey(0, 12, 0), "Config", 0x01001285);
        load("[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\PCI\\00:0D.0]\n");
    }
};

TEST_F(PciConfigTest, ReadsDwordsOfEachFunctionAsTheBusAnswers) {
    struct Row {
        std::uint32_t bus, device, function, offset, expected;
    };
    const Row rows[] = {
        {0, 10, 0, 0x00, 0x1978125D},  // ids
        {0, 10, 0, 0x08, 0x0B0A0908},  // revision dword
        {0, 10, 0, 0x09, 0x0B0A0908},  // low offset bits ignored, as by the address register
        {0, 10, 0, 0x0B, 0x0B0A0908},
        {0, 10, 0, 0x2C, 0x2F2E2D2C},    // subsystem
        {0, 10, 0, 0xFC, 0xFFFEFDFC},    // last dword of the space
        {0, 10, 1, 0x00, kPciNoDevice},  // another function of the same device: empty
        {0, 9, 0, 0x00, kPciNoDevice},   // empty slot
        {1, 10, 0, 0x00, kPciNoDevice},  // same device number on another bus
        {1, 5, 1, 0x00, 0x10001285},     // short blob, whole dword present
        {1, 5, 1, 0x04, 0x0000BBAA},     // half present: the rest reads 0
        {1, 5, 1, 0x08, 0x00000000},     // wholly past its end
        {0, 11, 0, 0xFC, 0x06050403},    // 300-byte blob: bytes 252..255 count
        {0, 12, 0, 0x00, kPciNoDevice},  // Config not REG_BINARY
        {0, 13, 0, 0x00, kPciNoDevice},  // key without Config
        // Outside configuration space: must not alias a neighbour's registers.
        {0, 10, 0, 0x100, kPciNoDevice},
        {0, 10, 0, 0x1FC, kPciNoDevice},
        {0, 10 + 32, 0, 0x00, kPciNoDevice},
        {256, 10, 0, 0x00, kPciNoDevice},
        {0, 10, 8, 0x00, kPciNoDevice},
    };
    SimPciConfig pci(registry);
    for (const Row& row : rows) {
        EXPECT_EQ(pci.ReadConfigDword(row.bus, row.device, row.function, row.offset), row.expected)
            << std::hex << "bus " << row.bus << " device " << row.device << " function "
            << row.function << " offset " << row.offset;
    }
}

TEST_F(PciConfigTest, ByteReadsTakeTheirLaneOfTheDword) {
    SimPciConfig pci(registry);
    EXPECT_EQ(platform::readPciConfigByte(pci, 0, 10, 0, 0x08), 0x08);
    EXPECT_EQ(platform::readPciConfigByte(pci, 0, 10, 0, 0x0B), 0x0B);
    EXPECT_EQ(platform::readPciConfigByte(pci, 0, 9, 0, 0x08), 0xFF);
}

TEST_F(PciConfigTest, CountsEveryReadUntilReset) {
    SimPciConfig pci(registry);
    EXPECT_EQ(pci.readCount(), 0u);
    pci.ReadConfigDword(0, 10, 0, 0);  // present
    pci.ReadConfigDword(0, 9, 0, 0);   // empty
    pci.ReadConfigDword(0, 40, 0, 0);  // out of range
    EXPECT_EQ(pci.readCount(), 3u);
    pci.resetReadCount();
    EXPECT_EQ(pci.readCount(), 0u);
    pci.ReadConfigDword(0, 10, 0, 0);
    EXPECT_EQ(pci.readCount(), 1u);
}

TEST_F(PciConfigTest, WithoutPortAccessEveryReadIsEmptyButCounted) {
    SimPciConfig pci(registry);
    EXPECT_TRUE(pci.IsPortIoAvailable());
    pci.setPortIoAvailable(false);
    EXPECT_FALSE(pci.IsPortIoAvailable());
    EXPECT_EQ(pci.ReadConfigDword(0, 10, 0, 0), kPciNoDevice);
    EXPECT_EQ(pci.readCount(), 1u);
}

TEST_F(PciConfigTest, SeesChangesMadeThroughTheRegistryAtOnce) {
    // Another process changes the machine between two reads of this one.
    SimPciConfig pci(registry);
    ASSERT_EQ(pci.ReadConfigDword(0, 10, 0, 0), 0x1978125Du);
    ASSERT_EQ(pci.ReadConfigDword(0, 3, 0, 0), kPciNoDevice);

    setValue(simPciFunctionKey(0, 10, 0), "Config", REG_BINARY, space(64, 0x1285, 0x0100, 0));
    setValue(simPciFunctionKey(0, 3, 0), "Config", REG_BINARY, space(64, 0x8086, 0x7110, 0));
    EXPECT_EQ(pci.ReadConfigDword(0, 10, 0, 0), 0x01001285u);
    EXPECT_EQ(pci.ReadConfigDword(0, 3, 0, 0), 0x71108086u);

    platform::HKey pciKey = 0;
    ASSERT_EQ(
        registry.OpenKeyEx(HKEY_LOCAL_MACHINE, platform::sim::kSimPciKey, KEY_ALL_ACCESS, &pciKey),
        ERROR_SUCCESS);
    ASSERT_EQ(registry.DeleteKey(pciKey, "00:0A.0"), ERROR_SUCCESS);
    registry.CloseKey(pciKey);
    EXPECT_EQ(pci.ReadConfigDword(0, 10, 0, 0), kPciNoDevice);
}

TEST(PciLayout, NamesFunctionsAsTheMachineDescriptionsDo) {
    EXPECT_EQ(platform::sim::simPciFunctionName(0, 10, 0), "00:0A.0");
    EXPECT_EQ(platform::sim::simPciFunctionName(0xFF, 31, 7), "FF:1F.7");
    EXPECT_EQ(simPciFunctionKey(1, 5, 1), "Software\\SimulatedHardware\\PCI\\01:05.1");
}

}  // namespace
}  // namespace tunara_test

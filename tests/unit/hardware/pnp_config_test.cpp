#include <cstdint>
#include <vector>

#include "platform/sim/sim_pnp_config.h"
#include "tests/unit/hardware/hardware_fixture.h"

namespace tunara_test {
namespace {

using platform::HDevice;
// The configuration manager's device as the inspector opens it, the control code of its
// resource query and the size of the record it returns, as the programs use them.
constexpr std::size_t kCmConfigSize = 216;
constexpr const char* kPnpConfDevicePath = "\\\\.\\PNPCONF.VXD";
constexpr std::uint32_t kPnpConfGetConfig = 2;
using platform::sim::SimPnpConfig;
using platform::sim::simPnpNodeKey;

constexpr std::uint32_t kOpenFlags = FILE_FLAG_DELETE_ON_CLOSE;

std::vector<std::uint8_t> record(std::uint8_t seed, std::size_t size = kCmConfigSize) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 3 + seed);
    return bytes;
}

std::vector<std::uint8_t> nodeInput(std::uint32_t node) {
    return {static_cast<std::uint8_t>(node), static_cast<std::uint8_t>(node >> 8),
            static_cast<std::uint8_t>(node >> 16), static_cast<std::uint8_t>(node >> 24)};
}

class PnpConfigTest : public HardwareTest {
  protected:
    // Opens the VxD, which the test expects to succeed.
    HDevice open(SimPnpConfig& pnp) {
        HDevice device = 0;
        EXPECT_EQ(pnp.CreateFile(kPnpConfDevicePath, 0, 0, 0, kOpenFlags, &device), ERROR_SUCCESS);
        return device;
    }
};

TEST_F(PnpConfigTest, DeviceOpensOnlyWhenPresent) {
    struct Row {
        const char* setup;
        const char* path;
        std::uint32_t expected;
    };
    const Row rows[] = {
        {"", kPnpConfDevicePath, ERROR_FILE_NOT_FOUND},
        {"[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\PnpConf]\n", kPnpConfDevicePath,
         ERROR_FILE_NOT_FOUND},
        {"[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\PnpConf]\n\"Present\"=dword:0\n",
         kPnpConfDevicePath, ERROR_FILE_NOT_FOUND},
        {"[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\PnpConf]\n\"Present\"=hex:01\n",
         kPnpConfDevicePath, ERROR_FILE_NOT_FOUND},
        {"[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\PnpConf]\n\"Present\"=dword:1\n",
         kPnpConfDevicePath, ERROR_SUCCESS},
        {"[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\PnpConf]\n\"Present\"=dword:1\n",
         "\\\\.\\pnpconf.vxd", ERROR_SUCCESS},
        {"[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\PnpConf]\n\"Present\"=dword:1\n",
         "\\\\.\\VXDLDR.VXD", ERROR_FILE_NOT_FOUND},
        {"[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\PnpConf]\n\"Present\"=dword:1\n",
         "PNPCONF.VXD", ERROR_FILE_NOT_FOUND},
    };
    for (const Row& row : rows) {
        platform::host::HostRegistry fresh;
        std::string error;
        ASSERT_TRUE(fresh.importRegedit4(std::string("REGEDIT4\n\n") + row.setup, &error)) << error;
        SimPnpConfig pnp(fresh);
        HDevice device = 0xCCCC;
        EXPECT_EQ(pnp.CreateFile(row.path, 0, 0, 0, kOpenFlags, &device), row.expected)
            << row.setup << row.path;
        if (row.expected == ERROR_SUCCESS) {
            EXPECT_NE(device, 0u);
            EXPECT_EQ(pnp.CloseHandle(device), ERROR_SUCCESS);
        } else {
            EXPECT_EQ(device, 0xCCCCu) << "a failed open must leave the result alone";
        }
        EXPECT_EQ(pnp.openHandleCount(), 0u);
        EXPECT_EQ(fresh.openHandleCount(), 0u);
    }
}

TEST_F(PnpConfigTest, AnswersEachNodeWithItsOwnRecordOrFails) {
    setDword(platform::sim::kSimPnpConfKey, "Present", 1);
    setValue(simPnpNodeKey(0x00000401), "Config", REG_BINARY, record(1));
    setValue(simPnpNodeKey(0xC29A0000), "Config", REG_BINARY, record(2));
    setValue(simPnpNodeKey(0x00000500), "Config", REG_BINARY, record(3, kCmConfigSize - 1));
    setValue(simPnpNodeKey(0x00000501), "Config", REG_BINARY, record(4, kCmConfigSize + 1));
    setValue(simPnpNodeKey(0x00000502), "Config", 0 /* REG_NONE */, record(5));
    load("[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\PnpConf\\00000503]\n");

    struct Row {
        std::uint32_t node;
        std::uint32_t expected;
        int seed;  // the record expected on success
    };
    const Row rows[] = {
        {0x00000401, ERROR_SUCCESS, 1},        {0xC29A0000, ERROR_SUCCESS, 2},
        {0x00000402, ERROR_FILE_NOT_FOUND, 0},  // no key
        {0x00000500, ERROR_GEN_FAILURE, 0},     // one byte short
        {0x00000501, ERROR_GEN_FAILURE, 0},     // one byte long
        {0x00000502, ERROR_GEN_FAILURE, 0},     // not REG_BINARY
        {0x00000503, ERROR_GEN_FAILURE, 0},     // key without Config
    };
    SimPnpConfig pnp(registry);
    const HDevice device = open(pnp);
    for (const Row& row : rows) {
        // One byte more than a record, to see that nothing is written past it.
        std::vector<std::uint8_t> out(kCmConfigSize + 1, 0xCC);
        std::uint32_t returned = 0xDEADBEEF;
        const std::vector<std::uint8_t> in = nodeInput(row.node);
        EXPECT_EQ(pnp.DeviceIoControl(device, kPnpConfGetConfig, in.data(), 4, out.data(),
                                      static_cast<std::uint32_t>(out.size()), &returned),
                  row.expected)
            << std::hex << row.node;
        if (row.expected == ERROR_SUCCESS) {
            const std::vector<std::uint8_t> expected = record(static_cast<std::uint8_t>(row.seed));
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin()))
                << std::hex << row.node;
            EXPECT_EQ(out.back(), 0xCC);
            EXPECT_EQ(returned, kCmConfigSize);
        } else {
            EXPECT_EQ(out, std::vector<std::uint8_t>(kCmConfigSize + 1, 0xCC))
                << std::hex << row.node;
            EXPECT_EQ(returned, 0xDEADBEEFu);
        }
    }
    EXPECT_EQ(pnp.CloseHandle(device), ERROR_SUCCESS);
}

TEST_F(PnpConfigTest, RefusesBadCallsWithoutTouchingTheOutput) {
    setDword(platform::sim::kSimPnpConfKey, "Present", 1);
    setValue(simPnpNodeKey(0x401), "Config", REG_BINARY, record(1));
    SimPnpConfig pnp(registry);
    const HDevice device = open(pnp);
    const std::vector<std::uint8_t> in = nodeInput(0x401);
    std::vector<std::uint8_t> out(kCmConfigSize, 0xCC);
    const std::vector<std::uint8_t> untouched = out;

    EXPECT_EQ(pnp.DeviceIoControl(device, 3, in.data(), 4, out.data(), kCmConfigSize, nullptr),
              ERROR_INVALID_FUNCTION);
    EXPECT_EQ(pnp.DeviceIoControl(device, kPnpConfGetConfig, in.data(), 3, out.data(),
                                  kCmConfigSize, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(pnp.DeviceIoControl(device, kPnpConfGetConfig, nullptr, 4, out.data(), kCmConfigSize,
                                  nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(pnp.DeviceIoControl(device, kPnpConfGetConfig, in.data(), 4, out.data(),
                                  kCmConfigSize - 1, nullptr),
              ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(out, untouched);

    // A null byte count is allowed.
    EXPECT_EQ(pnp.DeviceIoControl(device, kPnpConfGetConfig, in.data(), 4, out.data(),
                                  kCmConfigSize, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(out, record(1));

    EXPECT_EQ(pnp.CloseHandle(device), ERROR_SUCCESS);
    EXPECT_EQ(pnp.CloseHandle(device), ERROR_INVALID_HANDLE);
    EXPECT_EQ(pnp.DeviceIoControl(device, kPnpConfGetConfig, in.data(), 4, out.data(),
                                  kCmConfigSize, nullptr),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(pnp.CreateFile(nullptr, 0, 0, 0, kOpenFlags, nullptr), ERROR_INVALID_PARAMETER);
}

// What the real back-end copies out of its private buffer after a successful call: the
// configuration query's whole record, also when the device reports fewer bytes (the count
// starts at 0 and some virtual devices never set it); other codes what the device reported.
TEST(PnpConfigBytesUsed, TheRecordIsUsedWholeWhateverTheDeviceReports) {
    const struct {
        std::uint32_t code, outSize, reported, used;
    } rows[] = {
        {kPnpConfGetConfig, kCmConfigSize, kCmConfigSize, kCmConfigSize},
        {kPnpConfGetConfig, kCmConfigSize, 0, kCmConfigSize},
        {kPnpConfGetConfig, kCmConfigSize, 40, kCmConfigSize},
        {kPnpConfGetConfig, kCmConfigSize, 5000, kCmConfigSize},
        {kPnpConfGetConfig, 300, 0, kCmConfigSize},
        {kPnpConfGetConfig, 100, 0, 100},
        {kPnpConfGetConfig, 0, 0, 0},
        {7, kCmConfigSize, 0, 0},
        {7, kCmConfigSize, 12, 12},
        {7, 8, 12, 8},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::pnpConfigBytesUsed(row.code, row.outSize, row.reported), row.used)
            << row.code << " " << row.outSize << " " << row.reported;
    }
}

}  // namespace
}  // namespace tunara_test

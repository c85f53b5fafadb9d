#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/sim_installable_drivers.h"
#include "tests/unit/hardware/hardware_fixture.h"

namespace tunara_test {
namespace {

using platform::HDriver;
using platform::sim::kSimWaveDriverKey;
using platform::sim::SimInstallableDrivers;

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

TEST_F(HardwareTest, TheWaveDriverOpensOnlyWhenPresentAndByItsName) {
    SimInstallableDrivers drivers(registry);
    EXPECT_EQ(drivers.OpenDriver("es197x.drv", nullptr, 0), 0u) << "no WaveDriver key";
    setDword(kSimWaveDriverKey, "Present", 0);
    EXPECT_EQ(drivers.OpenDriver("es197x.drv", nullptr, 0), 0u);
    setDword(kSimWaveDriverKey, "Present", 1);

    const char* const opening[] = {"es197x.drv", "ES197X.DRV", "C:\\WINDOWS\\SYSTEM\\es197x.drv"};
    for (const char* name : opening) {
        const HDriver driver = drivers.OpenDriver(name, nullptr, 0);
        EXPECT_NE(driver, 0u) << name;
        EXPECT_EQ(drivers.CloseDriver(driver, 0, 0), 1) << name;
    }
    const char* const refused[] = {"es1969.drv", "es197x.drv.bak", "xes197x.drv", ""};
    for (const char* name : refused) {
        EXPECT_EQ(drivers.OpenDriver(name, nullptr, 0), 0u) << name;
    }
    EXPECT_EQ(drivers.OpenDriver(nullptr, nullptr, 0), 0u);
    EXPECT_EQ(drivers.openDriverCount(), 0u);
}

TEST_F(HardwareTest, EveryMessageIsAppendedInLowerCaseHex) {
    setDword(kSimWaveDriverKey, "Present", 1);
    SimInstallableDrivers drivers(registry);
    const HDriver driver = drivers.OpenDriver("es197x.drv", nullptr, 0);
    ASSERT_NE(driver, 0u);
    EXPECT_EQ(drivers.SendDriverMessage(driver, DRV_USER + 0x15, 4, 0), 0);
    drivers.SendDriverMessage(driver, DRV_USER + 1, -1, 0x1234ABCD);
    EXPECT_EQ(drivers.CloseDriver(driver, 0, 0), 1);

    std::uint32_t type = REG_NONE;
    EXPECT_EQ(rawValue(kSimWaveDriverKey, "Messages", &type),
              bytesOf(std::string("4015,4,0\0"
                                  "4001,ffffffff,1234abcd\0\0",
                                  33)));
    EXPECT_EQ(type, REG_MULTI_SZ);

    // Nothing reaches a closed driver.
    EXPECT_EQ(drivers.SendDriverMessage(driver, DRV_USER, 0, 0), 0);
    EXPECT_EQ(drivers.CloseDriver(driver, 0, 0), 0);
    EXPECT_EQ(SimInstallableDrivers::readMessages(registry),
              (std::vector<std::string>{"4015,4,0", "4001,ffffffff,1234abcd"}));
}

TEST_F(HardwareTest, MessagesAlreadyListedAreKept) {
    struct Row {
        const char* what;
        std::vector<std::uint8_t> stored;
        std::uint32_t type;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"a proper list",
         bytesOf(std::string("1,2,3\0"
                             "4,5,6\0\0",
                             14)),
         REG_MULTI_SZ,
         {"1,2,3", "4,5,6", "4015,4,0"}},
        {"an empty list", bytesOf(std::string("\0", 1)), REG_MULTI_SZ, {"4015,4,0"}},
        {"no bytes at all", {}, REG_MULTI_SZ, {"4015,4,0"}},
        {"a list without its final zero",
         bytesOf(std::string("1,2,3\0", 6)),
         REG_MULTI_SZ,
         {"1,2,3", "4015,4,0"}},
        {"a last string cut short", bytesOf("1,2,3"), REG_MULTI_SZ, {"1,2,3", "4015,4,0"}},
        {"a value of another type", bytesOf(std::string("1,2,3\0", 6)), REG_SZ, {"4015,4,0"}},
    };
    for (const Row& row : rows) {
        setDword(kSimWaveDriverKey, "Present", 1);
        setValue(kSimWaveDriverKey, "Messages", row.type, row.stored);
        SimInstallableDrivers drivers(registry);
        const HDriver driver = drivers.OpenDriver("es197x.drv", nullptr, 0);
        drivers.SendDriverMessage(driver, 0x4015, 4, 0);
        drivers.CloseDriver(driver, 0, 0);
        EXPECT_EQ(SimInstallableDrivers::readMessages(registry), row.expected) << row.what;
    }
}

TEST(WaveDriverLayout, FormatsMessagesWithoutPrefixOrPadding) {
    EXPECT_EQ(SimInstallableDrivers::formatMessage(0x4015, 4, 0), "4015,4,0");
    EXPECT_EQ(SimInstallableDrivers::formatMessage(0x800, 0x00ABCDEF, -2), "800,abcdef,fffffffe");
}

}  // namespace
}  // namespace tunara_test

// Planned failures: the chosen call fails with the chosen error and nothing changes.
#include <cstring>
#include <functional>
#include <string>

#include "registry_fixture.h"

namespace {

using platform::HKey;
using platform::host::RegistryFault;
using platform::host::RegistryOperation;
using registry_test::HostRegistryTest;

class RegistryFaultTest : public HostRegistryTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            reg.importRegedit4("REGEDIT4\n"
                               "[HKEY_LOCAL_MACHINE\\Software\\Tunara\\Config]\n"
                               "\"Mode\"=dword:00000002\n"
                               "[HKEY_LOCAL_MACHINE\\Software\\Tunara\\Config\\Sub]\n",
                               nullptr));
        ASSERT_EQ(
            reg.OpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tunara\\Config", KEY_ALL_ACCESS, &config),
            ERROR_SUCCESS);
    }
    void TearDown() override {
        reg.clearFaults();
        EXPECT_EQ(reg.CloseKey(config), ERROR_SUCCESS);
        HostRegistryTest::TearDown();
    }
    HKey config = 0;
};

TEST_F(RegistryFaultTest, EveryOperationFailsWithoutChangingState) {
    std::uint8_t data[8];
    std::uint32_t size = sizeof data, type = 0, count = 0;
    char name[32];
    std::uint32_t nameSize = sizeof name;
    HKey opened = 0x5555;
    std::uint32_t disposition = 0x77;
    const std::uint8_t four[4] = {9, 9, 9, 9};
    const struct {
        RegistryOperation operation;
        std::function<std::uint32_t()> call;
    } cases[] = {
        {RegistryOperation::OpenKey,
         [&] { return reg.OpenKeyEx(config, "Sub", KEY_READ, &opened); }},
        {RegistryOperation::CreateKey,
         [&] { return reg.CreateKeyEx(config, "New", 0, KEY_ALL_ACCESS, &opened, &disposition); }},
        {RegistryOperation::CloseKey, [&] { return reg.CloseKey(config); }},
        {RegistryOperation::QueryValue,
         [&] { return reg.QueryValueEx(config, "Mode", &type, data, &size); }},
        {RegistryOperation::SetValue,
         [&] { return reg.SetValueEx(config, "Mode", REG_DWORD, four, 4); }},
        {RegistryOperation::DeleteValue, [&] { return reg.DeleteValue(config, "Mode"); }},
        {RegistryOperation::DeleteKey, [&] { return reg.DeleteKey(config, "Sub"); }},
        {RegistryOperation::EnumKey, [&] { return reg.EnumKeyEx(config, 0, name, &nameSize); }},
        {RegistryOperation::EnumValue,
         [&] { return reg.EnumValue(config, 0, name, &nameSize, &type, data, &size); }},
        {RegistryOperation::QueryInfoKey,
         [&] { return reg.QueryInfoKey(config, &count, nullptr, nullptr, nullptr, nullptr); }},
    };
    const std::string before = snapshot();
    std::uint32_t fired = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.operation));
        reg.clearFaults();
        reg.addFault({c.operation, "tunara\\CONFIG", 1, 1, ERROR_CANTWRITE});
        std::memset(data, 0xcc, sizeof data);
        std::memset(name, 0xcc, sizeof name);
        size = sizeof data, nameSize = sizeof name, type = 0x77, count = 0x77;
        EXPECT_EQ(c.call(), ERROR_CANTWRITE);
        EXPECT_EQ(reg.faultsFired(), ++fired);
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(reg.openHandleCount(), 1u);
        EXPECT_EQ(opened, 0x5555u);
        EXPECT_EQ(disposition, 0x77u);
        EXPECT_EQ(size, sizeof data);
        EXPECT_EQ(nameSize, sizeof name);
        EXPECT_EQ(type, 0x77u);
        EXPECT_EQ(count, 0x77u);
        EXPECT_EQ(data[0], 0xcc);
        EXPECT_EQ(static_cast<std::uint8_t>(name[0]), 0xcc);
        // The fault was for one call: the same call now goes through.
        EXPECT_NE(c.call(), ERROR_CANTWRITE);
        if (opened != 0x5555u) reg.CloseKey(opened);
        opened = 0x5555;
        disposition = 0x77;
        if (c.operation == RegistryOperation::CloseKey) {
            ASSERT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tunara\\Config", KEY_ALL_ACCESS,
                                    &config),
                      ERROR_SUCCESS);
        }
        reg.clearFaults();
        ASSERT_TRUE(
            reg.importRegedit4("REGEDIT4\n"
                               "[-HKEY_LOCAL_MACHINE\\Software\\Tunara\\Config\\New]\n"
                               "[HKEY_LOCAL_MACHINE\\Software\\Tunara\\Config\\Sub]\n"
                               "[HKEY_LOCAL_MACHINE\\Software\\Tunara\\Config]\n"
                               "\"Mode\"=dword:00000002\n",
                               nullptr));
    }
}

TEST_F(RegistryFaultTest, NthMatchingCallAndCountSelectTheFailures) {
    // Only calls under the matching path count; the 2nd and 3rd fail, the 4th goes through.
    reg.addFault({RegistryOperation::SetValue, "\\Sub", 2, 2, ERROR_ACCESS_DENIED});
    HKey sub = 0;
    ASSERT_EQ(reg.OpenKeyEx(config, "Sub", KEY_ALL_ACCESS, &sub), ERROR_SUCCESS);
    const std::uint8_t byte = 1;
    EXPECT_EQ(reg.SetValueEx(config, "a", REG_BINARY, &byte, 1), ERROR_SUCCESS);
    EXPECT_EQ(reg.SetValueEx(sub, "a", REG_BINARY, &byte, 1), ERROR_SUCCESS);
    EXPECT_EQ(reg.SetValueEx(config, "b", REG_BINARY, &byte, 1), ERROR_SUCCESS);
    EXPECT_EQ(reg.SetValueEx(sub, "b", REG_BINARY, &byte, 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reg.SetValueEx(sub, "c", REG_BINARY, &byte, 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reg.SetValueEx(sub, "d", REG_BINARY, &byte, 1), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(sub), (std::vector<std::string>{"a", "d"}));
    EXPECT_EQ(reg.faultsFired(), 2u);

    // Two faults for one call: the first added wins, and the call counts as one failure.
    reg.clearFaults();
    reg.addFault({RegistryOperation::SetValue, "", 1, 1, ERROR_CANTWRITE});
    reg.addFault({RegistryOperation::Any, "", 1, 2, ERROR_NOT_ENOUGH_MEMORY});
    EXPECT_EQ(reg.SetValueEx(sub, "e", REG_BINARY, &byte, 1), ERROR_CANTWRITE);
    EXPECT_EQ(reg.faultsFired(), 3u);
    EXPECT_EQ(reg.SetValueEx(sub, "e", REG_BINARY, &byte, 1), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(reg.SetValueEx(sub, "e", REG_BINARY, &byte, 1), ERROR_SUCCESS);

    // Count 0: every matching call from the n-th on; Any: every operation.
    reg.clearFaults();
    reg.addFault({RegistryOperation::Any, "", 1, 0, ERROR_REGISTRY_CORRUPT});
    EXPECT_EQ(reg.DeleteValue(sub, "a"), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(reg.CloseKey(sub), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(reg.CloseKey(sub), ERROR_REGISTRY_CORRUPT);
    reg.clearFaults();
    EXPECT_EQ(reg.CloseKey(sub), ERROR_SUCCESS);
}

TEST_F(RegistryFaultTest, PathsMatchTheRootTheCallerUsed) {
    reg.addFault({RegistryOperation::CreateKey, "HKEY_CLASSES_ROOT\\.tnr", 1, 0, ERROR_CANTWRITE});
    HKey key = 0;
    EXPECT_EQ(reg.CreateKeyEx(HKEY_CLASSES_ROOT, ".TNR", 0, KEY_ALL_ACCESS, &key, nullptr),
              ERROR_CANTWRITE);
    ASSERT_EQ(reg.CreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Classes\\.tnr", 0, KEY_ALL_ACCESS,
                              &key, nullptr),
              ERROR_SUCCESS);
    reg.CloseKey(key);
    // Imports are fixtures: they never run into planned failures.
    EXPECT_TRUE(reg.importRegedit4("REGEDIT4\n[HKEY_CLASSES_ROOT\\.tnr\\x]\n", nullptr));
}

}  // namespace

// Semantics of the simulated registry that the product's logic relies on.
#include <cstring>
#include <string>

#include "registry_fixture.h"

namespace {

using platform::HKey;
using registry_test::HostRegistryTest;

const std::uint8_t* bytes(const char* text) {
    return reinterpret_cast<const std::uint8_t*>(text);
}

TEST_F(HostRegistryTest, NamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith) {
    HKey key = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(reg.CreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tunara\\Config", 0, KEY_ALL_ACCESS,
                              &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(reg.SetValueEx(key, "Volume", REG_SZ, bytes("a"), 2), ERROR_SUCCESS);
    ASSERT_EQ(reg.SetValueEx(key, "VOLUME", REG_SZ, bytes("bc"), 3), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(key), std::vector<std::string>{"Volume"});
    EXPECT_EQ(valueBytes(key, nullptr, "volume"), std::string("bc", 3));
    reg.CloseKey(key);

    HKey again = 0;
    ASSERT_EQ(reg.CreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\TUNARA\\config", 0, KEY_ALL_ACCESS,
                              &again, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    reg.CloseKey(again);
    HKey software = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, "software", KEY_READ, &software), ERROR_SUCCESS);
    EXPECT_EQ(subKeys(software), (std::vector<std::string>{"Classes", "Tunara"}));
    reg.CloseKey(software);
}

TEST_F(HostRegistryTest, QueryValueReportsSizesAndMoreData) {
    setValue(HKEY_CURRENT_USER, "Text", REG_SZ, std::string("hello", 6));
    setValue(HKEY_CURRENT_USER, "Empty", REG_BINARY, "");

    std::uint32_t type = 0xdeadbeef, size = 0xdeadbeef;
    ASSERT_EQ(reg.QueryValueEx(HKEY_CURRENT_USER, "Text", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 6u);

    std::uint8_t buffer[8];
    std::memset(buffer, 0xcc, sizeof buffer);
    size = 5;
    type = 0;
    EXPECT_EQ(reg.QueryValueEx(HKEY_CURRENT_USER, "Text", &type, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(buffer[0], 0xcc) << "a short buffer must not be written";

    size = 6;
    ASSERT_EQ(reg.QueryValueEx(HKEY_CURRENT_USER, "Text", nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::memcmp(buffer, "hello", 6), 0);
    EXPECT_EQ(buffer[6], 0xcc);

    size = 0;
    EXPECT_EQ(reg.QueryValueEx(HKEY_CURRENT_USER, "Empty", &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(type, REG_BINARY);

    EXPECT_EQ(reg.QueryValueEx(HKEY_CURRENT_USER, "Text", nullptr, buffer, nullptr),
              ERROR_INVALID_PARAMETER);
    size = 77;
    EXPECT_EQ(reg.QueryValueEx(HKEY_CURRENT_USER, "Missing", &type, buffer, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(size, 77u);
}

TEST_F(HostRegistryTest, DefaultValueIsTheEmptyOrNullName) {
    std::uint32_t size = 0;
    EXPECT_EQ(reg.QueryValueEx(HKEY_CURRENT_USER, nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    setValue(HKEY_CURRENT_USER, nullptr, REG_SZ, std::string("def", 4));
    EXPECT_EQ(valueBytes(HKEY_CURRENT_USER, nullptr, ""), std::string("def", 4));
    EXPECT_EQ(valueNames(HKEY_CURRENT_USER), std::vector<std::string>{""});
    EXPECT_EQ(reg.DeleteValue(HKEY_CURRENT_USER, ""), ERROR_SUCCESS);
    EXPECT_EQ(reg.DeleteValue(HKEY_CURRENT_USER, nullptr), ERROR_FILE_NOT_FOUND);
}

TEST_F(HostRegistryTest, EnumerationOrderSurvivesUnrelatedChanges) {
    HKey key = 0;
    ASSERT_EQ(reg.CreateKeyEx(HKEY_LOCAL_MACHINE, "Enum", 0, KEY_ALL_ACCESS, &key, nullptr),
              ERROR_SUCCESS);
    for (const char* name : {"Zeta", "alpha", "Mid"}) {
        HKey child = 0;
        ASSERT_EQ(reg.CreateKeyEx(key, name, 0, KEY_ALL_ACCESS, &child, nullptr), ERROR_SUCCESS);
        reg.CloseKey(child);
        setValue(key, name, REG_DWORD, "1234");
    }
    const std::vector<std::string> created{"Zeta", "alpha", "Mid"};
    EXPECT_EQ(subKeys(key), created);

    // Other keys and other values come and go; a changed value keeps its place.
    createKey(HKEY_LOCAL_MACHINE, "Enum\\alpha\\Deeper");
    createKey(HKEY_LOCAL_MACHINE, "Elsewhere");
    ASSERT_EQ(reg.DeleteKey(HKEY_LOCAL_MACHINE, "Elsewhere"), ERROR_SUCCESS);
    setValue(key, "alpha", REG_BINARY, "longer data");
    EXPECT_EQ(subKeys(key), created);
    EXPECT_EQ(valueNames(key), created);

    // A deleted item closes the gap; created again, it comes last.
    ASSERT_EQ(reg.DeleteKey(key, "alpha"), ERROR_SUCCESS);
    ASSERT_EQ(reg.DeleteValue(key, "alpha"), ERROR_SUCCESS);
    EXPECT_EQ(subKeys(key), (std::vector<std::string>{"Zeta", "Mid"}));
    createKey(key, "ALPHA");
    setValue(key, "ALPHA", REG_DWORD, "4321");
    EXPECT_EQ(subKeys(key), (std::vector<std::string>{"Zeta", "Mid", "ALPHA"}));
    EXPECT_EQ(valueNames(key), (std::vector<std::string>{"Zeta", "Mid", "ALPHA"}));

    // Name buffers: the zero must fit; past the end there are no more items.
    char name[8];
    std::memset(name, 0xcc, sizeof name);
    std::uint32_t size = 4;
    EXPECT_EQ(reg.EnumKeyEx(key, 0, name, &size), ERROR_MORE_DATA);
    EXPECT_EQ(static_cast<std::uint8_t>(name[0]), 0xcc);
    EXPECT_EQ(reg.EnumValue(key, 0, name, &size, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    size = 5;
    EXPECT_EQ(reg.EnumKeyEx(key, 0, name, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_STREQ(name, "Zeta");
    size = sizeof name;
    EXPECT_EQ(reg.EnumKeyEx(key, 3, name, &size), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(reg.EnumValue(key, 3, name, &size, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

    // Value data too small: the needed size comes back, the name is not written.
    std::uint8_t data[2];
    std::uint32_t dataSize = sizeof data, type = 0;
    size = sizeof name;
    std::memset(name, 0xcc, sizeof name);
    EXPECT_EQ(reg.EnumValue(key, 0, name, &size, &type, data, &dataSize), ERROR_MORE_DATA);
    EXPECT_EQ(dataSize, 4u);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(static_cast<std::uint8_t>(name[0]), 0xcc);

    std::uint32_t keys = 0, longestKey = 0, values = 0, longestName = 0, longestData = 0;
    ASSERT_EQ(reg.QueryInfoKey(key, &keys, &longestKey, &values, &longestName, &longestData),
              ERROR_SUCCESS);
    EXPECT_EQ(keys, 3u);
    EXPECT_EQ(longestKey, 5u);
    EXPECT_EQ(values, 3u);
    EXPECT_EQ(longestName, 5u);
    EXPECT_EQ(longestData, 4u);
    reg.CloseKey(key);
}

TEST_F(HostRegistryTest, DeleteKeyIsRecursiveOn98AndRefusedOnNt) {
    createKey(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Product\\Leaf");
    reg.setNtSemantics(true);
    const std::string before = snapshot();
    EXPECT_EQ(reg.DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Vendor"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(reg.DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Product\\Leaf"), ERROR_SUCCESS);

    reg.setNtSemantics(false);
    createKey(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Product\\Leaf");
    EXPECT_EQ(reg.DeleteKey(HKEY_LOCAL_MACHINE, "software\\VENDOR"), ERROR_SUCCESS);
    HKey key = 0;
    EXPECT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Vendor\\Product", KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Vendor"), ERROR_FILE_NOT_FOUND);
}

TEST_F(HostRegistryTest, HandlesToDeletedKeysAnswerKeyDeleted) {
    createKey(HKEY_LOCAL_MACHINE, "Gone\\Child");
    HKey child = 0, gone = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, "Gone\\Child", KEY_READ, &child), ERROR_SUCCESS);
    ASSERT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, "Gone", KEY_READ, &gone), ERROR_SUCCESS);
    ASSERT_EQ(reg.DeleteKey(gone, ""), ERROR_SUCCESS);

    std::uint32_t size = 0;
    char name[16];
    std::uint32_t nameSize = sizeof name;
    HKey sub = 0;
    EXPECT_EQ(reg.QueryValueEx(child, "x", nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(reg.SetValueEx(child, "x", REG_SZ, bytes(""), 1), ERROR_KEY_DELETED);
    EXPECT_EQ(reg.EnumKeyEx(gone, 0, name, &nameSize), ERROR_KEY_DELETED);
    EXPECT_EQ(reg.CreateKeyEx(gone, "Again", 0, KEY_ALL_ACCESS, &sub, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(reg.CloseKey(child), ERROR_SUCCESS);
    EXPECT_EQ(reg.CloseKey(gone), ERROR_SUCCESS);

    // A key created again under the same name is a new key.
    createKey(HKEY_LOCAL_MACHINE, "Gone");
    EXPECT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, "Gone\\Child", KEY_READ, &sub),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(HostRegistryTest, ClosedUnknownAndUnsupportedHandlesAreInvalid) {
    HKey key = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, nullptr, KEY_READ, &key), ERROR_SUCCESS);
    ASSERT_EQ(reg.CloseKey(key), ERROR_SUCCESS);
    std::uint32_t size = 0;
    for (HKey bad : {key, HKey{0}, HKey{0x1234}, HKEY_PERFORMANCE_DATA}) {
        SCOPED_TRACE(bad);
        HKey result = 0x5555;
        EXPECT_EQ(reg.QueryValueEx(bad, "x", nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
        EXPECT_EQ(reg.OpenKeyEx(bad, "x", KEY_READ, &result), ERROR_INVALID_HANDLE);
        EXPECT_EQ(result, 0x5555u);
        EXPECT_EQ(reg.DeleteKey(bad, "x"), ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(reg.CloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(reg.CloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(HostRegistryTest, ClassesRootIsAViewOfMachineClasses) {
    createKey(HKEY_CLASSES_ROOT, ".tnr");
    setValue(HKEY_CLASSES_ROOT, "x", REG_SZ, std::string("1", 2));
    createKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\CLSID");
    HKey key = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Classes\\.TNR", KEY_READ, &key),
              ERROR_SUCCESS);
    reg.CloseKey(key);
    EXPECT_EQ(valueBytes(HKEY_LOCAL_MACHINE, "Software\\Classes", "x"), std::string("1", 2));
    ASSERT_EQ(reg.OpenKeyEx(HKEY_CLASSES_ROOT, "clsid", KEY_READ, &key), ERROR_SUCCESS);
    reg.CloseKey(key);

    const std::string before = snapshot();
    EXPECT_EQ(reg.DeleteKey(HKEY_LOCAL_MACHINE, "Software"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reg.DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Classes"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reg.DeleteKey(HKEY_CLASSES_ROOT, ""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reg.DeleteKey(HKEY_CLASSES_ROOT, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(reg.DeleteKey(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(reg.DeleteKey(HKEY_CLASSES_ROOT, ".tnr"), ERROR_SUCCESS);
}

TEST_F(HostRegistryTest, MalformedPathsAndOverlongNamesChangeNothing) {
    const std::string part255(255, 'k'), part256(256, 'k');
    std::string deep;
    for (int level = 0; level < 513; ++level) deep += level ? "\\d" : "d";
    const struct {
        std::string path;
        std::uint32_t expected;
    } cases[] = {
        {"\\Leading", ERROR_BAD_PATHNAME},           {"Double\\\\Slash", ERROR_BAD_PATHNAME},
        {"Trailing\\\\", ERROR_BAD_PATHNAME},        {"\\", ERROR_BAD_PATHNAME},
        {"Ok\\" + part256, ERROR_INVALID_PARAMETER}, {deep, ERROR_INVALID_PARAMETER},
    };
    const std::string before = snapshot();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 40));
        HKey key = 0x5555;
        EXPECT_EQ(
            reg.CreateKeyEx(HKEY_CURRENT_USER, c.path.c_str(), 0, KEY_ALL_ACCESS, &key, nullptr),
            c.expected);
        EXPECT_EQ(key, 0x5555u);
        EXPECT_EQ(reg.OpenKeyEx(HKEY_CURRENT_USER, c.path.c_str(), KEY_READ, &key),
                  c.expected == ERROR_INVALID_PARAMETER && c.path == deep ? ERROR_FILE_NOT_FOUND
                                                                          : c.expected);
    }
    HKey key = 0;
    EXPECT_EQ(reg.CreateKeyEx(HKEY_CURRENT_USER, nullptr, 0, KEY_ALL_ACCESS, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(reg.SetValueEx(HKEY_CURRENT_USER, part256.c_str(), REG_SZ, bytes(""), 1),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(snapshot(), before);

    createKey(HKEY_CURRENT_USER, ("Trailing\\" + part255 + "\\").c_str());
    setValue(HKEY_CURRENT_USER, part255.c_str(), REG_SZ, std::string(1, '\0'));
    reg.setNtSemantics(true);
    setValue(HKEY_CURRENT_USER, part256.c_str(), REG_SZ, std::string(1, '\0'));
}

}  // namespace

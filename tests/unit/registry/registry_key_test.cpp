// RegKey over the installed machine: ownership, and readers that refuse what they do not expect.
#include "platform/registry_key.h"

#include <algorithm>
#include <string>

#include "platform/machine.h"
#include "registry_fixture.h"

namespace {

using platform::HKey;
using platform::RegKey;
using registry_test::HostRegistryTest;

class RegKeyTest : public HostRegistryTest {
protected:
    void SetUp() override {
        platform::Machine machine;
        machine.registry = &reg;
        previous_ = platform::installMachine(machine);
        ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, "Software\\Tunara", KEY_ALL_ACCESS),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        key.Close();
        platform::installMachine(previous_);
        HostRegistryTest::TearDown();
    }

    platform::Machine previous_;
    RegKey key;
};

TEST_F(RegKeyTest, ReadDwordAcceptsOnlyFourByteDwordsAndBinaries) {
    const struct {
        const char* name;
        std::uint32_t type;
        std::string bytes;
        std::uint32_t error;
        std::uint32_t value;
    } cases[] = {
        {"dword", REG_DWORD, std::string("\x01\x02\x03\x84", 4), ERROR_SUCCESS, 0x84030201u},
        {"binary4", REG_BINARY, std::string("\x05\0\0\0", 4), ERROR_SUCCESS, 5},
        {"binary2", REG_BINARY, std::string("\x05\0", 2), ERROR_CANTREAD, 0},
        {"binary5", REG_BINARY, std::string("\x05\0\0\0\0", 5), ERROR_CANTREAD, 0},
        {"dword3", REG_DWORD, std::string("\x05\0\0", 3), ERROR_CANTREAD, 0},
        {"dword8", REG_DWORD, std::string(8, '\x01'), ERROR_CANTREAD, 0},
        {"text", REG_SZ, std::string("5\0\0", 4), ERROR_CANTREAD, 0},
        {"bigendian", REG_DWORD_BIG_ENDIAN, std::string(4, '\0'), ERROR_CANTREAD, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setValue(key.handle(), c.name, c.type, c.bytes);
        std::uint32_t value = 0xdeadbeef;
        EXPECT_EQ(key.readDword(c.name, &value), c.error);
        EXPECT_EQ(value, c.error == ERROR_SUCCESS ? c.value : 0xdeadbeef);
    }
    std::uint32_t value = 0xdeadbeef;
    EXPECT_EQ(key.readDword("missing", &value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, 0xdeadbeef);
}

TEST_F(RegKeyTest, ReadStringStopsAtTheStoredDataAndRefusesOtherTypes) {
    const struct {
        const char* name;
        std::uint32_t type;
        std::string bytes;
        std::uint32_t error;
        std::string text;
    } cases[] = {
        {"terminated", REG_SZ, std::string("abc\0", 4), ERROR_SUCCESS, "abc"},
        {"unterminated", REG_SZ, "abc", ERROR_SUCCESS, "abc"},
        {"inner zero", REG_SZ, std::string("ab\0cd\0", 6), ERROR_SUCCESS, "ab"},
        {"empty", REG_SZ, "", ERROR_SUCCESS, ""},
        {"expand", REG_EXPAND_SZ, std::string("%WINDIR%\0", 9), ERROR_SUCCESS, "%WINDIR%"},
        {"accented", REG_SZ, std::string("caf\xE9\0", 5), ERROR_SUCCESS, "caf\xE9"},
        {"binary", REG_BINARY, std::string("abc\0", 4), ERROR_CANTREAD, ""},
        {"multi", REG_MULTI_SZ, std::string("abc\0\0", 5), ERROR_CANTREAD, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setValue(key.handle(), c.name, c.type, c.bytes);
        std::string text = "untouched";
        EXPECT_EQ(key.readString(c.name, &text), c.error);
        EXPECT_EQ(text, c.error == ERROR_SUCCESS ? c.text : "untouched");
    }
    // Larger than the caller allows: refused before anything is read.
    setValue(key.handle(), "long", REG_SZ, std::string(100, 'x'));
    std::string text = "untouched";
    EXPECT_EQ(key.readString("long", &text, 99), ERROR_MORE_DATA);
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(key.readString("long", &text, 100), ERROR_SUCCESS);
    EXPECT_EQ(text.size(), 100u);
}

TEST_F(RegKeyTest, ReadBinaryAndMultiStringAreBounded) {
    setValue(key.handle(), "bin", REG_BINARY, std::string("\x01\x02\x03", 3));
    std::vector<std::uint8_t> data{9};
    EXPECT_EQ(key.readBinary("bin", &data, 2), ERROR_MORE_DATA);
    EXPECT_EQ(data, std::vector<std::uint8_t>{9});
    EXPECT_EQ(key.readBinary("bin", &data, 3), ERROR_SUCCESS);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{1, 2, 3}));
    setValue(key.handle(), "dword", REG_DWORD, std::string(4, '\0'));
    EXPECT_EQ(key.readBinary("dword", &data), ERROR_CANTREAD);

    const struct {
        std::string bytes;
        std::vector<std::string> strings;
    } lists[] = {
        {std::string("a\0bc\0\0", 6), {"a", "bc"}},
        {std::string("a\0bc", 4), {"a", "bc"}},
        {std::string("a\0\0ignored\0\0", 12), {"a"}},
        {"", {}},
    };
    for (const auto& list : lists) {
        setValue(key.handle(), "multi", REG_MULTI_SZ, list.bytes);
        std::vector<std::string> strings{"untouched"};
        EXPECT_EQ(key.readMultiString("multi", &strings), ERROR_SUCCESS);
        EXPECT_EQ(strings, list.strings);
    }
}

TEST_F(RegKeyTest, WritersStoreWhatWindowsProgramsStore) {
    ASSERT_EQ(key.writeString("s", "abc"), ERROR_SUCCESS);
    ASSERT_EQ(key.writeString("e", "%WINDIR%", REG_EXPAND_SZ), ERROR_SUCCESS);
    ASSERT_EQ(key.writeDword("d", 0x01020304), ERROR_SUCCESS);
    ASSERT_EQ(key.writeBinary("b", "\x01\x02", 2), ERROR_SUCCESS);
    ASSERT_EQ(key.writeMultiString("m", {"x", "yz"}), ERROR_SUCCESS);
    std::uint32_t type = 0;
    EXPECT_EQ(valueBytes(key.handle(), nullptr, "s", &type), std::string("abc\0", 4));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(valueBytes(key.handle(), nullptr, "e", &type), std::string("%WINDIR%\0", 9));
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(valueBytes(key.handle(), nullptr, "d", &type), std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(valueBytes(key.handle(), nullptr, "b", &type), std::string("\x01\x02", 2));
    EXPECT_EQ(valueBytes(key.handle(), nullptr, "m", &type), std::string("x\0yz\0\0", 6));
    EXPECT_EQ(key.deleteValue("s"), ERROR_SUCCESS);
    EXPECT_EQ(key.deleteValue("s"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key.hasValue("s"));
    EXPECT_TRUE(key.hasValue("D"));
}

TEST_F(RegKeyTest, FailedOpenKeepsTheKeyAndOwnershipMoves) {
    const HKey held = key.handle();
    EXPECT_EQ(key.Open(HKEY_LOCAL_MACHINE, "Software\\Missing", KEY_READ), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.Create(HKEY_LOCAL_MACHINE, "\\Bad", KEY_READ), ERROR_BAD_PATHNAME);
    EXPECT_EQ(key.handle(), held);
    EXPECT_TRUE(key.hasValue("x") == false && key.valid());

    std::uint32_t disposition = 0;
    ASSERT_EQ(key.Create(key.handle(), "Child", KEY_ALL_ACCESS, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_NE(key.handle(), held);
    EXPECT_EQ(reg.openHandleCount(), 1u) << "the previous key is closed on success";

    RegKey moved(std::move(key));
    EXPECT_FALSE(key.valid());
    EXPECT_TRUE(moved.valid());
    RegKey assigned;
    assigned = std::move(moved);
    EXPECT_EQ(reg.openHandleCount(), 1u);
    const HKey taken = assigned.Take();
    EXPECT_FALSE(assigned.valid());
    EXPECT_EQ(reg.openHandleCount(), 1u);
    { RegKey owner(taken); }
    EXPECT_EQ(reg.openHandleCount(), 0u);

    std::string text = "untouched";
    std::uint32_t value = 0;
    EXPECT_EQ(assigned.readString("x", &text), ERROR_INVALID_HANDLE);
    EXPECT_EQ(assigned.readDword("x", &value), ERROR_INVALID_HANDLE);
    EXPECT_EQ(assigned.writeDword("x", 1), ERROR_INVALID_HANDLE);
}

// Each system's own rule: Windows 95/98 remove the branch, NT refuses a key that still has
// sub keys and leaves the whole branch as it was.
TEST_F(RegKeyTest, DeleteSubKeyFollowsEachSystemsRule) {
    for (bool nt : {false, true}) {
        SCOPED_TRACE(nt);
        reg.setNtSemantics(nt);
        ASSERT_TRUE(
            reg.importRegedit4("REGEDIT4\n"
                               "[HKLM\\Software\\Tunara\\Branch\\A\\A1]\n"
                               "[HKLM\\Software\\Tunara\\Branch\\B]\n"
                               "\"v\"=\"1\"\n"
                               "[HKLM\\Software\\Tunara\\Kept]\n",
                               nullptr));
        EXPECT_EQ(key.deleteSubKey("branch"), nt ? ERROR_ACCESS_DENIED : ERROR_SUCCESS);
        std::vector<std::string> names{"untouched"};
        ASSERT_EQ(key.subKeyNames(&names), ERROR_SUCCESS);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, nt ? (std::vector<std::string>{"Branch", "Kept"})
                            : std::vector<std::string>{"Kept"});
        if (nt) {
            platform::RegKey branch;
            ASSERT_EQ(branch.Open(key.handle(), "Branch", KEY_READ), ERROR_SUCCESS);
            ASSERT_EQ(branch.subKeyNames(&names), ERROR_SUCCESS);
            EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));
            // A key without sub keys goes on NT too.
            EXPECT_EQ(branch.deleteSubKey("b"), ERROR_SUCCESS);
            EXPECT_EQ(branch.deleteSubKey("A"), ERROR_ACCESS_DENIED);
            EXPECT_EQ(branch.deleteSubKey("A\\A1"), ERROR_SUCCESS);
            EXPECT_EQ(branch.deleteSubKey("A"), ERROR_SUCCESS);
            branch.Close();
            EXPECT_EQ(key.deleteSubKey("branch"), ERROR_SUCCESS);
        }
        EXPECT_EQ(key.deleteSubKey("Branch"), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(key.deleteSubKey(""), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(reg.openHandleCount(), 1u);
    }
}

TEST_F(RegKeyTest, EnumerationHelpersReturnLongNamesInOrder) {
    const std::string longKey(200, 'k'), longValue(255, 'v');
    ASSERT_EQ(key.writeDword(longValue.c_str(), 1), ERROR_SUCCESS);
    ASSERT_EQ(key.writeDword("short", 1), ERROR_SUCCESS);
    createKey(key.handle(), "b");
    createKey(key.handle(), longKey.c_str());
    createKey(key.handle(), "a");
    std::vector<std::string> names;
    ASSERT_EQ(key.subKeyNames(&names), ERROR_SUCCESS);
    EXPECT_EQ(names, (std::vector<std::string>{"b", longKey, "a"}));
    ASSERT_EQ(key.valueNames(&names), ERROR_SUCCESS);
    EXPECT_EQ(names, (std::vector<std::string>{longValue, "short"}));

    // A failing enumeration leaves the caller's list alone.
    reg.addFault({platform::host::RegistryOperation::EnumKey, "", 2, 1, ERROR_CANTREAD});
    names = {"untouched"};
    EXPECT_EQ(key.subKeyNames(&names), ERROR_CANTREAD);
    EXPECT_EQ(names, std::vector<std::string>{"untouched"});
    reg.clearFaults();
}

}  // namespace

// REGEDIT4 import and export of the simulated registry.
#include <string>

#include "registry_fixture.h"

namespace {

using platform::HKey;
using platform::host::HostRegistry;
using registry_test::HostRegistryTest;

// A machine description as regedit on Windows 98 writes one, with CRLF line ends.
const char kDescription[] =
    "REGEDIT4\r\n"
    "\r\n"
    "; a comment\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Tunara]\r\n"
    "@=\"default\"\r\n"
    "\"Path\"=\"C:\\\\WINDOWS\\\\SYSTEM\\\\\"\r\n"
    "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
    "\"Caf\xE9\"=\"r\xE9sum\xE9\"\r\n"
    "\"Plain\\Backslash\"=\"C:\\TEMP\"\r\n"
    "\"Mode\"=dword:0000002a\r\n"
    "\"Config\"=hex:00,0a,FF,\\\r\n"
    "    10\r\n"
    "\"Empty\"=hex:\r\n"
    "\"Expand\"=hex(2):25,57,49,4e,44,49,52,25,00\r\n"
    "\"Multi\"=hex(7):61,00,62,63,00,00\r\n"
    "\"Odd\"=hex(1f):01\r\n"
    "\r\n"
    "[HKEY_DYN_DATA\\Config Manager\\Enum\\C29A3B40]\r\n"
    "\"HardWareKey\"=\"PCI\\\\VEN_125D&DEV_1978\"\r\n"
    "\r\n"
    "[HKCR\\.tnr]\r\n"
    "@=\"TunaraFile\"\r\n";

TEST_F(HostRegistryTest, ImportKeepsTypesAndExactBytes) {
    std::string error;
    ASSERT_TRUE(reg.importRegedit4(kDescription, &error)) << error;
    const struct {
        HKey root;
        const char* key;
        const char* name;
        std::uint32_t type;
        std::string bytes;
    } expected[] = {
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "", REG_SZ, std::string("default", 8)},
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "Path", REG_SZ,
         std::string("C:\\WINDOWS\\SYSTEM\\", 19)},
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "Quote", REG_SZ, std::string("say \"hi\"", 9)},
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "Caf\xE9", REG_SZ, std::string("r\xE9sum\xE9", 7)},
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "Plain\\Backslash", REG_SZ,
         std::string("C:\\TEMP", 8)},
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "Mode", REG_DWORD, std::string("\x2a\0\0\0", 4)},
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "Config", REG_BINARY,
         std::string("\x00\x0a\xff\x10", 4)},
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "Empty", REG_BINARY, std::string()},
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "Expand", REG_EXPAND_SZ,
         std::string("%WINDIR%", 9)},
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "Multi", REG_MULTI_SZ,
         std::string("a\0bc\0\0", 6)},
        {HKEY_LOCAL_MACHINE, "Software\\Tunara", "Odd", 0x1f, std::string("\x01", 1)},
        {HKEY_DYN_DATA, "Config Manager\\Enum\\C29A3B40", "HardWareKey", REG_SZ,
         std::string("PCI\\VEN_125D&DEV_1978", 22)},
        {HKEY_LOCAL_MACHINE, "Software\\Classes\\.tnr", "", REG_SZ, std::string("TunaraFile", 11)},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        std::uint32_t type = 0;
        EXPECT_EQ(valueBytes(e.root, e.key, e.name, &type), e.bytes);
        EXPECT_EQ(type, e.type);
    }
}

TEST_F(HostRegistryTest, ExportImportsBackToTheSameRegistry) {
    ASSERT_TRUE(reg.importRegedit4(kDescription, nullptr));
    // Values no text form can show: strings without or with extra zeros, odd-sized DWORDs,
    // line breaks, long binary data that must wrap.
    HKey key = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tunara", KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    setValue(key, "Unterminated", REG_SZ, "abc");
    setValue(key, "Inner zero", REG_SZ, std::string("a\0b\0", 4));
    setValue(key, "Lines", REG_SZ, std::string("a\r\nb", 5));
    setValue(key, "Short dword", REG_DWORD, "\x01\x02");
    setValue(key, "Long", REG_BINARY, std::string(300, '\x5a'));
    setValue(key, "Type ffffffff", 0xffffffffu, "x");
    reg.CloseKey(key);

    const std::string all = snapshot();
    HostRegistry copy;
    std::string error;
    for (HKey root :
         {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
        ASSERT_TRUE(copy.importRegedit4(reg.exportRegedit4(root, nullptr), &error)) << error;
    }
    std::string copied;
    for (HKey root :
         {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
        copied += copy.exportRegedit4(root, nullptr);
    }
    EXPECT_EQ(copied, all);
    EXPECT_NE(all.find("\"Short dword\"=hex(4):01,02\r\n"), std::string::npos);
    EXPECT_NE(all.find("\"Unterminated\"=hex(1):61,62,63\r\n"), std::string::npos);
}

TEST_F(HostRegistryTest, ExportWritesWhatRegeditWrites) {
    ASSERT_TRUE(
        reg.importRegedit4("REGEDIT4\n"
                           "[HKEY_CLASSES_ROOT\\.tnr]\n"
                           "@=\"a\\\\b\"\n"
                           "\"N\"=dword:ABCDEF01\n"
                           "\"B\"=hex:00\n",
                           nullptr));
    HKey key = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_CLASSES_ROOT, ".tnr", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    setValue(key, "B", REG_BINARY, std::string(30, '\x11'));
    reg.CloseKey(key);
    EXPECT_EQ(
        reg.exportRegedit4(HKEY_CLASSES_ROOT, ".TNR"),
        "REGEDIT4\r\n"
        "\r\n"
        "[HKEY_CLASSES_ROOT\\.tnr]\r\n"
        "@=\"a\\\\b\"\r\n"
        "\"N\"=dword:abcdef01\r\n"
        "\"B\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\r\n"
        "  11,11,11,11,11,11,11\r\n"
        "\r\n");
    EXPECT_EQ(reg.exportRegedit4(HKEY_CLASSES_ROOT, "Missing"), "REGEDIT4\r\n\r\n");
}

TEST_F(HostRegistryTest, ImportDeletesKeysAndValues) {
    ASSERT_TRUE(reg.importRegedit4(kDescription, nullptr));
    std::string error;
    ASSERT_TRUE(
        reg.importRegedit4("REGEDIT4\n"
                           "[-HKEY_DYN_DATA\\Config Manager]\n"
                           "[-HKEY_LOCAL_MACHINE\\Software\\Never\\There]\n"
                           "[HKEY_LOCAL_MACHINE\\Software\\Tunara]\n"
                           "\"MODE\"=-\n"
                           "@=-\n"
                           "\"Absent\"=-\n",
                           &error))
        << error;
    HKey key = 0;
    EXPECT_EQ(reg.OpenKeyEx(HKEY_DYN_DATA, "Config Manager", KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(valueBytes(HKEY_LOCAL_MACHINE, "Software\\Tunara", "Mode"), "<query error 2>");
    EXPECT_EQ(valueBytes(HKEY_LOCAL_MACHINE, "Software\\Tunara", ""), "<query error 2>");
    EXPECT_EQ(valueBytes(HKEY_LOCAL_MACHINE, "Software\\Tunara", "Path"),
              std::string("C:\\WINDOWS\\SYSTEM\\", 19));
}

TEST_F(HostRegistryTest, MalformedImportsNameTheLineAndChangeNothing) {
    const struct {
        std::string text;
        std::string line;
    } cases[] = {
        {"", "line 1:"},
        {"\n\nREGEDIT5\n", "line 3:"},
        {"Windows Registry Editor Version 5.00\r\n", "line 1:"},
        {"REGEDIT4\n\"a\"=\"b\"\n", "line 2:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=\"b\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a=\"b\"\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\" \"b\"\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=dword:123456789\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=dword:\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=dword:12g\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=hex:1,2,x\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=hex:100\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=hex:01,,02\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=hex(:01\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=hex(123456789):01\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=hex:01,\\\n  02,zz\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=string\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\n\"a\"=\"b\" trailing\n", "line 3:"},
        {"REGEDIT4\n\n[HKEY_NOWHERE\\A]\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A\n", "line 2:"},
        {"REGEDIT4\n[HKLM\\\\A]\n", "line 2:"},
        {"REGEDIT4\n[HKLM\\" + std::string(256, 'k') + "]\n", "line 2:"},
        {"REGEDIT4\n[HKLM\\A]\n\"" + std::string(256, 'v') + "\"=\"\"\n", "line 3:"},
        {"REGEDIT4\n[-HKLM]\n", "line 2:"},
        {"REGEDIT4\n[-HKEY_CLASSES_ROOT]\n", "line 2:"},
        {"REGEDIT4\n[-HKLM\\software\\CLASSES]\n", "line 2:"},
        {"REGEDIT4\n[-HKLM\\A]\n\"a\"=\"b\"\n", "line 3:"},
        {"REGEDIT4\n[HKLM\\A]\nnonsense\n", "line 3:"},
        {std::string("REGEDIT4\n[HKLM\\A]\n\"a\"=\"\0\"\n\x01\n", 28), "line 4:"},
    };
    const std::string before = snapshot();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error = "untouched";
        EXPECT_FALSE(reg.importRegedit4(c.text, &error));
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << error;
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(HostRegistryTest, ImportAcceptsWhatRegeditAccepts) {
    // LF line ends, blank and comment lines, blanks around '=', trailing comments, short root
    // names, a trailing comma before a continuation, lower-case dword and header.
    std::string error;
    ASSERT_TRUE(
        reg.importRegedit4("regedit4\n"
                           "\n"
                           "[HKCU\\Software\\A]  \n"
                           "  ; indented comment\n"
                           "\"x\" = \"1\" ; comment\n"
                           "\"y\"=DWORD:1\n"
                           "\"z\"=HEX(7):61,00,\\\n"
                           "\\\n"
                           "  00,\n"
                           "[HKU\\.DEFAULT]\n"
                           "[HKCC\\Display]\n"
                           "[HKDD\\PerfStats]\n"
                           "[HKEY_USERS\\.DEFAULT\\Control Panel]",
                           &error))
        << error;
    EXPECT_EQ(valueBytes(HKEY_CURRENT_USER, "Software\\A", "x"), std::string("1", 2));
    EXPECT_EQ(valueBytes(HKEY_CURRENT_USER, "Software\\A", "y"), std::string("\1\0\0\0", 4));
    EXPECT_EQ(valueBytes(HKEY_CURRENT_USER, "Software\\A", "z"), std::string("a\0\0", 3));
    HKey key = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_USERS, ".DEFAULT\\Control Panel", KEY_READ, &key), ERROR_SUCCESS);
    reg.CloseKey(key);
    ASSERT_EQ(reg.OpenKeyEx(HKEY_DYN_DATA, "PerfStats", KEY_READ, &key), ERROR_SUCCESS);
    reg.CloseKey(key);
}

}  // namespace

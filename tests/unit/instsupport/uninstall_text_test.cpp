#include "instsupport/uninstall_text.h"

#include <gtest/gtest.h>

#include "instsupport/lead_bytes.h"

namespace {

using namespace instsupport;

TEST(UninstallOptions, FolderOfOption) {
    const std::string longPath = "C:\\" + std::string(2000, 'p') + "\\uninst.exe";
    const struct {
        std::string commandLine;
        const char* option;
        std::string folder;
    } cases[] = {
        {"uninst.exe -f\"C:\\Program Files\\Tunara\\uninst.log\" "
         "-c\"C:\\Tunara\\lib\\hvgenins.dll\"",
         "-f", "C:\\Program Files\\Tunara\\"},
        {"uninst.exe -f\"C:\\Program Files\\Tunara\\uninst.log\" "
         "-c\"C:\\Tunara\\lib\\hvgenins.dll\"",
         "-c", "C:\\Tunara\\lib\\"},
        {"uninst.exe -fC:\\Tunara\\uninst.log", "-f", "C:\\Tunara\\"},
        {"uninst.exe -f\"C:\\Tunara\\uninst.log", "-f", "C:\\Tunara\\"},  // unbalanced quote
        {"uninst.exe -funinst.log", "-f", ""},                            // no backslash
        {"uninst.exe -f", "-f", ""},
        {"uninst.exe -f\"", "-f", ""},
        {"uninst.exe -fC:\\", "-f", "C:\\"},
        {"uninst.exe -F C:\\Tunara\\x", "-f", ""},  // case-sensitive
        {"uninst.exe", "-c", ""},
        {"u.exe -f" + longPath, "-f", "C:\\" + std::string(2000, 'p') + "\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(optionFolder(c.commandLine, c.option), c.folder) << c.commandLine;
}

bool shiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(UninstallOptions, TrailByteIsNoSeparator) {
    // "\x95\x5C" is one Shift-JIS character whose second byte is the code of '\\'.
    const std::string line = "u.exe -f\"C:\\Tunara\\\x95\x5C\"";
    EXPECT_EQ(optionFolder(line, "-f"), "C:\\Tunara\\\x95\x5C");
    auto previous = setLeadByteTest(shiftJisLead);
    EXPECT_EQ(optionFolder(line, "-f"), "C:\\Tunara\\");
    EXPECT_EQ(optionFolder("u.exe -fC:\\\x95\x5C\\x.log", "-f"), "C:\\\x95\x5C\\");
    setLeadByteTest(previous);
}

TEST(UninstallOptions, KeyName) {
    EXPECT_EQ(uninstallKeyName("C:\\Program Files\\Tunara\\"), "Tunara");
    EXPECT_EQ(uninstallKeyName("C:\\Tunara"), "Tunara");
    EXPECT_EQ(uninstallKeyName("C:\\"), "");
    EXPECT_EQ(uninstallKeyName(""), "");
}

TEST(UninstallMessages, StoredFormats) {
    const struct {
        const char* format;
        int arguments;
        bool usable;
    } cases[] = {
        {"Fehler %s\n%s", 2, true},  {"%s%s", 2, true},   {"%s", 2, false},
        {"%s %s %s", 2, false},      {"%s %d", 2, false}, {"%s %n %s", 2, false},
        {"100%% %s: %s", 2, true},   {"%s %", 2, false},  {"Error %s", 1, true},
        {"no conversion", 1, false}, {"%s %s", 1, false}, {"%.300s %s", 2, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(usableFormat(c.format, c.arguments), c.usable) << c.format;
    EXPECT_EQ(applyFormat("Error %s\n%s", "HV9", "C:\\u.exe -x"), "Error HV9\nC:\\u.exe -x");
    EXPECT_EQ(applyFormat("100%% %s", "HV1 - 126"), "100% HV1 - 126");
    EXPECT_EQ(errorCodeText(9), "HV9");
    EXPECT_EQ(errorCodeText(1, 126), "HV1 - 126");
}

TEST(UninstallTextFiles, LineRemoval) {
    bool changed = false;
    const std::string config =
        "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nDEVICE=C:\\TUNARA\\TNRDOS.SYS /x\r\nFILES=40";
    EXPECT_EQ(removeLinesContaining(config, "c:\\tunara\\tnrdos.sys", &changed),
              "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nFILES=40");
    EXPECT_TRUE(changed);
    // A lone '\r' does not end a line; a long line is tested and kept as one.
    const std::string longLine = std::string(300, 'x') + "TNRDOS" + std::string(300, 'y');
    EXPECT_EQ(removeLinesContaining("a\rTNRDOS\nb\n" + longLine + "\nc", "tnrdos", &changed),
              "b\nc");
    const std::string keptLong = std::string(600, 'z') + "\r\n";
    EXPECT_EQ(removeLinesContaining(keptLong + "x\n", "x", &changed), keptLong);
    EXPECT_EQ(removeLinesContaining(keptLong, "tnr", &changed), keptLong);
    EXPECT_FALSE(changed);

    EXPECT_EQ(
        removeLinesStartingWith("wave=tnr.drv\r\nWAVE1=other\r\nmidi=x\r\n", "WAVE=", &changed),
        "WAVE1=other\r\nmidi=x\r\n");
}

TEST(UninstallTextFiles, FieldRemoval) {
    const struct {
        const char* before;
        const char* field;
        const char* after;
    } cases[] = {
        {"drivers=a.drv,TNR.DRV,b.drv\r\n", "tnr.drv", "drivers=a.drv,b.drv\r\n"},
        {"drivers=a.drv,b.drv,tnr.drv\r\n", "TNR.DRV", "drivers=a.drv,b.drv\r\n"},
        {"drivers=a.drv,b.drv,tnr.drv", "tnr.drv", "drivers=a.drv,b.drv"},
        {"drivers=a.drv,b.drv,tnr.drv\n", "tnr.drv", "drivers=a.drv,b.drv\n"},
        {"tnr.drv\r\n", "tnr.drv", "\r\n"},
        {"x=tnr.drv,\r\n", "tnr.drv", "x=\r\n"},
        {"x=a\r\ny=b,tnr\r\n", "tnr", "x=a\r\ny=b\r\n"},
        {"x=a\r\n", "tnr", "x=a\r\n"},
    };
    for (const auto& c : cases) {
        bool changed = false;
        EXPECT_EQ(removeIniField(c.before, c.field, &changed), c.after) << c.before;
    }
}

}  // namespace

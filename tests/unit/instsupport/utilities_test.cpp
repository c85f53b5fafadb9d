#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "instsupport/lead_bytes.h"
#include "instsupport/pattern_match.h"
#include "instsupport/setup_utilities.h"
#include "platform/host/host_shell.h"
#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "tests/unit/instsupport/instsupport_fixture.h"

namespace {

using instsupport::matchPattern;
using tunara_test::writeMachineFile;

struct PatternCase {
    const char* text;
    const char* pattern;
    int expected;
};

TEST(PatternMatch, Table) {
    const PatternCase cases[] = {
        {"Helvane Ltd", "*Helvane*", 1},
        {"Helvane", "helvane", 1},  // letters without regard to case
        {"Helvane", "Helvan", 0},   // the whole text must match
        {"Helvan", "Helvane", 0},
        {"anything at all", "*", 1},
        {"", "*", 1},
        {"", "", 1},
        {"x", "", 0},
        {"ABXAYC", "*A?C", 0},  // the first 'A' is kept, no second try
        {"ABC", "*A?C", 1},
        {"ABC", "A?C", 1},
        {"AC", "A?C", 0},
        {"ABC", "**C", 0},  // a star before a star swallows the rest
        {"ABC", "*?C", 0},  // ... and before a question mark
        {"file.dll", "*.DLL", 1},
        {"file.dll.bak", "*.DLL", 0},  // the segment at the end needs the text's end
        {"Helvane Helvane", "*Helvane", 1},
        {"a*b", "a*b", 1},
        {"\xE9t\xE9", "\xC9T\xC9", 0},  // only a to z are folded
        {"caf\xE9", "CAF\xE9", 1},
    };
    for (const PatternCase& c : cases)
        EXPECT_EQ(matchPattern(c.text, c.pattern), c.expected)
            << "text '" << c.text << "' pattern '" << c.pattern << "'";
}

TEST(PatternMatch, NullAndOverlongInputsAreRefused) {
    EXPECT_EQ(matchPattern(nullptr, "*"), 0);
    EXPECT_EQ(matchPattern("a", nullptr), 0);
    const std::string longest(257, 'a');
    const std::string tooLong(258, 'a');
    EXPECT_EQ(matchPattern(longest.c_str(), "*"), 1);
    EXPECT_EQ(matchPattern(tooLong.c_str(), "*"), 0);
    EXPECT_EQ(matchPattern("a", ("*" + tooLong).c_str()), 0);
}

bool shiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(PatternMatch, DoubleByteCharactersCountAsOne) {
    auto previous = instsupport::setLeadByteTest(shiftJisLead);
    // '?' takes the whole two-byte character; the trail bytes are not compared.
    EXPECT_EQ(matchPattern("\x83\x41"
                           "B",
                           "?B"),
              1);
    EXPECT_EQ(matchPattern("\x83\x41"
                           "B",
                           "\x83\x42"
                           "B"),
              1);
    EXPECT_EQ(matchPattern("\x83\x41"
                           "B",
                           "??B"),
              0);
    instsupport::setLeadByteTest(previous);
}

TEST(SetupUtilities, HexVersionAndTexts) {
    char text[260];
    const struct {
        std::uint32_t value;
        const char* expected;
    } hex[] = {{0x1234, "0x34"}, {5, "0x05"}, {0, "0x00"}, {0xFFFFFFFFu, "0xff"}, {0xAB, "0xab"}};
    for (const auto& c : hex) {
        std::memset(text, 0xCC, sizeof text);
        instsupport::getHexString(c.value, text);
        EXPECT_STREQ(text, c.expected) << c.value;
    }
    EXPECT_EQ(instsupport::getVersionString(text), 13);
    EXPECT_STREQ(text, "1.03.00.0023");
}

class SetupUtilitiesMachine : public tunara_test::MachineTest {};

TEST_F(SetupUtilitiesMachine, OsClassificationPerRelease) {
    using platform::host::WindowsRelease;
    auto& system = machine().system();
    const struct {
        WindowsRelease release;
        int expected;
    } releases[] = {{WindowsRelease::Windows95, 1000},
                    {WindowsRelease::Windows95Osr2, 1001},
                    {WindowsRelease::Windows98, 1002},
                    {WindowsRelease::Windows98SE, 1002},
                    {WindowsRelease::WindowsNT4, 2001}};
    for (const auto& r : releases) {
        system.setRelease(r.release);
        EXPECT_EQ(instsupport::getOs(), r.expected) << static_cast<int>(r.release);
    }
    platform::OsVersionInfo info;
    info.platformId = VER_PLATFORM_WIN32_WINDOWS;
    info.majorVersion = 4;
    info.minorVersion = 0;
    info.buildNumber = 0x04000000u | 1400;  // a 95 build beyond OSR2.5
    system.setVersion(info);
    EXPECT_EQ(instsupport::getOs(), 0);
    info.buildNumber = 0x04000000u | 1399;
    system.setVersion(info);
    EXPECT_EQ(instsupport::getOs(), 1001);
    info.platformId = VER_PLATFORM_WIN32_NT;
    for (auto [major, expected] : {std::pair{2u, 0}, {3u, 2000}, {5u, 2002}, {6u, 2002}}) {
        info.majorVersion = major;
        system.setVersion(info);
        EXPECT_EQ(instsupport::getOs(), expected) << major;
    }
    system.setVersionQueryFails(true);
    EXPECT_EQ(instsupport::getOs(), 0);
}

TEST_F(SetupUtilitiesMachine, DateTimeStringAndSeconds) {
    platform::SystemTime utc;
    utc.year = 1999;
    utc.month = 12;
    utc.day = 31;
    utc.dayOfWeek = 5;  // a Friday
    utc.hour = 22;
    utc.minute = 30;
    utc.second = 9;
    machine().system().setSystemTime(utc);
    machine().system().setTimeZoneBias(-60);  // local = UTC + 1 hour
    char text[260];
    std::uint32_t seconds = 0;
    EXPECT_EQ(instsupport::getDateTimeString(text, &seconds), 1);
    EXPECT_STREQ(text, "Friday, December 31, 1999 23:30:09");
    EXPECT_EQ(seconds, 946679409u);
}

TEST_F(SetupUtilitiesMachine, SelectFileDialogAcceptsOnlyExistingFiles) {
    writeMachineFile("C:\\setup.ini", "x");
    auto& ui = machine().ui();
    char path[260] = "untouched";
    ui.expect(platform::host::UiAnswer::cancelOpenFile());
    EXPECT_EQ(instsupport::selectFileDialog("C:\\", "Setup files|*.ini|All|*.*", path), 0);
    EXPECT_STREQ(path, "untouched");

    ui.expect(platform::host::UiAnswer::openFile("C:\\setup.ini"));
    EXPECT_EQ(instsupport::selectFileDialog("C:\\", "Setup files|*.ini|All|*.*", path), 1);
    EXPECT_STREQ(path, "C:\\setup.ini");
    const platform::OpenFileRequest& request = ui.shown().back().openFile;
    EXPECT_EQ(request.filter, std::string("Setup files\0*.ini\0All\0*.*\0\0", 27));
    EXPECT_EQ(request.initialDirectory, "C:\\");
    EXPECT_TRUE(request.flags & OFN_HIDEREADONLY);

    ui.expect(platform::host::UiAnswer::openFile("C:\\WINDOWS"));
    EXPECT_EQ(instsupport::selectFileDialog("C:\\", "All|*.*", path), 0);
}

TEST_F(SetupUtilitiesMachine, DocumentProgram) {
    char program[260];
    std::memset(program, 0xCC, sizeof program);
    EXPECT_EQ(instsupport::getDocApp("C:\\missing.txt", program), 0);
    EXPECT_LT(std::strlen(program), 260u);
    writeMachineFile("C:\\tool.exe", "MZ");
    EXPECT_EQ(instsupport::getDocApp("C:\\tool.exe", program), 1);
    EXPECT_STREQ(program, "C:\\tool.exe");
}

}  // namespace

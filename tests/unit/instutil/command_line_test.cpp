#include "instutil/command_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using instutil::readArguments;
using instutil::skipProgramName;

struct ArgumentCase {
    const char* arguments;
    bool shutdown;
    const char* notice;
};

// The text after the program name, as the setup script writes it.
const ArgumentCase kArgumentCases[] = {
    {"-shutdown", true, ""},
    {"-shutdown Please wait while Windows restarts", true, "Please wait while Windows restarts"},
    {"-shutdown \"Setup is complete\"", true, "\"Setup is complete\""},
    {"-shutdown  two blanks", true, " two blanks"},
    {"-shutdown ", true, ""},
    {"-shutdownNow", true, ""},
    {"-shutdown\tHello", true, ""},
    {"/q -shutdown Bye", true, "Bye"},
    {"x-shutdown Bye", true, "Bye"},
    {"-shutdown -shutdown again", true, "-shutdown again"},
    {"", false, ""},
    {"Hello world", false, ""},
    {"-SHUTDOWN Hello", false, ""},
    {"-Shutdown", false, ""},
    {"-shutdow Hello", false, ""},
    {"shutdown Hello", false, ""},
};

TEST(CommandLineTest, ReadsFlagAndNotice) {
    for (const ArgumentCase& c : kArgumentCases) {
        SCOPED_TRACE(std::string("arguments: [") + c.arguments + "]");
        const instutil::Arguments got = readArguments(c.arguments);
        EXPECT_EQ(got.shutdown, c.shutdown);
        EXPECT_STREQ(got.notice, c.notice);
    }
}

TEST(CommandLineTest, CutsLongNoticeTo519Characters) {
    std::string notice;
    for (int i = 0; i < 600; ++i) notice += static_cast<char>('a' + i % 26);
    const instutil::Arguments got = readArguments("-shutdown " + notice);
    ASSERT_TRUE(got.shutdown);
    EXPECT_EQ(std::strlen(got.notice), 519u);
    EXPECT_EQ(std::string(got.notice), notice.substr(0, 519));
}

TEST(CommandLineTest, KeepsNoticeOfExactly519Characters) {
    const std::string notice(519, 'x');
    const instutil::Arguments got = readArguments("-shutdown " + notice);
    EXPECT_EQ(std::string(got.notice), notice);
}

TEST(CommandLineTest, KeepsWindows1252Bytes) {
    const instutil::Arguments got = readArguments("-shutdown Red\xE9marrage de Windows \xFC");
    EXPECT_STREQ(got.notice, "Red\xE9marrage de Windows \xFC");
}

TEST(CommandLineTest, ReadsOnlyTheGivenBytes) {
    // The view need not be zero-terminated: only its own bytes are read.
    const char text[] = "-shutdown Hello, and more";
    const instutil::Arguments got = readArguments(std::string_view(text, 15));
    EXPECT_STREQ(got.notice, "Hello");
}

struct NameCase {
    const char* commandLine;
    const char* arguments;
};

const NameCase kNameCases[] = {
    {"hvinutil.exe -shutdown Bye", "-shutdown Bye"},
    {"C:\\WINDOWS\\hvinutil.exe", ""},
    {"\"C:\\Program Files\\Setup\\hvinutil.exe\" -shutdown Bye", "-shutdown Bye"},
    {"\"C:\\Program Files\\Setup\\hvinutil.exe\"-shutdown", ""},
    {"C:\\\"Program Files\"\\hvinutil.exe -shutdown", "-shutdown"},
    {"hvinutil \t  -shutdown  Bye ", "-shutdown  Bye "},
    {"\"C:\\unterminated -shutdown Bye", ""},
    {"", ""},
    {"   ", ""},
    // The name alone is skipped: a program called "-shutdown" has no flag.
    {"-shutdown", ""},
};

TEST(CommandLineTest, SkipsProgramName) {
    for (const NameCase& c : kNameCases) {
        SCOPED_TRACE(std::string("command line: [") + c.commandLine + "]");
        EXPECT_EQ(skipProgramName(c.commandLine), c.arguments);
    }
}

TEST(CommandLineTest, QuotedNameWithShutdownInsideIsNotTheFlag) {
    const instutil::Arguments got =
        readArguments(skipProgramName("\"C:\\-shutdown setup\\hvinutil.exe\" go"));
    EXPECT_FALSE(got.shutdown);
}

}  // namespace

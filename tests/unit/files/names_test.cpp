// Path forms, wildcard rules and 8.3 names, as tables.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/host/host_names.h"
#include "platform/host/host_paths.h"
#include "platform/win32_constants.h"

namespace {

using platform::host::absolutePath;
using platform::host::PathContext;
using platform::host::WindowsPath;

PathContext context() {
    PathContext c;
    c.currentDrive = 'C';
    c.directories['C' - 'A'] = {"WINDOWS", "SYSTEM"};
    c.directories['D' - 'A'] = {"Data"};
    return c;
}

TEST(AbsolutePath, ResolvesTheFormsWindowsAccepts) {
    struct Row {
        const char* path;
        const char* full;
        bool trailing;
    } rows[] = {
        {"tunara.inf", "C:\\WINDOWS\\SYSTEM\\tunara.inf", false},
        {"..\\win.ini", "C:\\WINDOWS\\win.ini", false},
        {"..\\..\\..\\..\\x", "C:\\x", false},
        {"\\autoexec.bat", "C:\\autoexec.bat", false},
        {"D:notes.txt", "D:\\Data\\notes.txt", false},
        {"d:", "D:\\Data", false},
        {"e:\\", "E:\\", false},
        {"c:/Program Files//Cantora/", "C:\\Program Files\\Cantora", true},
        {"C:\\a.\\b  \\.\\c...", "C:\\a\\b\\c", false},
        {"C:\\a\\...\\b", "C:\\a\\b", false},
        {"C:\\Startmen\xFC\\Programme", "C:\\Startmen\xFC\\Programme", false},
    };
    for (const Row& row : rows) {
        WindowsPath out;
        ASSERT_EQ(absolutePath(row.path, context(), false, &out), ERROR_SUCCESS) << row.path;
        EXPECT_EQ(out.text(), row.full) << row.path;
        EXPECT_EQ(out.trailingSeparator, row.trailing) << row.path;
    }
}

TEST(AbsolutePath, RefusesMalformedPaths) {
    const std::string longName(256, 'n');
    const std::string longPath = "C:\\" + std::string(200, 'a') + "\\" + std::string(60, 'b');
    struct Row {
        std::string path;
        bool wildcards;
        std::uint32_t error;
    } rows[] = {
        {"", false, ERROR_PATH_NOT_FOUND},
        {"C:\\a<b", false, ERROR_INVALID_NAME},
        {"C:\\a|b", false, ERROR_INVALID_NAME},
        {"C:\\a\"b", false, ERROR_INVALID_NAME},
        {"C:\\a:b", false, ERROR_INVALID_NAME},
        {"C:\\tab\there", false, ERROR_INVALID_NAME},
        {"C:\\*.inf", false, ERROR_INVALID_NAME},
        {"C:\\dir?\\x.inf", true, ERROR_INVALID_NAME},
        {"1:\\x", false, ERROR_INVALID_NAME},
        {"C:\\" + longName, false, ERROR_FILENAME_EXCED_RANGE},
        {longPath, false, ERROR_FILENAME_EXCED_RANGE},
        {"\\\\server\\share\\x", false, ERROR_PATH_NOT_FOUND},
        {"\\\\.\\PNPCONF.VXD", false, ERROR_FILE_NOT_FOUND},
    };
    for (const Row& row : rows) {
        WindowsPath out;
        out.drive = 'Z';
        EXPECT_EQ(absolutePath(row.path.c_str(), context(), row.wildcards, &out), row.error)
            << row.path;
        EXPECT_EQ(out.drive, 'Z') << "output changed for " << row.path;
    }
    // A path of 259 characters is the longest MAX_PATH allows.
    const std::string longest = "C:\\" + std::string(255, 'x') + "\\y";
    WindowsPath out;
    EXPECT_EQ(absolutePath(longest.substr(0, 259).c_str(), context(), false, &out), ERROR_SUCCESS);
}

TEST(Wildcards, FollowTheFindFirstFileRules) {
    struct Row {
        const char* pattern;
        const char* name;
        bool match;
    } rows[] = {
        {"*", "README", true},
        {"*.*", "README", true},
        {"*.*", "a.b.c", true},
        {"*.", "README", true},
        {"*.", "readme.txt", false},
        {"*.txt", "READ.ME.TXT", true},
        {"*.txt", "readme.txtx", false},
        {"read*", "ReadMe.txt", true},
        {"a??", "a", true},
        {"a??", "abc", true},
        {"a??", "abcd", false},
        {"a?.txt", "a.txt", true},
        {"a?.txt", "ab.txt", true},
        {"a?.txt", "abc.txt", false},
        {"abc.*", "abc", true},
        {"?????", "a.b.c", false},
        {"PLAT?MEG.IM*", "plat2meg.img", true},
        {"*meg.im", "Plat4Meg.img", false},
        {"Startmen\xDC", "startmen\xFC", true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(platform::host::matchesWildcard(row.pattern, row.name), row.match)
            << row.pattern << " vs " << row.name;
    }
}

TEST(ShortNames, AreMadeAsWindows95Does) {
    struct Row {
        const char* longName;
        std::set<std::string> taken;
        const char* shortName;
    } rows[] = {
        {"README.TXT", {}, "README.TXT"},
        {"readme.txt", {}, "README.TXT"},
        {"readme.txt", {"README.TXT"}, "README~1.TXT"},
        {"Long File Name.txt", {}, "LONGFI~1.TXT"},
        {"Long File Name.txt", {"LONGFI~1.TXT"}, "LONGFI~2.TXT"},
        {"page.html", {}, "PAGE~1.HTM"},
        {"a b.txt", {}, "AB~1.TXT"},
        {"a.b.c", {}, "AB~1.C"},
        {".profile", {}, "PROFIL~1"},
        {"x+y;z=[1].dat", {}, "X_Y_Z_~1.DAT"},
        {"Menu D\xE9marrer", {}, "MENUD\xC9~1"},
    };
    for (const Row& row : rows) {
        std::string made = platform::host::makeShortName(row.longName, row.taken);
        EXPECT_EQ(made, row.shortName) << row.longName;
        EXPECT_TRUE(platform::host::isShortName(made)) << made;
    }
    std::set<std::string> nine;
    for (int n = 1; n <= 9; ++n) nine.insert("LONGFI~" + std::to_string(n) + ".TXT");
    EXPECT_EQ(platform::host::makeShortName("Long File Name.txt", nine), "LONGF~10.TXT");

    for (const char* notShort :
         {"readme.txt", "TOOLONGNAME.TXT", "A.TEXT", "A B.TXT", ".X", "A."}) {
        EXPECT_FALSE(platform::host::isShortName(notShort)) << notShort;
    }
}

}  // namespace

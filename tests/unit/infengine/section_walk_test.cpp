// The INF handle, the single lists (Include, Needs) and the section-list walk with its
// destination directories and file names.
#include <string>
#include <vector>

#include "infengine/engine.h"
#include "infengine/engine_state.h"
#include "tests/unit/infengine/infengine_fixture.h"

namespace infengine_test {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// Runs EnumCopyFiles to its end and collects (source, destination).
Entries copyEntries(const char* section) {
    Entries entries;
    OutBuffer source, destination;
    for (const char* start = section;
         infengine::EnumCopyFiles(start, source.get(), destination.get()) == 0; start = nullptr) {
        entries.emplace_back(source.text(), destination.text());
        if (entries.size() > 1000) break;
    }
    return entries;
}

using SectionWalkTest = InfEngineTest;

TEST_F(SectionWalkTest, OpenAndClose) {
    EXPECT_EQ(infengine::CloseInfFile(), 1);
    EXPECT_EQ(infengine::OpenInfFile("C:\\DRIVER\\MISSING.INF"), 1);
    EXPECT_EQ(infengine::CloseInfFile(), 1);
    openDriverInf("[Install]\r\nCopyFiles=Files\r\n[Files]\r\na.dll\r\n");
    EXPECT_EQ(infengine::CloseInfFile(), 0);
    EXPECT_EQ(infengine::CloseInfFile(), 1);
    // Without an open INF every enumeration ends at once.
    OutBuffer a, b;
    EXPECT_EQ(infengine::EnumCopyFiles("Install", a.get(), b.get()), 1);
    EXPECT_EQ(infengine::EnumNeeds("Install", a.get()), 1);
}

TEST_F(SectionWalkTest, OpeningAgainClosesTheOldFileAndStopsItsWalks) {
    openDriverInf("[Install]\r\nCopyFiles=Files\r\n[Files]\r\na.dll\r\nb.dll\r\n");
    OutBuffer source, destination;
    ASSERT_EQ(infengine::EnumCopyFiles("Install", source.get(), destination.get()), 0);
    ASSERT_EQ(infengine::OpenInfFile(kDriverInf), 0);
    EXPECT_EQ(reader_.openCount(), 1u);
    EXPECT_EQ(infengine::EnumCopyFiles(nullptr, source.get(), destination.get()), 1);
}

TEST_F(SectionWalkTest, RestartOrRebootNeedsAMatchedDevice) {
    openDriverInf("[Install]\r\nReboot\r\n[Other]\r\nRestart=1\r\n[Plain]\r\nx=1\r\n");
    EXPECT_EQ(infengine::RestartOrReboot(), 1);
    for (const auto& [section, expected] :
         std::vector<std::pair<std::string, int>>{{"Install", 0}, {"Other", 0}, {"Plain", 1}}) {
        infengine::engineState().installSection = section;
        EXPECT_EQ(infengine::RestartOrReboot(), expected) << section;
    }
}

TEST_F(SectionWalkTest, IncludeAndNeedsListTheirValues) {
    openDriverInf(
        "[Install]\r\nInclude=ks.inf, wdmaudio.inf\r\nNeeds=KS.Registration,WDMAUDIO.Reg\r\n");
    OutBuffer name;
    EXPECT_EQ(infengine::EnumInclude(nullptr, name.get()), 1) << "not started";
    std::vector<std::string> included;
    for (const char* s = "Install"; infengine::EnumInclude(s, name.get()) == 0; s = nullptr) {
        included.push_back(name.text());
    }
    EXPECT_EQ(included, (std::vector<std::string>{"ks.inf", "wdmaudio.inf"}));
    EXPECT_EQ(infengine::EnumInclude(nullptr, name.get()), 1) << "stays at its end";

    ASSERT_EQ(infengine::EnumNeeds("Install", name.get()), 0);
    EXPECT_EQ(infengine::engineState().lastNeededSection, "KS.Registration");
    ASSERT_EQ(infengine::EnumNeeds(nullptr, name.get()), 0);
    EXPECT_EQ(name.text(), "WDMAUDIO.Reg");
    EXPECT_EQ(infengine::engineState().lastNeededSection, "WDMAUDIO.Reg");
    EXPECT_EQ(infengine::EnumNeeds(nullptr, name.get()), 1);
    EXPECT_EQ(infengine::EnumNeeds("NoSuchSection", name.get()), 1);
}

// Destinations come from "DestinationDirs": a section's own line, else DefaultDestDir, else
// the Windows directory. Names stop at the first character outside the file-name set.
TEST_F(SectionWalkTest, DestinationsAndNames) {
    struct Case {
        const char* destinationDirs;  // body of [DestinationDirs], or null for no section
        const char* line;             // the line of [Files]
        const char* source;
        const char* destination;
    };
    const Case cases[] = {
        {nullptr, "a.dll", "C:\\DRIVER\\a.dll", "C:\\WINDOWS\\a.dll"},
        {nullptr, "a.dll,b.dll", "C:\\DRIVER\\b.dll", "C:\\WINDOWS\\a.dll"},
        {nullptr, "a.dll,,,32", "C:\\DRIVER\\a.dll", "C:\\WINDOWS\\a.dll"},
        {nullptr, "my-driver.sys", "C:\\DRIVER\\my", "C:\\WINDOWS\\my"},
        {nullptr, "sub\\x_1.vxd, -b", "C:\\DRIVER\\sub\\x_1.vxd", "C:\\WINDOWS\\sub\\x_1.vxd"},
        {"Files=11,iosubsys", "a.vxd", "C:\\DRIVER\\a.vxd", "C:\\WINDOWS\\SYSTEM\\iosubsys\\a.vxd"},
        {"Files=12", "a.sys", "C:\\DRIVER\\a.sys", "C:\\WINDOWS\\SYSTEM\\Drivers\\a.sys"},
        {"Files=17", "a.inf", "C:\\DRIVER\\a.inf", "C:\\WINDOWS\\Inf\\a.inf"},
        {"Files=30", "a.bat", "C:\\DRIVER\\a.bat", "C:\\a.bat"},
        {"DefaultDestDir=11", "a.drv", "C:\\DRIVER\\a.drv", "C:\\WINDOWS\\SYSTEM\\a.drv"},
        {"DefaultDestDir=10,media", "a.wav", "C:\\DRIVER\\a.wav", "C:\\WINDOWS\\media\\a.wav"},
        // Ids the engine does not know fall back to the default, then to the Windows folder.
        {"DefaultDestDir=11\r\nFiles=24", "a.dll", "C:\\DRIVER\\a.dll",
         "C:\\WINDOWS\\SYSTEM\\a.dll"},
        {"DefaultDestDir=99", "a.dll", "C:\\DRIVER\\a.dll", "C:\\WINDOWS\\a.dll"},
        {"Files=101", "a.dll", "C:\\DRIVER\\a.dll", "C:\\WINDOWS\\a.dll"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.destinationDirs ? c.destinationDirs : "-") + " | " + c.line);
        std::string body = "[Install]\r\nCopyFiles=Files\r\n[Files]\r\n" + std::string(c.line) +
                           "\r\n";
        if (c.destinationDirs) body += "[DestinationDirs]\r\n" + std::string(c.destinationDirs) + "\r\n";
        openDriverInf(body);
        EXPECT_EQ(copyEntries("Install"), (Entries{{c.source, c.destination}}));
    }
}

TEST_F(SectionWalkTest, WalkCrossesSectionsAndStopsAtAnEmptyOne) {
    openDriverInf(
        "[Install]\r\nCopyFiles=One,Two\r\n[Gap]\r\nCopyFiles=Empty,Two\r\n"
        "[DestinationDirs]\r\nTwo=11\r\n"
        "[One]\r\na.dll\r\nb.dll\r\n[Two]\r\nc.dll\r\n[Empty]\r\n");
    EXPECT_EQ(copyEntries("Install"), (Entries{{"C:\\DRIVER\\a.dll", "C:\\WINDOWS\\a.dll"},
                                               {"C:\\DRIVER\\b.dll", "C:\\WINDOWS\\b.dll"},
                                               {"C:\\DRIVER\\c.dll", "C:\\WINDOWS\\SYSTEM\\c.dll"}}));
    EXPECT_EQ(copyEntries("Gap"), Entries{});
    EXPECT_EQ(copyEntries("NoSuchSection"), Entries{});
}

// Paths longer than a caller's buffer are cut to 259 characters and a terminating zero.
TEST_F(SectionWalkTest, LongPathsAreCutAtTheBuffer) {
    const std::string name(300, 'n');
    openDriverInf("[Install]\r\nCopyFiles=Files\r\nNeeds=" + name + "\r\n[Files]\r\n" + name +
                  "\r\n");
    OutBuffer source, destination;
    ASSERT_EQ(infengine::EnumCopyFiles("Install", source.get(), destination.get()), 0);
    EXPECT_EQ(source.text(), ("C:\\DRIVER\\" + name).substr(0, 259));
    EXPECT_EQ(destination.text(), ("C:\\WINDOWS\\" + name).substr(0, 259));
    EXPECT_TRUE(source.guardIntact() && destination.guardIntact());
    ASSERT_EQ(infengine::EnumNeeds("Install", source.get()), 0);
    EXPECT_EQ(source.text(), name.substr(0, 259));
    EXPECT_TRUE(source.guardIntact());
}

TEST_F(SectionWalkTest, DelFilesGivesDestinations) {
    openDriverInf(
        "[Install]\r\nDelFiles=Old\r\n[Plain]\r\nx=1\r\n[DestinationDirs]\r\nOld=11\r\n"
        "[Old]\r\nold1.drv\r\nold2.vxd\r\n");
    OutBuffer path;
    EXPECT_EQ(infengine::EnumDelFiles("Plain", path.get()), 1);
    std::vector<std::string> paths;
    for (const char* s = "Install"; infengine::EnumDelFiles(s, path.get()) == 0; s = nullptr) {
        paths.push_back(path.text());
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\old1.drv",
                                               "C:\\WINDOWS\\SYSTEM\\old2.vxd"}));
}

}  // namespace
}  // namespace infengine_test

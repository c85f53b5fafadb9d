// EnumCopyFiles: which source each entry names, and when a missing source is fetched from the
// distribution cabinet through the layout INFs.
#include <string>
#include <vector>

#include "infengine/engine.h"
#include "platform/registry_key.h"
#include "tests/unit/infengine/cabinet_fixtures.h"
#include "tests/unit/infengine/infengine_fixture.h"

namespace infengine_test {
namespace {

constexpr char kTempSample[] = "C:\\WINDOWS\\temp\\Sample.DLL";

class CopyFilesTest : public InfEngineTest {
protected:
    void SetUp() override {
        InfEngineTest::SetUp();
        writeInf("C:\\WINDOWS\\INF\\EMPTY.INF", "[SourceDisksFiles]\r\nunrelated.dll=1\r\n");
        writeInf("C:\\WINDOWS\\INF\\LAYOUT.INF",
                 "[SourceDisksNames]\r\n1=\"Windows 98 CD-ROM\",MSZIP.CAB,0\r\n"
                 "2=\"Disk 2\",NONE.CAB,0\r\n1234=\"Disk 1234\",MSZIP.CAB,0\r\n"
                 "[SourceDisksFiles]\r\nSample.DLL=1\r\nother.sys=1\r\nmissing.dll=2\r\n"
                 "far.dll=1234\r\n");
        writeFile("C:\\CABS\\MSZIP.CAB", cabinetFixture("mszip.cab"));
        setSourcePath("C:\\CABS");
    }

    // The copy entries of section Install of a driver INF whose [Files] holds `files`.
    std::vector<std::pair<std::string, std::string>> entries(const std::string& files,
                                                             const std::string& more = "") {
        openDriverInf("LayoutFile=EMPTY.INF,LAYOUT.INF\r\n[Install]\r\nCopyFiles=Files\r\n" +
                      more + "[Files]\r\n" + files);
        std::vector<std::pair<std::string, std::string>> result;
        OutBuffer source, destination;
        for (const char* s = "Install";
             infengine::EnumCopyFiles(s, source.get(), destination.get()) == 0; s = nullptr) {
            result.emplace_back(source.text(), destination.text());
        }
        return result;
    }
};

using Entries = std::vector<std::pair<std::string, std::string>>;

TEST_F(CopyFilesTest, PresentSourceIsReturnedWithoutTouchingTheDistribution) {
    writeFile("C:\\DRIVER\\Sample.DLL", "ours");
    EXPECT_EQ(entries("Sample.DLL\r\n"),
              (Entries{{"C:\\DRIVER\\Sample.DLL", "C:\\WINDOWS\\Sample.DLL"}}));
    EXPECT_FALSE(fileExists(kTempSample));
}

TEST_F(CopyFilesTest, MissingSourceIsExtractedIntoTheWindowsTempFolder) {
    EXPECT_EQ(entries("Sample.DLL\r\n"), (Entries{{kTempSample, "C:\\WINDOWS\\Sample.DLL"}}));
    EXPECT_EQ(readFile(kTempSample), cabinetFixture("members/Sample.DLL"));
}

TEST_F(CopyFilesTest, InstalledFileWithoutSourceIsSkipped) {
    writeFile("C:\\WINDOWS\\first.dll", "installed");
    writeFile("C:\\WINDOWS\\third.dll", "installed");
    writeFile("C:\\DRIVER\\second.dll", "ours");
    EXPECT_EQ(entries("first.dll\r\nsecond.dll\r\nthird.dll\r\n"),
              (Entries{{"C:\\DRIVER\\second.dll", "C:\\WINDOWS\\second.dll"}}));
}

TEST_F(CopyFilesTest, KnownFilesAreReturnedUnchanged) {
    writeFile("C:\\WINDOWS\\Sample.DLL", "installed");
    EXPECT_EQ(entries("Sample.DLL\r\n", "KnownFiles=Known\r\n[Known]\r\nsample.dll\r\n"),
              (Entries{{"C:\\DRIVER\\Sample.DLL", "C:\\WINDOWS\\Sample.DLL"}}));
    EXPECT_FALSE(fileExists(kTempSample));
}

// Every way the look-up or the extraction can fail leaves the source next to the INF.
TEST_F(CopyFilesTest, FailedFetchLeavesTheSourceNextToTheInf) {
    EXPECT_EQ(entries("sample.dll\r\n"),  // the member's name differs in case
              (Entries{{"C:\\DRIVER\\sample.dll", "C:\\WINDOWS\\sample.dll"}}));
    EXPECT_EQ(entries("missing.dll\r\n"),  // its cabinet does not exist
              (Entries{{"C:\\DRIVER\\missing.dll", "C:\\WINDOWS\\missing.dll"}}));
    EXPECT_EQ(entries("far.dll\r\n"),  // a disk id of four characters
              (Entries{{"C:\\DRIVER\\far.dll", "C:\\WINDOWS\\far.dll"}}));
    EXPECT_EQ(entries("nowhere.dll\r\n"),  // no layout names it
              (Entries{{"C:\\DRIVER\\nowhere.dll", "C:\\WINDOWS\\nowhere.dll"}}));
    EXPECT_FALSE(fileExists("C:\\WINDOWS\\temp\\sample.dll"));

    // Without the distribution's "SourcePath" there is no cabinet to open.
    ASSERT_EQ(platform::RegKey(HKEY_LOCAL_MACHINE)
                  .deleteSubKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup"),
              ERROR_SUCCESS);
    EXPECT_EQ(entries("Sample.DLL\r\n"),
              (Entries{{"C:\\DRIVER\\Sample.DLL", "C:\\WINDOWS\\Sample.DLL"}}));
    EXPECT_FALSE(fileExists(kTempSample));
}

}  // namespace
}  // namespace infengine_test

// The simulated shell: shortcut files written, read back and refused, and the program
// associated with a document.
#include <cstring>
#include <string>

#include "tests/unit/system/system_fixture.h"

namespace system_test {
namespace {

using platform::HShellLink;
using platform::host::ShellOperation;

class ShellTest : public SystemTest {
  protected:
    void SetUp() override { ASSERT_EQ(shell.CoInitialize(), S_OK); }
    void TearDown() override {
        shell.CoUninitialize();
        SystemTest::TearDown();
    }
};

constexpr const char* kFolder = "C:\\WINDOWS\\Start Menu\\Programs\\Helvane\\Cantora Pro";

TEST_F(ShellTest, ALinkIsAFileThatReadsBackWithEveryField) {
    makeFolder(kFolder);
    const std::string path = std::string(kFolder) + "\\Propri\xE9t\xE9s Tunara.lnk";
    HShellLink link = 0;
    ASSERT_EQ(shell.CreateShellLink(&link), S_OK);
    EXPECT_EQ(shell.SetPath(link, "C:\\WINDOWS\\SYSTEM\\tunaractl.exe"), S_OK);
    EXPECT_EQ(shell.SetDescription(link, "Shortcut to Tunara Properties\r\n100% sure"), S_OK);
    EXPECT_EQ(shell.SetArguments(link, "-x"), S_OK);
    EXPECT_EQ(shell.SetWorkingDirectory(link, "C:\\WINDOWS"), S_OK);
    EXPECT_EQ(shell.SetIconLocation(link, "C:\\WINDOWS\\SYSTEM\\tunaractl.exe", 2), S_OK);
    EXPECT_EQ(shell.Save(link, path.c_str(), true), S_OK);
    shell.ReleaseShellLink(link);
    EXPECT_TRUE(fileExists(path));

    ASSERT_EQ(shell.CreateShellLink(&link), S_OK);
    ASSERT_EQ(shell.Load(link, path.c_str()), S_OK);
    char text[260];
    EXPECT_EQ(shell.GetPath(link, text, sizeof text), S_OK);
    EXPECT_STREQ(text, "C:\\WINDOWS\\SYSTEM\\tunaractl.exe");
    shell.GetDescription(link, text, sizeof text);
    EXPECT_STREQ(text, "Shortcut to Tunara Properties\r\n100% sure");
    shell.GetArguments(link, text, sizeof text);
    EXPECT_STREQ(text, "-x");
    shell.GetWorkingDirectory(link, text, sizeof text);
    EXPECT_STREQ(text, "C:\\WINDOWS");
    int index = 0;
    shell.GetIconLocation(link, text, sizeof text, &index);
    EXPECT_EQ(index, 2);
    // Texts are cut short to the buffer, always terminated.
    EXPECT_EQ(shell.GetPath(link, text, 4), S_OK);
    EXPECT_STREQ(text, "C:\\");
    shell.ReleaseShellLink(link);

    // A link is a file like any other: the product deletes it by name.
    EXPECT_EQ(files->DeleteFile(path.c_str()), ERROR_SUCCESS);
}

TEST_F(ShellTest, LinksNeedComAndFailuresLeaveNoFile) {
    HShellLink link = 0;
    shell.CoUninitialize();
    EXPECT_EQ(shell.CreateShellLink(&link), CO_E_NOTINITIALIZED);
    ASSERT_EQ(shell.CoInitialize(), S_OK);
    EXPECT_EQ(shell.CoInitialize(), S_FALSE);  // nested: must be balanced too
    shell.CoUninitialize();

    ASSERT_EQ(shell.CreateShellLink(&link), S_OK);
    shell.SetPath(link, "C:\\WINDOWS\\SYSTEM\\tunaractl.exe");
    const std::string missingFolder = "C:\\WINDOWS\\Start Menu\\Nowhere\\x.lnk";
    EXPECT_EQ(shell.Save(link, missingFolder.c_str(), true),
              platform::hresultFromWin32(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(fileExists(missingFolder));

    shell.setFailure(ShellOperation::SetDescription, E_OUTOFMEMORY);
    EXPECT_EQ(shell.SetDescription(link, "text"), E_OUTOFMEMORY);
    shell.setFailure(ShellOperation::SetDescription, S_OK);
    EXPECT_EQ(shell.SetPath(link, ""), E_INVALIDARG);

    writeFile("C:\\WINDOWS\\notalink.lnk", "[InternetShortcut]\r\nURL=x\r\n");
    EXPECT_EQ(shell.Load(link, "C:\\WINDOWS\\notalink.lnk"), E_FAIL);
    EXPECT_EQ(shell.Load(link, "C:\\WINDOWS\\gone.lnk"),
              platform::hresultFromWin32(ERROR_FILE_NOT_FOUND));
    char text[260];
    EXPECT_EQ(shell.GetPath(link, text, sizeof text), S_OK);  // the failed loads changed nothing
    EXPECT_STREQ(text, "C:\\WINDOWS\\SYSTEM\\tunaractl.exe");
    shell.ReleaseShellLink(link);
    shell.ReleaseShellLink(link);  // a second release is ignored
}

TEST_F(ShellTest, FindExecutableFollowsTheDocumentsRegisteredType) {
    writeFile("C:\\WINDOWS\\NOTEPAD.EXE");
    writeFile("C:\\Program Files\\Accessories\\WORDPAD.EXE");
    writeFile("C:\\DOCS\\readme.txt", "hello");
    writeFile("C:\\DOCS\\letter.doc", "hello");
    writeFile("C:\\DOCS\\data.xyz", "hello");
    writeFile("C:\\DOCS\\setup.exe");
    setClassesDefault(".txt", "txtfile");
    setClassesDefault("txtfile\\shell\\open\\command", "notepad.exe %1");
    setClassesDefault(".doc", "wordpad.document.1");
    setClassesDefault("wordpad.document.1\\shell\\open\\command",
                      "\"C:\\Program Files\\Accessories\\WORDPAD.EXE\" \"%1\"");

    const struct {
        const char* file;
        const char* directory;
        std::uintptr_t result;
        const char* program;
    } rows[] = {
        {"C:\\DOCS\\readme.txt", nullptr, 33, "C:\\WINDOWS\\notepad.exe"},
        {"letter.doc", "C:\\DOCS", 33, "C:\\Program Files\\Accessories\\WORDPAD.EXE"},
        {"C:\\DOCS\\setup.exe", nullptr, 33, "C:\\DOCS\\setup.exe"},
        {"C:\\DOCS\\data.xyz", nullptr, SE_ERR_NOASSOC, ""},
        {"C:\\DOCS\\missing.txt", nullptr, SE_ERR_FNF, ""},
        {"readme.txt", "C:\\NOFOLDER", SE_ERR_PNF, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        char result[260];
        std::strcpy(result, "stale");
        const std::uintptr_t answer = shell.FindExecutable(row.file, row.directory, result);
        if (row.result > 32)
            EXPECT_GT(answer, 32u);
        else
            EXPECT_EQ(answer, row.result);
        EXPECT_STREQ(result, row.program);
    }
}

}  // namespace
}  // namespace system_test

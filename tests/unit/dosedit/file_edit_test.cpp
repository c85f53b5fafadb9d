// The file primitives of the DOS editor: names, the file search, adding and removing a line,
// and what every failure leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/host/host_files.h"
#include "platform/host/host_system.h"
#include "settings/tunara_settings.h"
#include "tests/unit/dosedit/dos_fixture.h"

namespace {

using platform::host::FileFault;
using platform::host::FileOperation;

#define S(text) std::string(text, sizeof(text) - 1)

// Equality of two file contents, reported by size and first difference (they can be long).
::testing::AssertionResult sameText(const std::string& got, const std::string& want) {
    if (got == want) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
    return ::testing::AssertionFailure()
           << got.size() << " bytes, " << want.size() << " expected, first difference at " << at
           << ": \"" << got.substr(at, 20) << "\" instead of \"" << want.substr(at, 20) << "\"";
}

const std::string kFile = "C:\\AUTOEXEC.BAT";
const std::string kBackup = "C:\\AUTOEXEC.hv1";
const std::string kLine = "C:\\maestro.com";

class FileEditTest : public tunara_test::DosFileTest {
  protected:
    void SetUp() override {
        DosFileTest::SetUp();
        settings_ = std::make_unique<settings::tunaraSettings>();
    }
    void TearDown() override {
        settings_.reset();
        DosFileTest::TearDown();
    }
    settings::tunaraSettings& s() { return *settings_; }

    // Runs `edit` on `original` with the n-th matching call of `operation` failing, for n =
    // 1, 2, ... until the fault no longer fires. Whatever fails, the file is either the
    // original (and the edit says it failed) or the edited file (and the edit says it worked);
    // the backup, where it was made, is the original. The run without a fault must edit.
    void everyFaultLeavesTheFileWhole(FileOperation operation, const std::string& original,
                                      const std::string& edited,
                                      const std::function<bool()>& edit) {
        for (std::uint32_t n = 1;; ++n) {
            SCOPED_TRACE("fault at call " + std::to_string(n));
            machine().files().clearFaults();
            writeFile(kFile, original);
            machine().files().DeleteFile(kBackup.c_str());
            const std::uint32_t firedBefore = machine().files().faultsFired();
            machine().files().addFault({operation, "AUTOEXEC.BAT", n, 1, ERROR_DISK_FULL});
            const bool result = edit();
            const bool fired = machine().files().faultsFired() != firedBefore;
            machine().files().clearFaults();
            const std::string now = readFile(kFile);
            EXPECT_TRUE(sameText(now, result ? edited : original)) << "edit said " << result;
            if (exists(kBackup)) {
                EXPECT_TRUE(sameText(readFile(kBackup), original));
            }
            if (!fired) {
                EXPECT_TRUE(result);
                break;
            }
            ASSERT_LT(n, 100u);
        }
    }

  private:
    std::unique_ptr<settings::tunaraSettings> settings_;
};

// ---- Names ------------------------------------------------------------------------------

TEST_F(FileEditTest, BackupNames) {
    const std::string longFolder = "C:\\" + std::string(250, 'D');
    const struct {
        std::string path;
        std::int32_t kind;
        std::string name;
    } cases[] = {
        {"C:\\AUTOEXEC.BAT",              0, "C:\\AUTOEXEC.hv1"},
        {"C:\\AUTOEXEC.BAT",              1, "C:\\AUTOEXEC.hv"},
        {"C:\\WINDOWS\\DosStart.bat",     0, "C:\\WINDOWS\\DosStart.hv1"},
        {"C:\\A.B.C",                     0, "C:\\A.B.hv1"},
        {"C:\\CONFIG.",                   1, "C:\\CONFIG.hv"},
        // The extension is the file name's: no '.' there, one is added.
        {"C:\\CONFIG",                    0, "C:\\CONFIG.hv1"},
        {"C:\\MY.DIR\\CONFIG",            0, "C:\\MY.DIR\\CONFIG.hv1"},
        {"",                              0, ""},
        {"C:\\AUTOEXEC.BAT",              2, ""},
        {"C:\\AUTOEXEC.BAT",             -1, ""},
        // 259 characters fit the buffers, 260 do not.
        {longFolder + "\\A.B",            0, longFolder + "\\A.hv1"},
        {longFolder + "\\ABC",            0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(s().backupName(c.path, c.kind), c.name) << c.path << " kind " << c.kind;
}

// ---- The file search --------------------------------------------------------------------

TEST_F(FileEditTest, SearchTakesWindowsFolderThenCThenTheDrivesInOrder) {
    namespace fs = std::filesystem;
    for (const char* drive : {"d", "j", "k"}) fs::create_directories(machine().diskRoot() + "/" + drive);
    machine().files().setDriveType('a', DRIVE_REMOVABLE);  // a floppy drive without a disk
    ASSERT_EQ(machine().files().CreateDirectory("C:\\WINDOWS"), ERROR_SUCCESS);
    writeFile("C:\\WINDOWS\\both.txt", "w");
    writeFile("C:\\both.txt", "c");
    writeFile("D:\\ond.txt", "d");
    writeFile("K:\\onk.txt", "k");

    std::string path;
    EXPECT_TRUE(s().findDosFile("both.txt", &path, true));
    EXPECT_EQ(path, "C:\\WINDOWS\\both.txt");
    EXPECT_TRUE(s().findDosFile("both.txt", &path, false));
    EXPECT_EQ(path, "C:\\both.txt");
    EXPECT_EQ(machine().files().GetCurrentDrive(), 'C');  // found before the walk

    EXPECT_TRUE(s().findDosFile("ond.txt", &path, false));
    EXPECT_EQ(path, "d:\\ond.txt");
    EXPECT_EQ(machine().files().GetCurrentDrive(), 'D');  // the walk leaves it there

    // Drive 10 is j, drive 11 is k.
    EXPECT_TRUE(s().findDosFile("onk.txt", &path, false));
    EXPECT_EQ(path, "k:\\onk.txt");
    EXPECT_EQ(machine().files().GetCurrentDrive(), 'K');

    path = "untouched";
    EXPECT_FALSE(s().findDosFile("nowhere.txt", &path, true));
    EXPECT_EQ(path, "untouched");
    EXPECT_EQ(machine().files().GetCurrentDrive(), 'K');  // the last drive there is

    // A folder of that name is not the file.
    EXPECT_FALSE(s().findDosFile("WINDOWS", &path, false));
}

TEST_F(FileEditTest, SearchSkipsCandidatesTooLongForThePathBuffers) {
    machine().system().setWindowsDirectory("C:\\" + std::string(250, 'W'));
    writeFile("C:\\dosstart.bat", "x");
    std::string path;
    EXPECT_TRUE(s().findDosFile("dosstart.bat", &path, true));
    EXPECT_EQ(path, "C:\\dosstart.bat");
    EXPECT_FALSE(s().findDosFile(std::string(300, 'n').c_str(), &path, false));
}

// ---- Adding a line ----------------------------------------------------------------------

TEST_F(FileEditTest, InsertTable) {
    const std::string small = textOfSize(9999);
    const std::string large = textOfSize(10000);
    const struct {
        const char* what;
        std::string original;
        bool checkLineEnd, atEnd;
        std::string edited;
    } cases[] = {
        {"last line unended",   "@ECHO OFF\r\nSET X=1", true, true,  "@ECHO OFF\r\nSET X=1\r\n" + kLine},
        {"last line ended",     "@ECHO OFF\r\n",        true, true,  "@ECHO OFF\r\n" + kLine},
        {"one byte",            "X",                    true, true,  "X\r\n" + kLine},
        {"empty",               "",                     true, true,  kLine},
        {"lone CR at the end",  "A\r",                  true, true,  "A\r\r\n" + kLine},
        {"LF at the end",       "A\n",                  true, true,  "A\n\r\n" + kLine},
        {"no line end check",   "A",                    false, true, "A" + kLine},
        {"start, 9,999 bytes",  small,                  false, false, kLine + small},
        {"start, 10,000 bytes", large,                  false, false, large + kLine},
        {"start, one byte",     "X",                    false, false, kLine + "X"},
        {"start, empty",        "",                     false, false, kLine},
        {"start, binary",       S("\0\x1a\xff\r"),      false, false, kLine + S("\0\x1a\xff\r")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(kFile, c.original);
        EXPECT_TRUE(s().insertTextInFile(kFile.c_str(), kLine.c_str(), c.checkLineEnd, c.atEnd));
        EXPECT_TRUE(sameText(readFile(kFile), c.edited));
        EXPECT_TRUE(sameText(readFile(kBackup), c.original));
    }
}

TEST_F(FileEditTest, EveryFailedInsertLeavesTheFileAsItWas) {
    const std::string atStart = textOfSize(9999);
    const std::string atEnd = "@ECHO OFF\r\nSET X=1";
    for (const FileOperation operation :
         {FileOperation::WriteFile, FileOperation::ReadFile, FileOperation::SetFilePointer,
          FileOperation::CreateFile, FileOperation::CopyFile, FileOperation::CloseHandle,
          FileOperation::GetFileSize}) {
        SCOPED_TRACE("operation " + std::to_string(static_cast<int>(operation)));
        everyFaultLeavesTheFileWhole(operation, atStart, kLine + atStart, [&] {
            return s().insertTextInFile(kFile.c_str(), kLine.c_str(), false, false);
        });
        everyFaultLeavesTheFileWhole(operation, atEnd, atEnd + "\r\n" + kLine, [&] {
            return s().insertTextInFile(kFile.c_str(), kLine.c_str(), true, true);
        });
    }
}

TEST_F(FileEditTest, FailedRestoreStillKeepsTheBackup) {
    const std::string original = textOfSize(5000);
    writeFile(kFile, original);
    // The move's write fails, and so does the copy that would put the file back (the first
    // copy is the backup itself).
    machine().files().addFault({FileOperation::WriteFile, "AUTOEXEC.BAT", 1, 1, ERROR_DISK_FULL});
    machine().files().addFault({FileOperation::CopyFile, "AUTOEXEC.hv1", 2, 1, ERROR_DISK_FULL});
    EXPECT_FALSE(s().insertTextInFile(kFile.c_str(), kLine.c_str(), false, false));
    EXPECT_EQ(machine().files().faultsFired(), 2u);
    EXPECT_EQ(readFile(kBackup), original);
}

TEST_F(FileEditTest, BackupThatCannotBeMadeStopsTheEdit) {
    writeFile(kFile, "A\r\n");
    writeFile(kBackup, "old backup");
    setAttributes(kBackup, FILE_ATTRIBUTE_READONLY);  // cannot be replaced
    EXPECT_FALSE(s().insertTextInFile(kFile.c_str(), kLine.c_str(), true, true));
    EXPECT_EQ(readFile(kFile), "A\r\n");
    EXPECT_EQ(readFile(kBackup), "old backup");

    // A start-up file named like its own backup is never edited.
    writeFile("C:\\ODD.HV1", "A\r\n");
    EXPECT_FALSE(s().insertTextInFile("C:\\ODD.HV1", kLine.c_str(), true, true));
    EXPECT_FALSE(s().removeTextFromFile("C:\\ODD.HV1", "A"));
    EXPECT_EQ(readFile("C:\\ODD.HV1"), "A\r\n");
}

TEST_F(FileEditTest, ReadOnlyFileFailsCleanlyWithItsBackupInPlace) {
    const std::string original = "@ECHO OFF\r\nC:\\maestro.com\r\n";
    writeFile(kFile, original);
    setAttributes(kFile, FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(s().fileContains(kFile.c_str(), kLine.c_str()));  // reading needs no write access
    EXPECT_FALSE(s().insertTextInFile(kFile.c_str(), "REM x", true, true));
    EXPECT_EQ(readFile(kFile), original);
    EXPECT_EQ(readFile(kBackup), original);
    setAttributes(kBackup, FILE_ATTRIBUTE_NORMAL);
    machine().files().DeleteFile(kBackup.c_str());
    EXPECT_FALSE(s().removeTextFromFile(kFile.c_str(), kLine.c_str()));
    EXPECT_EQ(readFile(kFile), original);
    EXPECT_EQ(readFile(kBackup), original);
}

TEST_F(FileEditTest, PathTooLongForTheBuffersIsRefusedUntouched) {
    namespace fs = std::filesystem;
    const std::string folder = std::string(200, 'A');
    const std::string name = std::string(60, 'B');
    fs::create_directories(machine().diskRoot() + "/c/" + folder);
    { std::ofstream(machine().diskRoot() + "/c/" + folder + "/" + name + ".BAT") << "X\r\n"; }
    const std::string path = "C:\\" + folder + "\\" + name + ".BAT";  // 268 characters
    EXPECT_FALSE(s().insertTextInFile(path.c_str(), kLine.c_str(), true, true));
    EXPECT_FALSE(s().removeTextFromFile(path.c_str(), "X"));
    EXPECT_TRUE(fs::exists(machine().diskRoot() + "/c/" + folder + "/" + name + ".BAT"));
    EXPECT_FALSE(fs::exists(machine().diskRoot() + "/c/" + folder + "/" + name + ".hv1"));
    std::ifstream in(machine().diskRoot() + "/c/" + folder + "/" + name + ".BAT");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "X\r\n");
}

// ---- Taking a line out ------------------------------------------------------------------

TEST_F(FileEditTest, RemoveTable) {
    const std::string tail = textOfSize(200000);
    const struct {
        const char* what;
        std::string original, text;
        bool removed;
        std::string edited;
    } cases[] = {
        {"with its line end",       "A\r\n" + kLine + "\r\nB\r\n", kLine, true, "A\r\nB\r\n"},
        {"last, unended",           "A\r\n" + kLine,                kLine, true, "A\r\n"},
        {"the whole file",          kLine + "\r\n",                 kLine, true, ""},
        {"lone CR after it stays",  kLine + "\rX",                  kLine, true, "\rX"},
        {"LF after it stays",       kLine + "\nX",                  kLine, true, "\nX"},
        {"any letter case",         "c:\\MAESTRO.COM\r\nX",         kLine, true, "X"},
        {"first occurrence only",   kLine + "\r\n" + kLine + "\r\n", kLine, true, kLine + "\r\n"},
        {"device line",             "DEVICE=C:\\aecu.sys\r\nFILES=40\r\n", "DEVICE=C:\\aecu.sys",
                                     true, "FILES=40\r\n"},
        {"in a long file",          "A\r\n" + kLine + "\r\n" + tail, kLine, true, "A\r\n" + tail},
        {"not there",               "A\r\nB\r\n",                   kLine, false, "A\r\nB\r\n"},
        {"empty file",              "",                             kLine, false, ""},
        {"empty text",              "\r\nA",                        "",    false, "\r\nA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(kFile, c.original);
        machine().files().DeleteFile(kBackup.c_str());
        EXPECT_EQ(s().removeTextFromFile(kFile.c_str(), c.text.c_str()), c.removed);
        EXPECT_TRUE(sameText(readFile(kFile), c.edited));
        if (!c.text.empty()) {
            EXPECT_TRUE(sameText(readFile(kBackup), c.original));  // taken first, always
        }
    }
}

TEST_F(FileEditTest, EveryFailedRemovalLeavesTheFileAsItWas) {
    // Long enough for the move to take several buffers.
    const std::string tail = textOfSize(200000);
    const std::string original = "@ECHO OFF\r\n" + kLine + "\r\n" + tail;
    for (const FileOperation operation :
         {FileOperation::WriteFile, FileOperation::ReadFile, FileOperation::SetFilePointer,
          FileOperation::SetEndOfFile, FileOperation::CreateFile, FileOperation::CopyFile,
          FileOperation::CloseHandle, FileOperation::GetFileSize}) {
        SCOPED_TRACE("operation " + std::to_string(static_cast<int>(operation)));
        everyFaultLeavesTheFileWhole(operation, original, "@ECHO OFF\r\n" + tail, [&] {
            return s().removeTextFromFile(kFile.c_str(), kLine.c_str());
        });
    }
}

}  // namespace

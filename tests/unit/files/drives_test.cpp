// Names without regard to case, drives, the current drive and per-drive directories.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_handle.h"
#include "tests/unit/files/files_fixture.h"

namespace tunara_test {
namespace {

using FilesNames = HostFilesTest;
using FilesDrives = HostFilesTest;

TEST_F(FilesNames, FindsEntriesWithoutRegardToCaseAndKeepsNewNamesAsGiven) {
    putHostFile("c/WINDOWS/System/Tunara.INF", "[Version]");
    EXPECT_EQ(readFile("c:\\windows\\SYSTEM\\tunara.inf"), "[Version]");
    EXPECT_EQ(fs().CreateFile("C:\\WINDOWS\\SYSTEM\\TUNARA.inf", GENERIC_WRITE, 0, CREATE_NEW, 0,
                              nullptr),
              ERROR_INVALID_PARAMETER);
    platform::FileHandle unused = platform::kInvalidFileHandle;
    EXPECT_EQ(fs().CreateFile("C:\\WINDOWS\\SYSTEM\\TUNARA.inf", GENERIC_WRITE, 0, CREATE_NEW, 0,
                              &unused),
              ERROR_FILE_EXISTS);
    EXPECT_EQ(unused, platform::kInvalidFileHandle);

    ASSERT_EQ(writeFile("c:\\windows\\New Settings.Txt", "x"), ERROR_SUCCESS);
    ASSERT_EQ(writeFile("C:\\WINDOWS\\NEW SETTINGS.TXT", "replaced"), ERROR_SUCCESS);
    EXPECT_EQ(hostNames("c/WINDOWS"), (std::vector<std::string>{"New Settings.Txt", "System"}));
    EXPECT_EQ(hostContent("c/WINDOWS/New Settings.Txt"), "replaced");

    // The current directory takes the case the disk has.
    ASSERT_EQ(fs().SetCurrentDirectory("c:\\windows\\system"), ERROR_SUCCESS);
    std::string current;
    ASSERT_EQ(fs().GetCurrentDirectory(&current), ERROR_SUCCESS);
    EXPECT_EQ(current, "C:\\WINDOWS\\System");
}

TEST_F(FilesNames, MapsWindows1252NamesToUtf8OnTheHost) {
    std::filesystem::create_directories(host("c/WINDOWS/Startmenü/Programme"));
    EXPECT_EQ(fs().SetCurrentDirectory("C:\\WINDOWS\\STARTMEN\xDC\\programme"), ERROR_SUCCESS);
    std::string current;
    fs().GetCurrentDirectory(&current);
    EXPECT_EQ(current, "C:\\WINDOWS\\Startmen\xFC\\Programme");

    ASSERT_EQ(fs().CreateDirectory("C:\\WINDOWS\\Menu D\xE9marrer"), ERROR_SUCCESS);
    EXPECT_TRUE(hostExists("c/WINDOWS/Menu Démarrer"));
    EXPECT_EQ(fs().CreateDirectory("C:\\WINDOWS\\MENU D\xC9MARRER"), ERROR_ALREADY_EXISTS);
}

TEST_F(FilesNames, EveryEntryAnswersToItsShortName) {
    putHostFile("c/Program Files/Cantora Audio/Long File Name.txt", "long");
    putHostFile("c/Program Files/Cantora Audio/Long File Name 2.txt", "second");
    // Entries found on the disk get theirs in name order (' ' sorts before '.').
    EXPECT_EQ(readFile("C:\\PROGRA~1\\CANTOR~1\\LONGFI~1.TXT"), "second");
    EXPECT_EQ(readFile("C:\\progra~1\\Cantora Audio\\longfi~2.txt"), "long");

    // A new long name gets the next free short name at creation.
    ASSERT_EQ(writeFile("C:\\Program Files\\Cantora Audio\\Long File Name 3.txt", "third"),
              ERROR_SUCCESS);
    platform::FindData data;
    platform::ScopedFind search;
    ASSERT_EQ(fs().FindFirstFile("C:\\Program Files\\Cantora Audio\\Long File Name 3.txt", &data,
                                 search.receive()),
              ERROR_SUCCESS);
    EXPECT_STREQ(data.fileName, "Long File Name 3.txt");
    EXPECT_STREQ(data.alternateFileName, "LONGFI~3.TXT");
}

TEST_F(FilesNames, GetFullPathNameKeepsTheGivenCaseAndFindsTheFilePart) {
    struct Row {
        const char* path;
        const char* full;
        std::size_t filePart;
    } rows[] = {
        {"setup.inf", "C:\\Temp\\setup.inf", 8},
        {"..\\AUTOEXEC.BAT", "C:\\AUTOEXEC.BAT", 3},
        {"c:", "C:\\Temp", 3},
        {"C:\\WINDOWS\\", "C:\\WINDOWS\\", 11},
        {"C:\\", "C:\\", 3},
        {"*.inf", "C:\\Temp\\*.inf", 8},
    };
    std::filesystem::create_directories(host("c/Temp"));
    ASSERT_EQ(fs().SetCurrentDirectory("c:\\temp"), ERROR_SUCCESS);
    for (const Row& row : rows) {
        std::string full;
        std::size_t part = 999;
        ASSERT_EQ(fs().GetFullPathName(row.path, &full, &part), ERROR_SUCCESS) << row.path;
        EXPECT_EQ(full, row.full) << row.path;
        EXPECT_EQ(part, row.filePart) << row.path;
    }
}

TEST_F(FilesNames, FileOperationsAnswerTheErrorsOfMalformedAndMissingPaths) {
    putHostFile("c/file.txt", "x");
    std::filesystem::create_directories(host("c/WINDOWS"));
    struct Row {
        std::string path;
        std::uint32_t error;
    } rows[] = {
        {"C:\\missing\\x.txt", ERROR_PATH_NOT_FOUND},
        {"C:\\file.txt\\x.txt", ERROR_PATH_NOT_FOUND},
        {"C:\\file.txt\\", ERROR_INVALID_NAME},
        {"C:\\x.txt", ERROR_FILE_NOT_FOUND},
        {"Q:\\x.txt", ERROR_PATH_NOT_FOUND},
        {"C:\\bad>name", ERROR_INVALID_NAME},
        {"C:\\" + std::string(300, 'a'), ERROR_FILENAME_EXCED_RANGE},
        {"\\\\.\\PNPCONF.VXD", ERROR_FILE_NOT_FOUND},
        {"", ERROR_PATH_NOT_FOUND},
    };
    for (const Row& row : rows) {
        platform::FileHandle file = platform::kInvalidFileHandle;
        EXPECT_EQ(fs().CreateFile(row.path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0,
                                  &file),
                  row.error)
            << row.path;
        std::uint32_t value = 0xCCCCCCCC;
        EXPECT_EQ(fs().GetFileAttributes(row.path.c_str(), &value), row.error) << row.path;
        EXPECT_EQ(value, 0xCCCCCCCCu) << row.path;
    }
    EXPECT_EQ(
        fs().CreateFile("C:\\WINDOWS", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0, nullptr),
        ERROR_INVALID_PARAMETER);
    platform::FileHandle file = platform::kInvalidFileHandle;
    EXPECT_EQ(
        fs().CreateFile("C:\\WINDOWS", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0, &file),
        ERROR_ACCESS_DENIED);
}

TEST_F(FilesDrives, ADriveWalkLeavesTheLastDriveThatCouldBeMadeCurrent) {
    std::filesystem::create_directories(host("e/DRIVERS"));
    fs().setDriveType('A', DRIVE_REMOVABLE);  // a floppy drive without a disk
    ASSERT_EQ(fs().SetCurrentDirectory("E:\\DRIVERS"), ERROR_SUCCESS);
    ASSERT_EQ(fs().SetCurrentDrive('c'), ERROR_SUCCESS);

    std::string reached;
    std::vector<std::uint32_t> results;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        std::uint32_t rc = fs().SetCurrentDrive(letter);
        results.push_back(rc);
        if (rc == ERROR_SUCCESS) reached.push_back(letter);
    }
    EXPECT_EQ(reached, "ce");
    EXPECT_EQ(results[0], ERROR_NOT_READY);
    EXPECT_EQ(results[1], ERROR_INVALID_DRIVE);
    EXPECT_EQ(fs().GetCurrentDrive(), 'E');
    std::string current;
    fs().GetCurrentDirectory(&current);
    EXPECT_EQ(current, "E:\\DRIVERS");

    // Relative paths now land on E.
    ASSERT_EQ(writeFile("maestro.com", "MZ"), ERROR_SUCCESS);
    EXPECT_TRUE(hostExists("e/DRIVERS/maestro.com"));
    EXPECT_EQ(fs().SetCurrentDrive('?'), ERROR_INVALID_DRIVE);
    EXPECT_EQ(fs().GetCurrentDrive(), 'E');
}

TEST_F(FilesDrives, EachDriveKeepsItsOwnCurrentDirectory) {
    std::filesystem::create_directories(host("c/WINDOWS"));
    std::filesystem::create_directories(host("d/Data"));
    ASSERT_EQ(fs().SetCurrentDirectory("C:\\WINDOWS"), ERROR_SUCCESS);
    ASSERT_EQ(fs().SetCurrentDirectory("d:\\data"), ERROR_SUCCESS);
    std::string current;
    fs().GetCurrentDirectory(&current);
    EXPECT_EQ(current, "D:\\Data");

    ASSERT_EQ(writeFile("C:win.ini", "[windows]"), ERROR_SUCCESS);
    EXPECT_TRUE(hostExists("c/WINDOWS/win.ini"));
    ASSERT_EQ(fs().SetCurrentDirectory("C:"), ERROR_SUCCESS);
    fs().GetCurrentDirectory(&current);
    EXPECT_EQ(current, "C:\\WINDOWS");

    // A failed change leaves drive and directory as they were.
    putHostFile("d/Data/notes.txt", "");
    EXPECT_EQ(fs().SetCurrentDirectory("D:\\missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(fs().SetCurrentDirectory("D:\\Data\\notes.txt"), ERROR_DIRECTORY);
    EXPECT_EQ(fs().SetCurrentDirectory("D:\\no\\such"), ERROR_PATH_NOT_FOUND);
    fs().GetCurrentDirectory(&current);
    EXPECT_EQ(current, "C:\\WINDOWS");
}

TEST_F(FilesDrives, ReportsDriveTypes) {
    std::filesystem::create_directories(host("c/WINDOWS"));
    std::filesystem::create_directories(host("f"));
    fs().setDriveType('A', DRIVE_REMOVABLE);
    fs().setDriveType('F', DRIVE_CDROM);
    struct Row {
        const char* root;
        std::uint32_t type;
    } rows[] = {
        {"C:\\", DRIVE_FIXED},
        {"c:", DRIVE_FIXED},
        {nullptr, DRIVE_FIXED},
        {"A:\\", DRIVE_REMOVABLE},
        {"F:\\", DRIVE_CDROM},
        {"B:\\", DRIVE_NO_ROOT_DIR},
        {"C:\\WINDOWS", DRIVE_NO_ROOT_DIR},
        {"", DRIVE_NO_ROOT_DIR},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fs().GetDriveType(row.root), row.type) << (row.root ? row.root : "(null)");
    }
    EXPECT_EQ(readFile("A:\\setup.inf"), "<cannot open>");
    platform::FileHandle file;
    EXPECT_EQ(fs().CreateFile("A:\\setup.inf", GENERIC_READ, 0, OPEN_EXISTING, 0, &file),
              ERROR_NOT_READY);

    std::uint32_t sectors = 0, bytes = 0, freeClusters = 0, total = 0;
    fs().setDiskSpace('C', 5ull << 30, 8ull << 30);
    ASSERT_EQ(fs().GetDiskFreeSpace("C:\\", &sectors, &bytes, &freeClusters, &total),
              ERROR_SUCCESS);
    // Windows 95/98 report at most 2 GB.
    EXPECT_LT(std::uint64_t{sectors} * bytes * freeClusters, 2ull << 30);
    EXPECT_EQ(freeClusters, total);
    EXPECT_EQ(fs().GetDiskFreeSpace("A:\\", &sectors, &bytes, &freeClusters, &total),
              ERROR_NOT_READY);
}

TEST_F(FilesDrives, ACurrentDirectoryCannotBeRemoved) {
    std::filesystem::create_directories(host("c/WINDOWS/TEMP"));
    std::filesystem::create_directories(host("d/Data"));
    ASSERT_EQ(fs().SetCurrentDirectory("C:\\WINDOWS\\TEMP"), ERROR_SUCCESS);
    ASSERT_EQ(fs().SetCurrentDirectory("D:\\Data"), ERROR_SUCCESS);

    // Windows 95/98 protect the current directory of every drive.
    EXPECT_EQ(fs().RemoveDirectory("C:\\WINDOWS\\TEMP"), ERROR_CURRENT_DIRECTORY);
    EXPECT_EQ(fs().RemoveDirectory("D:\\Data"), ERROR_CURRENT_DIRECTORY);
    EXPECT_EQ(fs().MoveFile("C:\\WINDOWS", "C:\\OLDWIN"), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(hostExists("c/WINDOWS/TEMP"));

    // NT protects the current drive's only.
    fs().setNtSemantics(true);
    EXPECT_EQ(fs().RemoveDirectory("D:\\Data"), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(fs().RemoveDirectory("C:\\WINDOWS\\TEMP"), ERROR_SUCCESS);
    EXPECT_EQ(fs().SetCurrentDrive('C'), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(fs().GetCurrentDrive(), 'D');
}

}  // namespace
}  // namespace tunara_test

// Searches with wildcards, moves, copies, folders and temporary names.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_handle.h"
#include "tests/unit/files/files_fixture.h"

namespace tunara_test {
namespace {

using FilesTree = HostFilesTest;

// The names a search lists, in order, or the error of FindFirstFile.
std::string listing(platform::FileSystem& files, const char* pattern) {
    platform::FindData data;
    platform::ScopedFind search;
    std::uint32_t rc = files.FindFirstFile(pattern, &data, search.receive());
    if (rc != ERROR_SUCCESS) return "error " + std::to_string(rc);
    std::string names = data.fileName;
    while ((rc = files.FindNextFile(search.get(), &data)) == ERROR_SUCCESS) {
        names += std::string(" ") + data.fileName;
    }
    if (rc != ERROR_NO_MORE_FILES) names += " then error " + std::to_string(rc);
    return names;
}

TEST_F(FilesTree, FindMatchesLongAndShortNamesWithWindowsWildcardRules) {
    for (const char* name :
         {"README", "readme.txt", "Setup.exe", "data.txtx", "page.html", "a.b.c", "SUB/keep"}) {
        putHostFile(std::string("c/T/") + name, "");
    }
    struct Row {
        const char* pattern;
        const char* names;
    } rows[] = {
        {"C:\\T\\*", ". .. README SUB Setup.exe a.b.c data.txtx page.html readme.txt"},
        {"C:\\T\\*.*", ". .. README SUB Setup.exe a.b.c data.txtx page.html readme.txt"},
        {"C:\\T\\*.", ". .. README SUB"},
        {"C:\\T\\*.txt", "data.txtx readme.txt"},  // data.txtx is DATA~1.TXT
        {"C:\\T\\*.htm", "page.html"},             // page.html is PAGE~1.HTM
        {"C:\\T\\s*", "SUB Setup.exe"},
        {"C:\\T\\?????", ". .. SUB"},
        {"c:\\t\\SETUP.EXE", "Setup.exe"},
        {"C:\\T\\PAGE~1.HTM", "page.html"},
        {"C:\\T\\nothing*", "error 2"},
        {"C:\\T\\missing\\*", "error 3"},
        {"C:\\T*\\x", "error 123"},
        {"C:\\T\\", "error 2"},
        {"C:\\T\\SUB\\*.*", ". .. keep"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(listing(fs(), row.pattern), row.names) << row.pattern;
    }
    // A drive's root has no "." and "..".
    EXPECT_EQ(listing(fs(), "C:\\*"), "T");
}

TEST_F(FilesTree, FindDataDescribesTheEntry) {
    putHostFile("c/T/Long Name.dat", "12345");
    ASSERT_EQ(fs().SetFileAttributes("C:\\T\\Long Name.dat", FILE_ATTRIBUTE_HIDDEN), ERROR_SUCCESS);
    platform::FindData data;
    platform::ScopedFind search;
    ASSERT_EQ(fs().FindFirstFile("C:\\T\\LONGNA~1.DAT", &data, search.receive()), ERROR_SUCCESS);
    EXPECT_STREQ(data.fileName, "Long Name.dat");
    EXPECT_STREQ(data.alternateFileName, "LONGNA~1.DAT");
    EXPECT_EQ(data.fileSize, 5u);
    EXPECT_EQ(data.attributes, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_NE(data.lastWriteTime, 0u);
    EXPECT_EQ(fs().FindNextFile(search.get(), &data), ERROR_NO_MORE_FILES);
    EXPECT_EQ(fs().FindClose(search.take()), ERROR_SUCCESS);
    EXPECT_EQ(fs().FindClose(0x1234), ERROR_INVALID_HANDLE);
}

TEST_F(FilesTree, MovesRenameFilesAndFolders) {
    putHostFile("c/abc.txt", "abc");
    putHostFile("c/other.txt", "other");
    putHostFile("c/Drivers/es197x.drv", "driver");
    std::filesystem::create_directories(host("d"));

    EXPECT_EQ(fs().MoveFile("C:\\abc.txt", "C:\\other.txt"), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(fs().MoveFile("C:\\missing.txt", "C:\\x.txt"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(fs().MoveFile("C:\\abc.txt", "C:\\nowhere\\abc.txt"), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(hostContent("c/other.txt"), "other");

    // Only the case changes.
    ASSERT_EQ(fs().MoveFile("C:\\abc.txt", "C:\\ABC.TXT"), ERROR_SUCCESS);
    EXPECT_TRUE(hostExists("c/ABC.TXT"));
    EXPECT_FALSE(hostExists("c/abc.txt"));

    EXPECT_EQ(fs().MoveFile("C:\\Drivers", "C:\\Drivers\\Inner"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(fs().MoveFile("C:\\Drivers", "D:\\Drivers"), ERROR_NOT_SAME_DEVICE);
    ASSERT_EQ(fs().MoveFile("C:\\Drivers", "C:\\Old Drivers"), ERROR_SUCCESS);
    EXPECT_EQ(readFile("C:\\OLDDRI~1\\ES197X.DRV"), "driver");

    // MoveFile carries a file to another drive; MoveFileEx needs MOVEFILE_COPY_ALLOWED.
    ASSERT_EQ(fs().MoveFile("C:\\ABC.TXT", "D:\\abc.txt"), ERROR_SUCCESS);
    EXPECT_EQ(hostContent("d/abc.txt"), "abc");
    fs().setNtSemantics(true);
    EXPECT_EQ(fs().MoveFileEx("D:\\abc.txt", "C:\\abc.txt", 0), ERROR_NOT_SAME_DEVICE);
    EXPECT_EQ(fs().MoveFileEx("D:\\abc.txt", "C:\\other.txt", MOVEFILE_COPY_ALLOWED),
              ERROR_ALREADY_EXISTS);
    ASSERT_EQ(fs().MoveFileEx("D:\\abc.txt", "C:\\other.txt",
                              MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING),
              ERROR_SUCCESS);
    EXPECT_EQ(hostContent("c/other.txt"), "abc");
    EXPECT_FALSE(hostExists("d/abc.txt"));
}

TEST_F(FilesTree, MoveFileExIsNotImplementedOnWindows95And98) {
    putHostFile("c/WINDOWS/SYSTEM/old.dll", "old");
    for (std::uint32_t flags : {0u, MOVEFILE_REPLACE_EXISTING, MOVEFILE_DELAY_UNTIL_REBOOT}) {
        EXPECT_EQ(fs().MoveFileEx("C:\\WINDOWS\\SYSTEM\\old.dll", "C:\\new.dll", flags),
                  ERROR_CALL_NOT_IMPLEMENTED);
        EXPECT_EQ(fs().MoveFileEx("C:\\WINDOWS\\SYSTEM\\old.dll", nullptr, flags),
                  ERROR_CALL_NOT_IMPLEMENTED);
    }
    EXPECT_TRUE(hostExists("c/WINDOWS/SYSTEM/old.dll"));
    EXPECT_FALSE(hostExists("c/new.dll"));
    EXPECT_TRUE(fs().pendingMoves().empty());
}

TEST_F(FilesTree, DelayedMovesWaitForTheNextStartOnNt) {
    fs().setNtSemantics(true);
    putHostFile("c/WINDOWS/SYSTEM/hvinf.dll", "old engine");
    putHostFile("c/WINDOWS/SYSTEM/hvinf.new", "new engine");
    putHostFile("c/WINDOWS/hvinfnt.dll", "helper");
    ASSERT_EQ(fs().MoveFileEx("C:\\WINDOWS\\SYSTEM\\hvinf.new", "C:\\WINDOWS\\SYSTEM\\hvinf.dll",
                              MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING),
              ERROR_SUCCESS);
    ASSERT_EQ(fs().MoveFileEx("c:\\windows\\hvinfnt.dll", nullptr, MOVEFILE_DELAY_UNTIL_REBOOT),
              ERROR_SUCCESS);
    EXPECT_EQ(
        fs().MoveFileEx("C:\\a", "C:\\b", MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_COPY_ALLOWED),
        ERROR_INVALID_PARAMETER);
    ASSERT_EQ(fs().pendingMoves().size(), 2u);
    EXPECT_EQ(fs().pendingMoves()[1].from, "C:\\windows\\hvinfnt.dll");
    EXPECT_EQ(fs().pendingMoves()[1].to, "");
    EXPECT_EQ(hostContent("c/WINDOWS/SYSTEM/hvinf.dll"), "old engine");

    fs().restart();
    EXPECT_EQ(hostContent("c/WINDOWS/SYSTEM/hvinf.dll"), "new engine");
    EXPECT_FALSE(hostExists("c/WINDOWS/SYSTEM/hvinf.new"));
    EXPECT_FALSE(hostExists("c/WINDOWS/hvinfnt.dll"));
    EXPECT_TRUE(fs().pendingMoves().empty());
}

TEST_F(FilesTree, CopiesKeepTheLastWriteTimeAndNeverHalfReplaceATarget) {
    putHostFile("c/src.txt", "new content");
    putHostFile("c/dst.txt", "old content");
    platform::FileTime stamp = 0x01BF0D3A5E2C8000ull;  // a day in 1999
    {
        platform::ScopedFile file;
        ASSERT_EQ(
            fs().CreateFile("C:\\src.txt", GENERIC_WRITE, 0, OPEN_EXISTING, 0, file.receive()),
            ERROR_SUCCESS);
        ASSERT_EQ(fs().SetFileTime(file.get(), nullptr, nullptr, &stamp), ERROR_SUCCESS);
    }
    EXPECT_EQ(fs().CopyFile("C:\\src.txt", "C:\\dst.txt", true), ERROR_FILE_EXISTS);
    EXPECT_EQ(hostContent("c/dst.txt"), "old content");
    EXPECT_EQ(fs().CopyFile("C:\\src.txt", "C:\\no\\dst.txt", false), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(fs().CopyFile("C:\\none.txt", "C:\\dst.txt", false), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(fs().CopyFile("C:\\src.txt", "C:\\SRC.TXT", false), ERROR_SHARING_VIOLATION);

    ASSERT_EQ(fs().CopyFile("C:\\src.txt", "C:\\dst.txt", false), ERROR_SUCCESS);
    EXPECT_EQ(hostContent("c/dst.txt"), "new content");
    platform::ScopedFile copy;
    ASSERT_EQ(fs().CreateFile("C:\\dst.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0,
                              copy.receive()),
              ERROR_SUCCESS);
    platform::FileTime written = 0;
    ASSERT_EQ(fs().GetFileTime(copy.get(), nullptr, nullptr, &written), ERROR_SUCCESS);
    EXPECT_EQ(written, stamp);
    // Nothing but the two files: the copy left no staging file behind.
    EXPECT_EQ(hostNames("c"), (std::vector<std::string>{"dst.txt", "src.txt"}));
}

TEST_F(FilesTree, FoldersAreMadeAndRemovedOneLevelAtATime) {
    EXPECT_EQ(fs().CreateDirectory("C:\\Program Files\\Cantora"), ERROR_PATH_NOT_FOUND);
    ASSERT_EQ(fs().CreateDirectory("C:\\Program Files"), ERROR_SUCCESS);
    ASSERT_EQ(fs().CreateDirectory("C:\\Program Files\\Cantora\\"), ERROR_SUCCESS);
    EXPECT_EQ(fs().CreateDirectory("c:\\program files"), ERROR_ALREADY_EXISTS);
    putHostFile("c/Program Files/Cantora/readme.txt", "");
    EXPECT_EQ(fs().CreateDirectory("C:\\Program Files\\Cantora\\README.TXT"), ERROR_ALREADY_EXISTS);
    const std::string deep = "C:\\" + std::string(240, 'd') + "\\abcdefgh";
    EXPECT_EQ(fs().CreateDirectory(deep.c_str()), ERROR_FILENAME_EXCED_RANGE);

    EXPECT_EQ(fs().RemoveDirectory("C:\\Program Files\\Cantora"), ERROR_DIR_NOT_EMPTY);
    EXPECT_EQ(fs().RemoveDirectory("C:\\Program Files\\Cantora\\readme.txt"), ERROR_DIRECTORY);
    EXPECT_EQ(fs().DeleteFile("C:\\Program Files\\Cantora"), ERROR_ACCESS_DENIED);
    ASSERT_EQ(fs().DeleteFile("C:\\Program Files\\Cantora\\readme.txt"), ERROR_SUCCESS);
    ASSERT_EQ(fs().RemoveDirectory("C:\\PROGRA~1\\CANTORA"), ERROR_SUCCESS);
    EXPECT_EQ(fs().RemoveDirectory("C:\\Program Files\\Cantora"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(fs().RemoveDirectory("C:\\"), ERROR_ACCESS_DENIED);
}

TEST_F(FilesTree, TemporaryNamesAreFreeAndCreated) {
    std::filesystem::create_directories(host("c/WINDOWS/TEMP"));
    putHostFile("c/WINDOWS/TEMP/tnr2.TMP", "taken");
    std::string path;
    std::uint32_t number = 0;
    ASSERT_EQ(fs().GetTempFileName("C:\\WINDOWS\\TEMP", "tnrsetup", 0, &path, &number),
              ERROR_SUCCESS);
    EXPECT_EQ(path, "C:\\WINDOWS\\TEMP\\tnr1.TMP");
    EXPECT_EQ(number, 1u);
    ASSERT_EQ(fs().GetTempFileName("C:\\WINDOWS\\TEMP\\", "tnr", 0, &path, &number), ERROR_SUCCESS);
    EXPECT_EQ(path, "C:\\WINDOWS\\TEMP\\tnr3.TMP");
    EXPECT_EQ(hostContent("c/WINDOWS/TEMP/tnr3.TMP"), "");
    EXPECT_EQ(hostContent("c/WINDOWS/TEMP/tnr2.TMP"), "taken");

    // With a number of its own the name is only made.
    ASSERT_EQ(fs().GetTempFileName("C:\\WINDOWS\\TEMP", "~", 0x1ABCD, &path, &number),
              ERROR_SUCCESS);
    EXPECT_EQ(path, "C:\\WINDOWS\\TEMP\\~ABCD.TMP");
    EXPECT_FALSE(hostExists("c/WINDOWS/TEMP/~ABCD.TMP"));

    path = "untouched";
    EXPECT_EQ(fs().GetTempFileName("C:\\NOTEMP", "tnr", 0, &path, &number), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(fs().GetTempFileName("C:\\WINDOWS\\TEMP\\tnr1.TMP", "tnr", 0, &path, &number),
              ERROR_DIRECTORY);
    EXPECT_EQ(path, "untouched");
}

}  // namespace
}  // namespace tunara_test

// Share modes among open handles, the read-only attribute and the attribute table.
#include <string>

#include "platform/file_handle.h"
#include "tests/unit/files/files_fixture.h"

namespace tunara_test {
namespace {

using FilesSharing = HostFilesTest;

constexpr std::uint32_t R = GENERIC_READ;
constexpr std::uint32_t W = GENERIC_WRITE;
constexpr std::uint32_t RW = GENERIC_READ | GENERIC_WRITE;
constexpr std::uint32_t SR = FILE_SHARE_READ;
constexpr std::uint32_t SW = FILE_SHARE_WRITE;
constexpr std::uint32_t SRW = FILE_SHARE_READ | FILE_SHARE_WRITE;

TEST_F(FilesSharing, SecondOpenMustAllowAndBeAllowedByTheFirst) {
    putHostFile("c/WINDOWS/tunara.inf", "data");
    struct Row {
        std::uint32_t access1, share1, access2, share2, result;
    } rows[] = {
        {R, SR, R, SR, ERROR_SUCCESS},
        {R, SR, W, SRW, ERROR_SHARING_VIOLATION},  // the first does not share writing
        {R, SRW, W, SRW, ERROR_SUCCESS},
        {W, SR, R, SRW, ERROR_SUCCESS},
        {W, SR, R, SR, ERROR_SHARING_VIOLATION},  // the second does not share the writer
        {R, 0, R, SRW, ERROR_SHARING_VIOLATION},
        {RW, SRW, RW, SR, ERROR_SHARING_VIOLATION},
        {0, 0, RW, 0, ERROR_SUCCESS},  // handles without data access never conflict
        {RW, 0, 0, 0, ERROR_SUCCESS},
    };
    for (const Row& row : rows) {
        platform::ScopedFile first, second;
        ASSERT_EQ(fs().CreateFile("C:\\WINDOWS\\tunara.inf", row.access1, row.share1, OPEN_EXISTING,
                                  0, first.receive()),
                  ERROR_SUCCESS);
        EXPECT_EQ(fs().CreateFile("c:\\windows\\TUNARA.INF", row.access2, row.share2, OPEN_EXISTING,
                                  0, second.receive()),
                  row.result)
            << std::hex << row.access1 << "/" << row.share1 << " then " << row.access2 << "/"
            << row.share2;
        EXPECT_EQ(second.valid(), row.result == ERROR_SUCCESS);
    }
    EXPECT_EQ(fs().openHandleCount(), 0u);
}

TEST_F(FilesSharing, AnOpenFileCannotBeDeletedMovedOrReplaced) {
    putHostFile("c/a.txt", "original");
    putHostFile("c/b.txt", "other");
    platform::ScopedFile open;
    ASSERT_EQ(fs().CreateFile("C:\\a.txt", R, SR, OPEN_EXISTING, 0, open.receive()), ERROR_SUCCESS);
    EXPECT_EQ(fs().DeleteFile("C:\\a.txt"), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(fs().MoveFile("C:\\a.txt", "C:\\c.txt"), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(fs().CopyFile("C:\\b.txt", "C:\\a.txt", false), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(fs().CreateFile("C:\\a.txt", W, SRW, CREATE_ALWAYS, 0, nullptr),
              ERROR_INVALID_PARAMETER);
    platform::FileHandle handle;
    EXPECT_EQ(fs().CreateFile("C:\\a.txt", W, SRW, CREATE_ALWAYS, 0, &handle),
              ERROR_SHARING_VIOLATION);
    // Reading it is fine: copying from it shares reading.
    EXPECT_EQ(fs().CopyFile("C:\\a.txt", "C:\\copy.txt", true), ERROR_SUCCESS);
    EXPECT_EQ(hostContent("c/a.txt"), "original");

    // Windows 95/98 have no FILE_SHARE_DELETE.
    platform::ScopedFile shared;
    EXPECT_EQ(
        fs().CreateFile("C:\\b.txt", R, SR | FILE_SHARE_DELETE, OPEN_EXISTING, 0, shared.receive()),
        ERROR_INVALID_PARAMETER);
    open.close();
    EXPECT_EQ(fs().DeleteFile("C:\\a.txt"), ERROR_SUCCESS);
    EXPECT_FALSE(hostExists("c/a.txt"));
}

TEST_F(FilesSharing, ReadOnlyFilesRefuseEveryChange) {
    putHostFile("c/WINDOWS/SYSTEM/Plat2Meg.img", "samples");
    putHostFile("c/new.img", "new samples");
    const char* path = "C:\\WINDOWS\\SYSTEM\\PLAT2MEG.IMG";
    ASSERT_EQ(fs().SetFileAttributes(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE),
              ERROR_SUCCESS);
    platform::FileHandle handle = platform::kInvalidFileHandle;
    for (std::uint32_t disposition : {OPEN_EXISTING, OPEN_ALWAYS, CREATE_ALWAYS}) {
        EXPECT_EQ(fs().CreateFile(path, GENERIC_WRITE, 0, disposition, 0, &handle),
                  ERROR_ACCESS_DENIED)
            << disposition;
    }
    EXPECT_EQ(fs().CreateFile(path, GENERIC_READ, 0, TRUNCATE_EXISTING, 0, &handle),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(fs().DeleteFile(path), ERROR_ACCESS_DENIED);
    EXPECT_EQ(fs().CopyFile("C:\\new.img", path, false), ERROR_ACCESS_DENIED);
    fs().setNtSemantics(true);
    EXPECT_EQ(fs().MoveFileEx("C:\\new.img", path, MOVEFILE_REPLACE_EXISTING), ERROR_ACCESS_DENIED);
    EXPECT_EQ(hostContent("c/WINDOWS/SYSTEM/Plat2Meg.img"), "samples");
    EXPECT_EQ(handle, platform::kInvalidFileHandle);
    EXPECT_EQ(readFile(path), "samples");

    // A read-only file can be renamed and stays read-only.
    ASSERT_EQ(fs().MoveFile(path, "C:\\WINDOWS\\SYSTEM\\Plat2Meg.im"), ERROR_SUCCESS);
    EXPECT_EQ(attributes("C:\\WINDOWS\\SYSTEM\\Plat2Meg.im"),
              FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_EQ(fs().SetFileAttributes("C:\\WINDOWS\\SYSTEM\\Plat2Meg.im", FILE_ATTRIBUTE_NORMAL),
              ERROR_SUCCESS);
    EXPECT_EQ(fs().DeleteFile("C:\\WINDOWS\\SYSTEM\\Plat2Meg.im"), ERROR_SUCCESS);
}

TEST_F(FilesSharing, AttributesAreKeptAndFollowTheirFiles) {
    putHostFile("c/plain.txt", "");
    putHostFile("c/Folder/inner.txt", "");
    EXPECT_EQ(attributes("C:\\plain.txt"), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(attributes("C:\\Folder"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(attributes("C:\\"), FILE_ATTRIBUTE_DIRECTORY);

    // FILE_ATTRIBUTE_NORMAL alone means none; the folder bit cannot be set on a file.
    ASSERT_EQ(fs().SetFileAttributes("C:\\plain.txt", FILE_ATTRIBUTE_NORMAL), ERROR_SUCCESS);
    EXPECT_EQ(attributes("C:\\plain.txt"), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(
        fs().SetFileAttributes("C:\\plain.txt", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM),
        ERROR_SUCCESS);
    EXPECT_EQ(attributes("C:\\plain.txt"), FILE_ATTRIBUTE_SYSTEM);

    // A new file takes the attributes it is created with; the handle can still write.
    platform::ScopedFile file;
    ASSERT_EQ(fs().CreateFile("C:\\Folder\\locked.dat", GENERIC_WRITE, 0, CREATE_NEW,
                              FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, file.receive()),
              ERROR_SUCCESS);
    std::uint32_t written = 0;
    EXPECT_EQ(fs().WriteFile(file.get(), "abc", 3, &written), ERROR_SUCCESS);
    file.close();
    EXPECT_EQ(attributes("C:\\Folder\\locked.dat"),
              FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

    // Moving a folder carries the attributes of what it holds; a copy takes them along.
    ASSERT_EQ(fs().SetFileAttributes("C:\\Folder\\inner.txt", FILE_ATTRIBUTE_HIDDEN),
              ERROR_SUCCESS);
    ASSERT_EQ(fs().MoveFile("C:\\Folder", "C:\\Moved"), ERROR_SUCCESS);
    EXPECT_EQ(attributes("C:\\Moved\\inner.txt"), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(attributes("C:\\Moved\\locked.dat") & FILE_ATTRIBUTE_READONLY,
              FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(fs().CopyFile("C:\\Moved\\inner.txt", "C:\\copy.txt", true), ERROR_SUCCESS);
    EXPECT_EQ(attributes("C:\\copy.txt"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

    // A name deleted and made again starts afresh.
    ASSERT_EQ(fs().SetFileAttributes("C:\\copy.txt", FILE_ATTRIBUTE_NORMAL), ERROR_SUCCESS);
    ASSERT_EQ(fs().DeleteFile("C:\\copy.txt"), ERROR_SUCCESS);
    ASSERT_EQ(writeFile("C:\\copy.txt", "x"), ERROR_SUCCESS);
    EXPECT_EQ(attributes("C:\\copy.txt"), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(fs().SetFileAttributes("C:\\missing.txt", FILE_ATTRIBUTE_NORMAL),
              ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace tunara_test

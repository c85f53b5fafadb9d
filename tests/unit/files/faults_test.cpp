// Planned failures leave the disk as it was; operations on open handles.
#include <string>

#include "platform/file_handle.h"
#include "tests/unit/files/files_fixture.h"

namespace tunara_test {
namespace {

using platform::host::FileFault;
using platform::host::FileOperation;
using FilesFaults = HostFilesTest;
using FilesHandles = HostFilesTest;

TEST_F(FilesFaults, AFailedWriteWritesNothing) {
    putHostFile("c/WINDOWS/SYSTEM/tunara.inf", "original text");
    fs().addFault({FileOperation::WriteFile, "tunara.INF", 1, 1, ERROR_DISK_FULL});
    platform::ScopedFile file;
    ASSERT_EQ(fs().CreateFile("C:\\WINDOWS\\SYSTEM\\tunara.inf", GENERIC_READ | GENERIC_WRITE, 0,
                              OPEN_EXISTING, 0, file.receive()),
              ERROR_SUCCESS);
    ASSERT_EQ(fs().SetFilePointer(file.get(), 9, nullptr, FILE_BEGIN, nullptr), ERROR_SUCCESS);
    std::uint32_t written = 0xCCCC;
    EXPECT_EQ(fs().WriteFile(file.get(), "patched and longer", 18, &written), ERROR_DISK_FULL);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(hostContent("c/WINDOWS/SYSTEM/tunara.inf"), "original text");
    std::uint32_t position = 0;
    ASSERT_EQ(fs().SetFilePointer(file.get(), 0, nullptr, FILE_CURRENT, &position), ERROR_SUCCESS);
    EXPECT_EQ(position, 9u);

    // Only the first matching write was planned to fail.
    EXPECT_EQ(fs().WriteFile(file.get(), "TEXT", 4, &written), ERROR_SUCCESS);
    file.close();
    EXPECT_EQ(hostContent("c/WINDOWS/SYSTEM/tunara.inf"), "original TEXT");
    EXPECT_EQ(fs().faultsFired(), 1u);
}

TEST_F(FilesFaults, FailedCopiesMovesAndDeletesChangeNothing) {
    putHostFile("c/new.drv", "new driver");
    putHostFile("c/WINDOWS/SYSTEM/es197x.drv", "old driver");
    const char* installed = "C:\\WINDOWS\\SYSTEM\\es197x.drv";

    // The second copy onto the driver fails; the first one goes through.
    fs().addFault({FileOperation::CopyFile, "\\SYSTEM\\", 2, 1, ERROR_WRITE_FAULT});
    ASSERT_EQ(fs().CopyFile("C:\\new.drv", "C:\\WINDOWS\\SYSTEM\\first.drv", false), ERROR_SUCCESS);
    EXPECT_EQ(fs().CopyFile("C:\\new.drv", installed, false), ERROR_WRITE_FAULT);
    EXPECT_EQ(hostContent("c/WINDOWS/SYSTEM/es197x.drv"), "old driver");

    fs().addFault({FileOperation::MoveFile, "es197x", 1, 0, ERROR_ACCESS_DENIED});
    fs().addFault({FileOperation::DeleteFile, "", 1, 0, ERROR_ACCESS_DENIED});
    EXPECT_EQ(fs().MoveFile(installed, "C:\\es197x.old"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(fs().MoveFile("C:\\new.drv", installed), ERROR_ACCESS_DENIED);  // target matches
    EXPECT_EQ(fs().DeleteFile(installed), ERROR_ACCESS_DENIED);
    EXPECT_EQ(hostContent("c/WINDOWS/SYSTEM/es197x.drv"), "old driver");
    EXPECT_EQ(hostContent("c/new.drv"), "new driver");
    EXPECT_FALSE(hostExists("c/es197x.old"));
    EXPECT_EQ(fs().faultsFired(), 4u);

    fs().clearFaults();
    EXPECT_EQ(fs().DeleteFile(installed), ERROR_SUCCESS);
}

TEST_F(FilesFaults, FaultsCountOnlyTheirOwnCallsAndPaths) {
    putHostFile("c/WINDOWS/SYSTEM/a.dll", "a");
    putHostFile("c/WINDOWS/b.ini", "b");
    // Every open below SYSTEM from the second on fails, any other open works.
    fs().addFault({FileOperation::CreateFile, "system", 2, 0, ERROR_TOO_MANY_OPEN_FILES});
    EXPECT_EQ(readFile("C:\\WINDOWS\\SYSTEM\\a.dll"), "a");
    EXPECT_EQ(readFile("C:\\WINDOWS\\b.ini"), "b");
    for (int i = 0; i < 3; ++i) {
        platform::FileHandle file = platform::kInvalidFileHandle;
        EXPECT_EQ(fs().CreateFile("c:\\windows\\system\\A.DLL", GENERIC_READ, FILE_SHARE_READ,
                                  OPEN_EXISTING, 0, &file),
                  ERROR_TOO_MANY_OPEN_FILES);
        EXPECT_EQ(file, platform::kInvalidFileHandle);
    }
    platform::FileHandle made = platform::kInvalidFileHandle;
    EXPECT_EQ(
        fs().CreateFile("C:\\WINDOWS\\SYSTEM\\made.txt", GENERIC_WRITE, 0, CREATE_NEW, 0, &made),
        ERROR_TOO_MANY_OPEN_FILES);
    EXPECT_EQ(readFile("C:\\WINDOWS\\b.ini"), "b");
    EXPECT_FALSE(hostExists("c/WINDOWS/SYSTEM/made.txt"));
}

TEST_F(FilesFaults, AFailedCloseStillClosesTheHandle) {
    putHostFile("c/a.txt", "a");
    fs().addFault({FileOperation::CloseHandle, "", 1, 1, ERROR_GEN_FAILURE});
    platform::FileHandle file = platform::kInvalidFileHandle;
    ASSERT_EQ(fs().CreateFile("C:\\a.txt", GENERIC_READ, 0, OPEN_EXISTING, 0, &file),
              ERROR_SUCCESS);
    EXPECT_EQ(fs().CloseHandle(file), ERROR_GEN_FAILURE);
    EXPECT_EQ(fs().openHandleCount(), 0u);
    EXPECT_EQ(fs().CloseHandle(file), ERROR_INVALID_HANDLE);
}

TEST_F(FilesHandles, FilePointerSizeAndEndOfFile) {
    platform::ScopedFile file;
    ASSERT_EQ(fs().CreateFile("C:\\data.bin", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW, 0,
                              file.receive()),
              ERROR_SUCCESS);
    std::uint32_t position = 0xCCCC, size = 0, high = 0xCCCC, count = 0;
    EXPECT_EQ(fs().SetFilePointer(file.get(), -1, nullptr, FILE_BEGIN, &position),
              ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(position, 0xCCCCu);
    EXPECT_EQ(fs().SetFilePointer(file.get(), 0, nullptr, 7, &position), ERROR_INVALID_PARAMETER);

    // Writing past the end fills the gap with zeros.
    ASSERT_EQ(fs().SetFilePointer(file.get(), 4, nullptr, FILE_BEGIN, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(fs().WriteFile(file.get(), "xy", 2, &count), ERROR_SUCCESS);
    ASSERT_EQ(fs().GetFileSize(file.get(), &size, &high), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(hostContent("c/data.bin"), std::string("\0\0\0\0xy", 6));

    std::int32_t distanceHigh = -1;  // with the high part, -3 is 0xFFFFFFFF:FFFFFFFD
    ASSERT_EQ(fs().SetFilePointer(file.get(), -3, &distanceHigh, FILE_END, &position),
              ERROR_SUCCESS);
    EXPECT_EQ(position, 3u);
    EXPECT_EQ(distanceHigh, 0);
    distanceHigh = 1;  // 4 GB + 3: beyond what a 32-bit position can hold
    ASSERT_EQ(fs().SetFilePointer(file.get(), 3, &distanceHigh, FILE_BEGIN, &position),
              ERROR_SUCCESS);
    EXPECT_EQ(distanceHigh, 1);
    EXPECT_EQ(fs().SetFilePointer(file.get(), 0, nullptr, FILE_CURRENT, &position),
              ERROR_INVALID_PARAMETER);

    ASSERT_EQ(fs().SetFilePointer(file.get(), 2, nullptr, FILE_BEGIN, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(fs().SetEndOfFile(file.get()), ERROR_SUCCESS);
    char buffer[8];
    ASSERT_EQ(fs().ReadFile(file.get(), buffer, sizeof buffer, &count), ERROR_SUCCESS);
    EXPECT_EQ(count, 0u);  // at the end: success with nothing read
    ASSERT_EQ(fs().GetFileSize(file.get(), &size, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
}

TEST_F(FilesHandles, AccessIsCheckedPerHandle) {
    putHostFile("c/a.txt", "abc");
    platform::ScopedFile reader, writer;
    ASSERT_EQ(fs().CreateFile("C:\\a.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              OPEN_EXISTING, 0, reader.receive()),
              ERROR_SUCCESS);
    ASSERT_EQ(fs().CreateFile("C:\\a.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              OPEN_EXISTING, 0, writer.receive()),
              ERROR_SUCCESS);
    std::uint32_t count = 0;
    char buffer[4];
    EXPECT_EQ(fs().WriteFile(reader.get(), "x", 1, &count), ERROR_ACCESS_DENIED);
    EXPECT_EQ(fs().SetEndOfFile(reader.get()), ERROR_ACCESS_DENIED);
    platform::FileTime time = 0x01C0000000000000ull;
    EXPECT_EQ(fs().SetFileTime(reader.get(), &time, nullptr, nullptr), ERROR_ACCESS_DENIED);
    EXPECT_EQ(fs().ReadFile(writer.get(), buffer, 4, &count), ERROR_ACCESS_DENIED);
    EXPECT_EQ(hostContent("c/a.txt"), "abc");

    ASSERT_EQ(fs().SetFileTime(writer.get(), &time, nullptr, nullptr), ERROR_SUCCESS);
    platform::FileTime created = 0;
    ASSERT_EQ(fs().GetFileTime(reader.get(), &created, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(created, time);

    platform::FileHandle closed = writer.take();
    ASSERT_EQ(fs().CloseHandle(closed), ERROR_SUCCESS);
    EXPECT_EQ(fs().WriteFile(closed, "x", 1, &count), ERROR_INVALID_HANDLE);
    EXPECT_EQ(fs().GetFileSize(closed, &count, nullptr), ERROR_INVALID_HANDLE);
}

TEST_F(FilesHandles, DeleteOnCloseGoesWithTheLastHandle) {
    platform::ScopedFile first, second;
    ASSERT_EQ(fs().CreateFile("C:\\scratch.tmp", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, first.receive()),
              ERROR_SUCCESS);
    ASSERT_EQ(fs().CreateFile("C:\\scratch.tmp", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              OPEN_EXISTING, 0, second.receive()),
              ERROR_SUCCESS);
    first.close();
    EXPECT_TRUE(hostExists("c/scratch.tmp"));
    second.close();
    EXPECT_FALSE(hostExists("c/scratch.tmp"));
}

TEST_F(FilesHandles, ScopedOwnersCloseThroughTheMachine) {
    putHostFile("c/a.txt", "a");
    {
        platform::ScopedFile file;
        ASSERT_EQ(fs().CreateFile("C:\\a.txt", GENERIC_READ, 0, OPEN_EXISTING, 0, file.receive()),
                  ERROR_SUCCESS);
        platform::ScopedFile moved(std::move(file));
        EXPECT_FALSE(file.valid());
        EXPECT_EQ(fs().openHandleCount(), 1u);
        // receive() closes what was held before handing out the slot.
        ASSERT_EQ(fs().CreateFile("C:\\a.txt", GENERIC_READ, 0, OPEN_EXISTING, 0, moved.receive()),
                  ERROR_SUCCESS);
        EXPECT_EQ(fs().openHandleCount(), 1u);
    }
    EXPECT_EQ(fs().openHandleCount(), 0u);
}

}  // namespace
}  // namespace tunara_test

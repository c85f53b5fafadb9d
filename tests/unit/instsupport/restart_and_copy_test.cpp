#include <gtest/gtest.h>

#include <cstring>

#include "instsupport/decompress_copy.h"
#include "instsupport/restart_schedule.h"
#include "platform/host/host_files.h"
#include "platform/host/host_lz_expand.h"
#include "platform/host/host_system.h"
#include "platform/machine.h"
#include "tests/unit/instsupport/instsupport_fixture.h"

namespace {

using instsupport::insertRenameLine;
using tunara_test::fixtureBytes;
using tunara_test::readMachineFile;
using tunara_test::writeMachineFile;

TEST(WinInitInsertion, Table) {
    const std::string line = "NUL=C:\\WINDOWS\\x.dll\r\n";
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"", "[Rename]\r\nNUL=C:\\WINDOWS\\x.dll\r\n"},
        {"[Rename]\r\nA=B\r\n", "[Rename]\r\nNUL=C:\\WINDOWS\\x.dll\r\nA=B\r\n"},
        {"[boot]\r\nx=1\r\n[rename]\r\nA=B\r\n",
         "[boot]\r\nx=1\r\n[rename]\r\nNUL=C:\\WINDOWS\\x.dll\r\nA=B\r\n"},
        // "[Rename]" is looked for before "[rename]".
        {"[rename]\r\n[Rename]\r\n", "[rename]\r\n[Rename]\r\nNUL=C:\\WINDOWS\\x.dll\r\n"},
        {"[boot]\r\nx=1\r\n", "[boot]\r\nx=1\r\n[Rename]\r\nNUL=C:\\WINDOWS\\x.dll\r\n"},
        // A header without its "\r\n" is no header; a last line without an end gets one.
        {"[Rename]", "[Rename]\r\n[Rename]\r\nNUL=C:\\WINDOWS\\x.dll\r\n"},
        {"[RENAME]\r\n", "[RENAME]\r\n[Rename]\r\nNUL=C:\\WINDOWS\\x.dll\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(insertRenameLine(c.before, line), c.after) << c.before;
}

class RestartSchedule : public tunara_test::MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        tunara_test::makeMachineFolders("C:\\WINDOWS\\SYSTEM");
    }
};

TEST_F(RestartSchedule, DeletionOnWindows98GoesUnderExistingRenameSection) {
    writeMachineFile("C:\\WINDOWS\\WININIT.INI", "[rename]\r\nOLD=C:\\old.dll\r\n");
    EXPECT_NE(instsupport::scheduleAtRestart("C:\\WINDOWS\\SYSTEM\\tnr.vxd", nullptr), 0);
    EXPECT_EQ(readMachineFile("C:\\WINDOWS\\WININIT.INI").value_or(""),
              "[rename]\r\nNUL=C:\\WINDOWS\\SYSTEM\\tnr.vxd\r\nOLD=C:\\old.dll\r\n");
    EXPECT_NE(instsupport::scheduleAtRestart("C:\\a.new", "C:\\a.dll"), 0);
    EXPECT_EQ(readMachineFile("C:\\WINDOWS\\WININIT.INI").value_or(""),
              "[rename]\r\nC:\\a.dll=C:\\a.new\r\nNUL=C:\\WINDOWS\\SYSTEM\\tnr.vxd\r\n"
              "OLD=C:\\old.dll\r\n");
}

TEST_F(RestartSchedule, CreatesWinInitWhenMissing) {
    EXPECT_NE(instsupport::scheduleAtRestart("C:\\x.dll", nullptr), 0);
    EXPECT_EQ(readMachineFile("C:\\WINDOWS\\WinInit.Ini").value_or(""),
              "[Rename]\r\nNUL=C:\\x.dll\r\n");
}

TEST_F(RestartSchedule, NtUsesMoveFileEx) {
    machine().system().setRelease(platform::host::WindowsRelease::WindowsNT4);
    machine().files().setNtSemantics(true);
    writeMachineFile("C:\\x.dll", "x");
    EXPECT_NE(instsupport::scheduleAtRestart("C:\\x.dll", nullptr), 0);
    ASSERT_EQ(machine().files().pendingMoves().size(), 1u);
    EXPECT_TRUE(machine().files().pendingMoves()[0].to.empty());
    EXPECT_FALSE(tunara_test::machineFileExists("C:\\WINNT\\WinInit.Ini"));
}

// Whatever step fails, WinInit.ini holds either its old text (and the result says so) or
// the new one: it is never left half written, and a failure is never reported for a line
// that is in place.
TEST_F(RestartSchedule, AFailureLeavesWinInitOldOrNew) {
    using platform::host::FileOperation;
    const std::string before = "[boot]\r\nx=1\r\n[rename]\r\nA=B\r\n";
    const std::string after = "[boot]\r\nx=1\r\n[rename]\r\nNUL=C:\\x.dll\r\nA=B\r\n";
    const struct {
        FileOperation operation;
        std::uint32_t nth;
    } faults[] = {
        {FileOperation::CreateFile, 1},       {FileOperation::ReadFile, 1},
        {FileOperation::GetFileSize, 1},      {FileOperation::WriteFile, 1},
        {FileOperation::SetFilePointer, 1},   {FileOperation::SetEndOfFile, 1},
        {FileOperation::FlushFileBuffers, 1}, {FileOperation::CloseHandle, 1},
        {FileOperation::GetTempFileName, 1},  {FileOperation::GetTempFileName, 2},
        {FileOperation::MoveFile, 2},         {FileOperation::MoveFile, 3},
        {FileOperation::DeleteFile, 1},       {FileOperation::CreateFile, 2},
    };
    for (const auto& f : faults) {
        SCOPED_TRACE(std::to_string(static_cast<int>(f.operation)) + " #" + std::to_string(f.nth));
        writeMachineFile("C:\\WINDOWS\\WININIT.INI", before);
        platform::host::FileFault fault;
        fault.operation = f.operation;
        fault.nth = f.nth;
        fault.error = ERROR_DISK_FULL;
        machine().files().addFault(fault);
        const int scheduled = instsupport::scheduleAtRestart("C:\\x.dll", nullptr);
        machine().files().clearFaults();
        EXPECT_EQ(readMachineFile("C:\\WINDOWS\\WININIT.INI").value_or("<gone>"),
                  scheduled != 0 ? after : before);
    }
}

class DecompressCopy : public tunara_test::MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        tunara_test::makeMachineFolders(tempFolder().substr(0, tempFolder().size() - 1));
    }
    void TearDown() override {
        auto* lz = dynamic_cast<platform::host::HostLzExpand*>(platform::machine().lz);
        ASSERT_NE(lz, nullptr);
        EXPECT_EQ(lz->openHandleCount(), 0u) << "LZ handles left open";
        MachineTest::TearDown();
    }
    std::string tempFolder() {
        char buffer[261] = {};
        machine().system().GetTempPath(sizeof buffer, buffer);
        return buffer;
    }
};

TEST_F(DecompressCopy, ExpandsSzddFileMadeByMscompress) {
    writeMachineFile("C:\\sample.tx_", fixtureBytes("sample.txt_"));
    char target[260];
    EXPECT_EQ(instsupport::decompressCopyFile("C:\\sample.tx_", "sample.txt", target), 0);
    EXPECT_EQ(std::string(target), tempFolder() + "hvinst\\sample.txt");
    EXPECT_EQ(readMachineFile(target).value_or(""), fixtureBytes("sample.txt"));
    // A plain file is copied as it is, into the folder that now exists.
    writeMachineFile("C:\\plain.txt", "not packed");
    EXPECT_EQ(instsupport::decompressCopyFile("C:\\plain.txt", "plain.txt", target), 0);
    EXPECT_EQ(readMachineFile(target).value_or(""), "not packed");
}

TEST_F(DecompressCopy, ResultCodes) {
    char target[260];
    machine().system().setTempPath("C:\\VANISHED\\");
    EXPECT_EQ(instsupport::decompressCopyFile("C:\\a", "a", target), 5);
    EXPECT_STREQ(target, "TMP_PATH");

    machine().system().setTempPath("C:\\WINDOWS\\TEMP\\");
    EXPECT_EQ(instsupport::decompressCopyFile("C:\\missing", "a", target), 2);
    EXPECT_STREQ(target, "C:\\WINDOWS\\TEMP\\hvinst\\a");

    // A damaged SZDD file (its header promises more than it holds) fails the copy.
    std::string damaged = fixtureBytes("sample.txt_");
    damaged.resize(20);
    writeMachineFile("C:\\bad.tx_", damaged);
    int result = instsupport::decompressCopyFile("C:\\bad.tx_", "bad.txt", target);
    EXPECT_EQ(result, 4);

    // A file where the folder should be: the target cannot be created.
    machine().system().setTempPath("C:\\T2\\");
    EXPECT_EQ(machine().files().CreateDirectory("C:\\T2"), ERROR_SUCCESS);
    writeMachineFile("C:\\T2\\hvinst", "a file");
    writeMachineFile("C:\\src.txt", "x");
    EXPECT_EQ(instsupport::decompressCopyFile("C:\\src.txt", "a", target), 3);

    // The sub-folder cannot be created.
    machine().system().setTempPath("C:\\T3\\");
    EXPECT_EQ(machine().files().CreateDirectory("C:\\T3"), ERROR_SUCCESS);
    platform::host::FileFault fault;
    fault.operation = platform::host::FileOperation::CreateDirectory;
    fault.error = ERROR_ACCESS_DENIED;
    machine().files().addFault(fault);
    EXPECT_EQ(instsupport::decompressCopyFile("C:\\src.txt", "a", target), 6);
}

}  // namespace

// Process starts on the simulated machine: what is recorded, how the program is found, and
// the scripted exit codes and waits.
#include <string>

#include "tests/unit/system/system_fixture.h"

namespace system_test {
namespace {

using platform::HProcess;

TEST_F(SystemTest, AStartIsRecordedAndEndsWithItsScriptedExitCode) {
    writeFile("C:\\WINDOWS\\SYSTEM\\AXDist.exe");
    system.setProcessExitCode("axdist.exe", 3);
    HProcess process = 0;
    ASSERT_TRUE(system.CreateProcess(nullptr, "C:\\WINDOWS\\SYSTEM\\AXDist.exe -Q", true,
                                     CREATE_DEFAULT_ERROR_MODE, nullptr, SW_SHOWNORMAL, &process));
    ASSERT_EQ(system.processStarts().size(), 1u);
    const platform::host::ProcessStart& start = system.processStarts()[0];
    EXPECT_EQ(start.program, "C:\\WINDOWS\\SYSTEM\\AXDist.exe");
    EXPECT_EQ(start.commandLine, "C:\\WINDOWS\\SYSTEM\\AXDist.exe -Q");
    EXPECT_EQ(start.showWindow, SW_SHOWNORMAL);
    EXPECT_TRUE(start.inheritHandles);
    EXPECT_EQ(start.creationFlags, CREATE_DEFAULT_ERROR_MODE);
    EXPECT_EQ(start.error, ERROR_SUCCESS);

    EXPECT_EQ(system.WaitForSingleObject(process, INFINITE), WAIT_OBJECT_0);
    std::uint32_t code = 0;
    EXPECT_TRUE(system.GetExitCodeProcess(process, &code));
    EXPECT_EQ(code, 3u);
    EXPECT_TRUE(system.CloseHandle(process));
    EXPECT_FALSE(system.CloseHandle(process));
    EXPECT_EQ(system.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(system.WaitForSingleObject(process, 0), WAIT_FAILED);
}

TEST_F(SystemTest, AMissingProgramFailsAndIsRecordedAsFailed) {
    HProcess process = 0x5A5A;
    EXPECT_FALSE(system.CreateProcess(nullptr, "C:\\WINDOWS\\SYSTEM\\40Comupd.exe -Q", true, 0,
                                      nullptr, SW_SHOWNORMAL, &process));
    EXPECT_EQ(system.GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(process, 0x5A5Au);
    ASSERT_EQ(system.processStarts().size(), 1u);
    EXPECT_EQ(system.processStarts()[0].error, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(system.processStarts()[0].program, "C:\\WINDOWS\\SYSTEM\\40Comupd.exe");
}

TEST_F(SystemTest, ProgramNamesAreFoundAsCreateProcessFindsThem) {
    writeFile("C:\\Program Files\\Cantora\\uninst.exe");
    writeFile("C:\\WINDOWS\\SYSTEM\\tunaractl.exe");
    HProcess process = 0;
    // Unquoted with a blank in the folder: tried up to each blank in turn.
    ASSERT_TRUE(system.CreateProcess(nullptr, "C:\\Program Files\\Cantora\\uninst.exe -y", false, 0,
                                     nullptr, SW_SHOWNORMAL, &process));
    system.CloseHandle(process);
    // A bare name without extension: ".exe" and the search path.
    ASSERT_TRUE(
        system.CreateProcess(nullptr, "\"tunaractl\"", false, 0, nullptr, SW_SHOWNORMAL, &process));
    system.CloseHandle(process);
    // An application name is taken as given, with no search.
    EXPECT_FALSE(system.CreateProcess("tunaractl.exe", "tunaractl.exe", false, 0, nullptr,
                                      SW_SHOWNORMAL, &process));
    ASSERT_EQ(system.processStarts().size(), 3u);
    EXPECT_EQ(system.processStarts()[0].program, "C:\\Program Files\\Cantora\\uninst.exe");
    EXPECT_EQ(system.processStarts()[1].program, "C:\\WINDOWS\\SYSTEM\\tunaractl.exe");
    EXPECT_EQ(system.processStarts()[2].error, ERROR_FILE_NOT_FOUND);
}

TEST_F(SystemTest, StartsCanBeRefusedOrRunInAFolderThatMustExist) {
    writeFile("C:\\WINDOWS\\SYSTEM\\tnrtray.exe");
    HProcess process = 0;
    EXPECT_FALSE(system.CreateProcess(nullptr, "tnrtray.exe", false, 0, "C:\\NOWHERE",
                                      SW_SHOWNORMAL, &process));
    EXPECT_EQ(system.GetLastError(), ERROR_DIRECTORY);
    system.setProcessStartError("tnrtray.exe", ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_FALSE(
        system.CreateProcess(nullptr, "tnrtray.exe", false, 0, nullptr, SW_SHOWNORMAL, &process));
    EXPECT_EQ(system.GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(system.openProcessHandleCount(), 0u);
}

TEST_F(SystemTest, AProgramKeptRunningTimesOutUntilWaitedForWithoutLimit) {
    writeFile("C:\\WINDOWS\\uninst.exe");
    system.setProcessKeepsRunning("UNINST.EXE", true);
    system.setProcessExitCode("uninst.exe", 9);
    HProcess process = 0;
    ASSERT_TRUE(system.CreateProcess("C:\\WINDOWS\\uninst.exe", "C:\\WINDOWS\\uninst.exe a b",
                                     false, 0, nullptr, SW_SHOWNORMAL, &process));
    const std::uint32_t ticks = system.GetTickCount();
    EXPECT_EQ(system.WaitForSingleObject(process, 500), WAIT_TIMEOUT);
    EXPECT_EQ(system.GetTickCount(), ticks + 500);
    std::uint32_t code = 0;
    EXPECT_TRUE(system.GetExitCodeProcess(process, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(system.WaitForSingleObject(process, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(system.GetExitCodeProcess(process, &code));
    EXPECT_EQ(code, 9u);
    system.CloseHandle(process);
}

TEST_F(SystemTest, WinExecAnswersWithTheOldResultCodes) {
    writeFile("C:\\WINDOWS\\SYSTEM\\tunaractl.exe");
    EXPECT_GT(system.WinExec("C:\\WINDOWS\\SYSTEM\\tunaractl.exe", SW_SHOW), 31u);
    EXPECT_EQ(system.WinExec("C:\\WINDOWS\\SYSTEM\\missing.exe", SW_SHOW), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(system.processStarts().size(), 2u);
    EXPECT_TRUE(system.processStarts()[0].winExec);
    EXPECT_EQ(system.openProcessHandleCount(), 0u);
}

}  // namespace
}  // namespace system_test

// Operating-system facts of the simulated machine: release presets, folders, environment,
// clock, debug channel and shutdown requests.
#include <cstring>
#include <string>

#include "tests/unit/system/system_fixture.h"

namespace system_test {
namespace {

using platform::OsVersionInfo;
using platform::SystemTime;
using platform::host::WindowsRelease;

struct ReleaseRow {
    WindowsRelease release;
    std::uint32_t major, minor, build, platformId;
    const char* csd;
    const char* windows;
    const char* system;
};

TEST_F(SystemTest, ReleasePresetsReportWhatTheRealSystemsReport) {
    const ReleaseRow rows[] = {
        {WindowsRelease::Windows95, 4, 0, 950, VER_PLATFORM_WIN32_WINDOWS, "", "C:\\WINDOWS",
         "C:\\WINDOWS\\SYSTEM"},
        {WindowsRelease::Windows95Osr2, 4, 0, 1111, VER_PLATFORM_WIN32_WINDOWS, " B", "C:\\WINDOWS",
         "C:\\WINDOWS\\SYSTEM"},
        {WindowsRelease::Windows98, 4, 10, 1998, VER_PLATFORM_WIN32_WINDOWS, "", "C:\\WINDOWS",
         "C:\\WINDOWS\\SYSTEM"},
        {WindowsRelease::Windows98SE, 4, 10, 2222, VER_PLATFORM_WIN32_WINDOWS, " A ", "C:\\WINDOWS",
         "C:\\WINDOWS\\SYSTEM"},
        {WindowsRelease::WindowsNT4, 4, 0, 1381, VER_PLATFORM_WIN32_NT, "Service Pack 6",
         "C:\\WINNT", "C:\\WINNT\\system32"},
    };
    for (const ReleaseRow& row : rows) {
        system.setRelease(row.release);
        OsVersionInfo info;
        ASSERT_TRUE(system.GetVersionEx(&info));
        SCOPED_TRACE(row.build);
        EXPECT_EQ(info.majorVersion, row.major);
        EXPECT_EQ(info.minorVersion, row.minor);
        EXPECT_EQ(info.buildNumber & 0xFFFF, row.build);
        // The 95/98 family repeats the version in the build's high word; NT does not.
        const std::uint32_t high =
            row.platformId == VER_PLATFORM_WIN32_NT ? 0 : (row.major << 8 | row.minor);
        EXPECT_EQ(info.buildNumber >> 16, high);
        EXPECT_EQ(info.platformId, row.platformId);
        EXPECT_STREQ(info.csdVersion, row.csd);
        char folder[260];
        EXPECT_EQ(system.GetWindowsDirectory(folder, sizeof folder), std::strlen(row.windows));
        EXPECT_STREQ(folder, row.windows);
        EXPECT_EQ(system.GetSystemDirectory(folder, sizeof folder), std::strlen(row.system));
        EXPECT_STREQ(folder, row.system);
        EXPECT_EQ(system.isNt(), row.platformId == VER_PLATFORM_WIN32_NT);
    }
}

TEST_F(SystemTest, VersionQueryCanBeMadeToFail) {
    system.setVersionQueryFails(true);
    OsVersionInfo info;
    info.majorVersion = 77;
    EXPECT_FALSE(system.GetVersionEx(&info));
    EXPECT_EQ(system.GetLastError(), ERROR_GEN_FAILURE);
    EXPECT_EQ(info.majorVersion, 77u);
}

TEST_F(SystemTest, FolderQueriesReportTheNeededSizeAndLeaveShortBuffersAlone) {
    // "C:\WINDOWS" is 10 characters: 11 bytes fit, 10 do not.
    char buffer[16];
    std::memset(buffer, 0xCC, sizeof buffer);
    EXPECT_EQ(system.GetWindowsDirectory(buffer, 10), 11u);
    EXPECT_EQ(static_cast<unsigned char>(buffer[0]), 0xCC);
    EXPECT_EQ(system.GetWindowsDirectory(nullptr, 0), 11u);
    EXPECT_EQ(system.GetWindowsDirectory(buffer, 11), 10u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS");
}

TEST_F(SystemTest, TempPathPrefersTmpThenTempThenTheWindowsFolder) {
    char buffer[260];
    system.setEnvironmentVariable("TMP", "D:\\SCRATCH");
    system.setEnvironmentVariable("TEMP", "C:\\TEMP\\");
    EXPECT_EQ(system.GetTempPath(sizeof buffer, buffer), 11u);
    EXPECT_STREQ(buffer, "D:\\SCRATCH\\");
    system.removeEnvironmentVariable("tmp");
    system.GetTempPath(sizeof buffer, buffer);
    EXPECT_STREQ(buffer, "C:\\TEMP\\");
    system.removeEnvironmentVariable("TEMP");
    system.GetTempPath(sizeof buffer, buffer);
    EXPECT_STREQ(buffer, "C:\\WINDOWS\\");
}

TEST_F(SystemTest, EnvironmentNamesIgnoreCase) {
    char buffer[64];
    EXPECT_EQ(system.GetEnvironmentVariable("WinDir", buffer, sizeof buffer), 10u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS");
    EXPECT_EQ(system.GetEnvironmentVariable("NO_SUCH_THING", buffer, sizeof buffer), 0u);
    EXPECT_EQ(system.GetLastError(), ERROR_ENVVAR_NOT_FOUND);
}

TEST_F(SystemTest, ModuleFileNameIsCutShortAndAlwaysTerminated) {
    system.setProgramPath("C:\\WINDOWS\\SYSTEM\\tnrtray.exe");
    char buffer[8];
    std::memset(buffer, 0xCC, sizeof buffer);
    system.SetLastError(0);
    EXPECT_EQ(system.GetModuleFileName(0, buffer, 5), 4u);
    EXPECT_STREQ(buffer, "C:\\W");
    EXPECT_EQ(static_cast<unsigned char>(buffer[5]), 0xCC);
    EXPECT_EQ(system.GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    // The command line follows the program path until it is set on its own.
    EXPECT_STREQ(system.GetCommandLine(), "C:\\WINDOWS\\SYSTEM\\tnrtray.exe");
    system.setCommandLine("tnrtray.exe -uninstall");
    system.setProgramPath("C:\\WINDOWS\\SYSTEM\\other.exe");
    EXPECT_STREQ(system.GetCommandLine(), "tnrtray.exe -uninstall");
}

SystemTime makeTime(int year, int month, int day, int hour, int minute, int second) {
    SystemTime time;
    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(day);
    time.hour = static_cast<std::uint16_t>(hour);
    time.minute = static_cast<std::uint16_t>(minute);
    time.second = static_cast<std::uint16_t>(second);
    return time;
}

TEST_F(SystemTest, FileTimesAndSystemTimesConvertBothWays) {
    // 1 January 1970 is 116444736000000000 in 100 ns units since 1601.
    platform::FileTime fileTime = 0;
    const SystemTime epoch = makeTime(1970, 1, 1, 0, 0, 0);
    ASSERT_TRUE(system.SystemTimeToFileTime(&epoch, &fileTime));
    EXPECT_EQ(fileTime, 116444736000000000ull);

    const SystemTime leapDay = makeTime(2000, 2, 29, 23, 59, 58);
    ASSERT_TRUE(system.SystemTimeToFileTime(&leapDay, &fileTime));
    SystemTime back;
    ASSERT_TRUE(system.FileTimeToSystemTime(&fileTime, &back));
    EXPECT_EQ(back.year, 2000);
    EXPECT_EQ(back.month, 2);
    EXPECT_EQ(back.day, 29);
    EXPECT_EQ(back.dayOfWeek, 2);  // a Tuesday
    EXPECT_EQ(back.hour, 23);
    EXPECT_EQ(back.second, 58);

    const SystemTime notALeapDay = makeTime(1999, 2, 29, 0, 0, 0);
    fileTime = 5;
    EXPECT_FALSE(system.SystemTimeToFileTime(&notALeapDay, &fileTime));
    EXPECT_EQ(system.GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(fileTime, 5u);
}

TEST_F(SystemTest, ClockMovesOnlyWhenToldAndLocalTimeFollowsTheBias) {
    system.setSystemTime(makeTime(1999, 12, 31, 23, 30, 0));
    system.setTimeZoneBias(-60);  // UTC+1: local = UTC + 60 minutes
    const std::uint32_t ticks = system.GetTickCount();
    SystemTime local;
    system.GetLocalTime(&local);
    EXPECT_EQ(local.year, 2000);
    EXPECT_EQ(local.month, 1);
    EXPECT_EQ(local.day, 1);
    EXPECT_EQ(local.hour, 0);
    EXPECT_EQ(local.minute, 30);
    EXPECT_EQ(system.GetTickCount(), ticks);

    system.Sleep(90 * 1000);
    EXPECT_EQ(system.GetTickCount(), ticks + 90000);
    SystemTime utc;
    system.GetSystemTime(&utc);
    EXPECT_EQ(utc.hour, 23);
    EXPECT_EQ(utc.minute, 31);
    EXPECT_EQ(utc.second, 30);
}

TEST_F(SystemTest, DebugOutputIsKeptTextByText) {
    system.OutputDebugString("tunaraSettings class being initialised\n");
    system.OutputDebugString("Getting registry tunara values1/3");
    system.OutputDebugString(nullptr);
    ASSERT_EQ(system.debugOutput().size(), 2u);
    EXPECT_EQ(system.debugOutput()[0], "tunaraSettings class being initialised\n");
    EXPECT_EQ(system.debugOutput()[1], "Getting registry tunara values1/3");
    system.clearDebugOutput();
    EXPECT_TRUE(system.debugOutput().empty());
}

TEST_F(SystemTest, ShutdownRequestsAreRecordedOrRefused) {
    EXPECT_TRUE(system.ExitWindowsEx(EWX_SHUTDOWN, 0));
    system.setExitWindowsError(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(system.ExitWindowsEx(EWX_REBOOT, 0));
    EXPECT_EQ(system.GetLastError(), ERROR_ACCESS_DENIED);
    ASSERT_EQ(system.exitWindowsRequests().size(), 1u);
    EXPECT_EQ(system.exitWindowsRequests()[0], EWX_SHUTDOWN);
}

}  // namespace
}  // namespace system_test

// The two-stage common-controls and COM/OLE update across restarts.
#include <fstream>
#include <iterator>

#include "platform/host/host_files.h"
#include "platform/host/host_system.h"
#include "tests/unit/tray/tray_fixture.h"
#include "tray/maintenance.h"

namespace tunara_test {
namespace {

const char* const kRunOnce = tray_names::kRunOnceKey;

class SystemUpdateTest : public TrayTest {
  protected:
    // Puts a stand-in library as comctl32.dll into the system folder.
    void installComctl(const char* hostPath) {
        std::ifstream in(hostPath, std::ios::binary);
        ASSERT_TRUE(in) << hostPath;
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        writeFile("C:\\WINDOWS\\SYSTEM\\comctl32.dll", bytes);
    }
    void useWindows95() {
        machine().system().setRelease(platform::host::WindowsRelease::Windows95);
    }
};

struct UpdateCase {
    const char* name;
    platform::host::WindowsRelease release;
    const char* comctl;  // stand-in library, or null for none
    bool old;
};

TEST_F(SystemUpdateTest, OldCommonControlsOnlyOnWindows95BelowVersion470) {
    using platform::host::WindowsRelease;
    const UpdateCase cases[] = {
        {"Windows 95, 4.0", WindowsRelease::Windows95, TUNARA_COMCTL_OLD, true},
        {"Windows 95, 4.70", WindowsRelease::Windows95, TUNARA_COMCTL_NEW, false},
        {"Windows 95 OSR2, 4.0", WindowsRelease::Windows95Osr2, TUNARA_COMCTL_OLD, true},
        {"Windows 98, 4.0", WindowsRelease::Windows98, TUNARA_COMCTL_OLD, false},
        {"NT 4, 4.0", WindowsRelease::WindowsNT4, TUNARA_COMCTL_OLD, false},
        {"Windows 95, no library", WindowsRelease::Windows95, nullptr, false},
    };
    useMachine("win95-maestro1");
    for (const UpdateCase& c : cases) {
        machine().system().setRelease(c.release);
        machine().files().DeleteFile("C:\\WINDOWS\\SYSTEM\\comctl32.dll");
        if (c.comctl != nullptr) installComctl(c.comctl);
        EXPECT_EQ(tray::commonControlsAreOld(), c.old) << c.name;
    }
}

TEST_F(SystemUpdateTest, Windows95WithOldLibraryStartsUpdaterAndChainsTheSecondStep) {
    useMachine("win95-maestro1");
    useWindows95();
    installComctl(TUNARA_COMCTL_OLD);
    setRunValue(tray_names::kRunKey, tray_names::kComctlUpdateRunValue, "setup.exe");

    EXPECT_EQ(run("-updateComctl"), 0);

    EXPECT_FALSE(hasRunValue(tray_names::kRunKey, tray_names::kComctlUpdateRunValue));
    EXPECT_EQ(started(), std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\40Comupd.exe -Q"});
    EXPECT_EQ(runValue(kRunOnce, tray_names::kComOleRunOnceValue),
              "C:\\WINDOWS\\SYSTEM\\tnrtray.exe -updateCOMOLEFiles");
    ASSERT_EQ(machine().system().processStarts().size(), 1u);
    const platform::host::ProcessStart& start = machine().system().processStarts()[0];
    EXPECT_TRUE(start.inheritHandles);
    EXPECT_EQ(start.creationFlags, CREATE_DEFAULT_ERROR_MODE);
    EXPECT_EQ(start.showWindow, SW_SHOWNORMAL);
    EXPECT_EQ(machine().system().openProcessHandleCount(), 0u);

    // At the next log-on the library is still old: the COM/OLE step waits.
    machine().system().clearProcessStarts();
    EXPECT_EQ(run("-updateCOMOLEFiles"), 0);
    EXPECT_TRUE(started().empty());
}

TEST_F(SystemUpdateTest, Windows95WithNewLibraryStartsNothingAndWritesNoRunOnce) {
    useMachine("win95-maestro1");
    useWindows95();
    installComctl(TUNARA_COMCTL_NEW);
    setRunValue(tray_names::kRunKey, tray_names::kComctlUpdateRunValue, "setup.exe");

    EXPECT_EQ(run("-updateComctl"), 0);

    EXPECT_FALSE(hasRunValue(tray_names::kRunKey, tray_names::kComctlUpdateRunValue));
    EXPECT_TRUE(started().empty());
    EXPECT_FALSE(hasRunValue(kRunOnce, tray_names::kComOleRunOnceValue));

    EXPECT_EQ(run("-updateCOMOLEFiles"), 0);
    EXPECT_EQ(started(), std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\AXDist.exe -Q"});
}

TEST_F(SystemUpdateTest, Windows98OnlyRemovesTheRunValueAndTheCapitalFormDoesNothing) {
    useMachine("win98-maestro2e");
    setRunValue(tray_names::kRunKey, tray_names::kComctlUpdateRunValue, "setup.exe");

    EXPECT_EQ(run("-updateComCtl"), 0);
    EXPECT_TRUE(hasRunValue(tray_names::kRunKey, tray_names::kComctlUpdateRunValue));

    EXPECT_EQ(run("-updateComctl"), 0);
    EXPECT_FALSE(hasRunValue(tray_names::kRunKey, tray_names::kComctlUpdateRunValue));
    EXPECT_TRUE(started().empty());
    EXPECT_TRUE(shell->calls.empty()) << "no tray was started";

    // A missing updater fails silently.
    machine().system().setProcessStartError("AXDist.exe", ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(run("-updateCOMOLEFiles"), 0);
    EXPECT_EQ(started(), std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\AXDist.exe -Q"});
}

}  // namespace
}  // namespace tunara_test

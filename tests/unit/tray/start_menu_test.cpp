// The start-menu folder, the shortcut and the uninstall clean-up, on real machine
// descriptions.
#include "tray/start_menu.h"

#include "platform/host/host_files.h"
#include "platform/host/host_shell.h"
#include "platform/shell.h"
#include "settings/folder_paths.h"
#include "tests/unit/tray/tray_fixture.h"
#include "tray/maintenance.h"

namespace tunara_test {
namespace {

const std::string kEnglishBase = "C:\\WINDOWS\\Start Menu\\Programs";
const std::string kProduct = kEnglishBase + "\\Helvane\\Cantora Pro\\";
const std::string kFrenchBase = "C:\\WINDOWS\\Menu D\xE9marrer\\Programmes";

class StartMenuTest : public TrayTest {
  protected:
    void removeEnglishStartMenu() {
        platform::FileSystem& files = machine().files();
        ASSERT_EQ(files.SetCurrentDirectory("C:\\"), ERROR_SUCCESS);
        ASSERT_EQ(files.DeleteFile((kEnglishBase + "\\desktop.ini").c_str()), ERROR_SUCCESS);
        ASSERT_EQ(files.RemoveDirectory(kEnglishBase.c_str()), ERROR_SUCCESS);
    }

    // The shortcut's target and description, read back through the shell.
    void readLink(const std::string& path, std::string* target, std::string* description) {
        platform::Shell& shell = machine().shell();
        ASSERT_TRUE(platform::succeeded(shell.CoInitialize()));
        platform::HShellLink link = 0;
        ASSERT_TRUE(platform::succeeded(shell.CreateShellLink(&link)));
        char buffer[260] = {};
        EXPECT_TRUE(platform::succeeded(shell.Load(link, path.c_str())));
        shell.GetPath(link, buffer, sizeof buffer);
        *target = buffer;
        shell.GetDescription(link, buffer, sizeof buffer);
        *description = buffer;
        shell.ReleaseShellLink(link);
        shell.CoUninitialize();
    }
};

TEST_F(StartMenuTest, EveryRunCreatesTheMakerAndProductFolders) {
    useMachine("win98-maestro2e");
    ASSERT_FALSE(folderExists(kProduct));
    // A maintenance run that does nothing else still resolves the folder.
    EXPECT_EQ(run("-initFourMb"), 0);
    EXPECT_TRUE(folderExists(kEnglishBase + "\\Helvane"));
    EXPECT_TRUE(folderExists(kProduct));
    EXPECT_TRUE(shell->calls.empty());
}

TEST_F(StartMenuTest, FrenchOnlyStartMenuGetsTheShortcut) {
    useMachine("win98-maestro2e");
    // Take the English start menu away, leave only the French one.
    removeEnglishStartMenu();
    ASSERT_EQ(machine().files().RemoveDirectory("C:\\WINDOWS\\Start Menu"), ERROR_SUCCESS);
    ASSERT_EQ(machine().files().CreateDirectory("C:\\WINDOWS\\Menu D\xE9marrer"), ERROR_SUCCESS);
    ASSERT_EQ(machine().files().CreateDirectory(kFrenchBase.c_str()), ERROR_SUCCESS);

    const std::string folder = tray::resolveStartMenuFolder();
    EXPECT_EQ(folder, kFrenchBase + "\\Helvane\\Cantora Pro\\");
    tray::maintainShortcuts(folder, tray_names::kTitleFrench);

    std::string target, description;
    readLink(folder + "Propri\xE9t\xE9s Tunara.lnk", &target, &description);
    EXPECT_EQ(target, "C:\\WINDOWS\\SYSTEM\\tunaractl.exe");
    EXPECT_EQ(description, "Shortcut to Tunara Properties");
    EXPECT_FALSE(folderExists("C:\\WINDOWS\\Start Menu"));
}

TEST_F(StartMenuTest, NoStartMenuAtAllCreatesAndDeletesNothing) {
    useMachine("win98-maestro2e");
    removeEnglishStartMenu();
    EXPECT_EQ(tray::resolveStartMenuFolder(), "");
    tray::maintainShortcuts("", "Tunara Properties");
    EXPECT_FALSE(folderExists("C:\\WINDOWS\\Start Menu\\Programs"));
}

TEST_F(StartMenuTest, OtherLanguagesShortcutsGoTheOwnOneStays) {
    useMachine("win98-maestro2e");
    const std::string folder = tray::resolveStartMenuFolder();
    ASSERT_TRUE(settings::samePathName(folder, kProduct)) << folder;
    writeFile(folder + "Tunara Eigenschaften.lnk");
    writeFile(folder + "Propri\xE9t\xE9s Tunara.lnk.lnk");
    writeFile(folder + "Tunara Control.LNK");
    writeFile(folder + "Tunara Properties.lnk", "kept as it is");
    writeFile(folder + "Unrelated.lnk");

    tray::maintainShortcuts(folder, "Tunara Properties");

    EXPECT_FALSE(exists(folder + "Tunara Eigenschaften.lnk"));
    EXPECT_FALSE(exists(folder + "Propri\xE9t\xE9s Tunara.lnk.lnk"));
    EXPECT_FALSE(exists(folder + "Tunara Control.LNK"));
    EXPECT_TRUE(exists(folder + "Unrelated.lnk"));
    // The existing shortcut is neither replaced nor rewritten.
    std::string target, description;
    platform::Shell& shell = machine().shell();
    ASSERT_TRUE(platform::succeeded(shell.CoInitialize()));
    platform::HShellLink link = 0;
    ASSERT_TRUE(platform::succeeded(shell.CreateShellLink(&link)));
    EXPECT_FALSE(platform::succeeded(shell.Load(link, (folder + "Tunara Properties.lnk").c_str())));
    shell.ReleaseShellLink(link);
    shell.CoUninitialize();
}

TEST_F(StartMenuTest, UnknownTitleRemovesOnlyTheOldShortcut) {
    useMachine("win98-maestro2e");
    const std::string folder = tray::resolveStartMenuFolder();
    writeFile(folder + "Tunara Eigenschaften.lnk");
    writeFile(folder + "Tunara Control.LNK");
    tray::maintainShortcuts(folder, "Tunara Ominaisuudet");
    EXPECT_TRUE(exists(folder + "Tunara Eigenschaften.lnk"));
    EXPECT_FALSE(exists(folder + "Tunara Control.LNK"));
    EXPECT_TRUE(exists(folder + "Tunara Ominaisuudet.lnk"));
}

TEST_F(StartMenuTest, UninstallRemovesShortcutsAndEmptyFolders) {
    useMachine("win98-maestro2e");
    setRunValue(tray_names::kRunKey, tray_names::kTrayRunValue, "C:\\WINDOWS\\SYSTEM\\tnrtray.exe");
    const std::string folder = tray::resolveStartMenuFolder();
    writeFile(folder + "Tunara Properties.lnk");
    writeFile(folder + "Propri\xE9t\xE9s Tunara.lnk");

    EXPECT_EQ(run("-uninstall"), 0);

    EXPECT_FALSE(folderExists(kEnglishBase + "\\Helvane"));
    EXPECT_TRUE(folderExists(kEnglishBase));
    EXPECT_FALSE(hasRunValue(tray_names::kRunKey, tray_names::kTrayRunValue));
    // The active sample sets go with the card's software.
    EXPECT_FALSE(exists("C:\\WINDOWS\\SYSTEM\\Plat4Meg.img"));
}

TEST_F(StartMenuTest, UninstallLeavesAProductFolderThatStillHoldsAFile) {
    useMachine("win98-maestro2e");
    const std::string folder = tray::resolveStartMenuFolder();
    writeFile(folder + "Tunara Eigenschaften.lnk");
    writeFile(folder + "Readme.txt");

    EXPECT_EQ(run("-uninstall"), 0);

    EXPECT_FALSE(exists(folder + "Tunara Eigenschaften.lnk"));
    EXPECT_TRUE(exists(folder + "Readme.txt"));
    EXPECT_TRUE(folderExists(kProduct));
    EXPECT_TRUE(folderExists(kEnglishBase + "\\Helvane"));
}

TEST_F(StartMenuTest, ShortcutThatCannotBeSavedIsReportedOnTheDebugChannelOnly) {
    useMachine("win98-maestro2e");
    machine().system().clearDebugOutput();
    tray::maintainShortcuts("C:\\WINDOWS\\Gone\\", "Tunara Properties");
    EXPECT_EQ(machine().system().debugOutput(), std::vector<std::string>{"Save failed!"});
    EXPECT_FALSE(folderExists("C:\\WINDOWS\\Gone"));
    EXPECT_TRUE(machine().ui().shown().empty());
}

TEST_F(StartMenuTest, FolderTestsLeaveTheCurrentDirectoryAlone) {
    useMachine("win98-maestro2e");
    std::string before = "C:\\WINDOWS", after;
    ASSERT_EQ(machine().files().SetCurrentDirectory(before.c_str()), ERROR_SUCCESS);
    tray::resolveStartMenuFolder();
    ASSERT_EQ(machine().files().GetCurrentDirectory(&after), ERROR_SUCCESS);
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace tunara_test

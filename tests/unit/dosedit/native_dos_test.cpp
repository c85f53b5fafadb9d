// Native DOS support on the machine descriptions: the three edits, the prompt in both modes
// with its summary, the deferred removal and the uninstall clean-up.
#include <gtest/gtest.h>

#include <string>

#include "platform/host/host_files.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_ui.h"
#include "platform/registry_key.h"
#include "settings/tunara_settings.h"
#include "tests/unit/dosedit/dos_fixture.h"

namespace {

namespace ids = tunara_test::dos_ids;

using platform::host::UiAnswer;

const char* const kAutoexec = "C:\\AUTOEXEC.BAT";
const char* const kConfig = "C:\\CONFIG.SYS";
const char* const kDosStart = "C:\\WINDOWS\\DOSSTART.BAT";
// The paths as the search builds them, from the names it looks for.
const char* const kPaths[3] = {"C:\\autoexec.bat", "C:\\config.sys", "C:\\WINDOWS\\dosstart.bat"};
const char* const kBackups[3] = {"C:\\autoexec.hv1", "C:\\config.hv1", "C:\\WINDOWS\\dosstart.hv1"};
const char* const kLineFiles[3] = {"C:\\autoexec.hv", "C:\\config.hv", "C:\\WINDOWS\\dosstart.hv"};
const std::string kProgramLine = "C:\\maestro.com";
const std::string kDeviceLine = "DEVICE=C:\\aecu.sys";

class NativeDosTest : public tunara_test::DosFileTest {
  protected:
    // The start-up files as they are now.
    struct StartupFiles {
        std::string autoexec, config, dosStart;
    };
    StartupFiles startupFiles() {
        return {readFile(kAutoexec), readFile(kConfig), readFile(kDosStart)};
    }
    void expectStartupFiles(const StartupFiles& want) {
        EXPECT_EQ(readFile(kAutoexec), want.autoexec);
        EXPECT_EQ(readFile(kConfig), want.config);
        EXPECT_EQ(readFile(kDosStart), want.dosStart);
    }
    // The files with the lines added, as the settings program leaves them.
    static StartupFiles withLines(const StartupFiles& f) {
        auto ended = [](const std::string& text) {
            return text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
        };
        return {f.autoexec + (ended(f.autoexec) ? "" : "\r\n") + kProgramLine,
                kDeviceLine + "\r\n" + f.config,
                f.dosStart + (ended(f.dosStart) ? "" : "\r\n") + kProgramLine};
    }
    static std::string summary() {
        std::string text;
        for (int i = 0; i < 3; ++i) {
            if (i != 0) text += "\n";
            text += std::string(kSummaryFile) + kPaths[i] + " " + kSummaryBackup + kBackups[i] +
                    " " + kSummaryEnd;
        }
        return text;
    }
};

const platform::DialogControlSetup* setupOf(const platform::DialogRequest& request,
                                            std::uint32_t id) {
    for (const auto& setup : request.controls)
        if (setup.id == id) return &setup;
    return nullptr;
}

// ---- The edits --------------------------------------------------------------------------

TEST_F(NativeDosTest, LinesGoInOnceAndComeOutAgain) {
    loadMachine("win98-maestro2e");  // native DOS support not installed
    ASSERT_EQ(fact("nativedos"), "0");
    const StartupFiles original = startupFiles();
    settings::tunaraSettings s;
    EXPECT_FALSE(s.dosStartHasDriver());

    EXPECT_TRUE(s.addNativeDosLines());
    expectStartupFiles(withLines(original));
    EXPECT_EQ(readFile(kBackups[0]), original.autoexec);
    EXPECT_EQ(readFile(kBackups[1]), original.config);
    EXPECT_EQ(readFile(kBackups[2]), original.dosStart);
    EXPECT_TRUE(s.dosStartHasDriver());

    // Lines already there: nothing is edited and no backup is taken again.
    for (const char* backup : kBackups) writeFile(backup, "earlier backup");
    EXPECT_TRUE(s.addNativeDosLines());
    expectStartupFiles(withLines(original));
    for (const char* backup : kBackups) EXPECT_EQ(readFile(backup), "earlier backup");

    EXPECT_TRUE(s.removeNativeDosLines());
    expectStartupFiles(original);
    EXPECT_FALSE(s.dosStartHasDriver());
}

TEST_F(NativeDosTest, RemovalRestoresTheFilesOfBeforeTheInstallation) {
    loadMachine("win98-maestro1");  // installed, with the .HV1 copies of before
    ASSERT_EQ(fact("nativedos"), "1");
    const StartupFiles installed = startupFiles();
    const StartupFiles before = {readFile("C:\\AUTOEXEC.HV1"), readFile("C:\\CONFIG.HV1"),
                                 readFile("C:\\WINDOWS\\DOSSTART.HV1")};
    settings::tunaraSettings s;
    EXPECT_TRUE(s.dosStartHasDriver());
    EXPECT_TRUE(s.removeNativeDosLines());
    expectStartupFiles(before);
    // The new backups are the files as they were just before this edit.
    EXPECT_EQ(readFile(kBackups[0]), installed.autoexec);
    EXPECT_EQ(readFile(kBackups[1]), installed.config);
    EXPECT_EQ(readFile(kBackups[2]), installed.dosStart);
}

TEST_F(NativeDosTest, MissingDriverFileStopsBeforeAnyFileIsTouched) {
    loadMachine("win98-maestro2e");
    const StartupFiles original = startupFiles();
    ASSERT_EQ(machine().files().DeleteFile("C:\\aecu.sys"), ERROR_SUCCESS);
    settings::tunaraSettings s;
    EXPECT_FALSE(s.addNativeDosLines());
    EXPECT_FALSE(s.removeNativeDosLines());
    EXPECT_FALSE(s.writeDosLineFiles());
    expectStartupFiles(original);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(exists(kBackups[i]));
        EXPECT_FALSE(exists(kLineFiles[i]));
    }
    EXPECT_EQ(machine().files().GetCurrentDrive(), 'C');  // the walk ended on the last drive
}

TEST_F(NativeDosTest, MissingStartupFileIsSkipped) {
    loadMachine("win98-maestro2e");
    const StartupFiles original = startupFiles();
    ASSERT_EQ(machine().files().DeleteFile(kConfig), ERROR_SUCCESS);
    settings::tunaraSettings s;
    EXPECT_TRUE(s.addNativeDosLines());
    EXPECT_EQ(readFile(kAutoexec), withLines(original).autoexec);
    EXPECT_EQ(readFile(kDosStart), withLines(original).dosStart);
    EXPECT_FALSE(exists(kConfig));
}

TEST_F(NativeDosTest, LineFilesHoldExactlyTheirLine) {
    loadMachine("win98-maestro2e");
    const StartupFiles original = startupFiles();
    settings::tunaraSettings s;
    EXPECT_TRUE(s.writeDosLineFiles());
    EXPECT_EQ(readFile(kLineFiles[0]), kProgramLine);
    EXPECT_EQ(readFile(kLineFiles[1]), kDeviceLine);
    EXPECT_EQ(readFile(kLineFiles[2]), kProgramLine);
    expectStartupFiles(original);
}

// ---- The prompt -------------------------------------------------------------------------

TEST_F(NativeDosTest, InstallationPromptAndSummary) {
    loadMachine("win98-maestro2e");
    const StartupFiles original = startupFiles();
    settings::tunaraSettings s;
    s.setResourceModule(loadEnglishModule());
    ui().expect(UiAnswer::dialog(IDOK, ids::kPromptDialog).check(ids::kLineFiles, BST_CHECKED));
    ui().expect(UiAnswer::messageBox(IDOK).withCaption(kInstallCaption));

    EXPECT_TRUE(s.editNativeDosSupport(true, false));

    ASSERT_EQ(ui().shown().size(), 2u);
    const platform::DialogRequest& request = ui().shown()[0].request;
    EXPECT_FALSE(request.setCaption);
    EXPECT_EQ(request.trimTop + request.trimBottom, 0);
    const std::uint32_t files[3] = {ids::kFile0, ids::kFile1, ids::kFile2};
    const std::uint32_t lineFiles[3] = {ids::kLineFile0, ids::kLineFile1, ids::kLineFile2};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(setupOf(request, files[i]), nullptr);
        EXPECT_EQ(setupOf(request, files[i])->text, kPaths[i]);
        ASSERT_NE(setupOf(request, lineFiles[i]), nullptr);
        EXPECT_EQ(setupOf(request, lineFiles[i])->text, kLineFiles[i]);
        EXPECT_FALSE(setupOf(request, lineFiles[i])->hide);
    }
    ASSERT_NE(setupOf(request, ids::kRemove), nullptr);
    EXPECT_TRUE(setupOf(request, ids::kRemove)->hide);
    ASSERT_NE(setupOf(request, ids::kAdd), nullptr);
    EXPECT_EQ(setupOf(request, ids::kAdd)->check, BST_CHECKED);
    EXPECT_FALSE(setupOf(request, ids::kAdd)->hide);

    const platform::host::ShownUi& box = ui().shown()[1];
    EXPECT_EQ(box.text, summary());
    EXPECT_EQ(box.owner, 0u);
    EXPECT_EQ(box.type, MB_ICONINFORMATION);

    expectStartupFiles(withLines(original));
    EXPECT_EQ(readFile(kLineFiles[1]), kDeviceLine);
}

TEST_F(NativeDosTest, InstallationPromptChoices) {
    const struct {
        const char* what;
        std::intptr_t button;
        bool uncheckAdd, checkLineFiles;
        bool result, edited, lineFiles;
    } cases[] = {
        {"OK as offered", IDOK, false, false, true, true, false},
        {"line files only", IDOK, true, true, false, false, true},
        {"nothing chosen", IDOK, true, false, false, false, false},
        {"cancel", IDCANCEL, false, true, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        loadMachine("win98-maestro2e");
        const StartupFiles original = startupFiles();
        settings::tunaraSettings s;
        s.setResourceModule(loadEnglishModule());
        UiAnswer answer = UiAnswer::dialog(c.button, ids::kPromptDialog);
        if (c.uncheckAdd) answer.check(ids::kAdd, BST_UNCHECKED);
        if (c.checkLineFiles) answer.check(ids::kLineFiles, BST_CHECKED);
        ui().expect(answer);
        if (c.edited) ui().expect(UiAnswer::messageBox(IDOK).withCaption(kInstallCaption));

        EXPECT_EQ(s.editNativeDosSupport(true, false), c.result);
        expectStartupFiles(c.edited ? withLines(original) : original);
        EXPECT_EQ(exists(kLineFiles[0]), c.lineFiles);
        EXPECT_EQ(ui().shown().size(), c.edited ? 2u : 1u);
        EXPECT_EQ(ui().pendingAnswers(), 0u);
        EXPECT_TRUE(ui().problems().empty());
    }
}

TEST_F(NativeDosTest, RemovalPromptAndSummary) {
    loadMachine("win98-maestro1");
    const StartupFiles before = {readFile("C:\\AUTOEXEC.HV1"), readFile("C:\\CONFIG.HV1"),
                                 readFile("C:\\WINDOWS\\DOSSTART.HV1")};
    settings::tunaraSettings s;
    s.setResourceModule(loadEnglishModule());
    ui().expect(UiAnswer::dialog(IDOK, ids::kPromptDialog));
    ui().expect(UiAnswer::messageBox(IDOK).withCaption(kRemoveCaption));

    EXPECT_FALSE(s.editNativeDosSupport(false, false));  // a removal needs no restart

    ASSERT_EQ(ui().shown().size(), 2u);
    const platform::DialogRequest& request = ui().shown()[0].request;
    EXPECT_TRUE(request.setCaption);
    EXPECT_EQ(request.caption, kRemoveCaption);
    EXPECT_EQ(request.trimTop, 40);
    EXPECT_EQ(request.trimBottom, 40);
    EXPECT_TRUE(request.center);
    ASSERT_NE(setupOf(request, ids::kMessage), nullptr);
    EXPECT_EQ(setupOf(request, ids::kMessage)->text, kRemovePrompt);
    for (const std::uint32_t id :
         {ids::kLineFile0, ids::kLineFile1, ids::kLineFile2, ids::kAdd, ids::kLineFiles}) {
        ASSERT_NE(setupOf(request, id), nullptr) << id;
        EXPECT_TRUE(setupOf(request, id)->hide) << id;
    }
    EXPECT_EQ(setupOf(request, ids::kLineFiles)->text, "No, do not remove Native DOS support");
    ASSERT_NE(setupOf(request, ids::kRemove), nullptr);
    EXPECT_FALSE(setupOf(request, ids::kRemove)->hide);
    EXPECT_EQ(setupOf(request, ids::kRemove)->check, BST_CHECKED);
    for (const std::uint32_t id : {ids::kOk, ids::kCancel}) {
        ASSERT_NE(setupOf(request, id), nullptr);
        EXPECT_EQ(setupOf(request, id)->moveY, -80);
    }
    EXPECT_EQ(setupOf(request, ids::kFile2)->text, kPaths[2]);

    EXPECT_EQ(ui().shown()[1].text, summary());
    expectStartupFiles(before);
}

TEST_F(NativeDosTest, RemovalDeclinedSilentOrNotNeeded) {
    // C unchecked: nothing happens.
    loadMachine("win98-maestro1");
    StartupFiles installed = startupFiles();
    {
        settings::tunaraSettings s;
        s.setResourceModule(loadEnglishModule());
        ui().expect(UiAnswer::dialog(IDOK, ids::kPromptDialog).check(ids::kRemove, BST_UNCHECKED));
        EXPECT_FALSE(s.editNativeDosSupport(false, false));
        EXPECT_EQ(ui().shown().size(), 1u);
        expectStartupFiles(installed);

        // Installing what is installed: no prompt, nothing changes.
        EXPECT_FALSE(s.editNativeDosSupport(true, false));
        EXPECT_EQ(ui().shown().size(), 1u);
        expectStartupFiles(installed);

        // The tray's silent removal: no prompt, no summary.
        EXPECT_FALSE(s.editNativeDosSupport(false, true));
        EXPECT_EQ(ui().shown().size(), 1u);
        EXPECT_FALSE(s.dosStartHasDriver());

        // Removing what is not installed: nothing.
        const StartupFiles removed = startupFiles();
        EXPECT_FALSE(s.editNativeDosSupport(false, false));
        EXPECT_EQ(ui().shown().size(), 1u);
        expectStartupFiles(removed);
    }
}

TEST_F(NativeDosTest, PromptThatCannotBeShownDoesNothing) {
    loadMachine("win98-maestro2e");
    const StartupFiles original = startupFiles();
    settings::tunaraSettings s;  // no language module: the template is nowhere
    EXPECT_FALSE(s.editNativeDosSupport(true, false));
    EXPECT_TRUE(ui().shown().empty());
    expectStartupFiles(original);
}

// ---- Deferred removal and uninstall -----------------------------------------------------

TEST_F(NativeDosTest, RemovalIsScheduledThroughTheRunKey) {
    loadMachine("win98-maestro2e");
    settings::tunaraSettings s;
    s.scheduleNativeDosRemoval();
    platform::RegKey run;
    ASSERT_EQ(run.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                       KEY_QUERY_VALUE),
              ERROR_SUCCESS);
    std::string command;
    ASSERT_EQ(run.readString("Remove Native DOS Support", &command), ERROR_SUCCESS);
    EXPECT_EQ(command, "C:\\WINDOWS\\SYSTEM\\tnrtray.exe -removeNativeDOSSupport");
}

TEST_F(NativeDosTest, UninstallRemovesBackupsLineFilesAndActiveSets) {
    loadMachine("win98-maestro1");  // .HV1 copies; sample sets inactive
    {
        settings::tunaraSettings s;
        ASSERT_TRUE(s.writeDosLineFiles());
        s.removeBackupsAndSampleSets();
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(exists(kBackups[i])) << kBackups[i];
        EXPECT_FALSE(exists(kLineFiles[i])) << kLineFiles[i];
    }
    EXPECT_TRUE(exists(kAutoexec));
    EXPECT_TRUE(exists("C:\\WINDOWS\\SYSTEM\\Plat2Meg.im"));  // inactive sets stay
    EXPECT_TRUE(exists("C:\\WINDOWS\\SYSTEM\\Plat4Meg.im"));

    loadMachine("win98-maestro2e");  // sample sets active
    settings::tunaraSettings active;
    active.removeBackupsAndSampleSets();
    EXPECT_FALSE(exists("C:\\WINDOWS\\SYSTEM\\Plat2Meg.img"));
    EXPECT_FALSE(exists("C:\\WINDOWS\\SYSTEM\\Plat4Meg.img"));
    EXPECT_TRUE(exists("C:\\WINDOWS\\SYSTEM\\blank.mid"));
}

}  // namespace

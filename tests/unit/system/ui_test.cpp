// The scripted user interface: message boxes and dialogs answered from the script and
// recorded, strings from loaded modules, and the window table.
#include <cstring>
#include <string>

#include "tests/unit/system/system_fixture.h"

namespace system_test {
namespace {

using platform::DialogRequest;
using platform::DialogResult;
using platform::HModule;
using platform::host::UiAnswer;

class UiTest : public SystemTest {
  protected:
    // Loads a language module with strings and the prompt dialog 185.
    HModule loadLanguageModule() {
        platform::host::ModuleImage image;
        image.strings[6] = "Tunara Properties";
        image.strings[15] = "Remove";
        image.strings[16] = "";
        image.dialogs.insert(185);
        system.registerModule("cnctlENU.dll", image);
        writeFile("C:\\WINDOWS\\SYSTEM\\cnctlENU.dll");
        return system.LoadLibrary("cnctlENU.dll");
    }

    static DialogRequest promptRequest() {
        DialogRequest request;
        request.setCaption = true;
        request.caption = "Remove";
        platform::DialogControlSetup a;
        a.id = 1074;
        a.setCheck = true;
        a.check = BST_CHECKED;
        a.hide = true;
        platform::DialogControlSetup c;
        c.id = 1014;
        c.setCheck = true;
        c.check = BST_CHECKED;
        platform::DialogControlSetup text;
        text.id = 1069;
        text.setText = true;
        text.text = "Remove native DOS support?";
        request.controls = {a, c, text};
        return request;
    }
};

TEST_F(UiTest, MessageBoxesTakeTheirScriptedAnswersInOrder) {
    ui.expect(UiAnswer::messageBox(IDYES).withText("restart").withCaption("Tunara"));
    ui.expect(UiAnswer::messageBox(IDOK));
    EXPECT_EQ(ui.MessageBox(0x10, "Do you want to restart now?", "Tunara", MB_YESNO), IDYES);
    EXPECT_EQ(ui.MessageBox(0, "Done", nullptr, MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_TRUE(ui.problems().empty());
    EXPECT_EQ(ui.pendingAnswers(), 0u);
    ASSERT_EQ(ui.shown().size(), 2u);
    EXPECT_EQ(ui.shown()[0].owner, 0x10u);
    EXPECT_EQ(ui.shown()[0].type, MB_YESNO);
    EXPECT_TRUE(ui.shown()[0].scripted);
    EXPECT_EQ(ui.shown()[1].caption, "Error");  // a null caption shows as "Error"
}

TEST_F(UiTest, UnscriptedBoxesGetTheSafeDefaultAndAreReported) {
    const struct {
        std::uint32_t type;
        int answer;
    } rows[] = {
        {MB_OK | MB_ICONERROR, IDOK}, {MB_OKCANCEL, IDCANCEL},        {MB_YESNO, IDNO},
        {MB_YESNOCANCEL, IDCANCEL},   {MB_ABORTRETRYIGNORE, IDABORT}, {MB_RETRYCANCEL, IDCANCEL},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ui.MessageBox(0, "text", "caption", row.type), row.answer);
    EXPECT_EQ(ui.problems().size(), 6u);
    EXPECT_FALSE(ui.shown()[0].scripted);
}

TEST_F(UiTest, AMismatchedBoxLeavesTheScriptForTheNextOne) {
    ui.expect(UiAnswer::messageBox(IDYES).withText("restart"));
    EXPECT_EQ(ui.MessageBox(0, "Unable to find any language files", "Tunara Control error",
                            MB_OK | MB_ICONERROR),
              IDOK);
    EXPECT_EQ(ui.pendingAnswers(), 1u);
    EXPECT_EQ(ui.MessageBox(0, "Windows must restart now.", "Tunara", MB_YESNO), IDYES);
    ASSERT_EQ(ui.problems().size(), 1u);
    EXPECT_NE(ui.problems()[0].find("Unable to find any language files"), std::string::npos);

    // An answer the box cannot give is returned but reported.
    ui.expect(UiAnswer::messageBox(IDYES));
    EXPECT_EQ(ui.MessageBox(0, "Note", "Tunara", MB_OK), IDYES);
    EXPECT_EQ(ui.problems().size(), 2u);
}

TEST_F(UiTest, StringsAreCopiedCutShortOrReportedMissing) {
    const HModule module = loadLanguageModule();
    char buffer[64];
    EXPECT_EQ(ui.LoadString(module, 6, buffer, sizeof buffer), 17);
    EXPECT_STREQ(buffer, "Tunara Properties");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(ui.LoadString(module, 6, buffer, 7), 6);
    EXPECT_STREQ(buffer, "Tunara");
    EXPECT_EQ(buffer[7], 'x');
    for (std::uint32_t id : {999u, 16u}) {  // missing, and empty (which reads as missing)
        std::strcpy(buffer, "old");
        EXPECT_EQ(ui.LoadString(module, id, buffer, sizeof buffer), 0);
        EXPECT_STREQ(buffer, "");
        EXPECT_EQ(ui.GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    system.FreeLibrary(module);
    EXPECT_EQ(ui.LoadString(module, 6, buffer, sizeof buffer), 0);
}

TEST_F(UiTest, ADialogReportsItsControlsAsTheScriptLeftThem) {
    const HModule module = loadLanguageModule();
    ui.expect(UiAnswer::dialog(IDOK, 185).check(1014, BST_UNCHECKED));
    DialogResult result;
    EXPECT_EQ(ui.DialogBoxParam(module, 185, 0x20, promptRequest(), &result), IDOK);
    EXPECT_EQ(result.endCode, IDOK);
    ASSERT_EQ(result.controls.size(), 3u);
    EXPECT_EQ(result.control(1014)->check, BST_UNCHECKED);
    EXPECT_EQ(result.control(1074)->check, BST_CHECKED);
    EXPECT_EQ(result.control(1069)->text, "Remove native DOS support?");
    EXPECT_EQ(result.control(1075), nullptr);
    EXPECT_TRUE(ui.problems().empty());
    EXPECT_EQ(ui.shown()[0].request.caption, "Remove");

    // The user cannot click a hidden control, nor one the request does not report.
    ui.expect(UiAnswer::dialog(IDOK).check(1074, BST_UNCHECKED).check(1075, BST_CHECKED));
    ui.DialogBoxParam(module, 185, 0, promptRequest(), &result);
    EXPECT_EQ(result.control(1074)->check, BST_CHECKED);
    EXPECT_EQ(ui.problems().size(), 1u);

    // Unscripted: cancelled, with the controls as they were set up.
    EXPECT_EQ(ui.DialogBoxParam(module, 185, 0, promptRequest(), &result), IDCANCEL);
    EXPECT_EQ(result.control(1014)->check, BST_CHECKED);
    EXPECT_EQ(ui.problems().size(), 2u);
    system.FreeLibrary(module);
}

TEST_F(UiTest, AMissingTemplateFailsWithoutShowingAnything) {
    const HModule module = loadLanguageModule();
    DialogResult result;
    result.endCode = 55;
    EXPECT_EQ(ui.DialogBoxParam(module, 186, 0, promptRequest(), &result), -1);
    EXPECT_EQ(ui.GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(result.endCode, 55);
    EXPECT_TRUE(ui.shown().empty());
    system.FreeLibrary(module);
}

TEST_F(UiTest, TheOpenDialogGivesTheScriptedChoiceOrNothing) {
    platform::OpenFileRequest request;
    request.filter = std::string("Setup files\0*.inf\0\0", 19);
    request.initialDirectory = "C:\\WINDOWS\\INF";
    request.flags = OFN_HIDEREADONLY;
    ui.expect(UiAnswer::openFile("C:\\WINDOWS\\INF\\tunara.inf"));
    ui.expect(UiAnswer::cancelOpenFile());
    ui.expect(UiAnswer::openFile("C:\\" + std::string(300, 'a')));
    std::string path = "untouched";
    EXPECT_TRUE(ui.GetOpenFileName(request, &path));
    EXPECT_EQ(path, "C:\\WINDOWS\\INF\\tunara.inf");
    path = "untouched";
    EXPECT_FALSE(ui.GetOpenFileName(request, &path));  // cancelled
    EXPECT_FALSE(ui.GetOpenFileName(request, &path));  // does not fit the 260-byte buffer
    EXPECT_EQ(path, "untouched");
    EXPECT_TRUE(ui.problems().empty());
    EXPECT_FALSE(ui.GetOpenFileName(request, &path));  // unscripted: cancelled and reported
    EXPECT_EQ(ui.problems().size(), 1u);
    ASSERT_EQ(ui.shown().size(), 4u);
    EXPECT_EQ(ui.shown()[0].openFile.filter, request.filter);
    EXPECT_EQ(ui.shown()[0].openFile.flags, OFN_HIDEREADONLY);
}

TEST_F(UiTest, WindowsAreFoundByClassOrTitleAndReceiveMessages) {
    std::uintptr_t received = 0;
    const platform::HWnd tray = ui.addWindow(
        "Tunara Taskbar", "", [&](std::uint32_t, std::uintptr_t wParam, std::intptr_t) {
            received = wParam;
            return std::intptr_t{1};
        });
    const platform::HWnd sheet = ui.addWindow("#32770", "Tunara Properties");
    EXPECT_EQ(ui.FindWindow("tunara taskbar", nullptr), tray);
    EXPECT_EQ(ui.FindWindow(nullptr, "Tunara Properties"), sheet);
    EXPECT_EQ(ui.FindWindow("#32770", "Tunara Eigenschaften"), 0u);

    const std::uint32_t change = ui.RegisterWindowMessage("MIDI Wavetable Change");
    EXPECT_GE(change, 0xC000u);
    EXPECT_EQ(ui.RegisterWindowMessage("midi wavetable change"), change);
    EXPECT_NE(ui.RegisterWindowMessage("Mic Boost Change"), change);
    EXPECT_EQ(ui.RegisterWindowMessage(""), 0u);
    EXPECT_EQ(ui.registeredMessageName(change), "MIDI Wavetable Change");

    EXPECT_EQ(ui.SendMessage(tray, change, 4, 0), 1);
    EXPECT_EQ(received, 4u);
    EXPECT_TRUE(ui.PostMessage(sheet, change, 2, 0));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_TRUE(ui.messages()[1].posted);

    ui.removeWindow(tray);
    EXPECT_EQ(ui.SendMessage(tray, change, 0, 0), 0);
    EXPECT_EQ(ui.GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(ui.SetForegroundWindow(tray));
    EXPECT_TRUE(ui.SetForegroundWindow(sheet));
    EXPECT_EQ(ui.foregroundWindow(), sheet);
    EXPECT_EQ(ui.messages().size(), 2u);
}

}  // namespace
}  // namespace system_test

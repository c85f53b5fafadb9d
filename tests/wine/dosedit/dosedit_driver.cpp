// Drives the native DOS support prompt end to end on the Wine machine, the way a user would.
//
//   dosedit_driver
//
// The main thread is the program: it builds the settings object with the English language
// module (cnctlen_.dll from the system folder) and runs editNativeDosSupport to install, then
// to remove, native DOS support. A second thread is the user: it waits for each window the
// program shows (the prompt, dialog 185, in installation mode; the summary; the prompt in
// removal mode; the summary), checks what the window shows, prints "shown: <step>", waits
// for the test script to take its screenshot (the script creates C:\shot-<step>), and
// answers: in installation mode it also ticks "write each line to a file", then OK.
//
// Afterwards the main thread checks the start-up files: the lines added with their .hv1
// backups and .hv line files, then the files exactly as they were before. Prints one line
// per check ("ok: ..." / "FAIL: ..."); exit code 0 when all passed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../drivers/screen_pixels.h"
#include "../drivers/time_scale.h"
#include "../drivers/whole_file.h"
#include "lang/resource_ids.h"
#include "platform/win32/win32_machine.h"
#include "settings/tunara_settings.h"

namespace {

const DWORD kWindowTimeoutMs = 30000;
const DWORD kScreenshotTimeoutMs = 60000;

volatile LONG g_failures = 0;

void check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed) InterlockedIncrement(&g_failures);
}

std::string readWholeFile(const std::string& path) {
    std::string content;
    return files::readWhole(path.c_str(), content) ? content : "<missing>";
}

std::string windowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// ---- Finding the program's windows ----------------------------------------------------

struct Search {
    std::string caption;
    HWND exclude;
    HWND found;
};

BOOL CALLBACK findDialog(HWND window, LPARAM parameter) {
    Search* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || window == search->exclude) return TRUE;
    if (className(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
    if (windowText(window) != search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

// The visible dialog of this process with the caption, other than `exclude`; null after the
// timeout.
HWND waitForDialog(const std::string& caption, HWND exclude) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < scaledWait(kWindowTimeoutMs)) {
        Search search = {caption, exclude, nullptr};
        EnumWindows(findDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            Sleep(300);  // let it finish drawing before the screenshot
            return search.found;
        }
        Sleep(50);
    }
    return nullptr;
}

BOOL CALLBACK collectStatic(HWND window, LPARAM parameter) {
    std::string* longest = reinterpret_cast<std::string*>(parameter);
    if (className(window) == "Static") {
        const std::string text = windowText(window);
        if (text.size() > longest->size()) *longest = text;
    }
    return TRUE;
}

// The message of a message box: its longest static text.
std::string messageBoxText(HWND box) {
    std::string longest;
    EnumChildWindows(box, collectStatic, reinterpret_cast<LPARAM>(&longest));
    return longest;
}

// Announces a step and waits until the script has its screenshot. What the screenshot will
// show is checked first, on the screen itself: every text of the window drawn on its face.
void shown(HWND window, const std::string& step) {
    const screen::WindowLook look = screen::look(window);
    check(look.shown(), step + " is on the screen: " + look.describe());
    std::printf("shown: %s\n", step.c_str());
    std::fflush(stdout);
    const std::string signal = "C:\\shot-" + step;
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(signal.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > scaledWait(kScreenshotTimeoutMs)) {
            check(false, "no screenshot taken of " + step);
            return;
        }
        Sleep(50);
    }
}

bool isChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool isVisible(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr && IsWindowVisible(control);
}

void click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// ---- The user ------------------------------------------------------------------------------

struct Expected {
    std::string paths[3];
    std::string backups[3];
    std::string lineFiles[3];
    std::string summary;
};

struct UserPlan {
    Expected expected;
    int promptHeight[2];  // window heights: installation, removal
    int okTop[2];         // OK button's top in client coordinates
};

int clientTop(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    POINT corner = {rect.left, rect.top};
    ScreenToClient(dialog, &corner);
    return corner.y;
}

int windowHeight(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

void answerSummary(const std::string& caption, HWND prompt, const std::string& step,
                   const Expected& expected) {
    HWND box = waitForDialog(caption, prompt);
    check(box != nullptr, step + " appears");
    if (box == nullptr) return;
    const std::string text = messageBoxText(box);
    check(text == expected.summary, step + " reads: " + text);
    shown(box, step);
    click(box, IDOK);
}

DWORD WINAPI user(LPVOID parameter) {
    UserPlan& plan = *static_cast<UserPlan*>(parameter);
    const Expected& e = plan.expected;

    // The prompt in installation mode.
    HWND prompt = waitForDialog("Native DOS Support", nullptr);
    check(prompt != nullptr, "the installation prompt appears");
    if (prompt == nullptr) return 1;
    const int fileIds[3] = {IDC_DOSPROMPT_FILE0, IDC_DOSPROMPT_FILE1, IDC_DOSPROMPT_FILE2};
    const int lineIds[3] = {IDC_DOSPROMPT_LINE_FILE0, IDC_DOSPROMPT_LINE_FILE1,
                            IDC_DOSPROMPT_LINE_FILE2};
    for (int i = 0; i < 3; ++i) {
        check(windowText(GetDlgItem(prompt, fileIds[i])) == e.paths[i],
              "the prompt shows " + e.paths[i]);
        check(windowText(GetDlgItem(prompt, lineIds[i])) == e.lineFiles[i],
              "the prompt shows " + e.lineFiles[i]);
    }
    check(isVisible(prompt, IDC_DOSPROMPT_ADD) && isChecked(prompt, IDC_DOSPROMPT_ADD),
          "A (add) is offered checked");
    check(
        isVisible(prompt, IDC_DOSPROMPT_LINE_FILES) && !isChecked(prompt, IDC_DOSPROMPT_LINE_FILES),
        "B (line files) is offered unchecked");
    check(!isVisible(prompt, IDC_DOSPROMPT_REMOVE), "C (remove) is hidden");
    plan.promptHeight[0] = windowHeight(prompt);
    plan.okTop[0] = clientTop(prompt, IDOK);
    shown(prompt, "install-prompt");
    click(prompt, IDC_DOSPROMPT_LINE_FILES);
    check(isChecked(prompt, IDC_DOSPROMPT_LINE_FILES), "B ticked");
    click(prompt, IDOK);
    answerSummary("Native DOS Support", prompt, "install-summary", e);

    // The prompt in removal mode.
    prompt = waitForDialog("Remove Native DOS Support", nullptr);
    check(prompt != nullptr, "the removal prompt appears");
    if (prompt == nullptr) return 1;
    check(windowText(GetDlgItem(prompt, IDC_DOSPROMPT_MESSAGE))
                  .find("Native DOS support is installed") == 0,
          "the removal prompt says what is installed");
    check(windowText(GetDlgItem(prompt, IDC_DOSPROMPT_FILE2)) == e.paths[2],
          "the removal prompt shows " + e.paths[2]);
    check(isVisible(prompt, IDC_DOSPROMPT_REMOVE) && isChecked(prompt, IDC_DOSPROMPT_REMOVE),
          "C (remove) is offered checked");
    check(!isVisible(prompt, IDC_DOSPROMPT_ADD) && !isVisible(prompt, IDC_DOSPROMPT_LINE_FILES) &&
              !isVisible(prompt, IDC_DOSPROMPT_LINE_FILE0),
          "A, B and the line files are hidden");
    plan.promptHeight[1] = windowHeight(prompt);
    plan.okTop[1] = clientTop(prompt, IDOK);
    shown(prompt, "remove-prompt");
    click(prompt, IDOK);
    answerSummary("Remove Native DOS Support", prompt, "remove-summary", e);
    return 0;
}

}  // namespace

int main() {
    platform::win32::Win32Machine machine;
    HMODULE module = LoadLibraryA("cnctlen_.dll");
    check(module != nullptr, "cnctlen_.dll loads");
    if (module == nullptr) return 1;

    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    UserPlan plan = {};
    Expected& e = plan.expected;
    const std::string names[3][3] = {
        {"C:\\autoexec.bat", "C:\\autoexec.hv1", "C:\\autoexec.hv"},
        {"C:\\config.sys", "C:\\config.hv1", "C:\\config.hv"},
        {std::string(windows) + "\\dosstart.bat", std::string(windows) + "\\dosstart.hv1",
         std::string(windows) + "\\dosstart.hv"}};
    for (int i = 0; i < 3; ++i) {
        e.paths[i] = names[i][0];
        e.backups[i] = names[i][1];
        e.lineFiles[i] = names[i][2];
        if (i != 0) e.summary += "\n";
        e.summary += "Updated " + e.paths[i] + " - the previous version is saved as " +
                     e.backups[i] + " in case you need it.";
    }
    std::string original[3];
    for (int i = 0; i < 3; ++i) original[i] = readWholeFile(e.paths[i]);
    check(original[0].find("maestro.com") == std::string::npos,
          "the machine starts without the lines");

    HANDLE userThread = nullptr;
    {
        settings::tunaraSettings s;
        s.setResourceModule(reinterpret_cast<platform::HModule>(module));
        check(!s.dosStartHasDriver(), "native DOS support is not installed");

        userThread = CreateThread(nullptr, 0, user, &plan, 0, nullptr);
        check(s.editNativeDosSupport(true, false), "installation asks for a restart");
        const std::string program = "C:\\maestro.com";
        const std::string ended =
            original[0].size() >= 2 && original[0].compare(original[0].size() - 2, 2, "\r\n") == 0
                ? ""
                : "\r\n";
        check(readWholeFile(e.paths[0]) == original[0] + ended + program,
              "AUTOEXEC.BAT runs the program last");
        check(readWholeFile(e.paths[1]) == "DEVICE=C:\\aecu.sys\r\n" + original[1],
              "CONFIG.SYS loads the driver first");
        check(readWholeFile(e.paths[2]).find(program) != std::string::npos,
              "DOSSTART.BAT runs the program");
        for (int i = 0; i < 3; ++i)
            check(readWholeFile(e.backups[i]) == original[i],
                  e.backups[i] + " holds the file of before");
        check(readWholeFile(e.lineFiles[1]) == "DEVICE=C:\\aecu.sys",
              e.lineFiles[1] + " holds its line");
        check(s.dosStartHasDriver(), "native DOS support is installed");

        check(!s.editNativeDosSupport(false, false), "removal needs no restart");
        for (int i = 0; i < 3; ++i)
            check(readWholeFile(e.paths[i]) == original[i], e.paths[i] + " is as it was");
        check(!s.dosStartHasDriver(), "native DOS support is removed");
    }
    if (userThread != nullptr) {
        WaitForSingleObject(userThread, scaledWait(kWindowTimeoutMs));
        CloseHandle(userThread);
    }
    // The removal mode drops the installation rows: 80 pixels less, OK moved up as far.
    check(plan.promptHeight[0] - plan.promptHeight[1] == 80,
          "the removal prompt is 80 pixels lower (" + std::to_string(plan.promptHeight[0]) + " / " +
              std::to_string(plan.promptHeight[1]) + ")");
    check(plan.okTop[0] - plan.okTop[1] == 80, "OK moved up by 80 pixels (" +
                                                   std::to_string(plan.okTop[0]) + " / " +
                                                   std::to_string(plan.okTop[1]) + ")");
    FreeLibrary(module);
    std::printf("%ld failure(s)\n", static_cast<long>(g_failures));
    return g_failures == 0 ? 0 : 1;
}

// Drives tunaractl.exe on the Wine machine like a user and like the tray utility.
//
//   props_driver tour        waits for the sheet and walks through it: both pages, the
//                            advanced resources sheet (opened, closed, opened again), the
//                            advanced settings dialog updated by a tray message, the
//                            microphone boost checked and the sheet's OK; plays the tray's
//                            hidden window ("Tunara Taskbar") and records what it receives
//   props_driver show        for the demo: both pages and the advanced settings dialog,
//                            which is then cancelled; the sheet stays open
//   props_driver cancel      headphones chosen on the settings page, then Cancel
//   props_driver keys        Tab, Shift+Tab and Enter around the sheet's own buttons
//   props_driver maestro1    the legacy page and resources sheet of a Maestro-1 without game
//                            support
//   props_driver trayoff     the tray icon switched off, confirmed, and OK
//   props_driver count       prints the number of sheets titled "Tunara Properties"
//   props_driver errorbox    starts tunaractl.exe itself (no language module on the machine):
//                            the "Tunara Control error" box and nothing else, then its OK
//   props_driver nowindow    starts tunaractl.exe itself (no card in the machine): it ends
//                            without ever showing a window
//
// Each time something is on the screen it checks what the screen shows there (the known
// controls drawn, read back from the screen's pixels: tests/wine/props/screen_check.h), then
// prints "shown: <name>" and waits for the file C:\shot-<name> (the script takes its
// screenshot, then creates the file). Prints one line per check ("ok: ..." or "FAIL: ...");
// exit code 0 when all passed.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../drivers/message_pump.h"
#include "../drivers/sheet_windows.h"
#include "../drivers/time_scale.h"
#include "screen_check.h"
#include "window_watch.h"

namespace {

int g_failures = 0;
const char* kCaption = "Tunara Properties";
// DSSPEAKER_STEREO and DSSPEAKER_HEADPHONE (dsound.h).
constexpr DWORD kStereo = 4;
constexpr DWORD kHeadphone = 1;

void check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed) ++g_failures;
}

// The registered messages the stand-in tray window received: name and wParam.
std::vector<std::pair<std::string, WPARAM>> g_received;
const char* kNames[] = {"Tell TunaraTray to exit", "Output Device Change", "HwAcceleration Change",
                        "Mic Boost Change", "MIDI Wavetable Change"};
UINT g_ids[5];

LRESULT CALLBACK trayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    for (int i = 0; i < 5; ++i)
        if (message == g_ids[i] && g_ids[i] != 0) {
            g_received.emplace_back(kNames[i], wParam);
            return 0;
        }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The program when the driver started it itself: its windows are noted at every pump.
WindowWatch* g_program = nullptr;

void pollProgram() {
    if (g_program != nullptr) g_program->poll();
}

void pump(DWORD milliseconds) { messages::run(milliseconds, pollProgram); }

template <typename F>
bool waitFor(F condition, DWORD milliseconds) {
    return messages::waitFor(condition, milliseconds, 20, pollProgram);
}

onscreen::Expect see(HWND parent, int id) {
    return {onscreen::Expect::Drawn, parent, id};
}

onscreen::Expect unseen(HWND parent, int id) {
    return {onscreen::Expect::Hidden, parent, id};
}

// `expects`: what the screen must show at this step, checked before the screenshot is taken.
void shown(const std::string& name, const std::vector<onscreen::Expect>& expects = {}) {
    for (const onscreen::Verdict& v : onscreen::checkAll(expects, 3000))
        check(v.passed, name + ": " + v.detail);
    std::printf("shown: %s\n", name.c_str());
    std::fflush(stdout);
    std::string go = "C:\\shot-" + name;
    waitFor([&] { return GetFileAttributesA(go.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000);
}

std::string text(HWND window) {
    char buffer[261] = {};
    if (window != nullptr) GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

void click(HWND parent, int id) {
    PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}

bool checked(HWND dialog, int id) {
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The control exists and is hidden: a missing control is not a hidden one.
bool hiddenControl(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr && !IsWindowVisible(control);
}

std::string systemFile(const char* name) {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

// A string of the English language module installed beside the program; "" when missing.
std::string moduleString(UINT id) {
    static HMODULE module = LoadLibraryA(systemFile("cnctlen_.dll").c_str());
    char buffer[1024] = {};
    if (module == nullptr || LoadStringA(module, id, buffer, sizeof buffer) <= 0) return "";
    return buffer;
}

HWND findSheet() {
    return FindWindowA("#32770", kCaption);
}

using sheets::currentPage;
using sheets::findOther;

// The microphone source's Value in the simulated mixer (destination 0), -1 when not found.
long micBoostInMixer() {
    for (int m = 0; m < 16; ++m) {
        std::string key =
            "Software\\SimulatedHardware\\Mixer\\Destination0\\Source" + std::to_string(m);
        HKEY k;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) break;
        DWORD type = 0, value = 0, size = sizeof value, kind = 0;
        RegQueryValueExA(k, "ComponentType", nullptr, &type, reinterpret_cast<BYTE*>(&kind), &size);
        size = sizeof value;
        LONG r =
            RegQueryValueExA(k, "Value", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(k);
        if (kind == 0x1003 /* MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE */)
            return r == ERROR_SUCCESS ? static_cast<long>(value) : -1;
    }
    return -1;
}

int tour() {
    for (int i = 0; i < 5; ++i) g_ids[i] = RegisterWindowMessageA(kNames[i]);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = trayProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Tunara Taskbar";
    RegisterClassA(&wc);
    HWND tray =
        CreateWindowA("Tunara Taskbar", "", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    check(tray != nullptr, "the stand-in tray window exists");

    HWND sheet = nullptr;
    check(
        waitFor([&] { return (sheet = findSheet()) != nullptr && IsWindowVisible(sheet); }, 60000),
        "the sheet \"Tunara Properties\" appears");
    if (sheet == nullptr) return 1;
    pump(1000);
    HWND first = currentPage(sheet);
    check(GetDlgItem(first, 1057) != nullptr && GetDlgItem(first, 1016) != nullptr,
          "the sheet opens on the settings page");
    shown("settings",
          {see(first, 1016), see(first, 1015), see(first, 1000), see(first, 1014), see(first, 1057),
           see(first, 1056), see(sheet, IDOK), see(sheet, IDCANCEL), see(sheet, 1025)});

    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    pump(500);
    HWND legacy = currentPage(sheet);
    std::string io = text(GetDlgItem(legacy, 1043));
    check(text(GetDlgItem(legacy, 1041)) == "SoundBlaster Pro", "the legacy page names the device");
    check(io == "0220-022F", "the legacy page shows the I/O range " + io);
    check(text(GetDlgItem(legacy, 1044)) == "01",
          "the legacy page shows DMA " + text(GetDlgItem(legacy, 1044)));
    check(hiddenControl(legacy, 1064), "no conflict mark beside a resource that was found");
    shown("legacy", {see(legacy, 1041), see(legacy, 1037), see(legacy, 1042), see(legacy, 1047),
                     see(legacy, 1043), see(legacy, 1048), see(legacy, 1044), see(legacy, 1019),
                     unseen(legacy, 1064)});

    click(legacy, 1019);
    HWND resources = nullptr;
    check(waitFor([&] { return (resources = findOther(sheet, false)) != nullptr; }, 10000),
          "button 1019 opens the advanced resources sheet");
    if (resources != nullptr) {
        pump(500);
        HWND page = currentPage(resources);
        std::string mpu = text(GetDlgItem(page, 1054));
        check(mpu == "Resource conflict" && IsWindowVisible(GetDlgItem(page, 1066)),
              "the MPU-401 range the card did not get reads \"" + mpu + "\" with its mark");
        check(text(GetDlgItem(page, 1051)) == "0220-022F", "the FM range on the first page");
        shown("resources-1", {see(page, 1051), see(page, 1054), see(page, 1066),
                              see(resources, IDOK), see(resources, 1025)});
        SendMessageA(resources, PSM_SETCURSEL, 1, 0);
        pump(500);
        page = currentPage(resources);
        check(text(GetDlgItem(page, 1055)) == "Resource conflict" && hiddenControl(page, 1067),
              "the synthesiser's interrupt reads \"" + text(GetDlgItem(page, 1055)) +
                  "\" (no mark of its own)");
        shown("resources-2",
              {see(page, 1055), see(page, 1053), see(page, 1052), unseen(page, 1067)});
        click(resources, IDOK);
        check(waitFor([&] { return !IsWindowVisible(resources); }, 5000),
              "Close hides the resources sheet");
        check(IsWindow(resources) != FALSE, "the hidden resources sheet still exists");
        click(legacy, 1019);
        check(waitFor([&] { return IsWindowVisible(resources) != FALSE; }, 5000),
              "the next press shows the same resources sheet again");
        check(findOther(sheet, false) == resources, "there is still only one resources sheet");
        PostMessageA(resources, WM_CLOSE, 0, 0);
        check(waitFor([&] { return !IsWindowVisible(resources); }, 5000),
              "the title-bar close hides it too");
    }

    SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
    pump(300);
    HWND settings = currentPage(sheet);
    click(settings, 1056);
    HWND support = nullptr;
    check(waitFor([&] { return (support = findOther(sheet, true)) != nullptr; }, 10000),
          "button 1056 opens the support information dialog");
    if (support != nullptr) {
        pump(500);
        std::string version = text(GetDlgItem(support, 1068));
        check(version.size() > 9 && version.compare(version.size() - 9, 9, "1.00.0001") == 0,
              "the version line ends with the program's ProductVersion: \"" + version + "\"");
        HWND list = GetDlgItem(support, 1003);
        HWND combo = GetDlgItem(support, 1057);
        auto rows = [&] { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); };
        check(SendMessageA(combo, CB_GETCURSEL, 0, 0) == 0 && rows() == 4,
              "English (United States) preselects the first region with four rows");
        shown("support",
              {see(support, 1068), see(support, 1057), see(support, 1003), see(support, IDOK)});
        for (int region : {1, 0, 1}) {
            SendMessageA(combo, CB_SETCURSEL, region, 0);
            SendMessageA(support, WM_COMMAND, MAKEWPARAM(1057, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(combo));
            pump(200);
            int expected = region == 1 ? 5 : 4;
            check(rows() == expected, "region " + std::to_string(region) + " shows " +
                                          std::to_string(rows()) + " rows, no duplicates");
        }
        shown("support-region-1", {see(support, 1057), see(support, 1003)});
        PostMessageA(support, WM_COMMAND, IDOK, 0);
        check(waitFor([&] { return !IsWindow(support); }, 5000), "OK closes the support dialog");
    }
    click(settings, 1057);
    HWND dialog = nullptr;
    check(waitFor([&] { return (dialog = findOther(sheet, true)) != nullptr; }, 10000),
          "button 1057 opens the advanced settings dialog");
    if (dialog == nullptr) return 1;
    pump(500);
    check(checked(dialog, 1002), "hardware acceleration is on when the dialog opens");
    check(!checked(dialog, 1017), "the microphone boost is off when the dialog opens");
    // On a Maestro-2E game support is always on: its box is hidden.
    shown("advanced", {see(dialog, 1024), see(dialog, 1020), see(dialog, 1002), see(dialog, 1017),
                       see(dialog, 1018), unseen(dialog, 1019), see(dialog, IDOK),
                       see(dialog, IDCANCEL), see(dialog, 3)});
    // The tray's menu switched hardware acceleration off.
    SendMessageA(sheet, g_ids[2], 0, 0);
    pump(300);
    check(!checked(dialog, 1002),
          "\"HwAcceleration Change\" 0 from the tray clears 1002 in the open dialog");
    shown("advanced-after-tray", {see(dialog, 1002), see(dialog, 1017)});
    SendMessageA(GetDlgItem(dialog, 1017), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    check(waitFor([&] { return !IsWindow(dialog); }, 5000), "the dialog's OK closes it");

    long before = micBoostInMixer();
    PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    check(waitFor([&] { return findSheet() == nullptr; }, 20000),
          "the sheet's OK ends the program");
    pump(500);
    long after = micBoostInMixer();
    check(before == 0 && after == 1,
          "the mixer's boost went from " + std::to_string(before) + " to " + std::to_string(after));
    bool mic = false, other = false;
    for (const auto& r : g_received) {
        std::printf("tray received: %s %lu\n", r.first.c_str(),
                    static_cast<unsigned long>(r.second));
        if (r.first == "Mic Boost Change" && r.second == 1)
            mic = true;
        else
            other = true;
    }
    check(mic, "the tray received \"Mic Boost Change\" 1");
    check(!other, "the tray received nothing else (acceleration already agreed with the tray)");
    DestroyWindow(tray);
    return g_failures == 0 ? 0 : 1;
}

// For the demo: both pages and the advanced settings dialog, then the dialog is cancelled
// and the sheet stays open, nothing changed.
int show() {
    HWND sheet = nullptr;
    check(
        waitFor([&] { return (sheet = findSheet()) != nullptr && IsWindowVisible(sheet); }, 60000),
        "the sheet \"Tunara Properties\" appears");
    if (sheet == nullptr) return 1;
    pump(1000);
    shown("settings");
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    pump(500);
    shown("legacy");
    SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
    pump(300);
    click(currentPage(sheet), 1057);
    HWND dialog = nullptr;
    check(waitFor([&] { return (dialog = findOther(sheet, true)) != nullptr; }, 10000),
          "the advanced settings dialog opens");
    if (dialog == nullptr) return 1;
    pump(500);
    shown("advanced");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    waitFor([&] { return !IsWindow(dialog); }, 5000);
    return g_failures == 0 ? 0 : 1;
}

// The focus in tunaractl's user-interface thread.
HWND focusOf(HWND sheet) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(sheet, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

void press(WORD key, bool shift = false) {
    if (shift) keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
    if (shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    pump(400);
}

bool isDefault(HWND button) {
    return (GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

// The sheet's own buttons are not the property sheet's: the program's keyboard decisions
// move the focus around them, and Enter presses OK when it is the default.
int keys() {
    HWND sheet = nullptr;
    check(
        waitFor([&] { return (sheet = findSheet()) != nullptr && IsWindowVisible(sheet); }, 60000),
        "the sheet appears");
    if (sheet == nullptr) return 1;
    pump(800);
    SetForegroundWindow(sheet);
    pump(400);
    HWND page = currentPage(sheet);
    HWND speakers = GetDlgItem(page, 1016);
    HWND tab = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    HWND ok = GetDlgItem(sheet, IDOK);
    HWND help = GetDlgItem(sheet, 1025);
    check(focusOf(sheet) == speakers, "the focus starts on the checked output button");
    press(VK_TAB, true);
    check(focusOf(sheet) == tab, "Shift+Tab on the output button goes to the tab control");
    press(VK_TAB, true);
    check(focusOf(sheet) == help && isDefault(help) && !isDefault(ok),
          "Shift+Tab on the tab control goes to Help, which becomes the default");
    shown("keys-help", {see(sheet, 1025), see(sheet, IDOK), see(page, 1016)});
    press(VK_TAB);
    check(focusOf(sheet) == tab && isDefault(ok) && !isDefault(help),
          "Tab on Help goes to the tab control, OK the default again");
    press(VK_TAB);
    check(focusOf(sheet) == speakers, "Tab on the tab control goes to the checked output button");
    press(VK_RETURN);
    check(waitFor([&] { return findSheet() == nullptr; }, 20000),
          "Enter presses OK, which ends the program");
    return g_failures == 0 ? 0 : 1;
}

// A Maestro-1 card with DOS game support off: the legacy page shows only its explanation
// and the resources button; the resources sheet only the joystick on its first page.
int maestro1() {
    HWND sheet = nullptr;
    check(
        waitFor([&] { return (sheet = findSheet()) != nullptr && IsWindowVisible(sheet); }, 60000),
        "the sheet appears");
    if (sheet == nullptr) return 1;
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    pump(500);
    HWND legacy = currentPage(sheet);
    check(GetDlgItem(legacy, 1019) != nullptr && GetDlgItem(legacy, 1038) != nullptr,
          "the legacy page is shown");
    const int hiddenIds[] = {1041, 1042, 1043, 1044, 1037, 1047, 1048};
    std::string notHidden;
    for (int id : hiddenIds)
        if (!hiddenControl(legacy, id))
            notHidden += " " + std::to_string(id) +
                         (GetDlgItem(legacy, id) == nullptr ? " (missing)" : " (visible)");
    check(notHidden.empty(), "the device's values and labels exist and are hidden" +
                                 (notHidden.empty() ? std::string() : ", except" + notHidden));
    check(IsWindowVisible(GetDlgItem(legacy, 1038)) && IsWindowVisible(GetDlgItem(legacy, 1019)),
          "the explanation and the resources button remain");
    const std::string explanation = moduleString(1094);
    check(!explanation.empty() && text(GetDlgItem(legacy, 1038)) == explanation,
          "the explanation is the language module's string 1094: \"" +
              text(GetDlgItem(legacy, 1038)) + "\"");
    std::vector<onscreen::Expect> legacyScreen = {see(legacy, 1038), see(legacy, 1019)};
    for (int id : hiddenIds) legacyScreen.push_back(unseen(legacy, id));
    shown("legacy-maestro1", legacyScreen);
    click(legacy, 1019);
    HWND resources = nullptr;
    check(waitFor([&] { return (resources = findOther(sheet, false)) != nullptr; }, 10000),
          "the resources sheet opens");
    if (resources != nullptr) {
        pump(500);
        HWND page = currentPage(resources);
        check(GetDlgItem(page, 1051) != nullptr && GetDlgItem(page, 1054) != nullptr &&
                  GetDlgItem(page, 1055) != nullptr && GetDlgItem(page, 1067) != nullptr,
              "the first resources page has its fields 1051, 1054, 1055 and mark 1067");
        check(text(GetDlgItem(page, 1051)).empty() && text(GetDlgItem(page, 1054)).empty(),
              "without game support the DOS games and MPU-401 fields are empty");
        std::string joystick = text(GetDlgItem(page, 1055));
        check(joystick.empty() && hiddenControl(page, 1067),
              "with the joystick off its field is empty and unmarked (\"" + joystick + "\")");
        // Empty fields: no text at all where each would stand.
        shown("resources-maestro1", {see(page, 1051), see(page, 1054), see(page, 1055),
                                     unseen(page, 1067), see(resources, IDOK)});
    }
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    check(waitFor([&] { return findSheet() == nullptr; }, 20000), "Cancel ends the program");
    return g_failures == 0 ? 0 : 1;
}

bool trayRunValueExists() {
    HKEY k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    LONG r = RegQueryValueExA(k, "Cantora SysTray", nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

// The static control that holds a message box's text (the same in Windows and Wine).
constexpr int kBoxText = 0xFFFF;

// What a message box must say, with which buttons.
struct BoxWording {
    std::string text;
    std::string caption;
    bool okCancel;  // MB_OKCANCEL; otherwise MB_OK alone
};

// The box's caption and text, word for word, and its buttons.
void checkBox(HWND box, const std::string& step, const BoxWording& expected) {
    check(!expected.text.empty() && !expected.caption.empty(),
          step + ": the expected wording is known");
    check(text(box) == expected.caption,
          step + ": the caption is \"" + text(box) + "\", expected \"" + expected.caption + "\"");
    const std::string said = text(GetDlgItem(box, kBoxText));
    check(said == expected.text,
          step + ": the text is \"" + said + "\", expected \"" + expected.text + "\"");
    const bool ok = text(GetDlgItem(box, IDOK)) == "OK";
    const bool cancel = GetDlgItem(box, IDCANCEL) != nullptr;
    bool others = false;
    for (int id : {IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        others = others || GetDlgItem(box, id) != nullptr;
    check(
        ok && cancel == expected.okCancel && !others,
        step + (expected.okCancel ? ": buttons OK and Cancel, no other" : ": the OK button alone"));
}

std::vector<onscreen::Expect> boxScreen(HWND box, bool okCancel) {
    std::vector<onscreen::Expect> expects = {see(box, kBoxText), see(box, IDOK)};
    if (okCancel) expects.push_back(see(box, IDCANCEL));
    return expects;
}

// Waits for a message box of the (hidden) sheet, checks it, takes its picture and answers it.
bool answerBox(HWND sheet, const std::string& step, const BoxWording& expected, int button) {
    HWND box = nullptr;
    bool found = waitFor([&] { return (box = findOther(sheet, true)) != nullptr; }, 10000);
    check(found, "the box \"" + step + "\" appears");
    if (!found) return false;
    pump(300);
    checkBox(box, step, expected);
    shown(step, boxScreen(box, expected.okCancel));
    PostMessageA(box, WM_COMMAND, button, 0);
    return waitFor([&] { return !IsWindow(box); }, 5000);
}

// The tray icon switched off on the settings page and OK confirmed: the autostart value goes
// and the tray is told to exit.
int trayOff() {
    for (int i = 0; i < 5; ++i) g_ids[i] = RegisterWindowMessageA(kNames[i]);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = trayProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Tunara Taskbar";
    RegisterClassA(&wc);
    HWND tray =
        CreateWindowA("Tunara Taskbar", "", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    HWND sheet = nullptr;
    check(
        waitFor([&] { return (sheet = findSheet()) != nullptr && IsWindowVisible(sheet); }, 60000),
        "the sheet appears");
    if (sheet == nullptr) return 1;
    pump(500);
    check(trayRunValueExists(), "the tray's autostart value is there at the start");
    HWND page = currentPage(sheet);
    check(checked(page, 1014), "the tray icon box is checked");
    SendMessageA(GetDlgItem(page, 1014), BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    // The language module's strings: 2 asks, under caption 4; 1 tells, under caption 5.
    const BoxWording question{moduleString(2), moduleString(4), true};
    const BoxWording notice{moduleString(1), moduleString(5), false};
    check(answerBox(sheet, "tray-off-question", question, IDOK),
          "the question is answered with OK");
    check(answerBox(sheet, "tray-off-done", notice, IDOK), "the notice is closed");
    check(waitFor([&] { return findSheet() == nullptr; }, 20000), "the program ends");
    pump(300);
    check(!trayRunValueExists(), "the autostart value is gone");
    bool exitAsked = false;
    for (const auto& r : g_received) exitAsked = exitAsked || r.first == "Tell TunaraTray to exit";
    check(exitAsked && g_received.size() == 1, "the tray was told to exit, and nothing else");
    DestroyWindow(tray);
    return g_failures == 0 ? 0 : 1;
}

int count() {
    int n = 0;
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, "#32770", kCaption)) != nullptr) ++n;
    std::printf("sheets: %d\n", n);
    std::printf("foreground: %s\n",
                n > 0 && GetForegroundWindow() == findSheet() ? "sheet" : "other");
    return 0;
}

// DirectSound's speaker configuration in the simulated card, 0 when not set.
DWORD speakerConfig() {
    HKEY k;
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\SimulatedHardware\\DirectSound", 0, KEY_READ,
                      &k) == ERROR_SUCCESS) {
        RegQueryValueExA(k, "SpeakerConfig", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size);
        RegCloseKey(k);
    }
    return value;
}

// The output device changes at once on the page; Cancel puts it back.
int cancel() {
    HWND sheet = nullptr;
    check(
        waitFor([&] { return (sheet = findSheet()) != nullptr && IsWindowVisible(sheet); }, 60000),
        "the sheet appears");
    if (sheet == nullptr) return 1;
    pump(500);
    check(speakerConfig() == kStereo, "speakers at the start");
    HWND page = currentPage(sheet);
    SendMessageA(GetDlgItem(page, 1015), BM_SETCHECK, BST_CHECKED, 0);
    click(page, 1015);
    bool changed = waitFor([&] { return speakerConfig() == kHeadphone; }, 5000);
    check(changed, "choosing headphones takes effect at once (SpeakerConfig " +
                       std::to_string(speakerConfig()) + ")");
    pump(300);
    check(checked(page, 1015) && !checked(page, 1016), "the radio buttons follow");
    shown("headphones", {see(page, 1000), see(page, 1015), see(page, 1016)});
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    check(waitFor([&] { return findSheet() == nullptr; }, 20000), "Cancel ends the program");
    check(speakerConfig() == kStereo,
          "Cancel restored the speakers (SpeakerConfig " + std::to_string(speakerConfig()) + ")");
    return g_failures == 0 ? 0 : 1;
}

// The program as the driver starts it: from the system folder, where the machine has it.
bool startProgram(WindowWatch& watch) {
    const std::string program = systemFile("tunaractl.exe");
    const bool started = watch.start(program);
    check(started, "tunaractl.exe starts: " + program);
    if (started) {
        std::printf("watching process %lu, window-event hook %s\n",
                    static_cast<unsigned long>(watch.processId()),
                    watch.hooked() ? "set" : "not available (polling alone)");
        std::fflush(stdout);
        g_program = &watch;
    }
    return started;
}

void checkEnd(WindowWatch& watch, DWORD limitMs) {
    watch.pumpUntilEnd(scaledWait(limitMs));
    check(watch.ended(), "tunaractl.exe ended by itself (" + std::to_string(watch.elapsedMs()) +
                             " ms after its start)");
    if (watch.ended()) {
        check(watch.exitCode() == 0,
              "tunaractl.exe's exit code is 0 (got " + std::to_string(watch.exitCode()) + ")");
        pump(500);  // window events still on their way
    }
}

// A card but no language module: the error box without owner, word for word, and no other
// window from start to end.
int errorBox() {
    WindowWatch watch;
    if (!startProgram(watch)) return 1;
    HWND box = nullptr;
    auto boxShown = [&] {
        box = FindWindowA("#32770", "Tunara Control error");
        DWORD process = 0;
        if (box != nullptr) GetWindowThreadProcessId(box, &process);
        if (process != watch.processId() || !IsWindowVisible(box)) box = nullptr;
        return box != nullptr || watch.ended();
    };
    waitFor(boxShown, 60000);
    check(box != nullptr, "the \"Tunara Control error\" box of tunaractl.exe appears");
    if (box == nullptr) {
        for (const std::string& w : watch.shownOtherThan(nullptr, true))
            std::printf("shown instead: %s\n", w.c_str());
        return 1;
    }
    check(GetWindow(box, GW_OWNER) == nullptr, "the box has no owner");
    pump(500);
    checkBox(
        box, "error-box",
        {"Unable to find any language files, quitting application", "Tunara Control error", false});
    shown("error-box", boxScreen(box, false));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    check(waitFor([&] { return !IsWindow(box); }, 5000), "OK closes the box");
    checkEnd(watch, 20000);
    // The box's own buttons that are not wanted are made and destroyed with it: events of
    // windows already gone say nothing here.
    const std::vector<std::string> others = watch.shownOtherThan(box, false);
    for (const std::string& w : others) std::printf("also shown: %s\n", w.c_str());
    check(others.empty(), "no other window was shown (no sheet): " + std::to_string(others.size()) +
                              " other window(s)");
    return g_failures == 0 ? 0 : 1;
}

// No card: the program ends without any window, from its start to its end.
int noWindow() {
    WindowWatch watch;
    if (!startProgram(watch)) return 1;
    checkEnd(watch, 30000);
    const std::vector<std::string> shownWindows = watch.shownOtherThan(nullptr, true);
    for (const std::string& w : shownWindows) std::printf("window seen: %s\n", w.c_str());
    check(shownWindows.empty(),
          "no window was shown while it ran: " + std::to_string(shownWindows.size()) +
              " window(s) of " + std::to_string(watch.seen().size()) + " seen");
    return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "tour") return tour();
    if (command == "show") return show();
    if (command == "count") return count();
    if (command == "cancel") return cancel();
    if (command == "keys") return keys();
    if (command == "trayoff") return trayOff();
    if (command == "maestro1") return maestro1();
    if (command == "errorbox") return errorBox();
    if (command == "nowindow") return noWindow();
    std::printf(
        "usage: props_driver tour|show|cancel|keys|maestro1|trayoff|count|errorbox|nowindow\n");
    return 2;
}

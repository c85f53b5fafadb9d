// Drives Wine's help viewer and tunaractl.exe's help on the Wine machine.
//
//   help_driver viewer HELPFILE SOURCE NAME
//       asks the viewer (WinHelpA, HELP_CONTEXT) for every topic of the help source SOURCE in
//       HELPFILE and checks that it shows the topic's title and first words; screenshots are
//       named viewer-NAME-<context>
//   help_driver program LANGUAGE SOURCE MODULE TRACE
//       waits for tunaractl's sheet in the language module MODULE's language and presses the
//       Help button of each page, of the advanced settings dialog, of the advanced resources
//       sheet and of the support dialog: each must call WinHelpA with the system folder's
//       "tnrmx" + LANGUAGE + "_.hlp" and its context, and the viewer must show that topic as
//       SOURCE words it. Then asks for "What's this?" on one control per page and dialog (see
//       whatsThis). TRACE is the program's error output with Wine's relay trace of WinHelpA.
//
// Each time something is on the screen it prints "shown: <name>" and waits for the file
// C:\shot-<name> (the script takes its screenshot, then creates the file). Prints one line
// per check ("ok: ..." or "FAIL: ..."); exit code 0 when all passed.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>

#include "../drivers/message_pump.h"
#include "../drivers/sheet_windows.h"
#include "../drivers/time_scale.h"
#include "help_sources.h"
#include "help_viewer.h"
#include "winhelp_calls.h"

namespace {

int g_failures = 0;
HWND g_window = nullptr;  // the driver's own (hidden) window, owner of its WinHelpA calls

void check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed) ++g_failures;
}

void pump(DWORD milliseconds) { messages::run(milliseconds); }

template <typename F>
bool waitFor(F condition, DWORD milliseconds) {
    return messages::waitFor(condition, milliseconds, 50);
}

void shown(const std::string& name) {
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

std::string systemFolder() {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, sizeof folder);
    return folder;
}

std::string entryName(const HelpEntry& entry) {
    return (entry.topic ? "topic " : "popup ") + std::to_string(entry.context) + " \"" +
           (entry.topic ? entry.title : entry.firstText.substr(0, 40)) + "\"";
}

// Waits until the viewer shows the entry; a screenshot when it does, the viewer's windows
// when it does not. A viewer that is still starting gets the longer limit; a message box of
// the viewer (a file it cannot find) ends the wait at once, and so does `refused` when it
// says that the request never reached the viewer.
bool expectViewer(const std::string& step, const HelpEntry& entry, DWORD limit = 20000,
                  const std::function<bool()>& refused = nullptr) {
    ViewerView view;
    ViewerMessage message;
    bool ok = waitFor(
        [&] {
            view = readViewer();
            message = viewerMessage();
            return viewerShows(view, entry) || message.box != nullptr || (refused && refused());
        },
        limit);
    ok = ok && viewerShows(view, entry);
    check(ok, step + ": the viewer shows " + entryName(entry) + " (it shows \"" +
                  viewerExcerpt(view) + "\")");
    if (!ok) {
        std::printf("%s", describeViewerWindows().c_str());
        if (message.box != nullptr) {
            // The box holds the WinHelpA call that asked for the topic; answer it (No to
            // "find the file yourself?", else OK) so the next step gets its own answer.
            std::printf("the viewer says: %s\n", message.text.c_str());
            shown(step);
            PostMessageA(message.box, WM_COMMAND, IDNO, 0);
            PostMessageA(message.box, WM_COMMAND, IDOK, 0);
            waitFor([&] { return !IsWindow(message.box); }, 10000);
        }
        return false;
    }
    pump(300);
    shown(step);
    return true;
}

struct Ask {
    std::string file;
    UINT command;
    DWORD data;
};

DWORD WINAPI askThread(LPVOID param) {
    auto* ask = static_cast<Ask*>(param);
    WinHelpA(g_window, ask->file.c_str(), ask->command, ask->data);
    delete ask;
    return 0;
}

// WinHelpA from a thread of its own: the call waits for the viewer, which may be held by a
// message box that this thread must still be free to see and answer.
void askViewer(const std::string& file, UINT command, DWORD data) {
    HANDLE thread = CreateThread(nullptr, 0, askThread, new Ask{file, command, data}, 0, nullptr);
    if (thread != nullptr) CloseHandle(thread);
}

// Makes sure the viewer does not show the entry yet, so that only the step under test can
// bring it up: if it does, another topic of the file is shown first.
void prepareViewer(const std::string& file, const HelpSource& source, const HelpEntry& entry) {
    if (!viewerShows(readViewer(), entry)) return;
    for (const HelpEntry& other : source.entries) {
        if (other.context == entry.context || other.firstText == entry.firstText) continue;
        askViewer(file, HELP_CONTEXT, static_cast<DWORD>(other.context));
        waitFor([&] { return viewerShows(readViewer(), other); }, 20000);
        break;
    }
    check(!viewerShows(readViewer(), entry),
          "before the step the viewer does not show " + entryName(entry));
}

HWND createOwnWindow() {
    return CreateWindowA("STATIC", "help driver", 0, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// Ends the viewer and waits for its window to go, so the next viewer starts afresh.
void quitViewer(const std::string& file) {
    askViewer(file, HELP_QUIT, 0);
    check(waitFor([] { return readViewer().main == nullptr; }, 20000),
          "HELP_QUIT closes the viewer");
}

// ---------------------------------------------------------------------------------------
// The viewer on its own.

int viewer(const std::string& file, const std::string& sourcePath, const std::string& name) {
    HelpSource source;
    if (!readHelpSource(sourcePath, source)) {
        check(false, "the help source " + sourcePath + " can be read");
        return 1;
    }
    g_window = createOwnWindow();
    bool first = true;
    for (const HelpEntry& entry : source.entries) {
        if (!entry.topic) continue;
        prepareViewer(file, source, entry);
        askViewer(file, HELP_CONTEXT, static_cast<DWORD>(entry.context));
        std::string step = "viewer-" + name + "-" + std::to_string(entry.context);
        // Wine's viewer fixes its caption when it starts, before any file is open: the
        // caption never names the file, so the topic's own text is what tells the file.
        expectViewer(step, entry, first ? 90000 : 20000);
        first = false;
    }
    quitViewer(file);
    return g_failures == 0 ? 0 : 1;
}

// ---------------------------------------------------------------------------------------
// tunaractl's help.

struct Program {
    std::string helpFile;  // what the program must ask for
    HelpSource source;
    std::string trace;
    DWORD process = 0;
    bool firstTopic = true;
};

using sheets::currentPage;
using sheets::findOther;

// The next WinHelpA call of the program after the `before` calls already traced.
bool nextCall(const Program& program, std::size_t before, WinHelpCall& call) {
    std::vector<WinHelpCall> calls;
    bool found = waitFor(
        [&] {
            calls = readWinHelpCalls(program.trace);
            return calls.size() > before;
        },
        10000);
    if (found) call = calls[before];
    return found;
}

std::string hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "%lx", value);
    return text;
}

// A Help button: WinHelpA with HELP_CONTEXT, the language's file and the button's context, and
// the viewer shows that topic.
void helpButton(Program& program, const std::string& step, HWND dialog, int button, long context) {
    const HelpEntry* entry = program.source.find(context);
    check(entry != nullptr && entry->topic,
          step + ": the help source has topic " + std::to_string(context));
    if (entry == nullptr) return;
    prepareViewer(program.helpFile, program.source, *entry);
    std::size_t before = readWinHelpCalls(program.trace).size();
    HWND control = nullptr;
    waitFor(
        [&] {
            control = GetDlgItem(dialog, button);
            return control != nullptr && IsWindowVisible(control) && !text(control).empty();
        },
        5000);
    check(control != nullptr && IsWindowVisible(control), step + ": the Help button " +
                                                              std::to_string(button) + " \"" +
                                                              text(control) + "\" is there");
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
    WinHelpCall call;
    if (!nextCall(program, before, call)) {
        check(false, step + ": the Help button calls WinHelpA");
        return;
    }
    check(call.command == HELP_CONTEXT && call.data == static_cast<unsigned long>(context) &&
              call.file == program.helpFile,
          step + ": WinHelpA(\"" + call.file + "\", command " + std::to_string(call.command) +
              ", context " + std::to_string(call.data) + ") asks for HELP_CONTEXT " +
              std::to_string(context) + " in " + program.helpFile);
    // The first Help of the run starts the viewer. WinHelpA answers FALSE when its request
    // never reached the viewer (Wine's WinHelpA gives a starting viewer 30 seconds).
    auto refused = [&] {
        std::vector<WinHelpCall> calls = readWinHelpCalls(program.trace);
        return calls.size() > before && calls[before].returned && calls[before].result == 0;
    };
    if (!expectViewer(step, *entry, program.firstTopic ? 90000 : 20000, refused)) {
        if (refused())
            std::printf("WinHelpA answered FALSE: the request never reached the viewer\n");
        return;
    }
    program.firstTopic = false;
}

// "What's this?" (the right-click context help) on one control: the program calls WinHelpA
// with HELP_CONTEXTMENU, the control's window, its help file and its control-to-context
// table. Wine 8.0 cannot show that popup: its WinHelpA refuses HELP_CONTEXTMENU and
// HELP_WM_HELP, and its viewer's popup by context (HELP_CONTEXTPOPUP) is an empty stub. So the
// lookup is checked the other way round: the table is read from the program's memory, the
// control's identifier looked up in it as the viewer would, and the context found is shown by
// the viewer as a topic (HELP_CONTEXT on the same file); its text must be the popup's.
void whatsThis(Program& program, const std::string& step, HWND dialog, int id, long context) {
    HWND control = GetDlgItem(dialog, id);
    check(control != nullptr, step + ": control " + std::to_string(id) + " exists");
    if (control == nullptr) return;
    std::size_t before = readWinHelpCalls(program.trace).size();
    RECT r = {};
    GetWindowRect(control, &r);
    PostMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    WinHelpCall call;
    if (!nextCall(program, before, call)) {
        check(false, step + ": \"What's this?\" on " + std::to_string(id) + " calls WinHelpA");
        return;
    }
    check(call.command == HELP_CONTEXTMENU &&
              call.window == static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(control)) &&
              call.file == program.helpFile,
          step + ": WinHelpA(window " + hex(call.window) + ", \"" + call.file + "\", command " +
              std::to_string(call.command) + ") is HELP_CONTEXTMENU for control " +
              std::to_string(id) + " (window " +
              hex(static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(control))) + ")");
    HelpTable table;
    bool read = readHelpTable(program.process, call.data, table);
    check(read, step + ": the table at " + hex(call.data) + " is read, " +
                    std::to_string(table.size()) + " pairs up to its pair of zeros");
    long found = -1;
    for (const auto& pair : table)
        if (pair.first == static_cast<DWORD>(GetDlgCtrlID(control))) {
            found = static_cast<long>(pair.second);
            break;
        }
    check(found == context, step + ": the table gives control " + std::to_string(id) + " context " +
                                std::to_string(found) + ", expected " + std::to_string(context));
    waitFor([&] { return readWinHelpCalls(program.trace)[before].returned; }, 3000);
    std::vector<WinHelpCall> calls = readWinHelpCalls(program.trace);
    if (calls.size() > before && calls[before].returned)
        std::printf("note: Wine's WinHelpA answered %lu to HELP_CONTEXTMENU\n",
                    calls[before].result);
    const HelpEntry* entry = program.source.find(found);
    check(entry != nullptr, step + ": the help source has context " + std::to_string(found));
    if (entry == nullptr) return;
    prepareViewer(call.file, program.source, *entry);
    askViewer(call.file, HELP_CONTEXT, static_cast<DWORD>(found));
    expectViewer(step, *entry);
}

HWND waitForOther(HWND sheet, bool owned, const std::string& what) {
    HWND found = nullptr;
    check(waitFor([&] { return (found = findOther(sheet, owned)) != nullptr; }, 10000),
          what + " opens");
    if (found != nullptr) pump(500);
    return found;
}

void click(HWND parent, int id) {
    PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}

std::string moduleString(HMODULE module, UINT id) {
    char buffer[261] = {};
    if (module != nullptr) LoadStringA(module, id, buffer, sizeof buffer);
    return buffer;
}

int program(const std::string& language, const std::string& sourcePath,
            const std::string& moduleName, const std::string& trace) {
    Program p;
    p.helpFile = systemFolder() + "\\tnrmx" + language + "_.hlp";
    p.trace = trace;
    if (!readHelpSource(sourcePath, p.source)) {
        check(false, "the help source " + sourcePath + " can be read");
        return 1;
    }
    // The texts the sheet must carry in this language, from the language's own module.
    std::string modulePath = systemFolder() + "\\" + moduleName;
    HMODULE module = LoadLibraryExA(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    check(module != nullptr, "the language module " + modulePath + " loads");
    std::string caption = moduleString(module, 6);
    std::string helpText = moduleString(module, 2621);
    g_window = createOwnWindow();

    HWND sheet = nullptr;
    check(waitFor(
              [&] {
                  sheet = FindWindowA("#32770", caption.c_str());
                  return sheet != nullptr && IsWindowVisible(sheet);
              },
              60000),
          "the sheet appears with the module's caption \"" + caption + "\"");
    if (sheet == nullptr) return 1;
    GetWindowThreadProcessId(sheet, &p.process);
    // The program puts its own buttons on the sheet once the sheet is up; on a slow machine
    // that can be a while after the sheet shows.
    check(waitFor([&] { return text(GetDlgItem(sheet, 1025)) == helpText; }, 5000),
          "the sheet's Help button reads the module's \"" + helpText + "\"");

    HWND settings = currentPage(sheet);
    helpButton(p, "settings-help", sheet, 1025, 20);
    whatsThis(p, "settings-whatsthis", settings, 1014, 140);

    click(settings, 1056);
    if (HWND support = waitForOther(sheet, true, "the support dialog")) {
        helpButton(p, "support-help", support, 1080, 45);
        whatsThis(p, "support-whatsthis", support, 1057, 45);
        PostMessageA(support, WM_COMMAND, IDCANCEL, 0);
        check(waitFor([&] { return !IsWindow(support); }, 5000), "the support dialog closes");
    }

    click(settings, 1057);
    if (HWND advanced = waitForOther(sheet, true, "the advanced settings dialog")) {
        helpButton(p, "advanced-help", advanced, 3, 100);
        whatsThis(p, "advanced-whatsthis", advanced, 1017, 120);
        PostMessageA(advanced, WM_COMMAND, IDCANCEL, 0);
        check(waitFor([&] { return !IsWindow(advanced); }, 5000),
              "the advanced settings dialog closes");
    }

    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    pump(500);
    HWND legacy = currentPage(sheet);
    helpButton(p, "legacy-help", sheet, 1025, 60);
    whatsThis(p, "legacy-whatsthis", legacy, 1019, 170);

    click(legacy, 1019);
    if (HWND resources = waitForOther(sheet, false, "the advanced resources sheet")) {
        helpButton(p, "resources-help", resources, 1025, 65);
        whatsThis(p, "resources-1-whatsthis", currentPage(resources), 1051, 70);
        SendMessageA(resources, PSM_SETCURSEL, 1, 0);
        pump(500);
        whatsThis(p, "resources-2-whatsthis", currentPage(resources), 1052, 90);
    }

    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    check(waitFor([&] { return FindWindowA("#32770", caption.c_str()) == nullptr; }, 20000),
          "Cancel ends the program");
    quitViewer(p.helpFile);
    return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "viewer" && argc == 5) return viewer(argv[2], argv[3], argv[4]);
    if (command == "program" && argc == 6) return program(argv[2], argv[3], argv[4], argv[5]);
    std::printf(
        "usage: help_driver viewer HELPFILE SOURCE NAME\n"
        "       help_driver program LANGUAGE SOURCE MODULE TRACE\n");
    return 2;
}

// An uninstall program in miniature for hvgenins.dll. Started with the product's options
//
//   instsupport_uninstall_driver <mode> -f"<product folder>\uninst.log" -c"<library
//   folder>\hvgenins.dll"
//
// it loads hvgenins.dll from the "-c" folder, calls UninstInitialize and UninstUnInitialize
// by name, and meanwhile reads every message box of this process from a second thread
// ("box: <caption>|<text>", line ends shown as "\n") and dismisses it with OK.
//
// The script starts it as "launch <mode> <-f path> <-c path>", and it starts itself again with
// that command line. Modes: "uninstall" (no box expected; afterwards the driver's and the temporary
// registry keys must be gone), "boxes" (the boxes are only reported; the script checks them),
// "record" (what the library starts as the uninstall program: writes its arguments to
// C:\uninstall-ran.txt and ends).
//
// Prints "ok: ..." / "FAIL: ..." lines; exit code 0 when every check passed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

typedef int(WINAPI* UninstFn)(HWND, HINSTANCE, unsigned long);

int g_failures = 0;
volatile LONG g_done = 0;

void check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed) ++g_failures;
}

bool keyExists(HKEY root, const char* path) {
    HKEY key = 0;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

BOOL CALLBACK findBox(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && std::strcmp(className, "#32770") == 0 &&
        IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Reads and dismisses the message boxes of this process until the main thread is done.
DWORD WINAPI watchBoxes(LPVOID) {
    while (!g_done) {
        HWND box = 0;
        EnumWindows(findBox, reinterpret_cast<LPARAM>(&box));
        if (box) {
            char caption[260] = {};
            char text[1024] = {};
            GetWindowTextA(box, caption, sizeof caption);
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            std::string shown;
            for (const char* c = text; *c; ++c) {
                if (*c == '\r') continue;
                shown += *c == '\n' ? std::string("\\n") : std::string(1, *c);
            }
            std::printf("box: %s|%s\n", caption, shown.c_str());
            std::fflush(stdout);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            Sleep(500);
        }
        Sleep(50);
    }
    return 0;
}

// The library path: the "-c" option's text up to its closing quote.
std::string libraryPath() {
    std::string line = GetCommandLineA();
    std::size_t at = line.find("-c");
    if (at == std::string::npos) return std::string();
    std::string rest = line.substr(at + 2);
    if (!rest.empty() && rest[0] == '"') rest = rest.substr(1);
    return rest.substr(0, rest.find('"'));
}

// Starts this program again with the options quoted exactly as an uninstall program passes
// them (a Unix shell cannot hand such a command line through Wine unchanged), sharing the
// console, and returns its exit code.
int launch(int argc, char** argv) {
    if (argc < 5) return 2;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(0, self, sizeof self);
    std::string line =
        std::string("\"") + self + "\" " + argv[2] + " -f\"" + argv[3] + "\" -c\"" + argv[4] + "\"";
    std::printf("command line: %s\n", line.c_str());
    std::fflush(stdout);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(self, &line[0], 0, 0, TRUE, 0, 0, 0, &startup, &process)) return 3;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

int record(int argc, char** argv) {
    FILE* file = std::fopen("C:\\uninstall-ran.txt", "w");
    if (!file) return 1;
    for (int i = 1; i < argc; ++i) std::fprintf(file, "%s\n", argv[i]);
    std::fclose(file);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "record") return record(argc, argv);
    if (mode == "launch") return launch(argc, argv);

    const std::string path = libraryPath();
    HMODULE library = LoadLibraryA(path.c_str());
    check(library != 0, "hvgenins.dll loaded from " + path);
    if (!library) return 1;
    UninstFn initialize = reinterpret_cast<UninstFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "UninstInitialize")));
    UninstFn uninitialize = reinterpret_cast<UninstFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "UninstUnInitialize")));
    check(initialize && uninitialize, "both entry points found by name");
    if (!initialize || !uninitialize) return 1;

    HANDLE watcher = CreateThread(0, 0, watchBoxes, 0, 0, 0);
    check(initialize(0, GetModuleHandleA(0), 0) == 0, "UninstInitialize returned 0");
    std::printf("initialized\n");
    std::fflush(stdout);
    check(uninitialize(0, GetModuleHandleA(0), 0) == 0, "UninstUnInitialize returned 0");
    InterlockedExchange(&g_done, 1);
    WaitForSingleObject(watcher, 5000);
    CloseHandle(watcher);
    FreeLibrary(library);

    check(!keyExists(HKEY_LOCAL_MACHINE,
                     "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\HVTemp"),
          "the temporary key HVTemp is gone");
    if (mode == "uninstall") {
        check(!keyExists(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Tunara"),
              "HKLM\\Software\\Cantora\\Tunara is gone");
        check(!keyExists(HKEY_CURRENT_USER, "Software\\Cantora\\Tray"),
              "HKCU\\Software\\Cantora\\Tray is gone");
        check(keyExists(HKEY_LOCAL_MACHINE,
                        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tunara"),
              "the product's own uninstall key is left to the uninstall program");
    }
    return g_failures == 0 ? 0 : 1;
}

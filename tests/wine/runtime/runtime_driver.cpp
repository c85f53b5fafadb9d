// The runtime's Wine test: drives the two probes built on the deliverables' own runtime.
//
//   runtime_driver.exe PROBE.EXE PROBE.DLL     (host paths, reached through drive Z:)
//
// Prints one line per check and "runtime: N failed"; the exit code is the number of failures.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../drivers/whole_file.h"

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok) ++failures;
}

// A host path as Wine's drive Z: shows it.
std::string windowsPath(const char* hostPath) {
    std::string path = hostPath;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string readFile(const std::string& path) {
    std::string text;
    files::readWhole(path.c_str(), text);
    return text;
}

template <typename Function>
Function exported(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string tempFolder() {
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    return length != 0 && length < sizeof folder ? std::string(folder, length) : std::string(".\\");
}

// Runs the probe from a copy whose path holds a blank (so the start-up must handle a quoted
// program name); returns its exit code and, through log, what it wrote.
DWORD runProgram(const std::string& probe, const std::string& arguments, const std::string& logPath,
                 std::string* log) {
    const std::string copy = tempFolder() + "runtime probe.exe";
    CopyFileA(probe.c_str(), copy.c_str(), FALSE);
    DeleteFileA(logPath.c_str());
    std::string commandLine = "\"" + copy + "\"  " + logPath + " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD exitCode = 0xFFFFFFFF;
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    *log = readFile(logPath);
    DeleteFileA(copy.c_str());
    return exitCode;
}

void checkProgram(const std::string& probe) {
    const std::string logPath = tempFolder() + "runtime-probe.log";
    std::string log;
    const DWORD code = runProgram(probe, "7", logPath, &log);
    check(code == 7, "the program's exit code is WinMain's result (7), got " + std::to_string(code));
    const std::string expected = "command line: " + logPath + " 7\r\n"
                                 "global constructed\r\n"
                                 "map ok\r\n"
                                 "format 00042 BEEF 4294967295\r\n"
                                 "atexit function\r\n"
                                 "local static destructor\r\n"
                                 "global destructor\r\n";
    check(log == expected, "the start-up and exit order of the program:\n" + log);

    const DWORD oomCode = runProgram(probe, "7 out-of-memory", logPath, &log);
    check(oomCode == ERROR_NOT_ENOUGH_MEMORY,
          "an allocation failure with no recovery point ends the program with code 8, got " +
              std::to_string(oomCode));
    const std::string before = "global constructed\r\nmap ok\r\nformat 00042 BEEF 4294967295\r\nrecovered\r\n";
    check(log.find(before) != std::string::npos && log.find("still running") == std::string::npos &&
              log.find("destructor") == std::string::npos,
          "recovered once, then ended at the unrecovered failure without destructors:\n" + log);
}

void checkLibrary(const std::string& library) {
    const std::string logPath = tempFolder() + "runtime-library.log";
    DeleteFileA(logPath.c_str());
    HMODULE module = LoadLibraryA(library.c_str());
    check(module != nullptr, "the library loads: " + library);
    if (module == nullptr) return;
    auto setLog = exported<int(WINAPI*)(const char*)>(module, "ProbeSetLog");
    auto constructed = exported<int(WINAPI*)()>(module, "ProbeConstructed");
    auto recovers = exported<int(WINAPI*)()>(module, "ProbeRecovers");
    auto format = exported<int(WINAPI*)(char*, int)>(module, "ProbeFormat");
    check(setLog && constructed && recovers && format, "the four exports are found by name");
    if (!(setLog && constructed && recovers && format)) return;
    setLog(logPath.c_str());
    check(constructed() == 1, "the static constructor ran before the first export");
    check(recovers() == 2, "a failed allocation in an export ends at its recovery point, and "
                           "the library goes on working");
    char text[8];
    const int length = format(text, sizeof text);
    check(length == 18 && std::strcmp(text, "dll   |") == 0,
          "snprintf cuts at the buffer and returns the whole length (18): '" + std::string(text) +
              "' " + std::to_string(length));
    check(FreeLibrary(module) != FALSE, "the library unloads");
    check(readFile(logPath) == "library detach\r\nlibrary global destructor\r\n",
          "DllMain sees the detach, then the static destructor runs:\n" + readFile(logPath));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: runtime_driver PROBE.EXE PROBE.DLL\n");
        return 100;
    }
    checkProgram(windowsPath(argv[1]));
    checkLibrary(windowsPath(argv[2]));
    std::printf("runtime: %d failed\n", failures);
    return failures;
}

// Reads a Wine machine back the way the card software will see it, after a machine
// description was installed.
//
//   machine_probe <checks file>
//
// The checks file has one check a line (bytes as they stand, so Windows-1252 names work):
//   version win98|win95|win95osr2|nt40   GetVersionEx reports that Windows
//   windows C:\WINDOWS                   the description's Windows folder is GetWindowsDirectory
//   system C:\WINDOWS\SYSTEM             ... and its system folder is GetSystemDirectory
//   temp C:\WINDOWS\TEMP                 GetTempPath names that folder
//   current C:\WINDOWS                    the program started in that folder
//   file C:\AUTOEXEC.BAT                 the file exists
//   key HKEY_DYN_DATA\Config Manager\... the registry key can be opened
// Prints "ok: ..." or "FAIL: ..." per check; exit code 0 when all passed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int g_failures = 0;

void check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    if (!passed) ++g_failures;
}

bool sameText(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

void checkVersion(const std::string& expected) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    DWORD platform = VER_PLATFORM_WIN32_WINDOWS;
    DWORD minor = 0;
    if (expected == "win98") {
        minor = 10;
    } else if (expected == "nt40") {
        platform = VER_PLATFORM_WIN32_NT;
    } else if (expected != "win95" && expected != "win95osr2") {
        check(false, "unknown version " + expected);
        return;
    }
    char got[64];
    std::snprintf(got, sizeof got, "%lu.%lu platform %lu", version.dwMajorVersion,
                  version.dwMinorVersion, version.dwPlatformId);
    check(version.dwPlatformId == platform && version.dwMajorVersion == 4 &&
              version.dwMinorVersion == minor,
          "Windows is " + expected + " (" + got + ")");
}

// Both names reach the same folder: a file made under one is seen under the other.
void checkSameFolder(const std::string& what, const std::string& described,
                     const std::string& actual) {
    const std::string probe = actual + "\\tnrprobe.tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        check(false, "cannot create " + probe);
        return;
    }
    CloseHandle(file);
    const bool seen =
        GetFileAttributesA((described + "\\tnrprobe.tmp").c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileA(probe.c_str());
    check(seen, "the " + what + " folder " + described + " is " + actual);
}

void checkTemp(const std::string& expected) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const DWORD attributes = GetFileAttributesA(temp);
    check(sameText(temp, expected + "\\") && attributes != INVALID_FILE_ATTRIBUTES &&
              (attributes & FILE_ATTRIBUTE_DIRECTORY),
          std::string("the temporary folder is ") + expected + " (got " + temp + ")");
}

void checkCurrent(const std::string& expected) {
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    // The same folder under either name (C:\WINNT is Wine's C:\windows).
    const std::string probe = std::string(current) + "\\tnrprobe.tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    bool same = false;
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        same = GetFileAttributesA((expected + "\\tnrprobe.tmp").c_str()) != INVALID_FILE_ATTRIBUTES;
        DeleteFileA(probe.c_str());
    }
    check(same, std::string("the program starts in ") + expected + " (got " + current + ")");
}

void checkFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    check(attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY),
          "file " + path);
}

void checkKey(const std::string& path) {
    static const struct {
        const char* name;
        HKEY root;
    } roots[] = {
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {"HKEY_USERS", HKEY_USERS},
        {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}, {"HKEY_DYN_DATA", HKEY_DYN_DATA},
    };
    const std::size_t slash = path.find('\\');
    const std::string rootName = path.substr(0, slash);
    const std::string subKey = slash == std::string::npos ? "" : path.substr(slash + 1);
    for (const auto& root : roots) {
        if (!sameText(rootName, root.name)) continue;
        HKEY key = nullptr;
        const LONG result = RegOpenKeyExA(root.root, subKey.c_str(), 0, KEY_READ, &key);
        if (result == ERROR_SUCCESS) RegCloseKey(key);
        check(result == ERROR_SUCCESS, "key " + path + " (" + std::to_string(result) + ")");
        return;
    }
    check(false, "unknown root in " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: machine_probe <checks file>\n");
        return 2;
    }
    std::FILE* checks = std::fopen(argv[1], "rb");
    if (checks == nullptr) {
        std::printf("FAIL: cannot open %s\n", argv[1]);
        return 1;
    }
    char windows[MAX_PATH] = "";
    char system[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);

    char line[1024];
    int count = 0;
    while (std::fgets(line, sizeof line, checks) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const std::size_t blank = text.find(' ');
        if (text.empty() || blank == std::string::npos) continue;
        const std::string kind = text.substr(0, blank);
        const std::string value = text.substr(blank + 1);
        ++count;
        if (kind == "version") {
            checkVersion(value);
        } else if (kind == "windows") {
            checkSameFolder("Windows", value, windows);
        } else if (kind == "system") {
            checkSameFolder("system", value, system);
        } else if (kind == "temp") {
            checkTemp(value);
        } else if (kind == "current") {
            checkCurrent(value);
        } else if (kind == "file") {
            checkFile(value);
        } else if (kind == "key") {
            checkKey(value);
        } else {
            check(false, "unknown check " + kind);
        }
    }
    std::fclose(checks);
    check(count > 0, std::to_string(count) + " checks read");
    return g_failures == 0 ? 0 : 1;
}

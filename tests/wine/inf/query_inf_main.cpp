// query_inf.exe: the Windows side of the INF differential test.
//
//   query_inf.exe [--portable] [--out <folder>] file.inf ...
//
// Asks every question of tests/inf/query_inf.cpp about each INF through Win32InfReader, that
// is through the system's SetupAPI (under Wine: Wine's), or with --portable through our own
// reader as built for Windows. With --out each answer goes to <folder>\<name>.txt (name
// without ".inf"), otherwise to standard output. Exit code 0, or 1 when a file cannot be read
// or written.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/machine.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_inf_reader.h"
#include "platform/win32/win32_system.h"
#include "tests/inf/query_inf.h"

namespace {

bool readBytes(const std::string& path, std::string* bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes->append(chunk, got);
    std::fclose(file);
    return true;
}

bool writeBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

// SetupAPI looks for a name without a folder in the Windows folders: the INF is always named
// by its full path.
std::string fullPathOf(const std::string& path) {
    char full[MAX_PATH * 2] = {};
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, &filePart);
    return length == 0 || length >= sizeof full ? path : std::string(full, length);
}

std::string folderOf(const std::string& fullPath) {
    const std::size_t slash = fullPath.find_last_of('\\');
    return slash == std::string::npos ? std::string() : fullPath.substr(0, slash);
}

std::string stemOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

int main(int argc, char** argv) {
    bool portable = false;
    std::string outFolder;
    int first = 1;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--portable") == 0) {
            portable = true;
        } else if (std::strcmp(argv[first], "--out") == 0 && first + 1 < argc) {
            outFolder = argv[++first];
        } else {
            break;
        }
    }

    platform::win32::Win32FileSystem files;
    platform::win32::Win32System system;
    // A library name that does not exist sends every call to our own reader.
    platform::win32::Win32InfReader reader(portable ? "no-such-setupapi.dll" : "setupapi.dll");
    platform::Machine backends;
    backends.files = &files;
    backends.system = &system;
    backends.inf = &reader;
    platform::installMachine(backends);

    char windows[MAX_PATH] = {};
    char systemFolder[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    GetSystemDirectoryA(systemFolder, sizeof systemFolder);

    int result = 0;
    for (int i = first; i < argc; ++i) {
        const std::string path = fullPathOf(argv[i]);
        std::string raw;
        if (!readBytes(path, &raw)) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            result = 1;
            continue;
        }
        tunara_test::InfQueryPlaces places{folderOf(path), windows, systemFolder};
        // Over the system's SetupAPI the wrapper says which failures the system left without
        // a code; over our own reader the query tells them by the fields a line has.
        tunara_test::NoSystemCode noSystemCode;
        if (reader.usesSystemSetupApi()) {
            noSystemCode = [&reader] { return reader.lastFailureHadNoSystemCode(); };
        }
        const std::string answers = tunara_test::queryInf(reader, path, raw, places, noSystemCode);
        if (outFolder.empty()) {
            std::fwrite(answers.data(), 1, answers.size(), stdout);
        } else if (!writeBytes(outFolder + "\\" + stemOf(path) + ".txt", answers)) {
            std::fprintf(stderr, "cannot write the answers for %s\n", path.c_str());
            result = 1;
        }
    }
    return result;
}

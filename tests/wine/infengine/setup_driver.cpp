// A setup program in miniature: loads hvinf.dll by name from the Windows folder, binds its
// exports with GetProcAddress, and carries out what an install section of a driver INF asks
// for: CopyFiles (CopyFileA), DelFiles (DeleteFileA), AddReg and DelReg (the Reg functions),
// exactly as the engine hands the entries out. Then it checks the registry the way Windows
// sees it.
//
//   infengine_setup_driver <inf path> <install section> <distribution folder>
//
// Prints one line per entry carried out and per check ("ok: ..." or "FAIL: ..."); exit code 0
// when every check passed. The script (infengine_test.sh) checks the files.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

typedef int(WINAPI* OpenInfFileFn)(const char*);
typedef int(WINAPI* CloseInfFileFn)();
typedef int(WINAPI* EnumFilesFn)(const char*, char*, char*);
typedef int(WINAPI* EnumPathFn)(const char*, char*);
typedef int(WINAPI* EnumRegFn)(const char*, char*, char*, char*, char*, int*);

int g_failures = 0;

// An export by name, as the type the caller knows it by.
template <typename Function>
Function bindExport(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed) ++g_failures;
}

HKEY rootKey(const char* name) {
    if (std::strcmp(name, "HKLM") == 0) return HKEY_LOCAL_MACHINE;
    if (std::strcmp(name, "HKCU") == 0) return HKEY_CURRENT_USER;
    if (std::strcmp(name, "HKCR") == 0) return HKEY_CLASSES_ROOT;
    if (std::strcmp(name, "HKU") == 0) return HKEY_USERS;
    return 0;
}

// Writes one AddReg entry in the data form its flags give.
bool writeValue(const char* root, const char* subKey, const char* name, const char* data,
                int flags) {
    HKEY parent = rootKey(root);
    HKEY key = 0;
    if (parent == 0 || RegCreateKeyExA(parent, subKey, 0, 0, 0, KEY_ALL_ACCESS, 0, &key, 0) !=
                           ERROR_SUCCESS) {
        return false;
    }
    LONG result = ERROR_SUCCESS;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(data);
    if (flags == 1) {
        result = RegSetValueExA(key, name, 0, REG_BINARY, bytes + 1, bytes[0]);
    } else if (flags == 0x10000) {
        result = RegSetValueExA(key, name, 0, REG_MULTI_SZ, bytes + 1, bytes[0]);
    } else if (flags == 0x10001) {
        DWORD number = std::strtoul(data, 0, 0);
        result = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4);
    } else {
        result = RegSetValueExA(key, name, 0, REG_SZ, bytes, DWORD(std::strlen(data) + 1));
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool deleteEntry(const char* root, const char* subKey, const char* name) {
    HKEY parent = rootKey(root);
    if (parent == 0) return false;
    if (name[0] == '\0') return RegDeleteKeyA(parent, subKey) == ERROR_SUCCESS;
    HKEY key = 0;
    if (RegOpenKeyExA(parent, subKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    const LONG result = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// The value as stored, or "<missing>".
std::string storedValue(HKEY root, const char* subKey, const char* name, DWORD* type) {
    HKEY key = 0;
    if (RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return "<missing>";
    }
    BYTE data[512];
    DWORD size = sizeof(data);
    const LONG result = RegQueryValueExA(key, name, 0, type, data, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "<missing>";
    return std::string(reinterpret_cast<char*>(data), size);
}

bool keyExists(HKEY root, const char* subKey) {
    HKEY key = 0;
    if (RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void checkValue(HKEY root, const char* subKey, const char* name, DWORD expectedType,
                const std::string& expected) {
    DWORD type = 0;
    const std::string stored = storedValue(root, subKey, name, &type);
    check(stored == expected && type == expectedType,
          std::string(subKey) + " \"" + name + "\" stored as written (type " +
              std::to_string(type) + ", " + std::to_string(stored.size()) + " bytes)");
}

// What the INF's install leaves behind, prepared so DelReg has something to delete.
void prepare(const char* distribution) {
    HKEY key = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup",
                        0, 0, 0, KEY_ALL_ACCESS, 0, &key, 0) == ERROR_SUCCESS) {
        RegSetValueExA(key, "SourcePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(distribution),
                       DWORD(std::strlen(distribution) + 1));
        RegCloseKey(key);
    }
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Old", 0, 0, 0, KEY_ALL_ACCESS, 0,
                        &key, 0) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Left", 0, REG_SZ, reinterpret_cast<const BYTE*>("over"), 5);
        RegCloseKey(key);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s INF SECTION DISTRIBUTION-FOLDER\n", argv[0]);
        return 2;
    }
    const char* inf = argv[1];
    const char* section = argv[2];
    prepare(argv[3]);

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string library = std::string(windows) + "\\hvinf.dll";
    HMODULE hvinf = LoadLibraryA(library.c_str());
    check(hvinf != 0, "LoadLibrary " + library);
    if (hvinf == 0) return 1;

    OpenInfFileFn openInf = bindExport<OpenInfFileFn>(hvinf, "OpenInfFile");
    CloseInfFileFn closeInf = bindExport<CloseInfFileFn>(hvinf, "CloseInfFile");
    EnumFilesFn copyFiles = bindExport<EnumFilesFn>(hvinf, "EnumCopyFiles");
    EnumPathFn delFiles = bindExport<EnumPathFn>(hvinf, "EnumDelFiles");
    EnumRegFn addReg = bindExport<EnumRegFn>(hvinf, "EnumAddReg");
    EnumRegFn delReg = bindExport<EnumRegFn>(hvinf, "EnumDelReg");
    check(openInf && closeInf && copyFiles && delFiles && addReg && delReg,
          "every export bound by name");
    if (!(openInf && closeInf && copyFiles && delFiles && addReg && delReg)) return 1;

    check(openInf(inf) == 0, std::string("OpenInfFile ") + inf);

    char source[MAX_PATH], destination[MAX_PATH];
    int copied = 0;
    for (const char* s = section; copyFiles(s, source, destination) == 0; s = 0) {
        check(CopyFileA(source, destination, FALSE) != 0,
              std::string("copy ") + source + " -> " + destination);
        ++copied;
    }
    check(copied == 4, "four files to copy, got " + std::to_string(copied));

    char path[MAX_PATH];
    for (const char* s = section; delFiles(s, path) == 0; s = 0) {
        check(DeleteFileA(path) != 0, std::string("delete ") + path);
    }

    char root[MAX_PATH], subKey[MAX_PATH], name[MAX_PATH], data[MAX_PATH];
    int flags = 0;
    for (const char* s = section; addReg(s, root, subKey, name, data, &flags) == 0; s = 0) {
        check(writeValue(root, subKey, name, data, flags),
              std::string("add ") + root + "\\" + subKey + " \"" + name + "\" flags " +
                  std::to_string(flags));
    }
    for (const char* s = section; delReg(s, root, subKey, name, data, &flags) == 0; s = 0) {
        check(deleteEntry(root, subKey, name),
              std::string("delete ") + root + "\\" + subKey + " \"" + name + "\"");
    }
    check(closeInf() == 0, "CloseInfFile");
    check(closeInf() == 1, "a second CloseInfFile reports that none is open");
    FreeLibrary(hvinf);

    const char* tunara = "Software\\Cantora\\Tunara";
    checkValue(HKEY_LOCAL_MACHINE, tunara, "Version", REG_SZ, std::string("4.05", 5));
    const DWORD sixteen = 0x10;
    checkValue(HKEY_LOCAL_MACHINE, tunara, "Flags", REG_DWORD,
               std::string(reinterpret_cast<const char*>(&sixteen), 4));
    checkValue(HKEY_LOCAL_MACHINE, tunara, "Pattern", REG_BINARY, std::string("\x01\x02\xFF", 3));
    checkValue(HKEY_LOCAL_MACHINE, tunara, "Paths", REG_MULTI_SZ, std::string("ab\0cd\0\0", 7));
    checkValue(HKEY_LOCAL_MACHINE, tunara, "", REG_SZ, std::string("Helvane", 8));
    const DWORD one = 1;
    checkValue(HKEY_CURRENT_USER, "Software\\Cantora\\Tray", "Show", REG_DWORD,
               std::string(reinterpret_cast<const char*>(&one), 4));
    DWORD type = 0;
    check(storedValue(HKEY_LOCAL_MACHINE, tunara, "Obsolete", &type) == "<missing>",
          "DelReg removed the value AddReg wrote");
    check(!keyExists(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Old"), "DelReg removed the old key");

    std::printf("%d failure(s)\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}

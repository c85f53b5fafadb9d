// Drives hvinf.dll and hvinfnt.dll on the Wine machine as the card's setup and uninstall
// programs do: loads them by name, looks the exports up by name, and carries out what they
// hand back (registry values written, keys deleted, files copied).
//
//   infdriver_setup win98 <inf> <install section>
//       on the Windows 98 machine with the simulated Maestro-2E: an uninstall deletes every
//       key EnumDelDriverReg returns; the status then misses the registration; the install
//       copies the files and writes every EnumDriverReg value; the status is then complete
//   infdriver_setup nt <inf>
//       on the NT machine: hvinfnt gives the Administrators full control of a key; the NT
//       registration (which loads hvinfnt itself) is written and checked by the status
//
// Whether the install worked is read back from the machine: the installed files against
// their sources, and every key and value that changed in the registration's parts of
// HKEY_LOCAL_MACHINE against the registry written out in expected_registration.cpp.
//
// Prints one line per check ("ok: ..." or "FAIL: ...") and the values it wrote; exit code 0
// when every check passed.
#include <aclapi.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "expected_registration.h"
#include "registration_check.h"
#include "registry_snapshot.h"

namespace {

int g_failures = 0;

void check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed) ++g_failures;
}

std::string number(unsigned long value) {
    return std::to_string(value);
}

// ---- The engine's exports, by name ------------------------------------------------------

typedef int(WINAPI* OpenInfFileFn)(const char*);
typedef int(WINAPI* CloseInfFileFn)();
typedef int(WINAPI* EnumCopyFilesFn)(const char*, char*, char*);
typedef int(WINAPI* EnumRegFn)(unsigned short*, char*, char*, char*, char*, int*);
typedef int(WINAPI* EnumDelDriverRegFn)(unsigned short, char*, char*);
typedef int(WINAPI* DeviceExistsFn)(char*, char*);
typedef int(WINAPI* DriverInstallationStatusFn)(unsigned short*);
typedef int(WINAPI* ConstructPCIKeyFn)(unsigned long, unsigned long, unsigned long, unsigned long,
                                       unsigned long, char*);
typedef int(WINAPI* CompareFileVersionsFn)(const char*, const char*, char*, char*, long*);
typedef int(WINAPI* IsUserAdministratorFn)();
typedef unsigned long(WINAPI* AddAdministratorAceToAclFn)(const char*);

struct Engine {
    HMODULE module = nullptr;
    OpenInfFileFn openInfFile = nullptr;
    CloseInfFileFn closeInfFile = nullptr;
    EnumCopyFilesFn enumCopyFiles = nullptr;
    EnumRegFn enumDriverReg = nullptr;
    EnumDelDriverRegFn enumDelDriverReg = nullptr;
    DeviceExistsFn deviceExists = nullptr;
    DriverInstallationStatusFn driverInstallationStatus = nullptr;
    ConstructPCIKeyFn constructPciKey = nullptr;
    CompareFileVersionsFn compareFileVersions = nullptr;
    IsUserAdministratorFn isUserAdministrator = nullptr;
};

template <typename Fn>
void lookUp(HMODULE module, const char* name, Fn* function) {
    *function = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    check(*function != nullptr, std::string("hvinf.dll exports ") + name);
}

bool loadEngine(Engine* engine) {
    engine->module = LoadLibraryA("hvinf.dll");
    check(engine->module != nullptr, "hvinf.dll loads by name");
    if (engine->module == nullptr) return false;
    lookUp(engine->module, "OpenInfFile", &engine->openInfFile);
    lookUp(engine->module, "CloseInfFile", &engine->closeInfFile);
    lookUp(engine->module, "EnumCopyFiles", &engine->enumCopyFiles);
    lookUp(engine->module, "EnumDriverReg", &engine->enumDriverReg);
    lookUp(engine->module, "EnumDelDriverReg", &engine->enumDelDriverReg);
    lookUp(engine->module, "DeviceExists", &engine->deviceExists);
    lookUp(engine->module, "DriverInstallationStatus", &engine->driverInstallationStatus);
    lookUp(engine->module, "ConstructPCIKey", &engine->constructPciKey);
    lookUp(engine->module, "CompareFileVersions", &engine->compareFileVersions);
    lookUp(engine->module, "IsUserAdministrator", &engine->isUserAdministrator);
    return g_failures == 0;
}

// ---- What a setup program does with the entries -----------------------------------------

HKEY rootKey(const std::string& root) {
    if (root == "HKLM") return HKEY_LOCAL_MACHINE;
    if (root == "HKCU") return HKEY_CURRENT_USER;
    if (root == "HKCR") return HKEY_CLASSES_ROOT;
    if (root == "HKU") return HKEY_USERS;
    return nullptr;
}

bool writeValue(const char* root, const char* subKey, const char* name, const char* data,
                int flags) {
    HKEY parent = rootKey(root);
    HKEY key = nullptr;
    if (parent == nullptr || RegCreateKeyExA(parent, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    // Only the types a registration hands out; anything else is not written, so that a wrong
    // type flag cannot slip through as a text.
    LONG result = ERROR_INVALID_PARAMETER;
    if (flags == 1) {
        result = RegSetValueExA(key, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(data + 1),
                                static_cast<unsigned char>(data[0]));
    } else if (flags == 0x00010001) {
        char* end = nullptr;
        errno = 0;
        const DWORD value = std::strtoul(data, &end, 0);
        if (end != data && *end == '\0' && errno == 0) {
            result = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                    sizeof value);
        }
    } else if (flags == 0 || flags == 0x00020000) {
        const DWORD type = flags == 0x00020000 ? REG_EXPAND_SZ : REG_SZ;
        result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data),
                                static_cast<DWORD>(std::strlen(data) + 1));
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// Every value of the registration, written; returns where each went, in order.
std::vector<WrittenEntry> registerDriver(const Engine& engine) {
    std::vector<WrittenEntry> entries;
    unsigned short index = 0;
    for (int guard = 0; guard < 400; ++guard) {
        char root[260], subKey[260], name[260], data[260];
        int flags = 0;
        if (engine.enumDriverReg(&index, root, subKey, name, data, &flags) != 0) break;
        const bool written = writeValue(root, subKey, name, data, flags);
        std::printf("value %s\\%s [%s] flags %x%s\n", root, subKey, name, flags,
                    written ? "" : " NOT WRITTEN");
        if (!written) ++g_failures;
        entries.push_back(WrittenEntry{subKey, name});
        ++index;
    }
    return entries;
}

// The registration as the machine holds it: what changed in HKEY_LOCAL_MACHINE since
// `before`, against the expected registry, and the order the engine handed the values out.
void checkRegistration(const RegistrySnapshot& before, const std::vector<WrittenEntry>& written,
                       const ExpectedRegistration& expected) {
    const RegistrySnapshot after = snapshotRegistry(HKEY_LOCAL_MACHINE, expected.trees);
    std::printf("read back %u keys of HKEY_LOCAL_MACHINE\n", static_cast<unsigned>(after.size()));
    const bool exact = compareRegistration(before, after, expected, check);
    check(exact, "the registry changed by exactly the expected " + number(expected.values.size()) +
                     " values in " + number(expected.newKeys.size()) + " new keys");
    compareOrder(written, expected, check);
}

bool keyExists(HKEY root, const std::string& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Deletes a key with everything below it (Wine, like NT, refuses a key with sub keys).
bool deleteTree(HKEY root, const std::string& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& child : children) deleteTree(root, subKey + "\\" + child);
    return RegDeleteKeyA(root, subKey.c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> uninstall(const Engine& engine) {
    std::vector<std::string> keys;
    for (unsigned short index = 0; index < 200; ++index) {
        char root[260], key[260];
        if (engine.enumDelDriverReg(index, root, key) != 0) break;
        const bool deleted = deleteTree(rootKey(root), key);
        check(deleted && !keyExists(rootKey(root), key),
              std::string("deleted ") + root + "\\" + key);
        keys.push_back(key);
    }
    return keys;
}

void copyFiles(const Engine& engine, const char* installSection) {
    char source[260], destination[260];
    int copied = 0;
    for (const char* section = installSection;
         engine.enumCopyFiles(section, source, destination) == 0; section = nullptr) {
        check(CopyFileA(source, destination, FALSE) != 0,
              std::string("copied ") + source + " to " + destination);
        ++copied;
    }
    check(copied > 0, "the install section copies files");
}

bool readFile(const std::string& path, std::string* bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bytes->clear();
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        bytes->append(buffer, got);
    }
    const bool read = std::ferror(file) == 0;
    std::fclose(file);
    return read;
}

// The sample package's files (its Sample.Files section), all bound for the system folder
// (DefaultDestDir=11). The driver carries a version resource, the virtual device does not.
struct PackageFile {
    const char* name;
    const char* version;  // FileVersion text, or null without a version resource
};
const PackageFile kSampleFiles[] = {{"tnrsampl.drv", "1.0.0.5"}, {"tnrsampl.vxd", nullptr}};

std::string folderOf(const std::string& path) {
    return path.substr(0, path.rfind('\\') + 1);
}

std::string installedPath(const PackageFile& file) {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    return std::string(system) + "\\" + file.name;
}

void checkNothingInstalled() {
    for (const PackageFile& file : kSampleFiles) {
        const std::string installed = installedPath(file);
        check(GetFileAttributesA(installed.c_str()) == INVALID_FILE_ATTRIBUTES,
              installed + " is not there before the install");
    }
}

// Each installed file against its source in the package: the same bytes, and the engine's
// version comparison of the two finds them equal.
void checkInstalledFiles(const Engine& engine, const std::string& package) {
    for (const PackageFile& file : kSampleFiles) {
        const std::string source = package + file.name;
        const std::string installed = installedPath(file);
        std::string sourceBytes, installedBytes;
        const bool read = readFile(source, &sourceBytes);
        check(read && readFile(installed, &installedBytes) && sourceBytes == installedBytes,
              installed + " holds the " + number(sourceBytes.size()) + " bytes of " + source);
        char sourceVersion[260] = "?", installedVersion[260] = "?";
        long comparison = 99;
        const int used = engine.compareFileVersions(source.c_str(), installed.c_str(),
                                                    sourceVersion, installedVersion, &comparison);
        const std::string seen = " (result " + std::to_string(used) + ", comparison " +
                                 std::to_string(comparison) + ", versions \"" + sourceVersion +
                                 "\", \"" + installedVersion + "\")";
        if (file.version != nullptr) {
            check(used == 0 && comparison == 0 && std::string(sourceVersion) == file.version &&
                      std::string(installedVersion) == file.version,
                  installed + " is version " + file.version + " like its source" + seen);
        } else {
            // No version resource: the dates decide, and the copy kept the source's.
            check(used == 1 && comparison == 0, installed + " is dated like its source" + seen);
        }
    }
}

unsigned short status(const Engine& engine, int* result) {
    unsigned short flags = 0xFFFF;
    *result = engine.driverInstallationStatus(&flags);
    std::printf("status %d flags 0x%02x\n", *result, flags);
    return flags;
}

// ---- Scenarios ---------------------------------------------------------------------------

int windows98(const char* inf, const char* installSection) {
    Engine engine;
    if (!loadEngine(&engine)) return 1;
    check(engine.openInfFile(inf) == 0, std::string("opened ") + inf);

    char description[260], provider[260];
    check(engine.deviceExists(description, provider) == 0, "the card is in the machine");
    check(std::string(provider) == "Helvane", std::string("provider ") + provider);

    // Uninstall: the card's keys as Windows 98 left them.
    const std::vector<std::string> removed = uninstall(engine);
    bool pciKey = false;
    for (const std::string& key : removed) {
        pciKey = pciKey || key == "Enum\\PCI\\VEN_125D&DEV_1978&SUBSYS_1978125D&REV_10";
    }
    check(pciKey, "the uninstall removed the card's PCI key");
    check(removed.size() == 3, "three keys removed (" + number(removed.size()) + ")");
    int result = 0;
    unsigned short flags = status(engine, &result);
    check((flags & 4) == 0 && result == 1, "after the uninstall the registration is missing");

    // Install, judged by what lands on the machine.
    const RegistrySnapshot before =
        snapshotRegistry(HKEY_LOCAL_MACHINE, windows98Registration().trees);
    std::printf("read %u keys of HKEY_LOCAL_MACHINE\n", static_cast<unsigned>(before.size()));
    checkNothingInstalled();
    copyFiles(engine, installSection);
    checkInstalledFiles(engine, folderOf(inf));
    const std::vector<WrittenEntry> written = registerDriver(engine);
    flags = status(engine, &result);
    check((flags & 7) == 7 && result == 0,
          "after the install the status reports files, versions and registry complete");
    checkRegistration(before, written, windows98Registration());

    const std::string deviceKey = "Enum\\PCI\\VEN_125D&DEV_1978\\BUS_00&DEV_0a&FUNC_00";
    char key[260] = "";
    const int built = engine.constructPciKey(0x125D, 0x1978, 0, 10, 0, key);
    check(built == 1 && deviceKey == key, std::string("ConstructPCIKey gives ") + key);
    check(engine.isUserAdministrator() == 1, "no administrator check on Windows 98");
    check(engine.closeInfFile() == 0, "closed");
    FreeLibrary(engine.module);
    return g_failures == 0 ? 0 : 1;
}

// Allowed entries for the Administrators group in a key's DACL.
int administratorEntries(const char* objectName, DWORD* mask) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(const_cast<char*>(objectName), SE_REGISTRY_KEY,
                              DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              &descriptor) != ERROR_SUCCESS) {
        return -1;
    }
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                             0, 0, 0, &administrators);
    int count = 0;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
        if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(reinterpret_cast<PSID>(&ace->SidStart), administrators)) {
            ++count;
            *mask = ace->Mask;
        }
    }
    FreeSid(administrators);
    LocalFree(descriptor);
    return count;
}

int windowsNt(const char* inf) {
    // hvinfnt on its own, as the uninstaller calls it.
    HMODULE helper = LoadLibraryA("hvinfnt.dll");
    check(helper != nullptr, "hvinfnt.dll loads by name");
    if (helper == nullptr) return 1;
    AddAdministratorAceToAclFn grant = reinterpret_cast<AddAdministratorAceToAclFn>(
        reinterpret_cast<void*>(GetProcAddress(helper, "AddAdministratorAceToAcl")));
    check(grant != nullptr, "hvinfnt.dll exports AddAdministratorAceToAcl");
    if (grant == nullptr) return 1;
    const char* object = "MACHINE\\SOFTWARE\\Helvane";
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Helvane", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    RegCloseKey(key);
    const unsigned long first = grant(object);
    const unsigned long second = grant(object);
    check(first == 0 && second == 0, "granted twice: " + number(first) + ", " + number(second));
    DWORD mask = 0;
    const int entries = administratorEntries(object, &mask);
    check(entries == 1, "one Administrators entry (" + std::to_string(entries) + ")");
    check(mask == GENERIC_ALL || mask == KEY_ALL_ACCESS,
          "with full control (mask " + number(mask) + ")");
    check(grant("MACHINE\\SOFTWARE\\Helvane\\NoSuchKey") != 0, "a missing key is an error");
    FreeLibrary(helper);

    // The NT registration: hvinf loads hvinfnt from its own folder for the legacy key.
    const RegistrySnapshot before =
        snapshotRegistry(HKEY_LOCAL_MACHINE, windowsNtRegistration().trees);
    std::printf("read %u keys of HKEY_LOCAL_MACHINE\n", static_cast<unsigned>(before.size()));
    Engine engine;
    if (!loadEngine(&engine)) return 1;
    check(engine.openInfFile(inf) == 0, std::string("opened ") + inf);
    int result = 0;
    unsigned short flags = status(engine, &result);
    check((flags & 4) == 0 && result == 1, "nothing registered yet");
    const std::vector<WrittenEntry> written = registerDriver(engine);
    flags = status(engine, &result);
    check((flags & 7) == 7 && result == 0, "registered: the status reports it complete");
    checkRegistration(before, written, windowsNtRegistration());
    char root[260], removed[260];
    check(engine.enumDelDriverReg(0, root, removed) == 1, "no removal keys on NT");
    check(engine.deviceExists(nullptr, nullptr) == 3, "NT does not read the bus");
    check(engine.isUserAdministrator() == 0, "the user is an administrator");
    check(engine.closeInfFile() == 0, "closed");
    FreeLibrary(engine.module);
    return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "win98") == 0) return windows98(argv[2], argv[3]);
    if (argc >= 3 && std::strcmp(argv[1], "nt") == 0) return windowsNt(argv[2]);
    std::fprintf(stderr, "usage: infdriver_setup win98 <inf> <install section> | nt <inf>\n");
    return 2;
}

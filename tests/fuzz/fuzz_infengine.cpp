// Fuzzes the INF installation engine: opens the input as a driver INF on a simulated Windows
// 98 machine and runs every enumeration from every section of it to its end. Whatever the
// bytes, no output buffer is written past its 260 bytes, every text output ends within them,
// every enumeration ends, and no INF, file or registry key is left open.
//
// Input: the INF text, optionally followed by a line "--cabinet--" and the bytes of the
// distribution cabinet (C:\CABS\DIST.CAB). The INF is also the layout INF LAYOUT.INF, so a
// "LayoutFile=LAYOUT.INF" line with SourceDisksFiles / SourceDisksNames entries naming
// DIST.CAB drives the extraction of a missing source file from the fuzzed cabinet.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "infengine/engine.h"
#include "infengine/engine_state.h"
#include "platform/file_handle.h"
#include "platform/host/host_files.h"
#include "platform/host/host_registry.h"
#include "platform/host/simulated_machine.h"
#include "platform/inf/portable_inf_reader.h"
#include "platform/registry_key.h"

namespace {

constexpr char kInf[] = "C:\\DRIVER\\FUZZ.INF";
constexpr char kLayout[] = "C:\\WINDOWS\\INF\\LAYOUT.INF";
constexpr char kCabinet[] = "C:\\CABS\\DIST.CAB";
constexpr char kCabinetMark[] = "\n--cabinet--\n";
// Bounds that keep one run short; the walks themselves must end on their own long before.
constexpr std::uint32_t kMaxSections = 64;
constexpr std::size_t kMaxEntries = 100000;

void check(bool condition) {
    if (!condition) std::abort();
}

struct Fixture {
    platform::host::SimulatedMachine machine;
    platform::inf::PortableInfReader reader;

    Fixture() {
        platform::Machine backends = machine.backends();
        backends.inf = &reader;
        platform::installMachine(backends);
        for (const char* folder : {"C:\\DRIVER", "C:\\CABS", "C:\\WINDOWS", "C:\\WINDOWS\\INF",
                                   "C:\\WINDOWS\\temp"}) {
            platform::machine().files->CreateDirectory(folder);
        }
        platform::RegKey setup;
        if (setup.Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup",
                         KEY_ALL_ACCESS) == ERROR_SUCCESS) {
            (void)setup.writeString("SourcePath", "C:\\CABS\\");
        }
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void writeFile(const char* path, const char* bytes, std::size_t size) {
    platform::ScopedFile file;
    if (platform::machine().files->CreateFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL,
                                              file.receive()) != ERROR_SUCCESS) {
        return;
    }
    std::uint32_t written = 0;
    platform::machine().files->WriteFile(file.get(), bytes, static_cast<std::uint32_t>(size),
                                         &written);
}

// Removes what an extraction left in the temp folder, so each run starts alike.
void emptyTempFolder() {
    platform::FileSystem& files = *platform::machine().files;
    platform::FindData found;
    platform::FindHandle search = 0;
    if (files.FindFirstFile("C:\\WINDOWS\\temp\\*", &found, &search) != ERROR_SUCCESS) return;
    do {
        const std::string path = std::string("C:\\WINDOWS\\temp\\") + found.fileName;
        if ((found.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            files.SetFileAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            files.DeleteFile(path.c_str());
        }
    } while (files.FindNextFile(search, &found) == ERROR_SUCCESS);
    files.FindClose(search);
}

// A caller buffer with a guard behind its 260 bytes.
struct Buffer {
    std::array<char, 260 + 32> bytes;
    Buffer() { bytes.fill('\x5A'); }
    char* get() { return bytes.data(); }
    void checkAfterCall(bool written) const {
        for (std::size_t i = 260; i < bytes.size(); ++i) check(bytes[i] == '\x5A');
        if (written) check(std::memchr(bytes.data(), '\0', 260) != nullptr);
    }
};

// Runs one enumeration from `section` to its end.
template <typename Call>
void runToEnd(const char* section, Buffer* buffers, std::size_t used, Call call) {
    std::size_t entries = 0;
    for (const char* start = section; call(start) == 0; start = nullptr) {
        for (std::size_t i = 0; i < used; ++i) buffers[i].checkAfterCall(false);
        check(++entries < kMaxEntries);
    }
    for (std::size_t i = 0; i < used; ++i) buffers[i].checkAfterCall(false);
}

void runEverything(const char* section) {
    Buffer b[6];
    int flags = 0;
    runToEnd(section, b, 1, [&](const char* s) { return infengine::EnumInclude(s, b[0].get()); });
    runToEnd(section, b, 1, [&](const char* s) { return infengine::EnumNeeds(s, b[0].get()); });
    runToEnd(section, b, 2, [&](const char* s) {
        const int result = infengine::EnumCopyFiles(s, b[0].get(), b[1].get());
        if (result == 0) b[0].checkAfterCall(true), b[1].checkAfterCall(true);
        return result;
    });
    runToEnd(section, b, 1, [&](const char* s) { return infengine::EnumDelFiles(s, b[0].get()); });
    runToEnd(section, b, 4, [&](const char* s) {
        return infengine::EnumAddReg(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(), &flags);
    });
    runToEnd(section, b, 4, [&](const char* s) {
        return infengine::EnumDelReg(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(), &flags);
    });
    runToEnd(section, b, 4, [&](const char* s) {
        return infengine::EnumUpdateInis(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(),
                                         &flags);
    });
    runToEnd(section, b, 5, [&](const char* s) {
        return infengine::EnumUpdateIniFields(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(),
                                              b[4].get(), &flags);
    });
    runToEnd(section, b, 2, [&](const char* s) {
        const int result = infengine::EnumUpdateAutoBat(s, b[0].get(), b[1].get());
        if (result == 0) b[0].checkAfterCall(true), b[1].checkAfterCall(true);
        return result;
    });
    runToEnd(section, b, 5, [&](const char* s) {
        return infengine::EnumUpdateCfgSys(s, b[0].get(), b[1].get(), b[2].get(), b[3].get(),
                                           b[4].get());
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fixture& f = fixture();
    // An exact-size heap copy, so a read past the end of the input is caught.
    std::unique_ptr<char[]> bytes(new char[size ? size : 1]);
    if (size) std::memcpy(bytes.get(), data, size);
    const std::string_view input(bytes.get(), size);
    const std::size_t mark = input.find(kCabinetMark);
    const std::size_t infSize = mark == std::string_view::npos ? size : mark;
    writeFile(kInf, bytes.get(), infSize);
    writeFile(kLayout, bytes.get(), infSize);
    if (mark != std::string_view::npos) {
        const std::size_t cabinet = mark + std::strlen(kCabinetMark);
        writeFile(kCabinet, bytes.get() + cabinet, size - cabinet);
    } else {
        platform::machine().files->DeleteFile(kCabinet);
    }

    infengine::resetEngine();
    if (infengine::OpenInfFile(kInf) == 0) {
        runEverything(nullptr);  // nothing started: every enumeration ends at once
        const platform::HInf inf = infengine::engineState().inf;
        char name[260];
        for (std::uint32_t i = 0; i < kMaxSections; ++i) {
            std::uint32_t required = 0;
            if (f.reader.EnumInfSection(inf, i, name, sizeof(name), &required) != ERROR_SUCCESS) {
                break;
            }
            runEverything(name);
        }
        infengine::RestartOrReboot();
        check(infengine::CloseInfFile() == 0);
    }
    check(infengine::CloseInfFile() == 1);
    check(f.reader.openCount() == 0);
    check(f.machine.files().openHandleCount() == 0);
    check(f.machine.registry().openHandleCount() == 0);
    emptyTempFolder();
    return 0;
}

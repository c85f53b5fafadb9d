// Fuzzes the driver exports of the INF engine: the input is a driver INF (and optionally the
// bytes of a program file) on a simulated machine with the card on its bus; every device,
// registration, removal, status and version export runs on it. Whatever the bytes, no output
// buffer is written past its 260 bytes, every text output ends within them, every sequence
// ends, and no INF, file, registry key or library is left open.
//
// Input: byte 0 picks the system (Windows 98, 95, 95 OSR2, NT 4) and the slot numbers of the
// key builders; then the INF text, optionally followed by a line "--program--" and the bytes
// of a PE file, which stands for a packaged file, an installed file and every DirectX file.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "infengine/driver_state.h"
#include "infengine/engine.h"
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "infsecurity/hvinfnt_export.h"
#include "platform/file_handle.h"
#include "platform/host/host_files.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_system.h"
#include "platform/host/simulated_machine.h"
#include "platform/inf/portable_inf_reader.h"
#include "platform/registry_key.h"
#include "platform/sim/sim_layout.h"

namespace {

constexpr char kInf[] = "C:\\DRIVER\\FUZZ.INF";
constexpr char kPackaged[] = "C:\\DRIVER\\A.DLL";
constexpr char kProgramMark[] = "\n--program--\n";
constexpr char kEnumRoot[] = "SYSTEM\\CurrentControlSet\\Enum\\Root";
constexpr std::size_t kMaxValues = 4000;
constexpr platform::host::WindowsRelease kReleases[] = {
    platform::host::WindowsRelease::Windows98, platform::host::WindowsRelease::Windows95,
    platform::host::WindowsRelease::Windows95Osr2, platform::host::WindowsRelease::WindowsNT4};

void check(bool condition) {
    if (!condition) std::abort();
}

// hvinfnt as the engine finds it: grants nothing, fails nothing.
unsigned long HVINFNT_CALL grantNothing(const char*) {
    return 0;
}

void addPciFunction(const char* slot, std::uint16_t vendor, std::uint16_t device) {
    std::uint8_t config[64] = {};
    config[0] = static_cast<std::uint8_t>(vendor);
    config[1] = static_cast<std::uint8_t>(vendor >> 8);
    config[2] = static_cast<std::uint8_t>(device);
    config[3] = static_cast<std::uint8_t>(device >> 8);
    config[8] = 0x10;
    platform::RegKey key;
    if (key.Create(HKEY_LOCAL_MACHINE,
                   (std::string(platform::sim::kSimPciKey) + "\\" + slot).c_str(),
                   KEY_ALL_ACCESS) == ERROR_SUCCESS) {
        (void)key.writeBinary("Config", config, sizeof config);
    }
}

void writeFile(const std::string& path, const char* bytes, std::size_t size) {
    platform::ScopedFile file;
    if (platform::machine().files->CreateFile(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL,
                                              file.receive()) != ERROR_SUCCESS) {
        return;
    }
    std::uint32_t written = 0;
    platform::machine().files->WriteFile(file.get(), bytes, static_cast<std::uint32_t>(size),
                                         &written);
}

struct Fixture {
    platform::host::SimulatedMachine machine;
    platform::inf::PortableInfReader reader;
    platform::HModule engineModule = 0;

    Fixture() {
        platform::Machine backends = machine.backends();
        backends.inf = &reader;
        platform::installMachine(backends);
        platform::FileSystem& files = *platform::machine().files;
        for (const char* folder : {"C:\\DRIVER", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WINNT",
                                   "C:\\WINNT\\SYSTEM32"}) {
            files.CreateDirectory(folder);
        }
        // The card, and the bridge a card on bus 1 may sit behind.
        addPciFunction("00:0A.0", 0x125D, 0x1978);
        addPciFunction("00:03.0", 0x1285, 0x1000);
        // hvinf.dll and hvinfnt.dll side by side, for the NT registration.
        platform::host::HostSystem& system = machine.system();
        system.registerModule("hvinf.dll", platform::host::ModuleImage());
        platform::host::ModuleImage helper;
        helper.exports[infsecurity::kAddAdministratorAceToAclName] =
            reinterpret_cast<platform::ProcAddress>(&grantNothing);
        system.registerModule(infsecurity::kLibraryName, helper);
        writeFile("C:\\DRIVER\\hvinf.dll", "MZ", 2);
        writeFile("C:\\DRIVER\\hvinfnt.dll", "MZ", 2);
        engineModule = system.LoadLibrary("C:\\DRIVER\\hvinf.dll");
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
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

void runRegistration(int (*function)(std::uint16_t*, char*, char*, char*, char*, int*)) {
    Buffer root, subKey, name, data;
    std::uint16_t index = 0;
    int flags = 0;
    std::size_t values = 0;
    while (function(&index, root.get(), subKey.get(), name.get(), data.get(), &flags) == 0) {
        root.checkAfterCall(true);
        subKey.checkAfterCall(true);
        name.checkAfterCall(true);
        data.checkAfterCall(false);
        // A value always names a key a caller can write to.
        check(subKey.bytes[0] != '\0' || (flags == 0 && name.bytes[0] == '\0'));
        check(++values < kMaxValues);
        ++index;
    }
    check(subKey.bytes[0] == '\0' && name.bytes[0] == '\0');
}

void runRemoval() {
    Buffer root, key;
    std::uint16_t index = 0;
    while (infengine::EnumDelDriverReg(index, root.get(), key.get()) == 0) {
        root.checkAfterCall(true);
        key.checkAfterCall(true);
        check(key.bytes[0] != '\0');
        // Nothing is deleted here: the removal must still end.
        check(++index < 200);
    }
}

void runEverything(std::uint8_t selector) {
    Buffer a, b;
    infengine::DeviceExists(a.get(), b.get());
    a.checkAfterCall(true);
    b.checkAfterCall(true);
    infengine::DeviceExists(nullptr, nullptr);
    const std::uint32_t number = selector >> 2;
    for (std::uint32_t bus = 0; bus < 3; ++bus) {
        infengine::ConstructPCIKey(infengine::engineState().vendorId,
                                   infengine::engineState().deviceId, bus, number, selector & 1,
                                   a.get());
        a.checkAfterCall(true);
        infengine::ConstructPCIKeyToDelete(0x125D, 0x1978, bus, number, 0, a.get());
        a.checkAfterCall(true);
    }
    runRegistration(infengine::EnumDriverReg);
    runRegistration(infengine::EnumPreinstallDriverReg);
    runRemoval();
    std::uint16_t flags = 0;
    infengine::DriverInstallationStatus(&flags);
    std::int32_t comparison = 0;
    infengine::CompareFileVersions(kPackaged, kInf, a.get(), b.get(), &comparison);
    a.checkAfterCall(true);
    b.checkAfterCall(true);
    infengine::CompareFileVersions(kPackaged, kPackaged, a.get(), b.get(), &comparison);
    a.checkAfterCall(true);
    b.checkAfterCall(true);
    check(comparison == 0);
    std::uint32_t directX = 0;
    infengine::DirectXVersionInstalled(&directX);
    infengine::IsUserAdministrator();
}

// Removes what an NT registration created below Enum\Root, so each run starts alike.
void resetEnumRoot() {
    platform::RegKey parent;
    if (parent.Open(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum", KEY_ALL_ACCESS) ==
        ERROR_SUCCESS) {
        (void)parent.deleteSubKey("Root");
    }
    platform::RegKey root;
    (void)root.Create(HKEY_LOCAL_MACHINE, kEnumRoot, KEY_ALL_ACCESS);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fixture& f = fixture();
    if (size == 0) return 0;
    const std::uint8_t selector = data[0];
    // An exact-size heap copy, so a read past the end of the input is caught.
    std::unique_ptr<char[]> bytes(new char[size - 1 ? size - 1 : 1]);
    if (size > 1) std::memcpy(bytes.get(), data + 1, size - 1);
    const std::string_view input(bytes.get(), size - 1);
    const std::size_t mark = input.find(kProgramMark);
    const std::size_t infSize = mark == std::string_view::npos ? input.size() : mark;

    f.machine.system().setRelease(kReleases[selector % 4]);
    const std::string system = infengine::systemDirectory();
    writeFile(kInf, bytes.get(), infSize);
    const char* program =
        mark == std::string_view::npos ? "" : bytes.get() + mark + std::strlen(kProgramMark);
    const std::size_t programSize =
        mark == std::string_view::npos ? 0 : input.size() - mark - std::strlen(kProgramMark);
    writeFile(kPackaged, program, programSize);
    for (const char* name :
         {"\\ddraw.dll", "\\d3drm.dll", "\\dsound.dll", "\\dplayx.dll", "\\dinput.dll"}) {
        writeFile(system + name, program, programSize);
    }
    resetEnumRoot();

    infengine::resetEngine();
    infengine::resetDriverState();
    infengine::engineState().module = f.engineModule;
    if (infengine::OpenInfFile(kInf) == 0) {
        runEverything(selector);
        check(infengine::CloseInfFile() == 0);
    }
    // Without an INF every export answers its "no INF" result.
    runEverything(selector);
    check(f.reader.openCount() == 0);
    check(f.machine.files().openHandleCount() == 0);
    check(f.machine.registry().openHandleCount() == 0);
    check(f.machine.system().loadedModuleCount() == 1);
    return 0;
}

// DirectXVersionInstalled: the DirectX that the system folder's runtime files make up, as the
// lowest version among them (an update that stopped half-way leaves older files behind).
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "infengine/file_versions.h"
#include "platform/file_handle.h"
#include "platform/machine.h"

namespace infengine {
namespace {

constexpr const char* kRuntimeFiles[] = {"\\ddraw.dll", "\\d3drm.dll", "\\dsound.dll",
                                         "\\dplayx.dll", "\\dinput.dll"};

// The DirectX files carry product versions 4.0x: 4.02, 4.03 and 4.04 are DirectX 1, 2 and 3
// (there was no DirectX 4), 4.05 is DirectX 5, 4.06 DirectX 6 and so on. A file without a
// version, or older than 4.01, counts as 0.
std::uint32_t directXNumber(std::uint32_t productMS) {
    if (productMS <= 0x40000u) return 0;
    std::uint32_t number = productMS - 0x40000u;
    if (productMS >= 0x40001u && productMS <= 0x40004u) number -= 1;
    return number;
}

bool canRead(const std::string& path) {
    platform::ScopedFile file;
    return platform::machine().files->CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 OPEN_EXISTING, 0, file.receive()) == ERROR_SUCCESS;
}

}  // namespace

int DirectXVersionInstalled(std::uint32_t* version) {
    std::uint32_t lowest = 0;
    if (version != nullptr) *version = 0;
    const std::string system = systemDirectory();
    bool first = true;
    for (const char* name : kRuntimeFiles) {
        const std::string path = system + name;
        if (system.empty() || !canRead(path)) return 1;
        FileVersion fileVersion;
        const std::uint32_t number =
            readFileVersion(path.c_str(), &fileVersion) ? directXNumber(fileVersion.productMS) : 0;
        if (first || number < lowest) lowest = number;
        first = false;
        if (version != nullptr) *version = lowest;
    }
    return 0;
}

}  // namespace infengine

// Fuzzes the REGEDIT4 importer of the simulated registry, and checks that whatever it accepts
// exports to a text that imports back to the same registry.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/host/host_registry.h"

namespace {

const platform::HKey kRoots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS,
                                 HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};

std::string exportAll(const platform::host::HostRegistry& reg) {
    std::string all;
    for (platform::HKey root : kRoots) all += reg.exportRegedit4(root, nullptr);
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size heap copy, so a read past the end of the text is caught.
    std::unique_ptr<char[]> text(new char[size ? size : 1]);
    if (size) std::memcpy(text.get(), data, size);
    const std::string_view input(text.get(), size);

    platform::host::HostRegistry reg;
    const std::string fresh = exportAll(reg);
    std::string error;
    if (!reg.importRegedit4(input, &error)) {
        // A refused text reports a line and changes nothing.
        if (error.rfind("line ", 0) != 0 || exportAll(reg) != fresh) std::abort();
        return 0;
    }
    const std::string exported = exportAll(reg);
    platform::host::HostRegistry copy;
    for (platform::HKey root : kRoots) {
        if (!copy.importRegedit4(reg.exportRegedit4(root, nullptr), &error)) {
            std::fprintf(stderr, "export not importable: %s\n", error.c_str());
            std::abort();
        }
    }
    if (exportAll(copy) != exported) std::abort();
    if (reg.openHandleCount() != 0 || copy.openHandleCount() != 0) std::abort();
    return 0;
}

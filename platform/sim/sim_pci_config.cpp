#include "platform/sim/sim_pci_config.h"

#include <cstdio>
#include <vector>

#include "platform/sim/sim_layout.h"

namespace platform::sim {

SimPciConfig::SimPciConfig(Registry& registry) : registry_(registry) {}

bool SimPciConfig::IsPortIoAvailable() {
    return portIo_;
}

std::uint32_t SimPciConfig::ReadConfigDword(std::uint32_t bus, std::uint32_t device,
                                            std::uint32_t function, std::uint32_t offset) {
    ++reads_;
    if (!portIo_ || bus > 255 || device > 31 || function > 7 || offset > 255) {
        return kPciNoDevice;
    }

    // Formatted on the stack: a bus scan makes tens of thousands of these reads.
    char path[64];
    std::snprintf(path, sizeof path, "%s\\%02X:%02X.%X", kSimPciKey, static_cast<unsigned>(bus),
                  static_cast<unsigned>(device), static_cast<unsigned>(function));
    HKey key = 0;
    if (registry_.OpenKeyEx(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return kPciNoDevice;
    }

    std::uint8_t space[kSimPciConfigSize] = {};
    std::uint32_t type = REG_NONE;
    std::uint32_t size = sizeof space;
    std::uint32_t error = registry_.QueryValueEx(key, kSimConfigValue, &type, space, &size);
    if (error == ERROR_MORE_DATA && type == REG_BINARY) {
        // Longer than a configuration space: only the first 256 bytes count.
        std::vector<std::uint8_t> whole(size);
        error = registry_.QueryValueEx(key, kSimConfigValue, &type, whole.data(), &size);
        for (std::uint32_t i = 0; i < sizeof space; ++i) space[i] = i < size ? whole[i] : 0;
        if (size > sizeof space) size = sizeof space;
    }
    registry_.CloseKey(key);
    if (error != ERROR_SUCCESS || type != REG_BINARY) return kPciNoDevice;

    const std::uint32_t base = offset & ~3u;
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < 4; ++i) {
        const std::uint32_t at = base + i;
        const std::uint32_t byte = at < size ? space[at] : 0;  // short blob: 0 past its end
        value |= byte << (8 * i);
    }
    return value;
}

}  // namespace platform::sim

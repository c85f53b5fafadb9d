#include "platform/sim/sim_pnp_config.h"

#include <cstring>
#include <vector>

#include "platform/sim/sim_layout.h"
#include "platform/sim/sim_registry.h"

namespace platform::sim {

SimPnpConfig::SimPnpConfig(Registry& registry) : registry_(registry) {}

std::uint32_t SimPnpConfig::CreateFile(const char* path, std::uint32_t, std::uint32_t,
                                       std::uint32_t, std::uint32_t, HDevice* result) {
    if (path == nullptr || result == nullptr) return ERROR_INVALID_PARAMETER;
    if (!simEqualNoCase(path, kPnpConfDevicePath)) return ERROR_FILE_NOT_FOUND;
    std::uint32_t present = 0;
    if (!readSimDword(registry_, kSimPnpConfKey, kSimPresentValue, &present) || present == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    const HDevice handle = nextHandle_++;
    open_.insert(handle);
    *result = handle;
    return ERROR_SUCCESS;
}

std::uint32_t SimPnpConfig::DeviceIoControl(HDevice device, std::uint32_t controlCode,
                                            const void* in, std::uint32_t inSize, void* out,
                                            std::uint32_t outSize, std::uint32_t* bytesReturned) {
    if (open_.count(device) == 0) return ERROR_INVALID_HANDLE;
    if (controlCode != kPnpConfGetConfig) return ERROR_INVALID_FUNCTION;
    if (in == nullptr || inSize < 4) return ERROR_INVALID_PARAMETER;
    if (out == nullptr || outSize < kCmConfigSize) return ERROR_INSUFFICIENT_BUFFER;

    const auto* bytes = static_cast<const std::uint8_t*>(in);
    const std::uint32_t node =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    const std::string key = simPnpNodeKey(node);
    if (!simKeyExists(registry_, key.c_str())) return ERROR_FILE_NOT_FOUND;
    std::vector<std::uint8_t> record;
    if (!readSimBlob(registry_, key.c_str(), kSimConfigValue, REG_BINARY, &record) ||
        record.size() != kCmConfigSize) {
        return ERROR_GEN_FAILURE;
    }
    std::memcpy(out, record.data(), kCmConfigSize);
    if (bytesReturned != nullptr) *bytesReturned = kCmConfigSize;
    return ERROR_SUCCESS;
}

std::uint32_t SimPnpConfig::CloseHandle(HDevice device) {
    return open_.erase(device) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace platform::sim

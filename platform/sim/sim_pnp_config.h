// The Configuration Manager's "\\.\PNPCONF.VXD" on the simulated machine: present when the
// PnpConf key says so, answering each device node's CMCONFIG record from its Config value
// (platform/sim/sim_layout.h).
//
// Results beyond those of platform/pnp_config.h: a node without a key gives
// ERROR_FILE_NOT_FOUND; a node whose Config is not a REG_BINARY of exactly 216 bytes gives
// ERROR_GEN_FAILURE (a damaged record is never handed out, nor padded). Every path other
// than the VxD's (compared without regard to case) is ERROR_FILE_NOT_FOUND. The access,
// share, creation and flag arguments are accepted as given.
#pragma once

#include <cstdint>
#include <set>

#include "platform/pnp_config.h"
#include "platform/registry.h"

namespace platform::sim {

class SimPnpConfig : public PnpConfig {
public:
    explicit SimPnpConfig(Registry& registry);

    std::uint32_t CreateFile(const char* path, std::uint32_t desiredAccess, std::uint32_t shareMode,
                             std::uint32_t creationDisposition, std::uint32_t flagsAndAttributes,
                             HDevice* result) override;
    std::uint32_t DeviceIoControl(HDevice device, std::uint32_t controlCode, const void* in,
                                  std::uint32_t inSize, void* out, std::uint32_t outSize,
                                  std::uint32_t* bytesReturned) override;
    std::uint32_t CloseHandle(HDevice device) override;

    // Handles opened and not yet closed, for a test's leak check.
    std::size_t openHandleCount() const { return open_.size(); }

private:
    Registry& registry_;
    std::set<HDevice> open_;
    HDevice nextHandle_ = 0x5000;
};

}  // namespace platform::sim

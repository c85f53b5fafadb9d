// PCI configuration space of the simulated card's machine, read from the PCI keys of the
// simulated hardware (platform/sim/sim_layout.h).
//
// Every read goes to the registry: open the function's key, read its Config value, close.
// No configuration space is cached, because another process (the properties program and the
// tray share one machine) may change a function at any time and the next read must see it.
// The cost is one key open per read; a scan of empty slots, the common case, is one failed
// open each. A cache would need a change signal the registry interface does not offer.
#pragma once

#include <cstdint>

#include "platform/pci_config.h"
#include "platform/registry.h"

namespace platform::sim {

class SimPciConfig : public PciConfig {
public:
    explicit SimPciConfig(Registry& registry);

    bool IsPortIoAvailable() override;
    std::uint32_t ReadConfigDword(std::uint32_t bus, std::uint32_t device, std::uint32_t function,
                                  std::uint32_t offset) override;

    // Every ReadConfigDword call so far, whatever it answered (each stands for one port
    // round trip on the real bus).
    std::uint64_t readCount() const { return reads_; }
    void resetReadCount() { reads_ = 0; }

    // Simulates a system without port access (Windows NT): every read answers kPciNoDevice
    // and IsPortIoAvailable() is false. On by default.
    void setPortIoAvailable(bool available) { portIo_ = available; }

private:
    Registry& registry_;
    std::uint64_t reads_ = 0;
    bool portIo_ = true;
};

}  // namespace platform::sim

// PCI configuration space, read through configuration mechanism 1: the address
// 0x80000000 | bus << 16 | device << 11 | function << 8 | register goes to I/O port 0xCF8
// and the dword at that address comes back from port 0xCFC.
//
// Windows 95/98 let an application use those ports; Windows NT does not (the access ends
// the process), so a back-end never touches the ports where they are not available and
// answers every read with 0xFFFFFFFF, the value of an empty slot. Reads never fail
// otherwise: "no such function" is 0xFFFFFFFF, exactly as the bus answers it.
#pragma once

#include <cstdint>

namespace platform {

// Returned for a slot with no function, for a read the system does not allow and for an
// address outside configuration space.
constexpr std::uint32_t kPciNoDevice = 0xFFFFFFFFu;

class PciConfig {
public:
    virtual ~PciConfig() = default;

    // True when configuration reads reach the bus on this system (Windows 95/98 family).
    // Called before a scan to tell "no card" from "cannot look". Cheap; never touches a port.
    virtual bool IsPortIoAvailable() = 0;

    // The dword at `offset` of the configuration space of (bus, device, function).
    // `offset` is a byte offset 0 to 255; its low two bits are ignored, as the address
    // register ignores them, so 0x09 reads the dword at 0x08. A bus above 255, a device above
    // 31, a function above 7 or an offset above 255 would alias another function's space on
    // the bus: such reads answer kPciNoDevice without a port access. So do reads of an empty
    // slot and every read where IsPortIoAvailable() is false.
    virtual std::uint32_t ReadConfigDword(std::uint32_t bus, std::uint32_t device,
                                          std::uint32_t function, std::uint32_t offset) = 0;
};

// The byte at `offset` (for example the revision at 0x08), taken from its dword.
inline std::uint8_t readPciConfigByte(PciConfig& pci, std::uint32_t bus, std::uint32_t device,
                                      std::uint32_t function, std::uint32_t offset) {
    const std::uint32_t dword = pci.ReadConfigDword(bus, device, function, offset);
    return static_cast<std::uint8_t>(dword >> ((offset & 3u) * 8u));
}

}  // namespace platform

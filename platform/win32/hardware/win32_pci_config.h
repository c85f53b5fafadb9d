// PCI configuration mechanism 1 through the I/O ports 0xCF8 and 0xCFC.
//
// Only the Windows 95/98 family lets an application execute IN and OUT on these ports. On
// Windows NT the instruction faults and ends the process, and so it does under Wine, which
// reports itself as Windows 98 when asked to but runs the program in user mode on a system
// that forbids port access. Both are recognised once, at construction, and every read then
// answers kPciNoDevice without touching a port.
#pragma once

#include "platform/pci_config.h"

namespace platform::win32 {

class Win32PciConfig : public PciConfig {
public:
    Win32PciConfig();

    bool IsPortIoAvailable() override;
    std::uint32_t ReadConfigDword(std::uint32_t bus, std::uint32_t device, std::uint32_t function,
                                  std::uint32_t offset) override;

private:
    bool portIo_ = false;
};

}  // namespace platform::win32

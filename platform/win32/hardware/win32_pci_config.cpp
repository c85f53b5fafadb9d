#include <windows.h>

#include "platform/win32/hardware/win32_pci_config.h"

namespace platform::win32 {
namespace {

constexpr unsigned short kConfigAddressPort = 0xCF8;
constexpr unsigned short kConfigDataPort = 0xCFC;
constexpr std::uint32_t kConfigEnable = 0x80000000u;

inline void writePort32(unsigned short port, std::uint32_t value) {
    __asm__ __volatile__("outl %0, %w1" : : "a"(value), "Nd"(port));
}

inline std::uint32_t readPort32(unsigned short port) {
    std::uint32_t value;
    __asm__ __volatile__("inl %w1, %0" : "=a"(value) : "Nd"(port));
    return value;
}

bool portIoAllowed() {
    // GetVersion's top bit is set on the Windows 95/98 family only.
    if ((GetVersion() & 0x80000000u) == 0) return false;
    // Wine exports wine_get_version from its ntdll; Windows 98's ntdll has no such export.
    if (HMODULE ntdll = GetModuleHandleA("ntdll.dll")) {
        if (GetProcAddress(ntdll, "wine_get_version") != nullptr) return false;
    }
    return true;
}

}  // namespace

Win32PciConfig::Win32PciConfig() : portIo_(portIoAllowed()) {}

bool Win32PciConfig::IsPortIoAvailable() {
    return portIo_;
}

std::uint32_t Win32PciConfig::ReadConfigDword(std::uint32_t bus, std::uint32_t device,
                                              std::uint32_t function, std::uint32_t offset) {
    if (!portIo_ || bus > 255 || device > 31 || function > 7 || offset > 255) {
        return kPciNoDevice;
    }
    writePort32(kConfigAddressPort,
                kConfigEnable | bus << 16 | device << 11 | function << 8 | (offset & 0xFCu));
    return readPort32(kConfigDataPort);
}

}  // namespace platform::win32

// The machine of a Win32 program or library: the real registry, files, system, user
// interface, shell, security and INF reader, with the card's hardware back-ends of this
// flavour (the real chip in the product, the simulated card in win32-sim).
#pragma once

#include <memory>

#include "platform/machine.h"

namespace platform::win32 {

class Win32Machine {
public:
    // Makes every back-end and installs them as the process-wide machine.
    Win32Machine();
    // Puts the previous machine back.
    ~Win32Machine();
    Win32Machine(const Win32Machine&) = delete;
    Win32Machine& operator=(const Win32Machine&) = delete;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// For the libraries, which have no start-up of their own: installs the machine at the first
// call and keeps it until the module is unloaded. Programs make a Win32Machine in WinMain.
void ensureProcessMachine();

}  // namespace platform::win32

// The card back-ends of a Win32 program: the real hardware in the product (port I/O,
// PNPCONF.VXD, winmm, DirectSound, "es197x.drv"), the simulated card of platform/sim in the
// win32-sim programs. Whoever installs a program's machine makes one of these, keeps it alive
// as long as the machine, and lets it fill the hardware members.
#pragma once

#include <memory>

#include "platform/machine.h"

namespace platform {
class Registry;
}  // namespace platform

namespace platform::win32 {

class CardHardware {
public:
    // `registry` is where the simulated card keeps its state; the real hardware ignores it.
    explicit CardHardware(Registry& registry);
    ~CardHardware();
    CardHardware(const CardHardware&) = delete;
    CardHardware& operator=(const CardHardware&) = delete;

    // Points machine.pci, .pnp, .mixer, .directSound, .mci and .drivers at these back-ends
    // and leaves the other members alone.
    void fill(Machine& machine);

private:
    struct Backends;
    std::unique_ptr<Backends> backends_;
};

}  // namespace platform::win32

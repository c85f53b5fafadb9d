// The machine of a Win32 program or library, made of parts: the real registry, files, system,
// user interface, shell, security and INF reader, and the card's hardware back-ends of this
// flavour (the real chip in the product, the simulated card in win32-sim).
//
// Each part's factory is defined beside its back-end, so a module links (and imports the
// system DLLs of) only the parts it names: the programs take every part, each library the
// ones its code reaches.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/machine.h"

namespace platform::win32 {

// One part of a machine: its back-end objects, and how they enter the machine.
class MachinePart {
public:
    virtual ~MachinePart() = default;
    // Points the machine's members at this part's back-ends and leaves the others alone.
    virtual void attach(Machine& machine) = 0;
};

using PartFactory = std::unique_ptr<MachinePart> (*)();

// A part that is one back-end object for one member of the machine.
template <typename Backend, typename Interface, Interface* Machine::*Member>
class BackendPart : public MachinePart {
public:
    void attach(Machine& machine) override { machine.*Member = &backend_; }

private:
    Backend backend_;
};

template <typename Backend, typename Interface, Interface* Machine::*Member>
std::unique_ptr<MachinePart> makeBackendPart() {
    return std::make_unique<BackendPart<Backend, Interface, Member>>();
}

std::unique_ptr<MachinePart> registryPart();
std::unique_ptr<MachinePart> filesPart();
std::unique_ptr<MachinePart> systemPart();
std::unique_ptr<MachinePart> userInterfacePart();
std::unique_ptr<MachinePart> shellPart();
std::unique_ptr<MachinePart> securityPart();
std::unique_ptr<MachinePart> infReaderPart();
std::unique_ptr<MachinePart> lzExpandPart();
// The whole card: PCI configuration, PNPCONF, mixer, DirectSound, MCI, installable drivers.
std::unique_ptr<MachinePart> cardPart();
// The card's PCI configuration alone.
std::unique_ptr<MachinePart> pciPart();

class Win32Machine {
public:
    // Every part: the machine of the programs.
    Win32Machine()
        : Win32Machine({registryPart, filesPart, systemPart, userInterfacePart, shellPart,
                        securityPart, infReaderPart, lzExpandPart, cardPart}) {}
    // Makes the parts named and installs them as the process-wide machine; the members of
    // the parts not named stay null.
    explicit Win32Machine(std::initializer_list<PartFactory> parts);
    // Puts the previous machine back.
    ~Win32Machine();
    Win32Machine(const Win32Machine&) = delete;
    Win32Machine& operator=(const Win32Machine&) = delete;

private:
    std::vector<std::unique_ptr<MachinePart>> parts_;
    Machine previous_;
};

// For the libraries, which have no start-up of their own: installs a machine of the parts
// named at the first call and keeps it until the module is unloaded (a library names the
// same parts at every call). Programs make a Win32Machine in WinMain.
void ensureProcessMachine(std::initializer_list<PartFactory> parts);

}  // namespace platform::win32

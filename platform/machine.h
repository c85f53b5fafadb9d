// The one door from the product's logic to the operating system.
//
// Every subsystem reaches the registry, files, devices and user interface through the
// back-ends held by the process-wide machine. Win32 programs install the real back-ends
// (with the real or the simulated card) at start; host tests install a fresh simulated
// Windows 98 machine per test. Nothing outside platform/ includes <windows.h>.
#pragma once

namespace platform {

class Registry;
class FileSystem;
class System;
class UserInterface;
class Shell;
class Security;
class InfReader;
class PciConfig;
class PnpConfig;
class Mixer;
class DirectSound;
class Mci;
class InstallableDrivers;
class LzExpand;

// The back-ends in use. Every pointer is set by whoever installs the machine; an operation
// that a machine cannot offer is still present and answers with its "not supported" code.
struct Machine {
    Registry* registry = nullptr;
    FileSystem* files = nullptr;
    System* system = nullptr;
    UserInterface* ui = nullptr;
    Shell* shell = nullptr;
    Security* security = nullptr;
    InfReader* inf = nullptr;
    PciConfig* pci = nullptr;
    PnpConfig* pnp = nullptr;
    Mixer* mixer = nullptr;
    DirectSound* directSound = nullptr;
    Mci* mci = nullptr;
    InstallableDrivers* drivers = nullptr;
    LzExpand* lz = nullptr;
};

// The installed machine. Calling it before any machine is installed is a programming error
// and aborts with a diagnostic rather than handing out null back-ends.
Machine& machine();

// Installs the back-ends for the whole process and returns the previous set, so a test
// fixture can put it back. The caller keeps ownership of the back-end objects.
Machine installMachine(const Machine& backends);

// True once a machine is installed.
bool hasMachine();

}  // namespace platform

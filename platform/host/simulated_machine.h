// A whole simulated Windows 98 machine with a simulated Tunara card, for host tests and tools.
//
// It owns one of every host back-end and the simulated card, keeps its disk in a folder of
// the host, installs itself as the process-wide machine on construction and puts the
// previous machine back on destruction. A machine description (tests/machines/<name>/:
// machine.ini, registry.reg, drives/<letter>/...) turns it into a particular machine.
#pragma once

#include <memory>
#include <string>

#include "platform/machine.h"

namespace platform::host {

class HostRegistry;
class HostFileSystem;
class HostSystem;
class HostUserInterface;
class HostShell;
class HostSecurity;

}  // namespace platform::host

namespace platform::sim {

class SimPciConfig;
class SimPnpConfig;
class SimMixer;
class SimDirectSound;
class SimMci;
class SimInstallableDrivers;

}  // namespace platform::sim

namespace platform::host {

class SimulatedMachine {
public:
    // A bare Windows 98 machine with an empty C: drive. With an empty `diskRoot` the disk
    // lives in a new temporary folder that is removed with the machine; otherwise in the
    // given host folder (created when missing, left in place afterwards).
    explicit SimulatedMachine(const std::string& diskRoot = std::string());
    ~SimulatedMachine();
    SimulatedMachine(const SimulatedMachine&) = delete;
    SimulatedMachine& operator=(const SimulatedMachine&) = delete;

    // Loads a machine description folder over the current state: the [machine] facts of
    // machine.ini (Windows release, folders, locale, current directory), registry.reg and
    // the drive trees. False with a message in *error when a part cannot be read; the
    // machine may then be partly loaded and should be thrown away.
    bool loadDescription(const std::string& folder, std::string* error);

    // A description of tests/machines by name ("win98-maestro2e"), for tests.
    bool loadNamedDescription(const std::string& name, const std::string& sourceRoot,
                              std::string* error);

    // The value of `key` in section `section` of the last loaded machine.ini, or empty.
    std::string descriptionFact(const std::string& section, const std::string& key) const;

    const std::string& diskRoot() const;
    const Machine& backends() const;

    HostRegistry& registry();
    HostFileSystem& files();
    HostSystem& system();
    HostUserInterface& ui();
    HostShell& shell();
    HostSecurity& security();
    sim::SimPciConfig& pci();
    sim::SimPnpConfig& pnp();
    sim::SimMixer& mixer();
    sim::SimDirectSound& directSound();
    sim::SimMci& mci();
    sim::SimInstallableDrivers& drivers();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace platform::host

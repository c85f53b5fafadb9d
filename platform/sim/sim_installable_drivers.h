// The chip maker's wave driver "es197x.drv" on the simulated machine: it opens while the
// WaveDriver key's Present is non-zero, and every message sent to it is appended to the
// Messages list in the registry ("msg,param1,param2", lower-case hex; see
// platform/sim/sim_layout.h), where tests and the other process can read it.
//
// Behaviour: OpenDriver matches the file name part of `driverName` (after the last '\' or
// '/') against "es197x.drv" without regard to case; the section and parameter are ignored.
// Only messages sent with SendDriverMessage are listed (not the load and open messages
// Windows itself sends), and the driver answers each with 0. An existing Messages value of
// another type than REG_MULTI_SZ is replaced. Two processes appending at the same instant
// may lose one line (the registry offers no lock); the product sends from one thread.
// CloseDriver answers 1.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/installable_drivers.h"
#include "platform/registry.h"

namespace platform::sim {

class SimInstallableDrivers : public InstallableDrivers {
public:
    explicit SimInstallableDrivers(Registry& registry);

    HDriver OpenDriver(const char* driverName, const char* sectionName,
                       std::intptr_t param) override;
    std::intptr_t SendDriverMessage(HDriver driver, std::uint32_t message, std::intptr_t param1,
                                    std::intptr_t param2) override;
    std::intptr_t CloseDriver(HDriver driver, std::intptr_t param1, std::intptr_t param2) override;

    // Drivers opened and not yet closed, for a test's leak check.
    std::size_t openDriverCount() const { return open_.size(); }

    // The line a message is listed as: "4015,4,0".
    static std::string formatMessage(std::uint32_t message, std::intptr_t param1,
                                     std::intptr_t param2);
    // The Messages list as stored now (empty when there is none).
    static std::vector<std::string> readMessages(Registry& registry);

private:
    Registry& registry_;
    std::set<HDriver> open_;
    HDriver nextDriver_ = 0xD000;
};

}  // namespace platform::sim

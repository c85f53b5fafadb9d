// MachineTest::loadMachine builds the described machine before the previous one is
// destroyed, and that one's destructor then installs the machine from before it. Until the
// fixture swaps them in the other order, tests install the loaded machine again.
#pragma once

#include "platform/host/simulated_machine.h"
#include "platform/machine.h"

namespace inspector_test {

inline void reinstall(platform::host::SimulatedMachine& loaded) {
    platform::installMachine(loaded.backends());
}

}  // namespace inspector_test

// The machine of hvinf.dll: the back-ends the engine reaches (registry, files, system, message
// boxes, security, the INF reader and the card's PCI configuration), and no others, so the
// library links and imports nothing else. Installed by the first export call.
#pragma once

#include "platform/win32/win32_machine.h"

namespace infengine {

inline void ensureEngineMachine() {
    using namespace platform::win32;
    ensureProcessMachine({registryPart, filesPart, systemPart, userInterfacePart, securityPart,
                          infReaderPart, pciPart});
}

}  // namespace infengine

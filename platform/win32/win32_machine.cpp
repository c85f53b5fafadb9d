#include "platform/win32/win32_machine.h"

namespace platform::win32 {

Win32Machine::Win32Machine(std::initializer_list<PartFactory> parts) {
    Machine machine;
    parts_.reserve(parts.size());
    for (PartFactory make : parts) {
        parts_.push_back(make());
        parts_.back()->attach(machine);
    }
    previous_ = installMachine(machine);
}

Win32Machine::~Win32Machine() {
    installMachine(previous_);
}

void ensureProcessMachine(std::initializer_list<PartFactory> parts) {
    // A function-local static: made once, on the library's own thread, destroyed when the
    // module is unloaded.
    static Win32Machine machine(parts);
}

}  // namespace platform::win32

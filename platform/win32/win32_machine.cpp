#include "platform/win32/win32_machine.h"

#include <windows.h>

#include "platform/win32/card_hardware.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_inf_reader.h"
#include "platform/win32/win32_lz_expand.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_security.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_ui.h"

namespace platform::win32 {

struct Win32Machine::Parts {
    Parts() : hardware(registry) {}

    Win32Registry registry;
    Win32FileSystem files;
    Win32System system;
    Win32UserInterface ui;
    Win32Shell shell;
    Win32Security security;
    Win32InfReader inf;
    Win32LzExpand lz;
    CardHardware hardware;
    Machine previous;
};

Win32Machine::Win32Machine() : parts_(std::make_unique<Parts>()) {
    Machine m;
    m.registry = &parts_->registry;
    m.files = &parts_->files;
    m.system = &parts_->system;
    m.ui = &parts_->ui;
    m.shell = &parts_->shell;
    m.security = &parts_->security;
    m.inf = &parts_->inf;
    m.lz = &parts_->lz;
    parts_->hardware.fill(m);
    parts_->previous = installMachine(m);
}

Win32Machine::~Win32Machine() {
    installMachine(parts_->previous);
}

void ensureProcessMachine() {
    // A function-local static: made once, on the library's own thread, destroyed when the
    // module is unloaded.
    static Win32Machine machine;
}

}  // namespace platform::win32

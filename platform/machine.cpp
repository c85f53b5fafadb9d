#include "platform/machine.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

Machine g_machine;
bool g_installed = false;

}  // namespace

Machine& machine() {
    if (!g_installed) {
#if defined(TUNARA_HOST)
        std::fputs("platform::machine() used before a machine was installed\n", stderr);
#endif
        std::abort();
    }
    return g_machine;
}

Machine installMachine(const Machine& backends) {
    Machine previous = g_machine;
    g_machine = backends;
    g_installed = true;
    return previous;
}

bool hasMachine() { return g_installed; }

}  // namespace platform

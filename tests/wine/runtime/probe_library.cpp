// A library on the deliverables' own runtime, for the runtime's Wine test: its static
// constructor must have run when the first export is called, its DllMain sees the detach
// before its static destructor runs, and a failed allocation inside an export ends at the
// export's recovery point.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/out_of_memory.h"
#include "tests/wine/runtime/probe_log.h"

namespace {

struct Global {
    Global() : value(42) {}
    ~Global() { probeLog("library global destructor"); }
    int value;
};
Global g_global;

char* volatile g_block;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) probeLog("library detach");
    return TRUE;
}

extern "C" int __stdcall ProbeSetLog(const char* path) {
    lstrcpynA(g_probeLog, path, sizeof g_probeLog);
    return 1;
}

extern "C" int __stdcall ProbeConstructed() {
    return g_global.value == 42 ? 1 : 0;
}

// 2 when the huge allocation was recovered and a small one afterwards works, 0 otherwise.
extern "C" int __stdcall ProbeRecovers() {
    const int first = platform::unlessOutOfMemory(0, [] {
        g_block = new char[0x7FFFFFF0u];
        return 1;
    });
    if (first != 0) return 0;
    return platform::unlessOutOfMemory(0, [] {
        std::string text(1000, 'x');
        return text.size() == 1000 ? 2 : 0;
    });
}

extern "C" int __stdcall ProbeFormat(char* buffer, int size) {
    return std::snprintf(buffer, static_cast<std::size_t>(size), "%-6s|%+d|%#x|%.3s", "dll", 5,
                         255u, "abcdef");
}

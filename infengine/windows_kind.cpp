#include "infengine/windows_kind.h"

#include "platform/machine.h"
#include "platform/system.h"

namespace infengine {

int windowsKind() {
    platform::OsVersionInfo version;
    if (!platform::machine().system->GetVersionEx(&version)) return 0;
    if (version.platformId == VER_PLATFORM_WIN32_NT) return kWindowsNt;
    if (version.platformId != VER_PLATFORM_WIN32_WINDOWS) return 0;
    const std::uint32_t build = version.buildNumber & 0xFFFFu;
    if (build < 951) return 1;
    if (build <= 1110) return 2;
    if (build <= 1399) return 3;
    return 4;
}

}  // namespace infengine

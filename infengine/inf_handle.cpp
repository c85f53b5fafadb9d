// OpenInfFile, CloseInfFile and RestartOrReboot: the one open INF of the process.
#include "infengine/engine.h"
#include "infengine/engine_state.h"
#include "infengine/inf_lines.h"
#include "platform/machine.h"

namespace infengine {
namespace {

// Clears what belongs to the INF that was open: the device found in it, its default
// destination directory and the registration keys built from it. The current destination
// directory and the last needed section stay until they are overwritten.
void forgetResolvedState() {
    EngineState& state = engineState();
    state.vendorId = 0;
    state.deviceId = 0;
    state.subsystemId = 0;
    state.revision = 0;
    state.deviceDescription.clear();
    state.installSection.clear();
    state.hardwareIds.clear();
    state.manufacturerLess = false;
    state.defaultDestinationDirectory.clear();
    state.classKey.clear();
    state.deviceKey.clear();
    state.serviceName.clear();
    state.hkrTarget = HkrTarget::ClassKey;
}

void closeOpenInf() {
    EngineState& state = engineState();
    if (state.inf == platform::kInvalidInf) return;
    if (platform::machine().inf != nullptr) platform::machine().inf->CloseInfFile(state.inf);
    state.inf = platform::kInvalidInf;
}

}  // namespace

int OpenInfFile(const char* path) {
    EngineState& state = engineState();
    // A caller that opens again without closing would otherwise lose the old handle.
    closeOpenInf();
    stopEnumerations();
    platform::InfReader* reader = platform::machine().inf;
    platform::HInf inf = platform::kInvalidInf;
    if (path == nullptr || reader == nullptr ||
        reader->OpenInfFile(path, INF_STYLE_WIN4, &inf, nullptr) != ERROR_SUCCESS) {
        state.infPath.clear();
        return 1;
    }
    state.inf = inf;
    state.infPath = path;
    forgetResolvedState();
    return 0;
}

int CloseInfFile() {
    EngineState& state = engineState();
    if (state.inf == platform::kInvalidInf) return 1;
    closeOpenInf();
    stopEnumerations();
    state.infPath.clear();
    return 0;
}

int RestartOrReboot() {
    const EngineState& state = engineState();
    if (state.installSection.empty()) return 1;
    platform::InfContext line;
    const char* section = state.installSection.c_str();
    if (findLine(state.inf, section, "Restart", &line)) return 0;
    if (findLine(state.inf, section, "Reboot", &line)) return 0;
    return 1;
}

}  // namespace infengine

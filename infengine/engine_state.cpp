#include "infengine/engine_state.h"

#include "infengine/engine_text.h"
#include "platform/machine.h"
#include "platform/system.h"

namespace infengine {

EngineState& engineState() {
    static EngineState state;
    return state;
}

void resetEngine() {
    EngineState& state = engineState();
    const std::uintptr_t module = state.module;
    state = EngineState();
    state.module = module;
}

void stopEnumerations() {
    EngineState& state = engineState();
    for (SectionListCursor* cursor :
         {&state.include, &state.needs, &state.copyFiles, &state.knownFilesWalk, &state.delFiles,
          &state.addReg, &state.delReg, &state.updateInis, &state.updateIniFields,
          &state.updateAutoBat, &state.updateCfgSys}) {
        *cursor = SectionListCursor();
    }
    state.currentLine = platform::InfContext();
}

std::string windowsDirectory() {
    char buffer[kTextSize] = {};
    const std::uint32_t length = platform::machine().system->GetWindowsDirectory(buffer, kTextSize);
    return length > 0 && length < kTextSize ? std::string(buffer, length) : std::string();
}

std::string systemDirectory() {
    char buffer[kTextSize] = {};
    const std::uint32_t length = platform::machine().system->GetSystemDirectory(buffer, kTextSize);
    return length > 0 && length < kTextSize ? std::string(buffer, length) : std::string();
}

}  // namespace infengine

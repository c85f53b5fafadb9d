#include "props/logic/advanced_state.h"

#include "settings/tunara_settings.h"

namespace props {

bool effectiveGameSupport(const settings::tunaraSettings& s) {
    return s.isMaestro2E || s.gameSupport;
}

AdvancedState loadAdvancedState(settings::tunaraSettings& s) {
    AdvancedState state;
    state.hwAcceleration = s.hwAcceleration;
    state.joystickEnabled = !s.joystickDisabled;
    state.gameSupport = effectiveGameSupport(s);
    state.nativeDosSupport = s.dosStartHasDriver();
    state.wavetableSize = s.detectActiveWavetableSize();
    state.micBoost = s.micBoost;
    return state;
}

void noteHwAccelerationChange(AdvancedState* state, settings::tunaraSettings& s, bool on) {
    state->hwAcceleration = on;
    s.hwAcceleration = on;
}

void noteMicBoostChange(AdvancedState* state, settings::tunaraSettings& s, bool on) {
    state->micBoost = on;
    s.micBoost = on;
}

void noteWavetableChange(AdvancedState* state, settings::tunaraSettings& s, std::int32_t size) {
    state->wavetableSize = size;
    s.activeWavetableSize = size;
}

}  // namespace props

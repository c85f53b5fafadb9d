#include "infengine/driver_state.h"

namespace infengine {

DriverState& driverState() {
    static DriverState state;
    return state;
}

void syncDriverState() {
    DriverState& state = driverState();
    const EngineState& engine = engineState();
    if (state.inf == engine.inf && state.infPath == engine.infPath) return;
    // Another INF (or none): keep only what outlives INFs.
    const bool stopped = state.preinstallStopped;
    state = DriverState();
    state.preinstallStopped = stopped;
    state.inf = engine.inf;
    state.infPath = engine.infPath;
}

void resetDriverState() {
    driverState() = DriverState();
}

}  // namespace infengine

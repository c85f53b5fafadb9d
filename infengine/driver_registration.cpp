// EnumDriverReg: the registry values that register the INF's driver, one per call.
#include "infengine/driver_registration.h"

#include "infengine/driver_registration_9x.h"
#include "infengine/driver_registration_nt.h"
#include "infengine/driver_state.h"
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "infengine/registration_values.h"
#include "infengine/windows_kind.h"

namespace infengine {

int registrationValue(std::uint16_t* index, const RegistryOutputs& out) {
    startRegistrationCall(out);
    DriverState& driver = driverState();
    const int kind = windowsKind();
    if (index == nullptr || engineState().inf == platform::kInvalidInf || kind == 0) return 1;
    if (*index == 0) {
        driver.foundOnBus = false;
        if (kind == kWindowsNt) driver.service = NtServiceRecord();
    }
    const int result =
        kind == kWindowsNt ? ntRegistrationValue(index, out) : win9xRegistrationValue(index, out);
    // The end leaves nothing a caller could mistake for a value.
    if (result != 0) emptyRegistryOutputs(out);
    return result;
}

int EnumDriverReg(std::uint16_t* index, char* root, char* subKey, char* valueName, char* data,
                  int* typeFlags) {
    syncDriverState();
    return registrationValue(index, {root, subKey, valueName, data, typeFlags});
}

}  // namespace infengine

// What the advanced settings dialog holds: the card's switches as the user last confirmed
// them, loaded from the settings object each time the dialog opens and changed otherwise
// only by its OK and by the tray utility's change messages.
#pragma once

#include <cstdint>

namespace settings {
class tunaraSettings;
}

namespace props {

struct AdvancedState {
    bool hwAcceleration = false;
    bool joystickEnabled = false;
    bool micBoost = false;
    bool gameSupport = false;
    bool nativeDosSupport = false;
    // 0 (none), 2 or 4 MB; -1 when no size button was checked at the dialog's OK.
    std::int32_t wavetableSize = 0;
};

// Game support as the card has it: always on for a Maestro-2E.
bool effectiveGameSupport(const settings::tunaraSettings& s);

// The dialog's state when it opens: the settings object's fields, the DOS start-up file's
// driver line and the sample set detected on disk (detectActiveWavetableSize).
AdvancedState loadAdvancedState(settings::tunaraSettings& s);

// The change messages from the tray utility, applied to the dialog's state and the settings
// object alike (the sheet then redraws the dialog if it is open).
void noteHwAccelerationChange(AdvancedState* state, settings::tunaraSettings& s, bool on);
void noteMicBoostChange(AdvancedState* state, settings::tunaraSettings& s, bool on);
void noteWavetableChange(AdvancedState* state, settings::tunaraSettings& s, std::int32_t size);

}  // namespace props

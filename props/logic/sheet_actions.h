// What the main sheet's OK and Cancel do, as plain operations on the settings object and the
// machine's user interface, so that the window procedure only gathers the page's state and
// calls them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/ui.h"
#include "props/logic/advanced_state.h"
#include "settings/change_messages.h"

namespace settings {
class tunaraSettings;
}

namespace props {

// One difference between the advanced dialog's state and the settings, in the order OK
// acts on them.
enum class OkAction {
    HwAcceleration,  // setHwAcceleration; "HwAcceleration Change"; restart
    MicBoost,        // setMicBoost; "Mic Boost Change"
    Joystick,        // writeDeviceSwitch "JoyDisable"; restart
    GameSupport,     // writeDeviceSwitch "GameSupport"; restart
    NativeDos,       // editNativeDosSupport; restart when lines were added
    Wavetable,       // setWavetableSize; "MIDI Wavetable Change"; restart when it says so
};

// The differences to act on. `dosDriverPresent` is what dosStartHasDriver reports now. A
// wavetable size of -1 (no size chosen) is no change.
std::vector<OkAction> planAdvancedChanges(const AdvancedState& state,
                                          const settings::tunaraSettings& s, bool dosDriverPresent);

// What the sheet's OK did (for the record and the tests).
struct OkResult {
    std::vector<OkAction> actions;
    bool restartAsked = false;  // the restart question was shown
    bool rebootRequested = false;
};

// Everything the sheet needs to apply OK.
struct OkContext {
    platform::HWnd sheet = 0;        // owner of the boxes, brought forward to start the tray
    platform::HModule language = 0;  // the strings of the boxes
    settings::ChangeMessages messages;
    bool trayIconChecked = false;  // the settings page's check box
    bool advancedDialogOpened = false;
    AdvancedState advanced;
};

// OK, after the sheet is hidden: the tray icon choice when it differs from trayAutoStart;
// when the advanced dialog was opened, each planned change with its message to the tray
// window (looked up once); updateInfDefaults; and the restart question (string 3, caption
// string 6), rebooting on Yes. Removing the pages and ending the loop stay with the sheet.
OkResult applyOk(settings::tunaraSettings& s, const OkContext& context);

// The tray icon switched on (autostart value, then the tray started) or off (after the
// user's confirmation: autostart removed, the notice, and the tray told to exit). Declining
// the question changes nothing.
void applyTrayIconChoice(settings::tunaraSettings& s, bool on, platform::HWnd sheet,
                         platform::HModule language, const settings::ChangeMessages& messages);

// Starts the system folder's tnrtray.exe without waiting for it, after bringing the sheet
// forward. The result is not examined; the process handle is closed at once.
void launchTray(platform::HWnd sheet);

// Cancel: the output device goes back to what it was when the page opened (or as the tray
// last reported it). True when it was toggled.
bool restoreOutputDevice(settings::tunaraSettings& s, bool initialSpeakerOutput);

// A string of the language module (at most 259 characters; empty when missing).
std::string loadModuleString(platform::HModule module, std::uint32_t id);

}  // namespace props

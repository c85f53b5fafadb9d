#include "props/logic/advanced_controls.h"

#include "lang/resource_ids.h"
#include "settings/wavetable.h"

namespace props {

SampleSetButtons availableSampleSetButtons() {
    SampleSetButtons buttons;
    buttons.twoMb = settings::sampleSetFilePresent(2);
    buttons.fourMb = settings::sampleSetFilePresent(4);
    return buttons;
}

AdvancedControlView advancedControlView(const AdvancedState& state, bool isMaestro2E) {
    AdvancedControlView view;
    view.hwAcceleration = state.hwAcceleration;
    view.micBoost = state.micBoost;
    view.joystick = state.joystickEnabled;
    view.nativeDos = state.nativeDosSupport;
    view.gameSupport = state.gameSupport;
    view.disableNativeDos = !state.gameSupport && !isMaestro2E;
    switch (state.wavetableSize) {
        case 0:
            view.wavetableButton = IDC_ADVANCED_WAVETABLE_NONE;
            break;
        case 2:
            view.wavetableButton = IDC_ADVANCED_WAVETABLE_2MB;
            break;
        case 4:
            view.wavetableButton = IDC_ADVANCED_WAVETABLE_4MB;
            break;
        default:
            view.wavetableButton = 0;
            break;
    }
    return view;
}

bool nativeDosEnabledAfterGameSupportClick(bool gameSupportChecked) {
    return gameSupportChecked;
}

AdvancedState advancedStateFromChecks(const AdvancedChecks& checks) {
    AdvancedState state;
    state.hwAcceleration = checks.hwAcceleration;
    state.micBoost = checks.micBoost;
    state.joystickEnabled = checks.joystick;
    state.gameSupport = checks.gameSupport;
    state.nativeDosSupport = checks.nativeDos;
    state.wavetableSize = checks.wavetableNone  ? 0
                          : checks.wavetable2Mb ? 2
                          : checks.wavetable4Mb ? 4
                                                : -1;
    return state;
}

AdvancedLayout advancedLayout(bool isMaestro2E) {
    AdvancedLayout layout;
    if (!isMaestro2E) return layout;
    layout.hidden = {IDC_ADVANCED_GAME_SUPPORT, IDC_ADVANCED_DOS_GROUP};
    layout.shifts.push_back({IDC_ADVANCED_NATIVE_DOS, -46});
    for (int id : {IDC_ADVANCED_OK, IDC_ADVANCED_CANCEL, IDC_ADVANCED_HELP,
                   IDC_ADVANCED_HW_ACCELERATION, IDC_ADVANCED_MIC_BOOST, IDC_ADVANCED_JOYSTICK})
        layout.shifts.push_back({id, -55});
    layout.nativeDosText = "&Native DOS Support";
    layout.heightChange = -55;
    return layout;
}

}  // namespace props

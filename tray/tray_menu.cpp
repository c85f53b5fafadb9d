#include "tray/tray_menu.h"

#include "settings/tunara_settings.h"
#include "settings/wavetable.h"

namespace tray {

TrayMenuState computeTrayMenuState(settings::tunaraSettings& card, std::int32_t rememberedSize) {
    TrayMenuState state;
    state.speakers = card.readSpeakerOutput();
    state.hwAcceleration = card.hwAcceleration;
    state.micBoost = card.micBoost;
    const std::int32_t size = card.anyWavetableFilePresent() ? rememberedSize : 0;
    const std::int32_t selected = size / 2;  // C++ division truncates towards zero
    for (int item = 0; item < 3; ++item) {
        state.sampleSets[item].checked = item == selected;
        if (item > 0) state.sampleSets[item].greyed = !settings::sampleSetFilePresent(2 * item);
    }
    return state;
}

}  // namespace tray

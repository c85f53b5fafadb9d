// What the tray's popup menu shows: the check marks and greyed items, computed from the
// settings and the sample-set files at the moment the menu opens.
#pragma once

#include <cstdint>

namespace settings {
class tunaraSettings;
}

namespace tray {

struct SampleSetItemState {
    bool checked = false;
    // Greyed and disabled: no file of this sample set is in the system folder.
    bool greyed = false;
};

struct TrayMenuState {
    // Output device submenu: item 0 (speakers) is checked when true, item 1 (headphones)
    // otherwise; the item not checked keeps the state the menu resource gives it.
    bool speakers = true;
    bool hwAcceleration = false;
    bool micBoost = false;
    // Sample set submenu: none, 2 MB, 4 MB.
    SampleSetItemState sampleSets[3];
};

// Reads the output device from DirectSound and the rest from the settings, the remembered
// active sample-set size and the files. The sample-set item checked is the remembered size
// halved (rounded towards zero), or "none" when no sample-set file exists at all; a size
// outside 0..5 checks nothing.
TrayMenuState computeTrayMenuState(settings::tunaraSettings& card, std::int32_t rememberedSize);

}  // namespace tray

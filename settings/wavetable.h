// The wavetable sample sets and the driver INF: names the operations of tunaraSettings
// (settings/tunara_settings.h) share with the programs.
//
// The card's synthesiser plays from a sample set in the system folder: a 2 MB set and a 4 MB
// set, switched on and off together by renaming them between their active (".img") and
// inactive (".im") names. "SoundLibSize" says which one is in force.
#pragma once

#include <cstdint>

namespace settings {

// In the system folder (GetSystemDirectoryA).
constexpr const char* kTwoMbActive = "\\Plat2Meg.img";
constexpr const char* kTwoMbInactive = "\\Plat2Meg.im";
constexpr const char* kFourMbActive = "\\Plat4Meg.img";
constexpr const char* kFourMbInactive = "\\Plat4Meg.im";
// Whether the sample set of `megabytes` (2 or 4) can be chosen: "Plat<n>Meg.im" or
// "Plat<n>Meg.img" opens in the system folder for reading beside whoever has it open. The
// tray greys its menu item and the advanced settings dialog disables its button otherwise.
bool sampleSetFilePresent(int megabytes);

// The song the sequencer probe opens.
constexpr const char* kBlankSong = "\\blank.mid";
constexpr const char* kSequencerDevice = "sequencer";

// The Run value that has the tray switch to the 2 MB set at each start, while it is chosen.
constexpr const char* kWavetableRunValue = "Cantora Wavetable = 2MB";
constexpr const char* kWavetableOption = " -wavetableTwoMb";

// The chip maker's wave driver, and its message that reloads the sample set.
constexpr const char* kWaveDriverName = "es197x.drv";
constexpr std::uint32_t kReloadSampleSetMessage = 0x4015;  // DRV_USER + 0x15
constexpr std::intptr_t kReloadSampleSetParam = 4;

// The driver INFs, in the Windows folder.
constexpr const char* kMaestro1Inf = "\\inf\\mstrowt.inf";
constexpr const char* kMaestro2EInf = "\\inf\\cnprowt.inf";

}  // namespace settings

// Switching the wavetable sample set: the MIDI probe that refuses a switch while the sets are
// in use, and the transitions between none, 2 MB and 4 MB.
//
//   from \ to    0                     2                          4
//   0            (same: nothing)       rename .im -> .img,        rename .im -> .img,
//                                      Run value, INF update      INF update
//   2 or 4       rename .img -> .im    (2 -> 2: nothing)          "SoundLibSize" 4, INF update
//                                      4 -> 2: Run value,         (4 -> 4: nothing)
//                                      "SoundLibSize" 2, driver
//                                      told to reload
//
// Every switch that changes the files or the driver's size needs a restart. Switching off
// keeps activeWavetableSize (the renamed files are still in use until Windows restarts); the
// next detectActiveWavetableSize sees the change.
#include <string>

#include "lang/resource_ids.h"
#include "platform/installable_drivers.h"
#include "platform/machine.h"
#include "platform/mci.h"
#include "platform/ui.h"
#include "settings/folder_paths.h"
#include "settings/setting_values.h"
#include "settings/tunara_settings.h"
#include "settings/wavetable.h"

namespace settings {
namespace {

// A string that stands for "no message" in the language modules.
constexpr const char* kBlankText = "Blank";

void debug(const char* text) {
    platform::machine().system->OutputDebugString(text);
}

// Renames a sample set in the system folder; a failure (already renamed, in use) is ignored:
// the switch is completed by the restart that follows anyway.
void renameSampleSet(const char* from, const char* to) {
    const std::string source = systemFolderPath(from);
    const std::string target = systemFolderPath(to);
    if (!source.empty() && !target.empty())
        platform::machine().files->MoveFile(source.c_str(), target.c_str());
}

bool isValidSize(std::int32_t size) {
    return size == 0 || size == 2 || size == 4;
}

}  // namespace

bool tunaraSettings::isMidiPlaying() {
    platform::Mci& mci = *platform::machine().mci;
    const std::string song = systemFolderPath(kBlankSong);
    platform::MciDeviceId device = 0;
    // A sequencer that will not open with our empty song is taken: someone is playing.
    if (song.empty() ||
        mci.Open(kSequencerDevice, song.c_str(), MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &device) != 0) {
        debug("MIDI currently playing\n");
        return true;
    }
    std::uintptr_t port = 0;
    if (mci.Status(device, MCI_STATUS_ITEM, MCI_SEQ_STATUS_PORT, &port) != 0) {
        mci.Close(device, 0);
        debug("MIDI currently playing\n");
        return true;
    }
    const std::uint32_t played = mci.Play(device, MCI_NOTIFY, ownerWindow);
    mci.Close(device, 0);
    if (played != 0) {
        debug("MIDI currently playing\n");
        return true;
    }
    debug("MIDI not currently playing\n");
    return false;
}

bool tunaraSettings::setWavetableSize(std::int32_t target, bool* restartNeeded) {
    if (!isValidSize(target)) return false;

    // The sets are renamed below; while MIDI plays from them that can only work when the
    // inactive 2 MB set is there to be renamed.
    if (isMidiPlaying() && twoMbSetMissing()) {
        char text[kTextBufferSize] = {};
        platform::UserInterface& ui = *platform::machine().ui;
        ui.LoadString(resourceModule, IDS_MIDI_BUSY, text, sizeof text);
        if (std::string(text) != kBlankText)
            ui.MessageBox(0, text, productTitle.c_str(), MB_ICONINFORMATION);
        return false;
    }

    bool restart = false;
    // The Run value says "the 2 MB set is chosen": anything else ends it.
    if (target != 2) setTwoMbStartupCommand(false);

    if (target == activeWavetableSize) {
        // Nothing to switch.
    } else if (target == 0) {
        restart = true;
        renameSampleSet(kTwoMbActive, kTwoMbInactive);
        renameSampleSet(kFourMbActive, kFourMbInactive);
    } else if (activeWavetableSize == 0) {
        // Switching on: the size reaches the driver through the INF at the reinstallation.
        renameSampleSet(kTwoMbInactive, kTwoMbActive);
        renameSampleSet(kFourMbInactive, kFourMbActive);
        restart = true;
        infNeedsUpdate = true;
        setTwoMbStartupCommand(target == 2);
        activeWavetableSize = target;
    } else {
        // Between 2 and 4, through the chip maker's driver.
        platform::InstallableDrivers& drivers = *platform::machine().drivers;
        const platform::HDriver driver = drivers.OpenDriver(kWaveDriverName, nullptr, 0);
        if (driver != 0) {
            if (target == 2) {
                setTwoMbStartupCommand(true);
                activeWavetableSize = 2;
                writeConfigValue(2, kConfigItemSoundLibSize);
                restart = true;
                drivers.SendDriverMessage(driver, kReloadSampleSetMessage, kReloadSampleSetParam,
                                          0);
            } else {
                activeWavetableSize = 4;
                writeConfigValue(4, kConfigItemSoundLibSize);
                restart = true;
                infNeedsUpdate = true;
            }
            drivers.CloseDriver(driver, 0, 0);
        }
    }
    if (restartNeeded != nullptr) *restartNeeded = restart;
    return true;
}

void tunaraSettings::setTwoMbStartupCommand(bool enable) {
    setTrayRunCommand(kWavetableRunValue, kWavetableOption, enable);
}

}  // namespace settings

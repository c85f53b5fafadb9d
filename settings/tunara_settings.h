// tunaraSettings: the card as both user programs see it.
//
// Each program (tunaractl, tnrtray) makes exactly one at start and keeps it to the end. The
// constructor finds the chip on the PCI bus, finds the driver's registry keys from the chip's
// location, reads every setting and asks the device inspector whether any card device is
// live. The pages, dialogs and the tray then read the public fields directly and call the
// operations to change a setting.
//
// Where the settings live (all under HKEY_LOCAL_MACHINE):
//   Enum\ZIZEZ\WAVE\<hardwareIdPrefix><instanceSuffix>   "Driver" -> the wave device's class key
//   System\CurrentControlSet\Services\Class\<driver>\Config  (configKey) the card settings:
//       "HwAcceleration", "SoundLibSize", "Enable Mic Volume 20dB Boost", "JoyDisable",
//       "MicMute", "SPDIF", "EnableSPDIF"
//   <pciEnumKey>\<pciLocation>   "Driver" -> the PCI function's class key, which holds the
//       joystick switch (joystickValueName) and "GameSupport"
//   Software\Microsoft\Windows\CurrentVersion\Run   "Cantora SysTray"
// Every switch and number we write there is a two-byte REG_BINARY (settings/setting_values.h).
//
// Failures are silent by design: a key that cannot be opened leaves the fields it would have
// set as they were (constructor defaults: flags off, speakersOutput on, numbers 0), writers
// return false or do nothing. Diagnostics go to the debug channel only.
//
// Single-threaded: every operation runs on the program's user-interface thread, and the
// mixer's change notifications arrive there as window messages to ownerWindow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/direct_sound.h"
#include "platform/mixer.h"
#include "platform/registry_key.h"
#include "platform/system.h"
#include "settings/chip_scan.h"

namespace settings {

// Registry names of the card settings.
constexpr const char* kMicBoostValue = "Enable Mic Volume 20dB Boost";
constexpr const char* kHwAccelerationValue = "HwAcceleration";
constexpr const char* kSoundLibSizeValue = "SoundLibSize";
constexpr const char* kJoyDisableValue = "JoyDisable";
constexpr const char* kJoystickSupportValue = "JoystickSupport";
constexpr const char* kGameSupportValue = "GameSupport";
constexpr const char* kMicMuteValue = "MicMute";
constexpr const char* kSpdifValue = "SPDIF";
constexpr const char* kEnableSpdifValue = "EnableSPDIF";
constexpr const char* kDriverValue = "Driver";

constexpr const char* kWaveEnumKey = "Enum\\ZIZEZ\\WAVE\\";
constexpr const char* kClassKeyPrefix = "System\\CurrentControlSet\\Services\\Class\\";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kTrayRunValue = "Cantora SysTray";
// The tray program, in the system folder.
constexpr const char* kTrayProgramName = "\\tnrtray.exe";

constexpr const char* kMaestro1HardwareIdPrefix = "PCI&VEN_1285&DEV_0100&";
constexpr const char* kMaestro2EHardwareIdPrefix = "PCI&VEN_125D&DEV_1978&";
constexpr const char* kMaestro1PciEnumKey = "Enum\\PCI\\VEN_1285&DEV_0100";
constexpr const char* kMaestro2EPciEnumKey = "Enum\\PCI\\VEN_125D&DEV_1978";

// Items of writeConfigValue.
constexpr std::int32_t kConfigItemMicBoost = 1;
constexpr std::int32_t kConfigItemHwAcceleration = 2;
constexpr std::int32_t kConfigItemSoundLibSize = 3;
constexpr std::int32_t kConfigItemJoyDisable = 4;

// The language module's string that names the product (caption of our message boxes).
constexpr std::uint32_t kProductTitleStringId = 6;

class tunaraSettings {
  public:
    // Finds the chip and the driver's keys and reads every setting (see the .cpp for the
    // order). Never fails: whatever cannot be found keeps its default.
    tunaraSettings();
    // Closes the mixer handle kept for change notifications; the settings stay as they are.
    ~tunaraSettings();
    tunaraSettings(const tunaraSettings&) = delete;
    tunaraSettings& operator=(const tunaraSettings&) = delete;

    // ---- Loading (the constructor's steps; each may be called again to refresh) --------

    // Scans the bus for the chip and derives the location and the key names from it:
    // pciLocation, hardwareIdPrefix, pciEnumKey, instanceSuffix, isMaestro2E and
    // joystickValueName. Without either chip it takes the Maestro-2E path with a location
    // that names no device, so every later look-up fails and the settings keep their
    // defaults. On Windows 98 (minor version 10) a Maestro-2E's names carry the subsystem
    // and revision part found by findWavetableInstance.
    void detectChip();
    // The subsystem and revision part ("SUBSYS_1978125D&REV_10") of the first sub key of
    // Enum\ZIZEZ\WAVE whose name contains both hardwareIdPrefix and pciLocation
    // (case-sensitive): the 22 characters after the name's first 22. Empty when there is no
    // such key or the key cannot be opened.
    std::string findWavetableInstance();
    // detectChip, then the wave device's "Driver" value, which names driverClassKey and
    // configKey, then the three readers.
    void locateDriverKeys();
    // micMute, hwAcceleration, enableSpdif, spdif and soundLibSize from configKey. When the
    // key cannot be opened (or no driver key was found) nothing changes.
    void readConfigValues();
    // joystickDisabled and gameSupport from the PCI function's class key. When that key
    // cannot be found nothing changes. A missing or unreadable joystick value means the
    // joystick is off; "GameSupport" missing or 0 means off on a Maestro-1 and on on a
    // Maestro-2E, which always offers it.
    void readJoystickAndGameSupport();
    // trayAutoStart: whether the Run value "Cantora SysTray" exists (and fits 260 bytes).
    void readTrayAutoStart();

    // ---- Writers -------------------------------------------------------------------------

    // Stores `value` as a two-byte binary under configKey: item 1 "Enable Mic Volume 20dB
    // Boost" (micBoost := value == 1), item 2 "HwAcceleration" (hwAcceleration := value ==
    // 1), item 3 "SoundLibSize", item 4 "JoyDisable". The key is opened, not created. True
    // only when the open, the write and the close all succeed; the field changes only then.
    // Any other item is refused with false and nothing written.
    bool writeConfigValue(std::int32_t value, std::int32_t item);

    // Writes a device switch (1 when `flag`, else 0) as a two-byte binary into the PCI
    // function's class key. Callers pass "JoyDisable" with flag = joystick off, or
    // "GameSupport" with flag = game support on. On a Maestro-2E the switch is always
    // "JoystickSupport" with the flag inverted, whatever name was passed, and the caller's
    // buffer (`valueNameSize` bytes) receives that name when it fits (it is left alone
    // otherwise). No field changes; the readers pick the new state up. True when written.
    bool writeDeviceSwitch(char* valueName, std::size_t valueNameSize, bool flag);

    // Maestro-1: writeConfigValue(on ? 1 : 0, item 2) and its result. Maestro-2E: the driver
    // takes this setting only from its INF, so hwAcceleration := on and infNeedsUpdate :=
    // true, and the result is false (nothing was written yet).
    bool setHwAcceleration(bool on);

    // Writes (enable) or deletes the Run value "Cantora SysTray" = system folder +
    // "\tnrtray.exe". Nothing happens when the Run key cannot be opened or the system folder
    // cannot be read. trayAutoStart is not changed: it reflects the registry as last read.
    void setTrayAutoStart(bool enable);

    // Stores the window that receives the mixer's (and MCI's) notifications and uses it for
    // DirectSound's cooperative level; then micBoost := readMicBoost(). Returns micBoost.
    bool setOwnerWindow(platform::HWnd window);

    // Stores the language module and loads its product title (string 6) into productTitle
    // (at most 259 characters).
    void setResourceModule(platform::HModule module);

    // ---- Output device (DirectSound speaker configuration) ------------------------------

    // The speaker configuration of the default DirectSound device into speakerConfig;
    // speakersOutput := it is stereo (the geometry bits of a stereo configuration do not
    // matter). When DirectSound cannot be used, speakersOutput is returned unchanged.
    bool readSpeakerOutput();
    // Speakers: DSSPEAKER_STEREO, speakersOutput := true; otherwise DSSPEAKER_HEADPHONE,
    // speakersOutput := false. Nothing changes when DirectSound cannot be used or refuses.
    void setSpeakerOutput(bool speakers);
    // setSpeakerOutput with the opposite of what readSpeakerOutput reports.
    void toggleSpeakerOutput();

    // ---- Microphone boost (the mixer) ---------------------------------------------------
    //
    // The boost is the third control (index 2) of the first microphone source of the first
    // destination of mixer 0, found by position, not by name. The mixer is opened once with
    // window notification to ownerWindow and kept open, so that window keeps receiving
    // MM_MIXM_LINE_CHANGE and MM_MIXM_CONTROL_CHANGE; it is opened again when ownerWindow
    // changes, and closed with this object.

    // The boost as the mixer has it; false when anything fails.
    bool readMicBoost();
    // micBoost := on, then applyMicBoost(on).
    void setMicBoost(bool on);
    // Writes the state (1 or 0) to the boost control. Failures change nothing.
    void applyMicBoost(bool on);
    // The open mixer and the microphone line of destination 0. False when there is no mixer,
    // no destination 0 or no microphone source in it.
    bool openMicLine(platform::HMixer* mixer, platform::MixerLine* line);
    // The line's controls into *controls and the boost control's value into *value, with
    // *details describing it (one channel, 4 bytes at `value`). False when the line has fewer
    // than three controls or a mixer call fails.
    bool getBoostControl(platform::HMixer mixer, const platform::MixerLine& line,
                         std::vector<platform::MixerControl>* controls, std::uint32_t* value,
                         platform::MixerControlDetails* details);

    // ---- Wavetable sample sets, native DOS support -------------------------------------
    // (their operations are declared by those parts of the settings core)

    // Wavetable sample sets (settings/wavetable.h). "Exists" means the file opens for
    // reading with read and write sharing.

    // After removeInactiveSetCopies: activeWavetableSize := soundLibSize when
    // "Plat2Meg.img" or "Plat4Meg.img" exists, else 0. Returns it. Both programs call this
    // at start, before any change.
    std::int32_t detectActiveWavetableSize();
    // With "Plat2Meg.img" present, deletes stale "Plat2Meg.im" and "Plat4Meg.im" copies.
    void removeInactiveSetCopies();
    // Whether any of the four sample set files exists ("Found a wavetable file" on the debug
    // channel when one does).
    bool anyWavetableFilePresent();
    // "Plat2Meg.im" does not exist.
    bool twoMbSetMissing();
    // Probes the MIDI sequencer: opens it with "blank.mid", asks its port and plays the song
    // with completion notified to ownerWindow, closing it at once. True ("MIDI currently
    // playing") when any step fails, which is how a sequencer in use answers.
    bool isMidiPlaying();
    // Switches the sample set to `target` MB (0, 2 or 4). Refused with false, and the
    // message of string 18 unless it is "Blank", while MIDI plays and the inactive 2 MB set
    // is missing; false too for another target. Otherwise true, with *restartNeeded (may be
    // null) saying whether Windows must restart. See wavetable_size.cpp for the transitions.
    bool setWavetableSize(std::int32_t target, bool* restartNeeded);
    // Writes or deletes the Run value "Cantora Wavetable = 2MB" (system folder +
    // "\tnrtray.exe -wavetableTwoMb"). Nothing happens when the Run key cannot be opened.
    void setTwoMbStartupCommand(bool enable);
    // Removes the wave device's Enum key and the driver's class key so that Windows installs
    // the device again from its INF at the next start, and, unless DOSSTART.BAT runs the DOS
    // driver, schedules the removal of the DOS lines the INF will add. Does nothing unless
    // driverKeysFound (and the driver names a class instance): those keys would otherwise
    // name the whole class tree.
    void forceDeviceReinstall();
    // Searches the open INF for `marker` from its file pointer and overwrites the byte after
    // it with the byte of `code` (settings/inf_patch.h). True when the marker was found (and
    // the byte written); false with the file pointer at the end of the file when it was not.
    bool patchInfByte(platform::FileHandle file, const char* marker, std::int32_t code);
    // When infNeedsUpdate: forceDeviceReinstall, then the six markers of the driver INF
    // patched with the current settings. infNeedsUpdate stays set.
    void updateInfDefaults();

    // Native DOS support (settings/native_dos.h).

    // The user-level operation: with `install` and the support not installed, the prompt in
    // installation mode and, as chosen there, the line files and the lines themselves, then
    // a summary; without `install` and the support installed, the removal (with `silent`
    // no prompt and no summary). True when the user chose to add the lines (whatever each
    // file's result): Windows must restart for them to count.
    bool editNativeDosSupport(bool install, bool silent);
    // The Windows folder's DOSSTART.BAT runs "maestro.com".
    bool dosStartHasDriver();
    // Writes the Run value "Remove Native DOS Support" (system folder + "\tnrtray.exe
    // -removeNativeDOSSupport"). Nothing happens when the Run key cannot be opened.
    void scheduleNativeDosRemoval();
    // On uninstall: the .hv1 and .hv files of the start-up files found, and the active sample
    // sets "Plat2Meg.img" and "Plat4Meg.img"; the inactive ".im" files stay.
    void removeBackupsAndSampleSets();
    // The three edits. Each first finds both driver files and stops, touching nothing, when
    // one is missing (false). addNativeDosLines adds each file's line unless it is there
    // already; removeNativeDosLines takes its first occurrence out (with the "\r\n" after
    // it); writeDosLineFiles writes each file's line to its .hv file. A start-up file that is
    // not found is skipped. True when every start-up file found is as asked.
    bool addNativeDosLines();
    bool removeNativeDosLines();
    bool writeDosLineFiles();

    // File primitives of the edits.

    // Finds a file for the edits: the Windows folder first when asked, then "C:\", then the
    // drives a: to z: in order, each one made the current drive first (and the last drive
    // that could be made current stays so). The first candidate that opens for reading is
    // the result, in *path. Candidates longer than 259 characters are not tried.
    bool findDosFile(const char* name, std::string* path, bool windowsFolderFirst);
    // Whether the file contains `text` (settings/text_match.h). False when it cannot be
    // opened; an empty text is in every file that opens.
    bool fileContains(const char* path, const char* text);
    // `path` with everything after the last '.' of its file name replaced by "hv1" (kind 0)
    // or "hv" (kind 1); a file name without '.' gets "." and the extension. Empty for an
    // empty path, another kind, or a result that would not fit 260 bytes.
    std::string backupName(const std::string& path, std::int32_t kind);
    // Adds `text` to the file, after copying it to its kind-0 backup. At the end (atEnd),
    // after "\r\n" when checkLineEnd is set and the file does not end with one; otherwise at
    // the beginning, for files of 1 to 9,999 bytes (a larger one gets it at its end, an empty
    // one consists of it). False when the backup cannot be made (the file is untouched), the
    // file cannot be opened for writing, or a write fails: the file is then restored from the
    // backup. The backup stays in every case.
    bool insertTextInFile(const char* path, const char* text, bool checkLineEnd, bool atEnd);
    // Takes the first occurrence of `text` out of the file (with a "\r\n" directly after it),
    // after copying the file to its kind-0 backup. False when the backup cannot be made, the
    // text is empty or not in the file, or the edit fails (the file is then restored from the
    // backup).
    bool removeTextFromFile(const char* path, const char* text);

    // ---- Fields, read directly by the pages and the tray --------------------------------

    // Name of the joystick switch in the PCI function's class key: "JoyDisable" (Maestro-1,
    // non-zero = off) or "JoystickSupport" (Maestro-2E, non-zero = on).
    std::string joystickValueName;
    // "SoundLibSize": the sample set size in MB, 0, 2 or 4.
    std::int32_t soundLibSize = 0;
    // The size of the sample set active on disk; kept by the wavetable operations.
    std::int32_t activeWavetableSize = 0;
    bool hwAcceleration = false;
    bool trayAutoStart = false;
    bool micBoost = false;
    bool micMute = false;
    bool joystickDisabled = false;
    bool gameSupport = false;
    // Output to speakers (DirectSound stereo) rather than headphones.
    bool speakersOutput = true;
    bool spdif = false;
    bool enableSpdif = false;
    // String 6 of the language module: the caption of our message boxes.
    std::string productTitle;
    // kClassKeyPrefix + the wave device's "Driver" value, and that + "\Config".
    std::string driverClassKey;
    std::string configKey;
    // The last DirectSound speaker configuration read.
    std::uint32_t speakerConfig = 0;
    platform::HModule resourceModule = 0;
    // The DirectSound object while a speaker-configuration call runs; 0 otherwise.
    platform::HDirectSound directSound = 0;
    // "BUS_bb&DEV_dd&FUNC_ff".
    std::string pciLocation;
    // "PCI&VEN_1285&DEV_0100&" or "PCI&VEN_125D&DEV_1978&".
    std::string hardwareIdPrefix;
    // The wave device's instance name after hardwareIdPrefix.
    std::string instanceSuffix;
    // "Enum\PCI\VEN_...&DEV_...", on Windows 98 with a Maestro-2E + "&SUBSYS_...&REV_..".
    std::string pciEnumKey;
    bool isMaestro2E = false;
    platform::HWnd ownerWindow = 0;
    // The driver INF must be rewritten with the current settings before the next restart.
    bool infNeedsUpdate = false;
    // The device inspector saw at least one of the card's devices.
    bool cardPresent = false;
    // The wave device's "Driver" value was found, so driverClassKey and configKey name the
    // card's keys. While false they name no key of the card (their driver part is empty) and
    // nothing may be opened, written or deleted through them.
    bool driverKeysFound = false;

  private:
    // The PCI function's class key, found through its Enum key's "Driver" value, opened
    // with full access. False (and the debug text of the failed step) when it cannot be.
    bool openDeviceClassKey(platform::RegKey* key);
    // Creates the DirectSound object for a speaker call, with the normal cooperative level
    // for ownerWindow. False when DirectSound cannot be created.
    bool beginDirectSound();
    void endDirectSound();
    // Closes the kept mixer handle, if any.
    void closeMixer();

    // The mixer handle kept open for notifications, and the window it notifies.
    platform::HMixer mixer_ = 0;
    platform::HWnd mixerWindow_ = 0;
};

}  // namespace settings

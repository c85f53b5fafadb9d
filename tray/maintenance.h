// The maintenance tasks a command-line option asks for: the uninstall clean-up, the two
// steps of the common-controls and COM/OLE update on Windows 95, and the two settings
// changes left for the next log-on.
#pragma once

#include <cstdint>

namespace settings {
class tunaraSettings;
}

namespace tray {

constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kComctlUpdateRunValue = "Comctl32.dll Update";
constexpr const char* kComOleRunOnceValue = "AXDist update";
constexpr const char* kComctlUpdater = "\\40Comupd.exe -Q";
constexpr const char* kComOleUpdater = "\\AXDist.exe -Q";
constexpr const char* kTwoMbRunValue = "Cantora Wavetable = 2MB";
constexpr const char* kDosRemovalRunValue = "Remove Native DOS Support";

// Windows 95 (minor version 0, OSR2 included; not 98, not NT) with a system-folder
// comctl32.dll whose product version is below 4.70. False when the version cannot be read.
bool commonControlsAreOld();

// "-updateComctl": removes the Run value "Comctl32.dll Update"; with old common controls
// starts the updater and leaves the RunOnce value that runs "-updateCOMOLEFiles" next time.
void updateCommonControlsStep();
// "-updateCOMOLEFiles": starts the COM/OLE distribution unless the common controls are
// still old.
void updateComOleStep();

// "-uninstall": the shortcuts and folders below the English start menu, native DOS support,
// the backups and sample sets, and the tray's own Run value.
void uninstallCleanUp(settings::tunaraSettings& card);

// The 2 MB sample set chosen while it could not be installed: when the Run value
// "Cantora Wavetable = 2MB" exists, the set is switched to 2 MB. *rememberedSize receives the
// active size first and 2 when the switch was asked for.
void pendingTwoMbStep(settings::tunaraSettings& card, std::int32_t* rememberedSize);
// When the Run value "Remove Native DOS Support" exists, removes native DOS support without
// asking and deletes the value.
void pendingDosRemovalStep(settings::tunaraSettings& card);

// Starts `commandLine` (a program of the system folder with its switches) without waiting;
// a failure is ignored. Also used for the properties program (with an application path).
void startProgram(const char* applicationName, const char* commandLine);

}  // namespace tray

// Native DOS support: the card's real-mode drivers started from the DOS start-up files.
//
// MS-DOS programs run in MS-DOS mode reach the card through the device driver "aecu.sys"
// (a DEVICE= line at the top of CONFIG.SYS) and the program "maestro.com" (the last line of
// AUTOEXEC.BAT and of the Windows folder's DOSSTART.BAT). The operations that add and remove
// those lines are members of tunaraSettings (settings/tunara_settings.h); this header holds
// the names they share with the programs.
//
// Every edit first copies the file to "<name>.hv1" next to it (kind 0); the prompt can also
// write each line to "<name>.hv" (kind 1) for the user to add by hand.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lang/resource_ids.h"

namespace settings {

// The driver files, looked for on the drives' roots.
constexpr const char* kDosProgramName = "maestro.com";
constexpr const char* kDosDeviceDriverName = "aecu.sys";
constexpr const char* kDeviceLinePrefix = "DEVICE=";

// The start-up files, in the order every operation handles them.
struct DosStartupFile {
    const char* name;
    bool windowsFolderFirst;  // looked for in the Windows folder before the drives' roots
    bool isConfigSys;         // gets the DEVICE= line at its top; the others the program last
};
constexpr std::size_t kDosStartupFileCount = 3;
constexpr DosStartupFile kDosStartupFiles[kDosStartupFileCount] = {
    {"autoexec.bat", false, false},
    {"config.sys", false, true},
    {"dosstart.bat", true, false},
};

// Kinds of backupName.
constexpr std::int32_t kBackupKindCopy = 0;      // "hv1": the file as it was before an edit
constexpr std::int32_t kBackupKindLineFile = 1;  // "hv": the line that would be added

// Only a file of up to this many bytes is rewritten to put a line at its beginning; a larger
// one gets the line at its end instead. CONFIG.SYS files are a few hundred bytes; the limit
// keeps the in-place rewrite to files of that kind.
constexpr std::uint64_t kMaxInsertAtBeginningSize = 9999;

// Whether native DOS support is installed: the Windows folder's DOSSTART.BAT runs the program.
constexpr const char* kDosStartPath = "\\DosStart.bat";

// The Run value that has the tray take the lines out at the next start.
constexpr const char* kDosRemovalRunValue = "Remove Native DOS Support";
constexpr const char* kDosRemovalOption = " -removeNativeDOSSupport";

// B's text in removal mode, where it is hidden.
constexpr const char* kDosPromptKeepText = "No, do not remove Native DOS support";
// In removal mode OK and Cancel move up by this much and the window loses
// kDosPromptRemovalTrim at its top and at its bottom: the hidden rows go.
constexpr int kDosPromptRemovalButtonShift = 80;
constexpr int kDosPromptRemovalTrim = 40;

}  // namespace settings

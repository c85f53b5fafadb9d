// The tray program's command line: which maintenance task, if any, this run performs.
#pragma once

namespace tray {

// The options, in the order they are tested. The first one found decides the run.
enum class TrayOption {
    UpdateComOleFiles,       // "-updateCOMOLEFiles"
    UpdateComctl,            // "-updateComctl"
    Uninstall,               // "-uninstall"
    WavetableTwoMb,          // "-wavetableTwoMb"
    InitFourMb,              // "-initFourMb": accepted, does nothing
    UpdateComCtlIgnored,     // "-updateComCtl": accepted, does nothing
    RemoveNativeDosSupport,  // "-removeNativeDOSSupport"
    None,                    // no option: the tray itself
};

// The option named in `commandLine` (the text after the program name; null counts as
// empty). Options are found anywhere in the text, letter case exact, glued letters allowed.
TrayOption matchTrayOption(const char* commandLine);

// The literal text of an option; empty for None.
const char* trayOptionText(TrayOption option);

}  // namespace tray

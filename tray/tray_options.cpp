#include "tray/tray_options.h"

#include <cstring>

namespace tray {

namespace {

struct OptionEntry {
    TrayOption option;
    const char* text;
};

// The order matters: "-updateComctl" and "-updateComCtl" differ by one capital, and a
// command line that names several options runs only the first of this table.
constexpr OptionEntry kOptions[] = {
    {TrayOption::UpdateComOleFiles, "-updateCOMOLEFiles"},
    {TrayOption::UpdateComctl, "-updateComctl"},
    {TrayOption::Uninstall, "-uninstall"},
    {TrayOption::WavetableTwoMb, "-wavetableTwoMb"},
    {TrayOption::InitFourMb, "-initFourMb"},
    {TrayOption::UpdateComCtlIgnored, "-updateComCtl"},
    {TrayOption::RemoveNativeDosSupport, "-removeNativeDOSSupport"},
};

}  // namespace

TrayOption matchTrayOption(const char* commandLine) {
    if (commandLine == nullptr) return TrayOption::None;
    for (const OptionEntry& entry : kOptions)
        if (std::strstr(commandLine, entry.text) != nullptr) return entry.option;
    return TrayOption::None;
}

const char* trayOptionText(TrayOption option) {
    for (const OptionEntry& entry : kOptions)
        if (entry.option == option) return entry.text;
    return "";
}

}  // namespace tray

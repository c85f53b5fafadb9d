// Which task a command line asks for.
#include <gtest/gtest.h>

#include "tray/tray_options.h"

namespace {

using tray::TrayOption;

struct OptionCase {
    const char* commandLine;
    TrayOption expected;
};

// clang-format off
const OptionCase kCases[] = {
    {"", TrayOption::None},
    {nullptr, TrayOption::None},
    {"-updateCOMOLEFiles", TrayOption::UpdateComOleFiles},
    {"-updateComctl", TrayOption::UpdateComctl},
    // One capital apart: the second form is accepted and does nothing.
    {"-updateComCtl", TrayOption::UpdateComCtlIgnored},
    {"-uninstall", TrayOption::Uninstall},
    {"-UNINSTALL", TrayOption::None},
    {"xx-uninstallyy", TrayOption::Uninstall},
    {"-wavetableTwoMb", TrayOption::WavetableTwoMb},
    {"-initFourMb", TrayOption::InitFourMb},
    {"-removeNativeDOSSupport", TrayOption::RemoveNativeDosSupport},
    {"-removenativedossupport", TrayOption::None},
    // The first option of the table wins, whatever the order on the line.
    {"-wavetableTwoMb -uninstall", TrayOption::Uninstall},
    {"-removeNativeDOSSupport -wavetableTwoMb", TrayOption::WavetableTwoMb},
    {"-updateComCtl -updateComctl", TrayOption::UpdateComctl},
    {"-uninstall -updateCOMOLEFiles", TrayOption::UpdateComOleFiles},
    {"-update", TrayOption::None},
};
// clang-format on

TEST(TrayOptions, FirstOptionOfTheTableFoundAnywhereDecides) {
    for (const OptionCase& c : kCases) {
        EXPECT_EQ(tray::matchTrayOption(c.commandLine), c.expected)
            << (c.commandLine != nullptr ? c.commandLine : "(null)");
    }
}

}  // namespace

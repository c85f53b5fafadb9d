#include "tray/tray_program.h"

#include "lang/resource_ids.h"
#include "platform/machine.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "settings/language_module.h"
#include "settings/tunara_settings.h"
#include "tray/maintenance.h"
#include "tray/quiet_notices.h"
#include "tray/start_menu.h"
#include "tray/tray_options.h"

namespace tray {

namespace {

constexpr std::size_t kTipCharacters = 63;

// Runs the option's task; false when the option is none (tray mode).
bool runMaintenance(settings::tunaraSettings& card, TrayOption option) {
    // The store has no language module in a maintenance run: its notices have no text.
    QuietNotices quiet;
    std::int32_t rememberedSize = 0;
    switch (option) {
        case TrayOption::UpdateComOleFiles:
            updateComOleStep();
            return true;
        case TrayOption::UpdateComctl:
            updateCommonControlsStep();
            return true;
        case TrayOption::Uninstall:
            uninstallCleanUp(card);
            return true;
        case TrayOption::WavetableTwoMb:
            if (!card.trayAutoStart) pendingTwoMbStep(card, &rememberedSize);
            return true;
        case TrayOption::RemoveNativeDosSupport:
            if (!card.trayAutoStart) pendingDosRemovalStep(card);
            return true;
        case TrayOption::InitFourMb:
        case TrayOption::UpdateComCtlIgnored:
            return true;
        case TrayOption::None:
            break;
    }
    return false;
}

std::string loadTitle(platform::HModule module) {
    if (module == 0) return std::string();
    char text[260] = {};
    platform::machine().ui->LoadString(module, IDS_PRODUCT_TITLE, text, sizeof text);
    return text;
}

void runTrayMode(settings::tunaraSettings& card, const settings::ChangeMessages& messages,
                 const std::string& startMenuFolder, TrayShell& shell) {
    platform::UserInterface& ui = *platform::machine().ui;
    platform::System& system = *platform::machine().system;
    const platform::HModule module =
        settings::loadLanguageModule(settings::kLanguageModulePrefix, 0);
    if (ui.FindWindow(settings::kTrayWindowClass, nullptr) != 0 || !card.cardPresent) {
        if (module != 0) system.FreeLibrary(module);
        return;
    }
    // Without a module there is no shortcut name: the shortcut is left alone.
    const std::string title = loadTitle(module);
    maintainShortcuts(startMenuFolder, title);

    std::int32_t rememberedSize = card.detectActiveWavetableSize();
    {
        // The store is handed its module only below; until then it has no text for a notice.
        QuietNotices quiet;
        if (card.twoMbSetMissing()) pendingTwoMbStep(card, &rememberedSize);
        pendingDosRemovalStep(card);
    }
    shell.initCommonControls();
    if (module == 0) {
        ui.MessageBox(0, kNoResourcesText, kNoResourcesCaption, MB_OK | MB_ICONERROR);
        return;
    }
    card.setResourceModule(module);

    TrayController controller(card, module, messages, shell);
    controller.rememberedSize = rememberedSize;
    const platform::HWnd window = shell.createTrayWindow(controller);
    if (window != 0) {
        card.setOwnerWindow(window);
        shell.addIcon(module, trayTip(title));
        shell.runMessageLoop(messages.exitTray);
        shell.removeIcon();
        shell.destroyTrayWindow();
    }
    system.FreeLibrary(module);
}

}  // namespace

std::string trayTip(const std::string& productTitle) {
    return productTitle.substr(0, kTipCharacters);
}

int runTrayProgram(settings::tunaraSettings& card, const char* commandLine, TrayShell& shell) {
    const settings::ChangeMessages messages = settings::registerChangeMessages();
    const std::string startMenuFolder = resolveStartMenuFolder();
    if (!runMaintenance(card, matchTrayOption(commandLine)))
        runTrayMode(card, messages, startMenuFolder, shell);
    return 0;
}

}  // namespace tray

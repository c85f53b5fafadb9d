#include "tray/tray_controller.h"

#include "lang/resource_ids.h"
#include "platform/machine.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "settings/folder_paths.h"
#include "settings/tunara_settings.h"
#include "tray/maintenance.h"
#include "tray/start_menu.h"
#include "tray/tray_menu.h"

namespace tray {

TrayController::TrayController(settings::tunaraSettings& card, platform::HModule module,
                               const settings::ChangeMessages& messages, TrayWindowActions& actions)
    : card_(card), module_(module), messages_(messages), actions_(actions) {}

bool TrayController::handleMessage(std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
    // A failed registration leaves an identifier of 0, which must not match WM_NULL.
    const auto is = [message](std::uint32_t registered) {
        return registered != 0 && message == registered;
    };
    if (is(messages_.exitTray)) actions_.requestQuit();
    if (message == kTrayCallbackMessage) {
        if (static_cast<std::uint32_t>(lParam) == kMouseLeftDoubleClick)
            startProperties();
        else if (static_cast<std::uint32_t>(lParam) == kMouseRightButtonDown)
            actions_.showPopupMenu(computeTrayMenuState(card_, rememberedSize));
    }
    if (is(messages_.hwAcceleration)) card_.hwAcceleration = wParam != 0;
    if (is(messages_.micBoost)) card_.micBoost = wParam != 0;
    if (is(messages_.wavetable)) rememberedSize = static_cast<std::int32_t>(wParam);
    if (message == WM_DESTROY) {
        actions_.requestQuit();
        return true;
    }
    if (message == WM_COMMAND) {
        runCommand(static_cast<std::uint32_t>(wParam & 0xFFFFu));
        return true;
    }
    return false;
}

std::string TrayController::loadText(std::uint32_t id) const {
    char text[260] = {};
    platform::machine().ui->LoadString(module_, id, text, sizeof text);
    return text;
}

void TrayController::tell(platform::HWnd properties, std::uint32_t message, std::uintptr_t wParam) {
    if (properties != 0) platform::machine().ui->SendMessage(properties, message, wParam, 0);
}

void TrayController::startProperties() {
    const std::string program = settings::systemFolderPath(kPropertiesProgramName);
    if (!program.empty()) startProgram(program.c_str(), nullptr);
}

void TrayController::restartPrompt() {
    const std::string text = loadText(IDS_RESTART_QUESTION);
    const std::string caption = loadText(IDS_PRODUCT_TITLE);
    if (platform::machine().ui->MessageBox(0, text.c_str(), caption.c_str(),
                                           MB_YESNO | MB_ICONWARNING) == IDYES)
        platform::machine().system->ExitWindowsEx(EWX_REBOOT, 0);
}

void TrayController::runCommand(std::uint32_t command) {
    const std::string title = loadText(IDS_PRODUCT_TITLE);
    const platform::HWnd properties =
        title.empty() ? 0 : platform::machine().ui->FindWindow(nullptr, title.c_str());
    switch (command) {
        case IDM_TRAY_PROPERTIES:
            startProperties();
            break;
        case IDM_TRAY_SPEAKERS:
            if (!card_.readSpeakerOutput()) card_.setSpeakerOutput(true);
            tell(properties, messages_.outputDevice, 1);
            break;
        case IDM_TRAY_HEADPHONES:
            if (card_.readSpeakerOutput()) card_.setSpeakerOutput(false);
            tell(properties, messages_.outputDevice, 0);
            break;
        case IDM_TRAY_EXIT:
            actions_.requestQuit();
            break;
        case IDM_TRAY_HW_ACCELERATION:
            toggleHwAcceleration(properties);
            break;
        case IDM_TRAY_MIC_BOOST: {
            const bool on = !card_.micBoost;
            card_.setMicBoost(on);
            tell(properties, messages_.micBoost, on ? 1 : 0);
            break;
        }
        case IDM_TRAY_WAVETABLE_NONE:
            chooseSampleSet(properties, 0);
            break;
        case IDM_TRAY_WAVETABLE_2MB:
            chooseSampleSet(properties, 2);
            break;
        case IDM_TRAY_WAVETABLE_4MB:
            chooseSampleSet(properties, 4);
            break;
        default:
            break;
    }
}

void TrayController::toggleHwAcceleration(platform::HWnd properties) {
    const bool on = !card_.hwAcceleration;
    if (card_.isMaestro2E) {
        // The Maestro-2E driver takes this setting only from its INF defaults.
        card_.hwAcceleration = on;
        card_.infNeedsUpdate = true;
    } else {
        card_.writeConfigValue(on ? 1 : 0, settings::kConfigItemHwAcceleration);
    }
    tell(properties, messages_.hwAcceleration, on ? 1 : 0);
    card_.updateInfDefaults();
    restartPrompt();
}

void TrayController::chooseSampleSet(platform::HWnd properties, std::int32_t size) {
    bool restartNeeded = false;
    const bool changed = card_.setWavetableSize(size, &restartNeeded);
    // Choosing a set (not "none") changes the driver's INF defaults even when the files
    // could not be switched now.
    if (size != 0) card_.updateInfDefaults();
    if (!changed) return;
    rememberedSize = size;
    tell(properties, messages_.wavetable, static_cast<std::uintptr_t>(size));
    if (restartNeeded) restartPrompt();
}

}  // namespace tray

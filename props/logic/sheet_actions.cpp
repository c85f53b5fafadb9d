#include "props/logic/sheet_actions.h"

#include "lang/resource_ids.h"
#include "platform/machine.h"
#include "settings/tunara_settings.h"

namespace props {
namespace {

platform::UserInterface& ui() {
    return *platform::machine().ui;
}

void sendToTray(platform::HWnd tray, std::uint32_t message, std::uintptr_t wParam) {
    if (tray != 0 && message != 0) ui().SendMessage(tray, message, wParam, 0);
}

}  // namespace

std::string loadModuleString(platform::HModule module, std::uint32_t id) {
    char buffer[260] = {};
    int length = ui().LoadString(module, id, buffer, sizeof buffer);
    if (length <= 0) return std::string();
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::vector<OkAction> planAdvancedChanges(const AdvancedState& state,
                                          const settings::tunaraSettings& s,
                                          bool dosDriverPresent) {
    std::vector<OkAction> actions;
    if (state.hwAcceleration != s.hwAcceleration) actions.push_back(OkAction::HwAcceleration);
    if (state.micBoost != s.micBoost) actions.push_back(OkAction::MicBoost);
    // The dialog holds "enabled", the settings "disabled": equal means they disagree.
    if (state.joystickEnabled == s.joystickDisabled) actions.push_back(OkAction::Joystick);
    if (state.gameSupport != effectiveGameSupport(s)) actions.push_back(OkAction::GameSupport);
    if (state.nativeDosSupport != dosDriverPresent) actions.push_back(OkAction::NativeDos);
    if (state.wavetableSize >= 0 && state.wavetableSize != s.activeWavetableSize)
        actions.push_back(OkAction::Wavetable);
    return actions;
}

OkResult applyOk(settings::tunaraSettings& s, const OkContext& context) {
    OkResult result;
    if (context.trayIconChecked != s.trayAutoStart)
        applyTrayIconChoice(s, context.trayIconChecked, context.sheet, context.language,
                            context.messages);

    bool restart = false;
    if (context.advancedDialogOpened) {
        const AdvancedState& st = context.advanced;
        result.actions = planAdvancedChanges(st, s, s.dosStartHasDriver());
        platform::HWnd tray =
            result.actions.empty() ? 0 : ui().FindWindow(settings::kTrayWindowClass, nullptr);
        for (OkAction action : result.actions) {
            switch (action) {
                case OkAction::HwAcceleration:
                    s.setHwAcceleration(st.hwAcceleration);
                    sendToTray(tray, context.messages.hwAcceleration, st.hwAcceleration ? 1 : 0);
                    restart = true;
                    break;
                case OkAction::MicBoost:
                    s.setMicBoost(st.micBoost);
                    sendToTray(tray, context.messages.micBoost, st.micBoost ? 1 : 0);
                    break;
                case OkAction::Joystick: {
                    char name[260] = "JoyDisable";
                    s.writeDeviceSwitch(name, sizeof name, !st.joystickEnabled);
                    restart = true;
                    break;
                }
                case OkAction::GameSupport: {
                    char name[260] = "GameSupport";
                    s.writeDeviceSwitch(name, sizeof name, st.gameSupport);
                    restart = true;
                    break;
                }
                case OkAction::NativeDos:
                    if (s.editNativeDosSupport(st.nativeDosSupport, false) && st.nativeDosSupport)
                        restart = true;
                    break;
                case OkAction::Wavetable: {
                    bool needed = false;
                    if (s.setWavetableSize(st.wavetableSize, &needed)) {
                        sendToTray(tray, context.messages.wavetable,
                                   static_cast<std::uintptr_t>(st.wavetableSize));
                        if (needed) restart = true;
                    }
                    break;
                }
            }
        }
    }

    s.updateInfDefaults();

    if (restart) {
        result.restartAsked = true;
        std::string text = loadModuleString(context.language, IDS_RESTART_QUESTION);
        std::string caption = loadModuleString(context.language, IDS_PRODUCT_TITLE);
        int answer = ui().MessageBox(context.sheet, text.c_str(), caption.c_str(),
                                     MB_YESNO | MB_ICONEXCLAMATION);
        if (answer == IDYES) {
            platform::machine().system->ExitWindowsEx(EWX_REBOOT, 0);
            result.rebootRequested = true;
        }
    }
    return result;
}

void applyTrayIconChoice(settings::tunaraSettings& s, bool on, platform::HWnd sheet,
                         platform::HModule language, const settings::ChangeMessages& messages) {
    if (on) {
        s.setTrayAutoStart(true);
        launchTray(sheet);
        return;
    }
    std::string question = loadModuleString(language, IDS_TRAY_OFF_QUESTION);
    std::string questionCaption = loadModuleString(language, IDS_TRAY_OFF_QUESTION_CAPTION);
    if (ui().MessageBox(sheet, question.c_str(), questionCaption.c_str(),
                        MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    s.setTrayAutoStart(false);
    std::string done = loadModuleString(language, IDS_TRAY_OFF_DONE);
    std::string doneCaption = loadModuleString(language, IDS_TRAY_OFF_DONE_CAPTION);
    ui().MessageBox(sheet, done.c_str(), doneCaption.c_str(), MB_ICONINFORMATION);
    sendToTray(ui().FindWindow(settings::kTrayWindowClass, nullptr), messages.exitTray, 0);
}

void launchTray(platform::HWnd sheet) {
    if (sheet != 0) ui().SetForegroundWindow(sheet);
    platform::System& system = *platform::machine().system;
    char folder[260] = {};
    std::uint32_t length = system.GetSystemDirectory(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return;
    std::string path = std::string(folder) + settings::kTrayProgramName;
    if (path.size() >= 260) return;
    std::string directory = path.substr(0, path.find_last_of('\\') + 1);
    platform::HProcess process = 0;
    // The tray keeps its window hidden; it is shown normally so that its own start-up
    // decides what appears.
    if (system.CreateProcess(path.c_str(), nullptr, true,
                             CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_CONSOLE, directory.c_str(),
                             SW_SHOWNORMAL, &process))
        system.CloseHandle(process);
}

bool restoreOutputDevice(settings::tunaraSettings& s, bool initialSpeakerOutput) {
    if (s.readSpeakerOutput() == initialSpeakerOutput) return false;
    s.toggleSpeakerOutput();
    return true;
}

}  // namespace props

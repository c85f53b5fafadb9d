#include "props/windows/advanced_settings_dialog.h"

#include <string>

#include "lang/resource_ids.h"

namespace {

// A sample set is available when "Plat<n>Meg.im" or "Plat<n>Meg.img" opens in the system
// folder.
bool sampleSetAvailable(int size) {
    char folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return false;
    std::string base = std::string(folder) + "\\Plat" + std::to_string(size) + "Meg.im";
    for (const std::string& name : {base, base + "g"}) {
        HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
    }
    return false;
}

void moveBy(HWND dialog, int id, int dy) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) return;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

AdvancedSettingsDialog::AdvancedSettingsDialog(settings::tunaraSettings* settings, fw::App* app)
    : ModalDialog(app, IDD_ADVANCED), settings_(settings) {
    onCommand(IDC_ADVANCED_GAME_SUPPORT, BN_CLICKED, [this] {
        EnableWindow(item(IDC_ADVANCED_NATIVE_DOS),
                     IsDlgButtonChecked(window(), IDC_ADVANCED_GAME_SUPPORT) == BST_CHECKED);
    });
    setHelpTable({IDC_ADVANCED_WAVETABLE_NONE,
                  110,
                  IDC_ADVANCED_WAVETABLE_2MB,
                  110,
                  IDC_ADVANCED_WAVETABLE_4MB,
                  110,
                  IDC_ADVANCED_WAVETABLE_GROUP,
                  110,
                  IDC_ADVANCED_MIC_BOOST,
                  120,
                  IDC_ADVANCED_HW_ACCELERATION,
                  40,
                  IDC_ADVANCED_JOYSTICK,
                  130,
                  IDC_ADVANCED_GAME_SUPPORT,
                  134,
                  IDC_ADVANCED_NATIVE_DOS,
                  137,
                  0,
                  0});
}

BOOL AdvancedSettingsDialog::OnInitDialog() {
    state = props::loadAdvancedState(*settings_);
    if (!sampleSetAvailable(2)) EnableWindow(item(IDC_ADVANCED_WAVETABLE_2MB), FALSE);
    if (!sampleSetAvailable(4)) EnableWindow(item(IDC_ADVANCED_WAVETABLE_4MB), FALSE);
    RECT r;
    GetWindowRect(window(), &r);
    MoveWindow(window(), r.left - 3, r.top + 36, (r.right - 1) - (r.left - 3), r.bottom - r.top,
               FALSE);
    refreshControls();
    if (settings_->isMaestro2E) {
        ShowWindow(item(IDC_ADVANCED_GAME_SUPPORT), SW_HIDE);
        moveBy(window(), IDC_ADVANCED_NATIVE_DOS, -46);
        SetDlgItemTextA(window(), IDC_ADVANCED_NATIVE_DOS, "&Native DOS Support");
        ShowWindow(item(IDC_ADVANCED_DOS_GROUP), SW_HIDE);
        for (int id : {IDC_ADVANCED_OK, IDC_ADVANCED_CANCEL, IDC_ADVANCED_HELP,
                       IDC_ADVANCED_HW_ACCELERATION, IDC_ADVANCED_MIC_BOOST, IDC_ADVANCED_JOYSTICK})
            moveBy(window(), id, -55);
        GetWindowRect(window(), &r);
        SetWindowPos(window(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top - 55,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
    return TRUE;
}

void AdvancedSettingsDialog::refreshControls() {
    HWND d = window();
    if (d == nullptr) return;
    auto check = [d](int id, bool on) { CheckDlgButton(d, id, on ? BST_CHECKED : BST_UNCHECKED); };
    check(IDC_ADVANCED_HW_ACCELERATION, state.hwAcceleration);
    check(IDC_ADVANCED_MIC_BOOST, state.micBoost);
    check(IDC_ADVANCED_JOYSTICK, state.joystickEnabled);
    check(IDC_ADVANCED_NATIVE_DOS, state.nativeDosSupport);
    check(IDC_ADVANCED_GAME_SUPPORT, state.gameSupport);
    if (!state.gameSupport && !settings_->isMaestro2E)
        EnableWindow(GetDlgItem(d, IDC_ADVANCED_NATIVE_DOS), FALSE);
    int checked = state.wavetableSize == 0   ? IDC_ADVANCED_WAVETABLE_NONE
                  : state.wavetableSize == 2 ? IDC_ADVANCED_WAVETABLE_2MB
                  : state.wavetableSize == 4 ? IDC_ADVANCED_WAVETABLE_4MB
                                             : 0;
    if (checked != 0)
        CheckRadioButton(d, IDC_ADVANCED_WAVETABLE_NONE, IDC_ADVANCED_WAVETABLE_4MB, checked);
}

void AdvancedSettingsDialog::readControls() {
    HWND d = window();
    auto checked = [d](int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; };
    state.hwAcceleration = checked(IDC_ADVANCED_HW_ACCELERATION);
    state.micBoost = checked(IDC_ADVANCED_MIC_BOOST);
    state.joystickEnabled = checked(IDC_ADVANCED_JOYSTICK);
    state.gameSupport = checked(IDC_ADVANCED_GAME_SUPPORT);
    state.nativeDosSupport = checked(IDC_ADVANCED_NATIVE_DOS);
    state.wavetableSize = checked(IDC_ADVANCED_WAVETABLE_NONE)  ? 0
                          : checked(IDC_ADVANCED_WAVETABLE_2MB) ? 2
                          : checked(IDC_ADVANCED_WAVETABLE_4MB) ? 4
                                                                : -1;
}

bool AdvancedSettingsDialog::WindowProc(UINT message, WPARAM wParam, LPARAM, LRESULT*) {
    if (message == WM_COMMAND && wParam == IDOK) {
        readControls();
        return false;  // the framework ends the dialog
    }
    if (message == WM_COMMAND && wParam == IDC_ADVANCED_HELP) {
        app()->helpContext(window(), 100);
        return false;
    }
    return false;
}

#include "props/windows/advanced_settings_dialog.h"

#include "lang/resource_ids.h"
#include "props/logic/advanced_controls.h"

namespace {

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
                     props::nativeDosEnabledAfterGameSupportClick(
                         IsDlgButtonChecked(window(), IDC_ADVANCED_GAME_SUPPORT) == BST_CHECKED));
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
    const props::SampleSetButtons sets = props::availableSampleSetButtons();
    if (!sets.twoMb) EnableWindow(item(IDC_ADVANCED_WAVETABLE_2MB), FALSE);
    if (!sets.fourMb) EnableWindow(item(IDC_ADVANCED_WAVETABLE_4MB), FALSE);
    const props::AdvancedLayout layout = props::advancedLayout(settings_->isMaestro2E);
    RECT r;
    GetWindowRect(window(), &r);
    MoveWindow(window(), r.left + layout.leftEdge, r.top + layout.topEdge,
               (r.right + layout.rightEdge) - (r.left + layout.leftEdge),
               (r.bottom + layout.bottomEdge) - (r.top + layout.topEdge), FALSE);
    refreshControls();
    for (int id : layout.hidden) ShowWindow(item(id), SW_HIDE);
    for (const props::ControlShift& shift : layout.shifts) moveBy(window(), shift.id, shift.dy);
    if (layout.nativeDosText != nullptr)
        SetDlgItemTextA(window(), IDC_ADVANCED_NATIVE_DOS, layout.nativeDosText);
    if (layout.heightChange != 0) {
        GetWindowRect(window(), &r);
        SetWindowPos(window(), nullptr, 0, 0, r.right - r.left,
                     r.bottom - r.top + layout.heightChange, SWP_NOMOVE | SWP_NOZORDER);
    }
    return TRUE;
}

void AdvancedSettingsDialog::refreshControls() {
    HWND d = window();
    if (d == nullptr) return;
    const props::AdvancedControlView view =
        props::advancedControlView(state, settings_->isMaestro2E);
    auto check = [d](int id, bool on) { CheckDlgButton(d, id, on ? BST_CHECKED : BST_UNCHECKED); };
    check(IDC_ADVANCED_HW_ACCELERATION, view.hwAcceleration);
    check(IDC_ADVANCED_MIC_BOOST, view.micBoost);
    check(IDC_ADVANCED_JOYSTICK, view.joystick);
    check(IDC_ADVANCED_NATIVE_DOS, view.nativeDos);
    check(IDC_ADVANCED_GAME_SUPPORT, view.gameSupport);
    if (view.disableNativeDos) EnableWindow(GetDlgItem(d, IDC_ADVANCED_NATIVE_DOS), FALSE);
    if (view.wavetableButton != 0)
        CheckRadioButton(d, IDC_ADVANCED_WAVETABLE_NONE, IDC_ADVANCED_WAVETABLE_4MB,
                         view.wavetableButton);
}

void AdvancedSettingsDialog::readControls() {
    HWND d = window();
    auto checked = [d](int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; };
    props::AdvancedChecks checks;
    checks.hwAcceleration = checked(IDC_ADVANCED_HW_ACCELERATION);
    checks.micBoost = checked(IDC_ADVANCED_MIC_BOOST);
    checks.joystick = checked(IDC_ADVANCED_JOYSTICK);
    checks.gameSupport = checked(IDC_ADVANCED_GAME_SUPPORT);
    checks.nativeDos = checked(IDC_ADVANCED_NATIVE_DOS);
    checks.wavetableNone = checked(IDC_ADVANCED_WAVETABLE_NONE);
    checks.wavetable2Mb = checked(IDC_ADVANCED_WAVETABLE_2MB);
    checks.wavetable4Mb = checked(IDC_ADVANCED_WAVETABLE_4MB);
    state = props::advancedStateFromChecks(checks);
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

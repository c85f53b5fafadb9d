#include "props/windows/tunara_page1.h"

#include "lang/resource_ids.h"
#include "props/windows/tunara_sheet.h"

CTunaraPage1::CTunaraPage1(settings::tunaraSettings* settings, CTunaraSheet* sheet, fw::App* app)
    : PropertyPage(app, IDD_SETTINGS),
      settings_(settings),
      sheet_(sheet),
      support_(std::make_unique<SupportInfoDialog>(app)),
      advanced_(std::make_unique<AdvancedSettingsDialog>(settings, app)) {
    bindCheck(IDC_SETTINGS_TRAY_ICON, &trayIcon_);
    onCommand(IDC_SETTINGS_PICTURE, BN_CLICKED, [this] {
        settings_->toggleSpeakerOutput();
        refreshOutputControls();
    });
    onCommand(IDC_SETTINGS_HEADPHONES, BN_CLICKED, [this] {
        if (settings_->readSpeakerOutput() &&
            IsDlgButtonChecked(window(), IDC_SETTINGS_HEADPHONES) == BST_CHECKED) {
            settings_->toggleSpeakerOutput();
            refreshOutputControls();
        }
    });
    onCommand(IDC_SETTINGS_SPEAKERS, BN_CLICKED, [this] {
        if (!settings_->readSpeakerOutput() &&
            IsDlgButtonChecked(window(), IDC_SETTINGS_SPEAKERS) == BST_CHECKED) {
            settings_->toggleSpeakerOutput();
            refreshOutputControls();
        }
    });
    onCommand(IDC_SETTINGS_SUPPORT, BN_CLICKED, [this] { support_->DoModal(window()); });
    onCommand(IDC_SETTINGS_ADVANCED, BN_CLICKED, [this] {
        advancedDialogOpened = true;
        advancedDialogShowing = true;
        advanced_->DoModal(window());
        advancedDialogShowing = false;
    });
    setHelpTable({IDC_SETTINGS_PICTURE, 30, IDC_SETTINGS_HEADPHONES, 30, IDC_SETTINGS_SPEAKERS, 30,
                  IDC_SETTINGS_INTRO, 20, IDC_SETTINGS_TRAY_ICON, 140, IDC_SETTINGS_SUPPORT, 180,
                  IDC_SETTINGS_ADVANCED, 160, 0, 0});
}

CTunaraPage1::~CTunaraPage1() {
    if (speakersBitmap_ != nullptr) DeleteObject(speakersBitmap_);
    if (headphonesBitmap_ != nullptr) DeleteObject(headphonesBitmap_);
}

void CTunaraPage1::setLanguageModule(HMODULE module) {
    setTemplateModule(module);
    support_->setLanguageModule(module);
}

bool CTunaraPage1::trayIconChecked() const {
    HWND box = item(IDC_SETTINGS_TRAY_ICON);
    if (box == nullptr) return settings_->trayAutoStart;
    return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CTunaraPage1::DoDataExchange(bool save) {
    if (!save) trayIcon_ = settings_->trayAutoStart;
    PropertyPage::DoDataExchange(save);
}

BOOL CTunaraPage1::OnInitDialog() {
    advancedDialogOpened = false;
    initialSpeakerOutput = settings_->readSpeakerOutput();
    settings_->ownerWindow = reinterpret_cast<platform::HWnd>(window());
    speakersBitmap_ = static_cast<HBITMAP>(
        LoadImageA(templateModule(), MAKEINTRESOURCEA(IDB_SPEAKERS), IMAGE_BITMAP, 0, 0, 0));
    headphonesBitmap_ = static_cast<HBITMAP>(
        LoadImageA(templateModule(), MAKEINTRESOURCEA(IDB_HEADPHONES), IMAGE_BITMAP, 0, 0, 0));
    controlsExist_ = true;
    UpdateData(false);  // the tray icon check box from trayAutoStart
    refreshOutputControls();
    return FALSE;
}

void CTunaraPage1::refreshOutputControls() {
    HWND page = window();
    if (page == nullptr) return;
    bool speakers = settings_->readSpeakerOutput();
    int on = speakers ? IDC_SETTINGS_SPEAKERS : IDC_SETTINGS_HEADPHONES;
    int off = speakers ? IDC_SETTINGS_HEADPHONES : IDC_SETTINGS_SPEAKERS;
    CheckDlgButton(page, on, BST_CHECKED);
    SetFocus(GetDlgItem(page, on));
    CheckDlgButton(page, off, BST_UNCHECKED);
    HBITMAP picture = speakers ? speakersBitmap_ : headphonesBitmap_;
    SendDlgItemMessageA(page, IDC_SETTINGS_PICTURE, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(picture));
}

bool CTunaraPage1::WindowProc(UINT message, WPARAM wParam, LPARAM, LRESULT*) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_SETFOCUS) {
        int id = LOWORD(wParam);
        if ((id == IDC_SETTINGS_TRAY_ICON || id == IDC_SETTINGS_HEADPHONES ||
             id == IDC_SETTINGS_SPEAKERS) &&
            okButton_ != nullptr)
            SendMessageA(okButton_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
    return false;
}

void CTunaraPage1::onOutputDeviceChange(bool speakers) {
    initialSpeakerOutput = speakers;
    if (controlsExist_ && window() != nullptr) refreshOutputControls();
}

void CTunaraPage1::onHwAccelerationChange(bool on) {
    props::noteHwAccelerationChange(&advanced_->state, *settings_, on);
    if (advancedDialogShowing) advanced_->refreshControls();
}

void CTunaraPage1::onMicBoostChange(bool on) {
    props::noteMicBoostChange(&advanced_->state, *settings_, on);
    if (advancedDialogShowing) advanced_->refreshControls();
}

void CTunaraPage1::onWavetableChange(int size) {
    props::noteWavetableChange(&advanced_->state, *settings_, size);
    if (advancedDialogShowing) advanced_->refreshControls();
}

HWND CTunaraPage1::checkedOutputButton() const {
    if (window() == nullptr) return nullptr;
    if (IsDlgButtonChecked(window(), IDC_SETTINGS_SPEAKERS) == BST_CHECKED)
        return item(IDC_SETTINGS_SPEAKERS);
    if (IsDlgButtonChecked(window(), IDC_SETTINGS_HEADPHONES) == BST_CHECKED)
        return item(IDC_SETTINGS_HEADPHONES);
    return nullptr;
}

void CTunaraPage1::focusCheckedOutput() {
    if (HWND button = checkedOutputButton()) SetFocus(button);
}

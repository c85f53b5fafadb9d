#include "props/windows/adv_res_sheet.h"

#include "lang/resource_ids.h"
#include "props/logic/advanced_state.h"
#include "props/logic/layout.h"

namespace {

constexpr const char* kCardDosDevices = "Tunara DOS Games/FM Devices";

}  // namespace

CAdvResPage::CAdvResPage(fw::App* app, UINT templateId, std::vector<DWORD> helpTable)
    : PropertyPage(app, templateId), support_(std::make_unique<SupportInfoDialog>(app)) {
    slots_.fill("Resource conflict");
    onCommand(IDC_ADVRES1_SUPPORT, BN_CLICKED, [this] { support_->DoModal(window()); });
    // F1 is left to the sheet, which opens the sheet's own topic.
    setHelpTable(std::move(helpTable), false, true);
}

void CAdvResPage::setLanguageModule(HMODULE module) {
    setTemplateModule(module);
    support_->setLanguageModule(module);
}

void CAdvResPage::showFields(const std::vector<props::FieldText>& fields) {
    for (const props::FieldText& f : fields) {
        SetDlgItemTextA(window(), static_cast<int>(f.control), f.text.c_str());
        if (f.mark != 0) ShowWindow(item(static_cast<int>(f.mark)), SW_SHOW);
    }
}

CAdvResPage1::CAdvResPage1(fw::App* app)
    : CAdvResPage(app, IDD_ADVRES1, {1037, 70,   1038, 70,   1041, 70,   1042, 80,   1044, 90, 1051,
                                     70,   1052, 90,   1053, 80,   1054, 70,   1055, 70,   0,  0}) {
}

BOOL CAdvResPage1::OnInitDialog() {
    bool gameOn = props::effectiveGameSupport(*settings_);
    showFields(props::advResPage1Fields(slots_, gameOn, settings_->isMaestro2E,
                                        settings_->joystickDisabled));
    if (settings_->isMaestro2E) {
        SetDlgItemTextA(window(), IDC_ADVRES1_FM_HEADING, kCardDosDevices);
        SetDlgItemTextA(window(), IDC_ADVRES1_MPU_HEADING, "Tunara MPU401 Devices");
    }
    return TRUE;
}

CAdvResPage2::CAdvResPage2(fw::App* app)
    : CAdvResPage(app, IDD_ADVRES2, {1037, 90,   1038, 90,   1041, 70,   1042, 90,   1044, 70, 1051,
                                     70,   1052, 90,   1053, 70,   1054, 90,   1055, 90,   0,  0}) {
}

BOOL CAdvResPage2::OnInitDialog() {
    showFields(props::advResPage2Fields(slots_, props::effectiveGameSupport(*settings_)));
    if (settings_->isMaestro2E) {
        SetDlgItemTextA(window(), IDC_ADVRES2_FM_HEADING, kCardDosDevices);
        SetDlgItemTextA(window(), IDC_ADVRES2_ENUM_HEADING, "Tunara Multi-Device Enumerator");
        SetDlgItemTextA(window(), IDC_ADVRES2_WAVE_HEADING,
                        "Tunara Wave/Wavetable Synthesis Devices");
    }
    return TRUE;
}

CAdvResSheet::CAdvResSheet(const std::string& caption, const RECT& pageRect, fw::App* app)
    : PropertySheetWnd(app, caption),
      pageRect_(pageRect),
      page1_(std::make_unique<CAdvResPage1>(app)),
      page2_(std::make_unique<CAdvResPage2>(app)) {
    addFlags(PSH_NOAPPLYNOW);
    removeFlags(PSH_HASHELP);
    page1_->addFlags(PSP_HASHELP);
    page2_->addFlags(PSP_HASHELP);
    AddPage(page1_.get());
    AddPage(page2_.get());
}

CAdvResSheet::~CAdvResSheet() {
    destroyWindow();
}

void CAdvResSheet::setContext(HMODULE languageModule, settings::tunaraSettings* settings) {
    settings_ = settings;
    page1_->setSettings(settings);
    page2_->setSettings(settings);
    helpText_ = app()->loadString(IDS_BUTTON_HELP);
    closeText_ = app()->loadString(IDS_BUTTON_CLOSE);
    page1_->setLanguageModule(languageModule);
    page2_->setLanguageModule(languageModule);
}

void CAdvResSheet::setReport(const props::SlotTexts& slots) {
    page1_->setReport(slots);
    page2_->setReport(slots);
}

BOOL CAdvResSheet::OnInitDialog() {
    OutputDebugStringA("OnInitDialog called.\n");
    retireStandardButtons();
    HWND tab = tabControl();
    RECT t;
    GetWindowRect(tab, &t);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&t), 2);
    SetWindowPos(tab, nullptr, 0, 0, t.right - t.left - 55, t.bottom - t.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT w;
    GetWindowRect(window_, &w);
    MoveWindow(window_, w.left + 25, w.top, (w.right - 25) - (w.left + 25), w.bottom - w.top + 35,
               TRUE);
    if (HWND page = PropSheet_GetCurrentPageHwnd(window_)) {
        RECT p;
        GetWindowRect(page, &p);
        SetWindowPos(page, nullptr, 0, 0, p.right - p.left - 60, p.bottom - p.top,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
    // The button row, in the sheet's client coordinates.
    GetWindowRect(window_, &w);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&w), 2);
    props::ButtonRow row = props::buttonRow(t.right - 55, w.bottom + 5);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    HINSTANCE self = GetModuleHandleA(nullptr);
    close_ = CreateWindowExA(0, "BUTTON", closeText_.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, row.left[1],
                             row.top, props::kButtonWidth, row.bottom - row.top, window_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), self, nullptr);
    help_ =
        CreateWindowExA(0, "BUTTON", helpText_.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                        row.left[2], row.top, props::kButtonWidth, row.bottom - row.top, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(1025)), self, nullptr);
    SendMessageA(close_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(help_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetWindowPos(window_, nullptr, pageRect_.left, pageRect_.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return TRUE;
}

void CAdvResSheet::makeCloseDefault() {
    if (close_ != nullptr) SendMessageA(close_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void CAdvResSheet::helpToTabControl() {
    OutputDebugStringA("Help button does have focus, so make Close the default.\n");
    SetFocus(tabControl());
    makeCloseDefault();
    SendMessageA(help_, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
}

void CAdvResSheet::tabControlToClose() {
    OutputDebugStringA("Tab control has focus. Now making Close button the default.\n");
    makeCloseDefault();
    SetFocus(close_);
}

void CAdvResSheet::closeToTabControl() {
    OutputDebugStringA("Make the Close button the default.\n");
    SetFocus(tabControl());
    makeCloseDefault();
    SendMessageA(help_, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
}

bool CAdvResSheet::WindowProc(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    switch (message) {
        case WM_NOTIFY:
            makeCloseDefault();
            return false;
        case WM_COMMAND:
            // Close, Escape and Enter only hide the sheet: it is shown again on the next
            // request, so the sheet's own OK/Cancel handling (which would retire the pages
            // of a modeless sheet) is kept away from these commands.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ShowWindow(window_, SW_HIDE);
                *result = 0;
                return true;
            }
            if (LOWORD(wParam) == 1025) app()->helpContext(window_, 65);
            return false;
        case WM_CLOSE:
            ShowWindow(window_, SW_HIDE);
            *result = 1;
            return true;
        case WM_SHOWWINDOW:
            if (wParam) {
                OutputDebugStringA("Window being showed.\n");
                SetFocus(tabControl());
                makeCloseDefault();
            }
            return false;
        case WM_HELP:
            app()->helpContext(window_, 65);
            *result = 1;
            return true;
    }
    return false;
}

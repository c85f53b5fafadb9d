#include "props/windows/tunara_sheet.h"

#include <mmsystem.h>

#include "lang/resource_ids.h"
#include "props/logic/layout.h"
#include "props/logic/sheet_actions.h"
#include "props/windows/tunara_app.h"

namespace {

std::string moduleString(HMODULE module, UINT id) {
    char text[261] = {};
    int length = LoadStringA(module, id, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string windowText(HWND window) {
    char text[261] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

CTunaraSheet::CTunaraSheet(CTunaraApp* app, settings::tunaraSettings* settings,
                           HMODULE languageModule)
    : PropertySheetWnd(app, moduleString(languageModule, IDS_PRODUCT_TITLE)),
      tunaraApp_(app),
      settings_(settings),
      languageModule_(languageModule),
      messages_(settings::registerChangeMessages()) {
    okText_ = moduleString(languageModule, IDS_BUTTON_OK);
    cancelText_ = moduleString(languageModule, IDS_BUTTON_CANCEL);
    helpText_ = moduleString(languageModule, IDS_BUTTON_HELP);
    addFlags(PSH_HASHELP);
    page1_ = std::make_unique<CTunaraPage1>(settings, this, app);
    page3_ = std::make_unique<CTunaraPage3>(settings, app);
    AddPage(page1_.get());
    AddPage(page3_.get());
    page1_->setLanguageModule(languageModule);
    page3_->setLanguageModule(languageModule);
}

CTunaraSheet::~CTunaraSheet() {
    // The sheet window goes first, while the pages it shows still exist.
    destroyWindow();
}

BOOL CTunaraSheet::OnInitDialog() {
    if (HICON icon = LoadIconA(languageModule_, MAKEINTRESOURCEA(IDI_PRODUCT)))
        SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    settings_->setOwnerWindow(reinterpret_cast<platform::HWnd>(window_));
    page3_->setOwnerSheet(window_);
    tab_ = tabControl();
    retireStandardButtons();

    RECT t;
    GetWindowRect(tab_, &t);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&t), 2);
    SetWindowPos(tab_, nullptr, 0, 0, t.right - t.left - 55, t.bottom - t.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT w;
    GetWindowRect(window_, &w);
    int width = w.right - w.left - 50;
    int height = w.bottom - w.top + 35;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER);
    if (HWND page = page1_->window()) {
        RECT p;
        GetWindowRect(page, &p);
        SetWindowPos(page, nullptr, 0, 0, p.right - p.left - 60, p.bottom - p.top,
                     SWP_NOMOVE | SWP_NOZORDER);
    }

    GetWindowRect(window_, &w);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&w), 2);
    props::ButtonRow row = props::buttonRow(t.right - 55, w.bottom + 5);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    HINSTANCE self = GetModuleHandleA(nullptr);
    auto make = [&](const std::string& text, int left, int id, DWORD style) {
        HWND b = CreateWindowExA(0, "BUTTON", text.c_str(), WS_CHILD | style, left, row.top,
                                 props::kButtonWidth, row.bottom - row.top, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), self, nullptr);
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        return b;
    };
    ok_ = make(okText_, row.left[0], IDOK, WS_VISIBLE | WS_GROUP | WS_TABSTOP);
    SendMessageA(ok_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    cancel_ = make(cancelText_, row.left[1], IDCANCEL, WS_VISIBLE | WS_TABSTOP);
    help_ = make(helpText_, row.left[2], 1025, WS_VISIBLE | WS_TABSTOP);
    page1_->setOkButton(ok_);
    BringWindowToTop(window_);
    return TRUE;
}

bool CTunaraSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == MM_MIXM_CONTROL_CHANGE || message == MM_MIXM_LINE_CHANGE) {
        page1_->onMicBoostChange(settings_->readMicBoost());
        return false;
    }
    if (message == WM_NOTIFY) {
        if (activeIndex() == 0) setDefault(ok_, true);
        return false;
    }
    if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
            case IDOK:
                runOk();
                *result = 0;
                return true;
            case IDCANCEL:
                runCancel();
                *result = 0;
                return true;
            case 1025:
                showHelp();
                *result = 0;
                return true;
        }
        return false;
    }
    if (message != 0) {
        if (message == messages_.outputDevice) {
            page1_->onOutputDeviceChange(wParam != 0);
            *result = 0;
            return true;
        }
        if (message == messages_.hwAcceleration) {
            page1_->onHwAccelerationChange(wParam != 0);
            *result = 0;
            return true;
        }
        if (message == messages_.micBoost) {
            page1_->onMicBoostChange(wParam != 0);
            *result = 0;
            return true;
        }
        if (message == messages_.wavetable) {
            page1_->onWavetableChange(static_cast<int>(wParam));
            *result = 0;
            return true;
        }
    }
    if (message == WM_HELP) {
        showHelp();
        *result = 1;
        return true;
    }
    if (message == WM_CLOSE) {
        PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
        ended_ = true;
        return false;
    }
    (void)lParam;
    return false;
}

void CTunaraSheet::showHelp() {
    int page = activeIndex();
    if (page == 0)
        app()->helpContext(window_, 20);
    else if (page == 1)
        app()->helpContext(window_, 60);
}

void CTunaraSheet::runOk() {
    if (ended_) return;
    ShowWindow(window_, SW_HIDE);
    props::OkContext context;
    context.sheet = reinterpret_cast<platform::HWnd>(window_);
    context.language = reinterpret_cast<platform::HModule>(languageModule_);
    context.messages = messages_;
    context.trayIconChecked = page1_->trayIconChecked();
    context.advancedDialogOpened = page1_->advancedDialogOpened;
    context.advanced = page1_->advancedState();
    props::applyOk(*settings_, context);
    endProgram();
}

void CTunaraSheet::runCancel() {
    if (ended_) return;
    ShowWindow(window_, SW_HIDE);
    props::restoreOutputDevice(*settings_, page1_->initialSpeakerOutput);
    endProgram();
}

void CTunaraSheet::endProgram() {
    ended_ = true;
    RemovePage(page1_.get());
    RemovePage(page3_.get());
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
}

void CTunaraSheet::setDefault(HWND button, bool on) {
    if (button != nullptr)
        SendMessageA(button, BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool CTunaraSheet::isDefault(HWND button) const {
    return button != nullptr && (GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

props::FocusAt CTunaraSheet::whereIsFocus(HWND focus) const {
    using props::FocusAt;
    if (focus == nullptr) return FocusAt::Other;
    if (CAdvResSheet* adv = page3_->advancedSheet()) {
        if (focus == adv->helpButton()) return FocusAt::AdvResHelp;
        if (focus == adv->closeButton()) return FocusAt::AdvResClose;
        if (focus == adv->tabControl()) return FocusAt::AdvResTabControl;
    }
    if (GetParent(focus) == window_) {
        std::string text = windowText(focus);
        if (text == okText_) return FocusAt::SheetOk;
        if (text == cancelText_) return FocusAt::SheetCancel;
        if (text == helpText_) return FocusAt::SheetHelp;
        return FocusAt::SheetLevel;
    }
    if (page1_->window() != nullptr) {
        if (focus == page1_->item(IDC_SETTINGS_SUPPORT)) return FocusAt::SupportButton;
        if (focus == page1_->item(IDC_SETTINGS_ADVANCED)) return FocusAt::AdvancedButton;
        if (focus == page1_->checkedOutputButton()) return FocusAt::CheckedOutput;
    }
    if (page3_->window() != nullptr && focus == page3_->resourcesButton())
        return FocusAt::ResourcesButton;
    return FocusAt::Other;
}

bool CTunaraSheet::onKey(props::HookKey key) {
    using props::HookAction;
    if (window_ == nullptr || ended_) return false;
    props::HookInput in;
    in.key = key;
    in.focus = whereIsFocus(GetFocus());
    in.activePage = activeIndex();
    in.advancedSheetExists = page3_->advancedSheet() != nullptr;
    in.okIsDefault = isDefault(ok_);
    HookAction action = props::decideKey(in);
    CAdvResSheet* adv = page3_->advancedSheet();
    HWND resources = page3_->resourcesButton();
    switch (action) {
        case HookAction::None:
        case HookAction::Drop:
            break;
        case HookAction::HelpToTabControl:
            setDefault(help_, false);
            setDefault(ok_, true);
            SetFocus(tab_);
            break;
        case HookAction::SupportToOk:
            setDefault(page1_->item(IDC_SETTINGS_SUPPORT), false);
            SetFocus(ok_);
            setDefault(ok_, true);
            break;
        case HookAction::TabControlToOutput:
            page1_->focusCheckedOutput();
            break;
        case HookAction::ResourcesToOk:
            setDefault(resources, false);
            SetFocus(ok_);
            setDefault(ok_, true);
            break;
        case HookAction::TabControlToResources:
            SetFocus(resources);
            setDefault(resources, true);
            setDefault(ok_, false);
            break;
        case HookAction::SheetLevelToHelp:
            SetFocus(help_);
            setDefault(ok_, false);
            setDefault(help_, true);
            break;
        case HookAction::OutputToTabControl:
            SetFocus(tab_);
            break;
        case HookAction::AdvancedToTrayCheck:
            setDefault(ok_, true);
            setDefault(page1_->item(IDC_SETTINGS_ADVANCED), false);
            SetFocus(page1_->item(IDC_SETTINGS_TRAY_ICON));
            break;
        case HookAction::OkToSupport:
            SetFocus(page1_->item(IDC_SETTINGS_SUPPORT));
            setDefault(page1_->item(IDC_SETTINGS_SUPPORT), true);
            setDefault(ok_, false);
            break;
        case HookAction::ResourcesToTabControl:
            SetFocus(tab_);
            setDefault(ok_, true);
            setDefault(resources, false);
            break;
        case HookAction::OkToResources:
            SetFocus(resources);
            setDefault(resources, true);
            setDefault(ok_, false);
            break;
        case HookAction::AdvResHelpToTabControl:
            if (adv) adv->helpToTabControl();
            break;
        case HookAction::AdvResTabControlToClose:
            if (adv) adv->tabControlToClose();
            break;
        case HookAction::AdvResCloseToTabControl:
            if (adv) adv->closeToTabControl();
            break;
        case HookAction::AdvResHideThenContinue:
            if (adv) SendMessageA(adv->window(), WM_COMMAND, IDOK, 0);
            break;
        case HookAction::ClickOk:
            SendMessageA(ok_, BM_CLICK, 0, 0);
            break;
    }
    return props::actionHandlesKey(action);
}

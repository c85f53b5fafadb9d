// CTunaraSheet: the properties program's main window, a modeless property sheet with the
// settings page and the legacy page, its own OK, Cancel and Help buttons, and the change
// messages exchanged with the tray utility.
#pragma once

#include <memory>
#include <string>

#include "props/framework/property_sheet.h"
#include "settings/change_messages.h"
#include "props/logic/keyboard_hooks.h"
#include "props/windows/tunara_page1.h"
#include "props/windows/tunara_page3.h"
#include "settings/tunara_settings.h"

class CTunaraApp;

class CTunaraSheet : public fw::PropertySheetWnd {
  public:
    CTunaraSheet(CTunaraApp* app, settings::tunaraSettings* settings, HMODULE languageModule);
    ~CTunaraSheet() override;

    // Keyboard hooks of the message loop; true when the key was handled (and is dropped).
    bool onRightArrow() { return onKey(props::HookKey::Right); }
    bool onLeftArrow() { return onKey(props::HookKey::Left); }
    bool onTab() { return onKey(props::HookKey::Tab); }
    bool onShiftTab() { return onKey(props::HookKey::ShiftTab); }
    bool onEnter() { return onKey(props::HookKey::Enter); }

  protected:
    BOOL OnInitDialog() override;
    bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    bool onKey(props::HookKey key);
    props::FocusAt whereIsFocus(HWND focus) const;
    void runOk();
    void runCancel();
    void endProgram();
    void showHelp();
    void setDefault(HWND button, bool on);
    bool isDefault(HWND button) const;

    CTunaraApp* tunaraApp_;
    settings::tunaraSettings* settings_;
    HMODULE languageModule_;
    settings::ChangeMessages messages_;
    std::string okText_, cancelText_, helpText_;
    HWND ok_ = nullptr;
    HWND cancel_ = nullptr;
    HWND help_ = nullptr;
    HWND tab_ = nullptr;
    std::unique_ptr<CTunaraPage1> page1_;
    std::unique_ptr<CTunaraPage3> page3_;
    bool ended_ = false;
};

// CTunaraPage1: the settings page. Output device (at once), tray icon (on OK), the support
// information and the advanced settings dialogs; keeps the advanced dialog in step with the
// tray utility's change messages.
#pragma once

#include <memory>

#include "props/framework/property_page.h"
#include "props/windows/advanced_settings_dialog.h"
#include "props/windows/support_info_dialog.h"
#include "settings/tunara_settings.h"

class CTunaraSheet;

class CTunaraPage1 : public fw::PropertyPage {
  public:
    CTunaraPage1(settings::tunaraSettings* settings, CTunaraSheet* sheet, fw::App* app);
    ~CTunaraPage1() override;

    // The language module: the template, the bitmaps and the support dialog's strings.
    void setLanguageModule(HMODULE module);
    // The sheet's OK button, made the default again when the page's controls get the focus.
    void setOkButton(HWND ok) { okButton_ = ok; }

    bool trayIconChecked() const;
    const props::AdvancedState& advancedState() const { return advanced_->state; }

    // Change messages received by the sheet.
    void onOutputDeviceChange(bool speakers);
    void onHwAccelerationChange(bool on);
    void onMicBoostChange(bool on);
    void onWavetableChange(int size);

    // Keyboard operations of the sheet: the checked output radio button (1016 first).
    HWND checkedOutputButton() const;
    void focusCheckedOutput();

    bool initialSpeakerOutput = true;
    bool advancedDialogOpened = false;
    bool advancedDialogShowing = false;

  protected:
    BOOL OnInitDialog() override;
    bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void DoDataExchange(bool save) override;

  private:
    void refreshOutputControls();

    settings::tunaraSettings* settings_;
    CTunaraSheet* sheet_;
    std::unique_ptr<SupportInfoDialog> support_;
    std::unique_ptr<AdvancedSettingsDialog> advanced_;
    HBITMAP speakersBitmap_ = nullptr;
    HBITMAP headphonesBitmap_ = nullptr;
    HWND okButton_ = nullptr;
    bool controlsExist_ = false;
    bool trayIcon_ = false;
};

// AdvancedSettingsDialog: the card's other switches (hardware acceleration, microphone
// boost, sample set, joystick, DOS game support, native DOS support). It only records the
// user's choice in `state`; the main sheet applies it on OK.
#pragma once

#include "props/framework/modal_dialog.h"
#include "props/logic/advanced_state.h"
#include "settings/tunara_settings.h"

class AdvancedSettingsDialog : public fw::ModalDialog {
  public:
    AdvancedSettingsDialog(settings::tunaraSettings* settings, fw::App* app);

    // Redraws the controls from `state` (after a change message from the tray utility).
    void refreshControls();

    props::AdvancedState state;

  protected:
    BOOL OnInitDialog() override;
    bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    void readControls();
    settings::tunaraSettings* settings_;
};

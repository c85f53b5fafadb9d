// A modal dialog whose template comes from the application's resource module.
#pragma once

#include "props/framework/dialog_base.h"

namespace fw {

class ModalDialog : public DialogBase {
  public:
    ModalDialog(App* app, UINT templateId) : DialogBase(app), templateId_(templateId) {}

    // Runs the dialog (DialogBoxParamA) and returns its end code, -1 when the template is
    // missing. OK saves the bound check boxes first; Cancel saves nothing.
    INT_PTR DoModal(HWND owner);

  protected:
    bool onUnhandledCommand(int id, int code) override;

  private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    UINT templateId_;
};

}  // namespace fw

// A property page whose template comes from a resource module (the language module).
#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "props/framework/dialog_base.h"

namespace fw {

class PropertyPage : public DialogBase {
  public:
    PropertyPage(App* app, UINT templateId) : DialogBase(app), templateId_(templateId) {}

    // The module the template is taken from (default: the application's).
    void setTemplateModule(HMODULE module) { templateModule_ = module; }
    HMODULE templateModule() const {
        return templateModule_ ? templateModule_ : app()->resourceModule();
    }
    // PSP_* flags added to the page's header (PSP_HASHELP).
    void addFlags(DWORD flags) { flags_ |= flags; }

    // The page's PROPSHEETPAGEA, as the sheet hands it to comctl32.
    PROPSHEETPAGEA descriptor();

  private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    UINT templateId_;
    HMODULE templateModule_ = nullptr;
    DWORD flags_ = 0;
};

}  // namespace fw

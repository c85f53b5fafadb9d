// SupportInfoDialog: how to reach product support in the user's region, and the installed
// version of this program (from its own version resource).
#pragma once

#include "props/framework/modal_dialog.h"

class SupportInfoDialog : public fw::ModalDialog {
  public:
    explicit SupportInfoDialog(fw::App* app);
    // The module the strings come from (the owning page sets it before the dialog runs).
    void setLanguageModule(HMODULE module) { languageModule_ = module; }

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(bool save) override;

  private:
    void fillList();
    std::string text(UINT id) const;

    HMODULE languageModule_ = nullptr;
    HWND list_ = nullptr;
    HWND combo_ = nullptr;
    int region_ = 2;
};

// CAdvResSheet: the second, modeless sheet with the resources of all the card's devices,
// opened from the legacy page. Its own Close and Help buttons; Close only hides it, and the
// next request shows the same sheet again. CAdvResPage1 and CAdvResPage2 are its pages.
#pragma once

#include <memory>
#include <string>

#include "props/framework/property_sheet.h"
#include "props/logic/resource_fields.h"
#include "props/windows/support_info_dialog.h"
#include "settings/tunara_settings.h"

// One page of resource fields: the slot texts, the marks of the missing ones, the support
// button and the context-help table of the page.
class CAdvResPage : public fw::PropertyPage {
  public:
    CAdvResPage(fw::App* app, UINT templateId, std::vector<DWORD> helpTable);
    void setSettings(settings::tunaraSettings* settings) { settings_ = settings; }
    void setLanguageModule(HMODULE module);
    void setReport(const props::SlotTexts& slots) { slots_ = slots; }

  protected:
    void showFields(const std::vector<props::FieldText>& fields);
    settings::tunaraSettings* settings_ = nullptr;
    props::SlotTexts slots_;

  private:
    std::unique_ptr<SupportInfoDialog> support_;
};

class CAdvResPage1 : public CAdvResPage {
  public:
    explicit CAdvResPage1(fw::App* app);

  protected:
    BOOL OnInitDialog() override;
};

class CAdvResPage2 : public CAdvResPage {
  public:
    explicit CAdvResPage2(fw::App* app);

  protected:
    BOOL OnInitDialog() override;
};

class CAdvResSheet : public fw::PropertySheetWnd {
  public:
    // `pageRect`: the legacy page's window rectangle (screen) when the sheet was asked for.
    CAdvResSheet(const std::string& caption, const RECT& pageRect, fw::App* app);
    ~CAdvResSheet() override;

    void setContext(HMODULE languageModule, settings::tunaraSettings* settings);
    void setReport(const props::SlotTexts& slots);

    HWND closeButton() const { return close_; }
    HWND helpButton() const { return help_; }
    // The focus steps the main sheet's keyboard decisions ask for.
    void helpToTabControl();
    void tabControlToClose();
    void closeToTabControl();

  protected:
    BOOL OnInitDialog() override;
    bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    void makeCloseDefault();
    RECT pageRect_;
    settings::tunaraSettings* settings_ = nullptr;
    std::string closeText_;
    std::string helpText_;
    HWND close_ = nullptr;
    HWND help_ = nullptr;
    std::unique_ptr<CAdvResPage1> page1_;
    std::unique_ptr<CAdvResPage2> page2_;
};

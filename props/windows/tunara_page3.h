// CTunaraPage3: the legacy and DOS page. The SoundBlaster Pro compatible device's interrupt,
// I/O range and DMA channel when DOS game support is on, an explanation otherwise; button
// 1019 opens the advanced resources sheet. The page owns the device inspection that both it
// and that sheet show.
#pragma once

#include <memory>

#include "inspector/device_inspector.h"
#include "props/framework/property_page.h"
#include "props/windows/adv_res_sheet.h"
#include "settings/tunara_settings.h"

class CTunaraApp;

class CTunaraPage3 : public fw::PropertyPage {
  public:
    CTunaraPage3(settings::tunaraSettings* settings, CTunaraApp* app);
    ~CTunaraPage3() override;

    void setLanguageModule(HMODULE module) { setTemplateModule(module); }
    void setOwnerSheet(HWND sheet) { ownerSheet_ = sheet; }

    CAdvResSheet* advancedSheet() const { return advancedSheet_.get(); }
    HWND resourcesButton() const { return item(1019); }

  protected:
    BOOL OnInitDialog() override;

  private:
    void openAdvancedSheet();

    settings::tunaraSettings* settings_;
    CTunaraApp* tunaraApp_;
    std::unique_ptr<inspector::deviceInspector> inspector_;
    std::unique_ptr<CAdvResSheet> advancedSheet_;
    HWND ownerSheet_ = nullptr;
};

#include "props/windows/tunara_page3.h"

#include "lang/resource_ids.h"
#include "props/logic/advanced_state.h"
#include "props/logic/resource_fields.h"
#include "props/windows/tunara_app.h"

CTunaraPage3::CTunaraPage3(settings::tunaraSettings* settings, CTunaraApp* app)
    : PropertyPage(app, IDD_LEGACY),
      settings_(settings),
      tunaraApp_(app),
      inspector_(std::make_unique<inspector::deviceInspector>()) {
    inspector_->inspectAllDevices();
    onCommand(IDC_LEGACY_RESOURCES, BN_CLICKED, [this] { openAdvancedSheet(); });
    setHelpTable({IDC_LEGACY_IRQ_LABEL, 90, IDC_LEGACY_IRQ, 90, IDC_LEGACY_IO, 70,
                  IDC_LEGACY_IO_LABEL, 70, IDC_LEGACY_DMA, 80, IDC_LEGACY_DMA_LABEL, 80,
                  IDC_LEGACY_RESOURCES, 170, 0, 0});
}

CTunaraPage3::~CTunaraPage3() {
    if (advancedSheet_ != nullptr) tunaraApp_->advancedSheetWindow = nullptr;
    advancedSheet_.reset();
    inspector_.reset();
}

BOOL CTunaraPage3::OnInitDialog() {
    HWND page = window();
    if (props::effectiveGameSupport(*settings_)) {
        for (const props::FieldText& f : props::legacyPageFields(inspector_->resourceSlots, true)) {
            SetDlgItemTextA(page, static_cast<int>(f.control), f.text.c_str());
            if (f.mark != 0) ShowWindow(item(static_cast<int>(f.mark)), SW_SHOW);
        }
        return TRUE;
    }
    for (int id : {IDC_LEGACY_DEVICE, IDC_LEGACY_IRQ, IDC_LEGACY_IO, IDC_LEGACY_DMA,
                   IDC_LEGACY_IRQ_LABEL, IDC_LEGACY_IO_LABEL, IDC_LEGACY_DMA_LABEL})
        ShowWindow(item(id), SW_HIDE);
    char text[261] = {};
    if (LoadStringA(templateModule(), IDS_LEGACY_NO_GAME_SUPPORT, text, sizeof text) > 0)
        SetDlgItemTextA(page, IDC_LEGACY_TEXT, text);
    if (HWND field = item(IDC_LEGACY_TEXT)) {
        RECT r;
        GetWindowRect(field, &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        MoveWindow(field, r.left, r.top + 3, (r.right + 120) - r.left,
                   (r.bottom + 40) - (r.top + 3), TRUE);
    }
    return TRUE;
}

void CTunaraPage3::openAdvancedSheet() {
    if (advancedSheet_ != nullptr && advancedSheet_->window() != nullptr) {
        ShowWindow(advancedSheet_->window(), SW_SHOW);
        BringWindowToTop(advancedSheet_->window());
        return;
    }
    RECT rect;
    GetWindowRect(window(), &rect);
    std::string caption = app()->loadString(IDS_ADVRES_CAPTION);
    advancedSheet_ = std::make_unique<CAdvResSheet>(caption, rect, app());
    advancedSheet_->setContext(templateModule(), settings_);
    advancedSheet_->setReport(inspector_->resourceSlots);
    if (!advancedSheet_->Create(nullptr)) {
        advancedSheet_.reset();
        return;
    }
    tunaraApp_->advancedSheetWindow = advancedSheet_->window();
}

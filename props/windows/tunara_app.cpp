#include "props/windows/tunara_app.h"

#include <commctrl.h>

#include "lang/resource_ids.h"
#include "props/logic/help_path.h"
#include "props/logic/keyboard_hooks.h"
#include "props/windows/tunara_sheet.h"
#include "settings/language_module.h"

CTunaraApp theApp;

CTunaraApp::CTunaraApp() = default;

CTunaraApp::~CTunaraApp() = default;

int CTunaraApp::InitInstance() {
    // The common controls (property sheets, list views) with their three-dimensional look.
    InitCommonControls();
    settings = std::make_unique<settings::tunaraSettings>();

    setHelpFilePath(props::helpFilePathForThread());

    languageModule =
        reinterpret_cast<HMODULE>(settings::loadLanguageModule(settings::kLanguageModulePrefix, 0));
    if (languageModule != nullptr) {
        char caption[261] = {};
        int length = LoadStringA(languageModule, IDS_PRODUCT_TITLE, caption, sizeof caption);
        sheetCaption.assign(caption, length > 0 ? static_cast<std::size_t>(length) : 0);
    }

    if (!sheetCaption.empty()) {
        HWND running = FindWindowA("#32770", sheetCaption.c_str());
        if (running != nullptr) {
            SetForegroundWindow(running);
            return 0;
        }
    }

    if (!settings->cardPresent) return 0;

    if (languageModule == nullptr) {
        MessageBoxA(nullptr, "Unable to find any language files, quitting application",
                    "Tunara Control error", MB_ICONERROR);
        return 0;
    }

    setResourceModule(languageModule);
    settings->setResourceModule(reinterpret_cast<platform::HModule>(languageModule));

    auto sheet = std::make_unique<CTunaraSheet>(this, settings.get(), languageModule);
    if (!sheet->Create(nullptr)) return 1;
    HWND sheetWindow = FindWindowA("#32770", sheetCaption.c_str());
    if (sheetWindow == nullptr) sheetWindow = sheet->window();

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        bool handled = false;
        if (msg.message == WM_KEYDOWN) {
            switch (msg.wParam) {
                case VK_RIGHT:
                    handled = sheet->onRightArrow();
                    break;
                case VK_LEFT:
                    handled = sheet->onLeftArrow();
                    break;
                case VK_TAB:
                    handled = props::shiftIsDown(GetKeyState(VK_SHIFT)) ? sheet->onShiftTab()
                                                                        : sheet->onTab();
                    break;
                case VK_RETURN:
                    handled = sheet->onEnter();
                    break;
                default:
                    break;
            }
        }
        if (handled) continue;
        if (advancedSheetWindow != nullptr && SendMessageA(advancedSheetWindow, PSM_ISDIALOGMESSAGE,
                                                           0, reinterpret_cast<LPARAM>(&msg)))
            continue;
        if (sheetWindow != nullptr &&
            SendMessageA(sheetWindow, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg)))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    sheet.reset();
    return 0;
}

// CTunaraApp: the properties program's application object and entry.
//
// One global instance. The entry builds the help path, loads the language module, brings a
// running copy forward, ends quietly without a card (or with the fixed English box without
// a language module), then runs the main sheet in the program's own message loop, which
// gives the sheet's keyboard decisions the first look at every key and feeds both sheets
// their dialog messages.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "props/framework/app.h"
#include "settings/tunara_settings.h"

class CTunaraApp : public fw::App {
  public:
    CTunaraApp();
    ~CTunaraApp() override;

    // The entry. Returns the process exit code (0 in every case the program ends normally).
    int InitInstance();

    // The settings object, made as the entry starts (the machine must exist first).
    std::unique_ptr<settings::tunaraSettings> settings;
    HMODULE languageModule = nullptr;
    // String 6: the sheet's caption, and the key by which a running copy is found.
    std::string sheetCaption;
    // The advanced resources sheet once the legacy page has opened it.
    HWND advancedSheetWindow = nullptr;
};

extern CTunaraApp theApp;

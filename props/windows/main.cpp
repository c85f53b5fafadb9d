// tunaractl.exe: the Tunara card's properties program.
#include <windows.h>

#include "platform/win32/win32_machine.h"
#include "props/windows/tunara_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::win32::Win32Machine machine;
    int code = theApp.InitInstance();
    // The settings object closes its mixer handle while the machine still exists.
    theApp.settings.reset();
    if (theApp.languageModule != nullptr) FreeLibrary(theApp.languageModule);
    return code;
}

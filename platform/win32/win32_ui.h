// The real user interface: the UserInterface interface over user32.
//
// Each call is the Win32 "A" function of the same name. DialogBoxParam runs DialogBoxParamA with a
// dialog procedure of its own that sets the dialog up as the request says on WM_INITDIALOG and
// reads the requested controls back when OK or Cancel ends it. <windows.h> and <commdlg.h> are
// included here so that every file that sees this class sees the same (renamed) method names.
#pragma once

// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include "platform/ui.h"

namespace platform::win32 {

class Win32UserInterface : public UserInterface {
  public:
    std::uint32_t GetLastError() override;
    int MessageBox(HWnd owner, const char* text, const char* caption, std::uint32_t type) override;
    int LoadString(HModule module, std::uint32_t id, char* buffer, int bufferMax) override;
    std::intptr_t DialogBoxParam(HModule module, std::uint32_t templateId, HWnd owner,
                                 const DialogRequest& request, DialogResult* result) override;
    bool GetOpenFileName(const OpenFileRequest& request, std::string* path) override;
    HWnd FindWindow(const char* className, const char* windowName) override;
    bool SetForegroundWindow(HWnd window) override;
    std::uint32_t RegisterWindowMessage(const char* name) override;
    std::intptr_t SendMessage(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    bool PostMessage(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
};

}  // namespace platform::win32

// tnrtray.exe: the card's notification-area utility, or a one-shot maintenance task when
// started with an option.
//
// Everything this file does is carry messages between Windows and the tray's logic
// (tray_program.h, tray_controller.h): the hidden window, the icon, the popup menu and the
// message loop. Decisions are made there.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <shellapi.h>

#include <cstddef>
#include <string>

#include "lang/resource_ids.h"
#include "platform/out_of_memory.h"
#include "platform/win32/win32_machine.h"
#include "settings/tunara_settings.h"
#include "tray/tray_menu.h"
#include "tray/tray_program.h"

namespace {

// The first form of the icon record, which every shell since Windows 95 accepts.
#ifdef NOTIFYICONDATAA_V1_SIZE
constexpr DWORD kIconRecordSize = NOTIFYICONDATAA_V1_SIZE;
#else
constexpr DWORD kIconRecordSize = sizeof(NOTIFYICONDATAA);
#endif

class Win32TrayShell : public tray::TrayShell {
  public:
    explicit Win32TrayShell(HINSTANCE instance) : instance_(instance) {}

    void initCommonControls() override { InitCommonControls(); }

    platform::HWnd createTrayWindow(tray::TrayController& controller) override;
    void addIcon(platform::HModule module, const std::string& tip) override;
    void removeIcon() override;
    void destroyTrayWindow() override;
    void runMessageLoop(std::uint32_t exitMessage) override;
    void requestQuit() override { PostQuitMessage(0); }
    void showPopupMenu(const tray::TrayMenuState& state) override;

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

  private:
    HINSTANCE instance_;
    HWND window_ = nullptr;
    HMODULE module_ = nullptr;
    bool iconAdded_ = false;
};

// The one controller of the one tray window of this thread.
tray::TrayController* g_controller = nullptr;

LRESULT CALLBACK Win32TrayShell::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    bool handled = false;
    const bool completed = platform::completesInMemory([&] {
        handled = g_controller != nullptr &&
                  g_controller->handleMessage(message, static_cast<std::uintptr_t>(wParam),
                                              static_cast<std::intptr_t>(lParam));
    });
    // Out of memory while handling it: the message is simply dropped.
    if (!completed || handled) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

platform::HWnd Win32TrayShell::createTrayWindow(tray::TrayController& controller) {
    g_controller = &controller;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &Win32TrayShell::windowProcedure;
    windowClass.hInstance = instance_;
    windowClass.lpszClassName = settings::kTrayWindowClass;
    if (RegisterClassA(&windowClass) == 0) return 0;
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, settings::kTrayWindowClass, "", WS_DISABLED, 0, 0,
                              0, 0, nullptr, nullptr, instance_, nullptr);
    return reinterpret_cast<platform::HWnd>(window_);
}

void Win32TrayShell::addIcon(platform::HModule module, const std::string& tip) {
    module_ = reinterpret_cast<HMODULE>(module);
    NOTIFYICONDATAA data = {};
    data.cbSize = kIconRecordSize;
    data.hWnd = window_;
    data.uID = tray::kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = tray::kTrayCallbackMessage;
    data.hIcon = LoadIconA(module_, MAKEINTRESOURCEA(IDI_TRAY));
    lstrcpynA(data.szTip, tip.c_str(), 64);
    iconAdded_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void Win32TrayShell::removeIcon() {
    if (!iconAdded_) return;
    NOTIFYICONDATAA data = {};
    data.cbSize = kIconRecordSize;
    data.hWnd = window_;
    data.uID = tray::kTrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    iconAdded_ = false;
}

void Win32TrayShell::destroyTrayWindow() {
    // The controller goes with the run; nothing may reach it from here on.
    g_controller = nullptr;
    if (window_ != nullptr) DestroyWindow(window_);
    window_ = nullptr;
}

void Win32TrayShell::runMessageLoop(std::uint32_t exitMessage) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Posted to the thread, the exit request reaches no window procedure.
        if (exitMessage != 0 && message.message == exitMessage) PostQuitMessage(0);
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Replaces the whole state of the item at `position`.
void setItemState(HMENU menu, UINT position, UINT state) {
    if (menu == nullptr) return;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;  // the Windows 95 size: WINVER 0x0400 has no hbmpItem
    info.fMask = MIIM_STATE;
    info.fState = state;
    SetMenuItemInfoA(menu, position, TRUE, &info);
}

void Win32TrayShell::showPopupMenu(const tray::TrayMenuState& state) {
    HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(IDR_TRAY));
    if (menu == nullptr) return;
    HMENU popup = GetSubMenu(menu, 0);
    if (popup != nullptr) {
        setItemState(popup, TRAY_POS_PROPERTIES, MFS_DEFAULT | MFS_ENABLED | MFS_UNCHECKED);
        setItemState(GetSubMenu(popup, TRAY_POS_OUTPUT), state.speakers ? 0 : 1, MFS_CHECKED);
        setItemState(GetSubMenu(popup, TRAY_POS_HW_ACCELERATION), 0,
                     state.hwAcceleration ? MFS_CHECKED : MFS_UNCHECKED);
        setItemState(GetSubMenu(popup, TRAY_POS_MIC_BOOST), 0,
                     state.micBoost ? MFS_CHECKED : MFS_UNCHECKED);
        HMENU sampleSets = GetSubMenu(popup, TRAY_POS_WAVETABLE);
        for (UINT item = 0; item < 3; ++item) {
            const tray::SampleSetItemState& set = state.sampleSets[item];
            setItemState(
                sampleSets, item,
                (set.checked ? MFS_CHECKED : MFS_UNCHECKED) | (set.greyed ? MFS_GRAYED : 0));
        }
        POINT cursor = {};
        GetCursorPos(&cursor);
        SetForegroundWindow(window_);
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window_, nullptr);
    }
    DestroyMenu(menu);
    // Lets the menu close when the user clicks elsewhere.
    PostMessageA(window_, WM_NULL, 0, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // Out of memory anywhere on the way, the run ends quietly as every run of the tray does.
    (void)platform::completesInMemory([&] {
        platform::win32::Win32Machine machine;
        settings::tunaraSettings card;
        Win32TrayShell shell(instance);
        tray::runTrayProgram(card, commandLine, shell);
    });
    return 0;
}

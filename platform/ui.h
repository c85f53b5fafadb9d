// The user-interface calls that the logic layers make: message boxes, strings and modal
// dialogs from a resource module, the standard Open dialog, and the few window searches and
// messages by which the properties program and the tray find and tell each other.
//
// Operations have the shape of their Win32 ("A") namesakes: same arguments, same results,
// same codes for GetLastError (which this back-end answers for its own calls). Texts are
// 8-bit ANSI. Windows are opaque handles; 0 is "no window" (no owner, not found).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/win32_constants.h"

// Flags of the Open dialog. They live in <commdlg.h>, which <windows.h> leaves out under
// WIN32_LEAN_AND_MEAN, so they are defined here and checked against it in win32_ui.cpp.
#if !defined(_WINDOWS_) && !defined(_WINDOWS_H)
constexpr std::uint32_t OFN_READONLY = 0x00000001;
constexpr std::uint32_t OFN_OVERWRITEPROMPT = 0x00000002;
constexpr std::uint32_t OFN_HIDEREADONLY = 0x00000004;
constexpr std::uint32_t OFN_NOCHANGEDIR = 0x00000008;
constexpr std::uint32_t OFN_PATHMUSTEXIST = 0x00000800;
constexpr std::uint32_t OFN_FILEMUSTEXIST = 0x00001000;
constexpr std::uint32_t OFN_EXPLORER = 0x00080000;
constexpr std::uint32_t OFN_LONGNAMES = 0x00200000;
#endif

namespace platform {

// A window handle (HWND). 0 means none.
using HWnd = std::uintptr_t;

// How one control of a modal dialog starts. Only what is asked for is changed; the rest
// stays as the template made it.
struct DialogControlSetup {
    std::uint32_t id = 0;
    bool setText = false;  // SetDlgItemTextA with `text`
    std::string text;
    bool setCheck = false;  // CheckDlgButton with `check` (BST_CHECKED, BST_UNCHECKED)
    std::uint32_t check = 0;
    bool hide = false;  // ShowWindow(SW_HIDE)
    int moveX = 0;      // moved by this many pixels from its template position
    int moveY = 0;
};

// What a modal dialog shows besides its template: caption, control set-up, and trimming of
// the window. Every control named here is also reported back in the result.
struct DialogRequest {
    bool setCaption = false;
    std::string caption;
    std::vector<DialogControlSetup> controls;
    int trimTop = 0;      // pixels taken off the window's top edge
    int trimBottom = 0;   // pixels taken off the window's bottom edge
    bool center = false;  // centred on the screen after the changes above
};

// The state of one control when the dialog ended.
struct DialogControlState {
    std::uint32_t id = 0;
    std::string text;         // GetDlgItemTextA (up to 260 bytes)
    std::uint32_t check = 0;  // IsDlgButtonChecked
};

struct DialogResult {
    std::intptr_t endCode = -1;
    std::vector<DialogControlState> controls;  // the request's controls, in its order

    // The state of control `id`, or null when the request did not name it.
    const DialogControlState* control(std::uint32_t id) const {
        for (const DialogControlState& state : controls)
            if (state.id == id) return &state;
        return nullptr;
    }
};

// The standard Open dialog (OPENFILENAMEA) as the product fills it.
struct OpenFileRequest {
    HWnd owner = 0;
    // Pairs of description and pattern, each ended by a zero byte, the list by one more
    // (as lpstrFilter wants them; the text may hold zero bytes).
    std::string filter;
    std::string initialDirectory;  // empty: the current folder
    std::string defaultExtension;  // empty: none
    std::string title;             // empty: "Open"
    std::uint32_t flags = 0;       // OFN_*
};

class UserInterface {
  public:
    virtual ~UserInterface() = default;

    // GetLastError for the operations of this back-end.
    virtual std::uint32_t GetLastError() = 0;

    // MessageBoxA. Shows the box modally and returns the button pressed (IDOK, IDCANCEL,
    // IDYES, IDNO, ...), or 0 when the box could not be shown. `owner` 0 means no owner;
    // `caption` null means "Error". MB_* flags as Win32.
    virtual int MessageBox(HWnd owner, const char* text, const char* caption,
                           std::uint32_t type) = 0;

    // LoadStringA. Copies string `id` of `module` into `buffer`: at most bufferMax - 1
    // characters, always terminated; returns the characters copied without the zero.
    // 0 (buffer emptied when bufferMax > 0) when the module has no such string, with
    // ERROR_RESOURCE_NAME_NOT_FOUND, or for a module that is not loaded. Never writes past
    // bufferMax.
    virtual int LoadString(HModule module, std::uint32_t id, char* buffer, int bufferMax) = 0;

    // DialogBoxParamA of template `templateId` in `module`, modal, owned by `owner`, set up
    // as `request` says when it opens. Returns the end code (IDOK, IDCANCEL, ...) and, when
    // `result` is not null, the end code and the state of every control the request names
    // at the moment the dialog ended. -1 when the template is missing
    // (ERROR_RESOURCE_NAME_NOT_FOUND) or the dialog cannot be created; `result` untouched.
    virtual std::intptr_t DialogBoxParam(HModule module, std::uint32_t templateId, HWnd owner,
                                         const DialogRequest& request, DialogResult* result) = 0;

    // GetOpenFileNameA with a buffer of 260 bytes, no preset file name. True and the chosen
    // path in *path when the user confirmed; false when the user cancelled or the dialog
    // failed (a path that does not fit included), *path untouched.
    virtual bool GetOpenFileName(const OpenFileRequest& request, std::string* path) = 0;

    // FindWindowA: a top-level window by class name, title, or both (a null argument matches
    // any); both compared without regard to case. 0 when there is none.
    virtual HWnd FindWindow(const char* className, const char* windowName) = 0;

    // SetForegroundWindow. False when the window does not exist.
    virtual bool SetForegroundWindow(HWnd window) = 0;

    // RegisterWindowMessageA: the same identifier (0xC000 to 0xFFFF) for the same name,
    // compared without regard to case, in every process. 0 with ERROR_INVALID_PARAMETER for
    // a null or empty name.
    virtual std::uint32_t RegisterWindowMessage(const char* name) = 0;

    // SendMessageA: delivers the message and waits for the window's answer. 0 with
    // ERROR_INVALID_WINDOW_HANDLE when the window does not exist.
    virtual std::intptr_t SendMessage(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) = 0;

    // PostMessageA: queues the message and returns at once. False with
    // ERROR_INVALID_WINDOW_HANDLE when the window does not exist.
    virtual bool PostMessage(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
};

}  // namespace platform

#include "platform/win32/win32_ui.h"
#include "platform/win32/win32_machine.h"

#include <cstring>

#include "platform/out_of_memory.h"

namespace platform::win32 {

static_assert(OFN_READONLY == 0x1 && OFN_OVERWRITEPROMPT == 0x2 && OFN_HIDEREADONLY == 0x4 &&
                  OFN_NOCHANGEDIR == 0x8 && OFN_PATHMUSTEXIST == 0x800 &&
                  OFN_FILEMUSTEXIST == 0x1000 && OFN_EXPLORER == 0x80000 &&
                  OFN_LONGNAMES == 0x200000,
              "platform/ui.h gives the logic these <commdlg.h> values");

namespace {

HWND toWindow(HWnd window) {
    return reinterpret_cast<HWND>(window);
}

// What the dialog procedure needs: the request going in, the states coming out.
struct DialogContext {
    const DialogRequest* request;
    DialogResult outcome;
};

// Moves a child window by (dx, dy) pixels within its parent.
void moveControl(HWND dialog, HWND control, int dx, int dy) {
    RECT rect;
    if (!::GetWindowRect(control, &rect)) return;
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    ::SetWindowPos(control, nullptr, rect.left + dx, rect.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void setUp(HWND dialog, const DialogRequest& request) {
    if (request.setCaption) ::SetWindowTextA(dialog, request.caption.c_str());
    for (const DialogControlSetup& setup : request.controls) {
        HWND control = ::GetDlgItem(dialog, static_cast<int>(setup.id));
        if (control == nullptr) continue;
        if (setup.setText) ::SetWindowTextA(control, setup.text.c_str());
        if (setup.setCheck) ::CheckDlgButton(dialog, static_cast<int>(setup.id), setup.check);
        if (setup.moveX != 0 || setup.moveY != 0)
            moveControl(dialog, control, setup.moveX, setup.moveY);
        if (setup.hide) ::ShowWindow(control, SW_HIDE);
    }
    RECT window;
    if (!::GetWindowRect(dialog, &window)) return;
    window.top += request.trimTop;
    window.bottom -= request.trimBottom;
    const int width = window.right - window.left;
    const int height = window.bottom > window.top ? window.bottom - window.top : 0;
    if (request.center) {
        window.left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        window.top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    }
    if (request.trimTop != 0 || request.trimBottom != 0 || request.center)
        ::SetWindowPos(dialog, nullptr, window.left, window.top, width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void readBack(HWND dialog, DialogContext& context) {
    context.outcome.controls.clear();
    for (const DialogControlSetup& setup : context.request->controls) {
        DialogControlState state;
        state.id = setup.id;
        char text[260] = {};
        ::GetDlgItemTextA(dialog, static_cast<int>(setup.id), text, sizeof text);
        state.text = text;
        state.check = ::IsDlgButtonChecked(dialog, static_cast<int>(setup.id));
        context.outcome.controls.push_back(state);
    }
}

INT_PTR handleDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        setUp(dialog, *reinterpret_cast<DialogContext*>(lParam)->request);
        return TRUE;
    }
    auto* context = reinterpret_cast<DialogContext*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (context == nullptr) return FALSE;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        readBack(dialog, *context);
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR handled = FALSE;
    if (!completesInMemory(
            [&] { handled = handleDialogMessage(dialog, message, wParam, lParam); })) {
        // Out of memory while copying texts: end the dialog as cancelled.
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return handled;
}

}  // namespace

std::uint32_t Win32UserInterface::GetLastError() {
    return ::GetLastError();
}

int Win32UserInterface::MessageBox(HWnd owner, const char* text, const char* caption,
                                   std::uint32_t type) {
    return ::MessageBoxA(toWindow(owner), text, caption, type);
}

int Win32UserInterface::LoadString(HModule module, std::uint32_t id, char* buffer, int bufferMax) {
    return ::LoadStringA(reinterpret_cast<HINSTANCE>(module), id, buffer, bufferMax);
}

std::intptr_t Win32UserInterface::DialogBoxParam(HModule module, std::uint32_t templateId,
                                                 HWnd owner, const DialogRequest& request,
                                                 DialogResult* result) {
    // The dialog procedure has its own way back from a failed allocation; only the copy of
    // the outcome can fail here, and the system's dialog loop stays outside of it.
    DialogContext context{&request, DialogResult()};
    const INT_PTR code =
        ::DialogBoxParamA(reinterpret_cast<HINSTANCE>(module), MAKEINTRESOURCEA(templateId),
                          toWindow(owner), dialogProcedure, reinterpret_cast<LPARAM>(&context));
    if (code == -1) return -1;
    context.outcome.endCode = code;
    if (result != nullptr && !completesInMemory([&] { *result = context.outcome; })) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    }
    return code;
}

bool Win32UserInterface::GetOpenFileName(const OpenFileRequest& request, std::string* path) {
    if (path == nullptr) return false;
    char chosen[MAX_PATH] = {};
    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    // The size of the Windows 95 structure, which every later system accepts.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = toWindow(request.owner);
    dialog.lpstrFilter = request.filter.empty() ? nullptr : request.filter.c_str();
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = sizeof chosen;
    dialog.lpstrInitialDir =
        request.initialDirectory.empty() ? nullptr : request.initialDirectory.c_str();
    dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    dialog.lpstrDefExt =
        request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    dialog.Flags = request.flags;
    if (!::GetOpenFileNameA(&dialog)) return false;
    return completesInMemory([&] { *path = chosen; });
}

HWnd Win32UserInterface::FindWindow(const char* className, const char* windowName) {
    return reinterpret_cast<HWnd>(::FindWindowA(className, windowName));
}

bool Win32UserInterface::SetForegroundWindow(HWnd window) {
    return ::SetForegroundWindow(toWindow(window)) != FALSE;
}

std::uint32_t Win32UserInterface::RegisterWindowMessage(const char* name) {
    return ::RegisterWindowMessageA(name);
}

std::intptr_t Win32UserInterface::SendMessage(HWnd window, std::uint32_t message,
                                              std::uintptr_t wParam, std::intptr_t lParam) {
    return ::SendMessageA(toWindow(window), message, wParam, lParam);
}

bool Win32UserInterface::PostMessage(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
    return ::PostMessageA(toWindow(window), message, wParam, lParam) != FALSE;
}

std::unique_ptr<MachinePart> userInterfacePart() {
    return makeBackendPart<Win32UserInterface, UserInterface, &Machine::ui>();
}

}  // namespace platform::win32

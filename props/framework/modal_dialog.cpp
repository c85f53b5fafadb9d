#include "props/framework/modal_dialog.h"

#include "platform/out_of_memory.h"

namespace fw {

INT_PTR ModalDialog::DoModal(HWND owner) {
    INT_PTR code = DialogBoxParamA(app()->resourceModule(), MAKEINTRESOURCEA(templateId_), owner,
                                   dialogProc, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return code;
}

bool ModalDialog::onUnhandledCommand(int id, int code) {
    if (code != BN_CLICKED) return false;
    if (id == IDOK) {
        UpdateData(true);
        EndDialog(window_, IDOK);
        return true;
    }
    if (id == IDCANCEL) {
        EndDialog(window_, IDCANCEL);
        return true;
    }
    return false;
}

INT_PTR CALLBACK ModalDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);
    auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (self == nullptr) return FALSE;
    // A message whose handling runs out of memory is left to the dialog manager.
    return platform::unlessOutOfMemory<INT_PTR>(
        FALSE, [&] { return self->dispatch(window, message, wParam, lParam); });
}

}  // namespace fw

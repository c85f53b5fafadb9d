#include "props/framework/property_page.h"

#include "platform/out_of_memory.h"

namespace fw {

PROPSHEETPAGEA PropertyPage::descriptor() {
    PROPSHEETPAGEA page = {};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT | flags_;
    page.hInstance = templateModule();
    page.pszTemplate = MAKEINTRESOURCEA(templateId_);
    page.pfnDlgProc = dialogProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

INT_PTR CALLBACK PropertyPage::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, page->lParam);
    }
    auto* self = reinterpret_cast<PropertyPage*>(GetWindowLongPtrA(window, DWLP_USER));
    if (self == nullptr) return FALSE;
    // A message whose handling runs out of memory is left to the dialog manager.
    const INT_PTR result = platform::unlessOutOfMemory<INT_PTR>(
        FALSE, [&] { return self->dispatch(window, message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        SetWindowLongPtrA(window, DWLP_USER, 0);
    }
    return result;
}

}  // namespace fw

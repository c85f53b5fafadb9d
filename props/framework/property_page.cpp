#include "props/framework/property_page.h"

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
    if (message == WM_NCDESTROY) {
        INT_PTR r = self->dispatch(window, message, wParam, lParam);
        self->window_ = nullptr;
        SetWindowLongPtrA(window, DWLP_USER, 0);
        return r;
    }
    return self->dispatch(window, message, wParam, lParam);
}

}  // namespace fw

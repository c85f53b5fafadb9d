#include "props/framework/property_sheet.h"

#include <algorithm>

#include "platform/out_of_memory.h"

namespace fw {
namespace {

constexpr const char* kSelfProperty = "fw.PropertySheetWnd";

}  // namespace

PropertySheetWnd::~PropertySheetWnd() {
    destroyWindow();
}

void PropertySheetWnd::destroyWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        HWND window = window_;
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropA(window, kSelfProperty);
        window_ = nullptr;
        DestroyWindow(window);
    }
    window_ = nullptr;
}

bool PropertySheetWnd::Create(HWND parent) {
    std::vector<PROPSHEETPAGEA> descriptors;
    for (PropertyPage* page : pages_) descriptors.push_back(page->descriptor());
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | flags_;
    header.hwndParent = parent;
    header.hInstance = app_->resourceModule();
    header.pszCaption = caption_.c_str();
    header.nPages = static_cast<UINT>(descriptors.size());
    header.nStartPage = 0;
    header.ppsp = descriptors.data();
    HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
    if (sheet == nullptr || sheet == reinterpret_cast<HWND>(-1)) return false;
    window_ = sheet;
    SetPropA(sheet, kSelfProperty, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc)));
    OnInitDialog();
    return true;
}

void PropertySheetWnd::RemovePage(PropertyPage* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end() || window_ == nullptr) return;
    int index = static_cast<int>(it - pages_.begin());
    PropSheet_RemovePage(window_, index, nullptr);
    pages_.erase(it);
}

int PropertySheetWnd::activeIndex() const {
    if (window_ == nullptr) return -1;
    HWND page = PropSheet_GetCurrentPageHwnd(window_);
    if (page == nullptr) return -1;
    return static_cast<int>(PropSheet_HwndToIndex(window_, page));
}

bool PropertySheetWnd::WindowProc(UINT, WPARAM, LPARAM, LRESULT*) {
    return false;
}

LRESULT PropertySheetWnd::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(original_, window_, message, wParam, lParam);
}

void PropertySheetWnd::retireStandardButtons() {
    // IDOK, IDCANCEL, the Apply button and the standard Help button.
    const int ids[] = {IDOK, IDCANCEL, 0x3021, IDHELP};
    int spare = 0x7F00;
    for (int id : ids) {
        HWND button = GetDlgItem(window_, id);
        if (button == nullptr) continue;
        ShowWindow(button, SW_HIDE);
        EnableWindow(button, FALSE);
        SetWindowLongPtrA(button, GWLP_ID, spare++);
    }
}

LRESULT CALLBACK PropertySheetWnd::subclassProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    auto* self = static_cast<PropertySheetWnd*>(GetPropA(window, kSelfProperty));
    if (self == nullptr) return DefDlgProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    // A message whose handling runs out of memory is taken as handled, with result 0 (the
    // sheet's own procedure is not asked to carry on with half of it); WM_NCDESTROY still
    // reaches the clean-up below.
    const bool handled = platform::unlessOutOfMemory(message != WM_NCDESTROY, [&] {
        if (self->WindowProc(message, wParam, lParam, &result)) return true;
        // A command the sheet left goes to the application's table before the sheet's own
        // procedure, as commands travel from a window to its application.
        result = 0;
        return message == WM_COMMAND && self->app_ != nullptr && self->app_->routeCommand(wParam);
    });
    if (handled) return result;
    WNDPROC original = self->original_;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(window, kSelfProperty);
        self->window_ = nullptr;
    }
    return CallWindowProcA(original, window, message, wParam, lParam);
}

}  // namespace fw

#include "props/framework/dialog_base.h"

namespace fw {

bool DialogBase::WindowProc(UINT, WPARAM, LPARAM, LRESULT*) {
    return false;
}

void DialogBase::DoDataExchange(bool save) {
    for (const Binding& b : bindings_) {
        if (save)
            *b.value = IsDlgButtonChecked(window_, b.id) == BST_CHECKED;
        else
            CheckDlgButton(window_, b.id, *b.value ? BST_CHECKED : BST_UNCHECKED);
    }
}

void DialogBase::onCommand(int id, int code, std::function<void()> handler) {
    commands_.add(static_cast<std::uint32_t>(id), static_cast<std::uint32_t>(code),
                  std::move(handler));
}

void DialogBase::bindCheck(int id, bool* value) {
    bindings_.push_back({id, value});
}

void DialogBase::setHelpTable(std::vector<DWORD> table, bool onHelp, bool onContextMenu) {
    helpTable_ = std::move(table);
    if (helpTable_.size() < 2 || helpTable_[helpTable_.size() - 1] != 0 ||
        helpTable_[helpTable_.size() - 2] != 0) {
        helpTable_.push_back(0);
        helpTable_.push_back(0);
    }
    helpOnF1_ = onHelp;
    helpOnContextMenu_ = onContextMenu;
}

INT_PTR DialogBase::dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        window_ = window;
        return OnInitDialog();
    }
    if (window_ == nullptr) return FALSE;
    LRESULT result = 0;
    if (WindowProc(message, wParam, lParam, &result)) {
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    switch (message) {
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            int code = HIWORD(wParam);
            if (commands_.route(static_cast<std::uint32_t>(id), static_cast<std::uint32_t>(code)))
                return TRUE;
            if (onUnhandledCommand(id, code)) return TRUE;
            return app_ != nullptr && app_->routeCommand(wParam) ? TRUE : FALSE;
        }
        case WM_HELP:
            if (helpOnF1_ && !helpTable_.empty() && app_ != nullptr) {
                auto* info = reinterpret_cast<HELPINFO*>(lParam);
                app_->winHelp(static_cast<HWND>(info->hItemHandle), HELP_WM_HELP,
                              reinterpret_cast<ULONG_PTR>(helpTable_.data()));
                return TRUE;
            }
            return FALSE;
        case WM_CONTEXTMENU:
            if (helpOnContextMenu_ && !helpTable_.empty() && app_ != nullptr) {
                app_->winHelp(reinterpret_cast<HWND>(wParam), HELP_CONTEXTMENU,
                              reinterpret_cast<ULONG_PTR>(helpTable_.data()));
                return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

}  // namespace fw

// What property pages and modal dialogs share: the window, a command table for control
// notifications, check boxes bound to bool members (the data exchange), a context-help table
// and an overridable window procedure that runs before the framework's own handling.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "props/framework/app.h"
#include "props/logic/command_table.h"

namespace fw {

class DialogBase {
  public:
    explicit DialogBase(App* app) : app_(app) {}
    virtual ~DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    HWND window() const { return window_; }
    HWND item(int id) const { return window_ ? GetDlgItem(window_, id) : nullptr; }
    App* app() const { return app_; }

    // Copies the bound check boxes into their members (save) or the members into the check
    // boxes (load), through DoDataExchange.
    void UpdateData(bool save) { DoDataExchange(save); }

  protected:
    // WM_INITDIALOG. Return TRUE to let the dialog manager set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Runs before the framework's handling. Return true with *result set to consume the
    // message.
    virtual bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The default exchanges the bound check boxes.
    virtual void DoDataExchange(bool save);

    // Command table: the handler runs for WM_COMMAND from control `id` with notification
    // `code` (BN_CLICKED, CBN_SELCHANGE, ...).
    void onCommand(int id, int code, std::function<void()> handler);
    // Binds check box `id` to *value for UpdateData.
    void bindCheck(int id, bool* value);
    // Context help: control/topic pairs, ended by a pair of zeros as WinHelp wants them.
    // WM_HELP opens HELP_WM_HELP for the control, WM_CONTEXTMENU HELP_CONTEXTMENU for the
    // window in wParam; either can be switched off.
    void setHelpTable(std::vector<DWORD> table, bool onHelp = true, bool onContextMenu = true);

    // Shared dialog procedure body: records the window at WM_INITDIALOG, then WindowProc,
    // command table and help. Returns the value for the dialog procedure.
    INT_PTR dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // A WM_COMMAND no table entry took (modal dialogs end on IDOK/IDCANCEL here). What this
    // leaves goes on to the application's command table.
    virtual bool onUnhandledCommand(int /*id*/, int /*code*/) { return false; }

    HWND window_ = nullptr;

  private:
    struct Binding {
        int id;
        bool* value;
    };
    App* app_;
    props::CommandTable commands_;
    std::vector<Binding> bindings_;
    std::vector<DWORD> helpTable_;
    bool helpOnF1_ = false;
    bool helpOnContextMenu_ = false;
};

}  // namespace fw

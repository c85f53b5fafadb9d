// A modeless property sheet (PropertySheetA with PSH_MODELESS) whose window procedure the
// derived class can see first: the sheet window is subclassed as soon as comctl32 has made
// it, and OnInitDialog runs once the sheet and its first page exist.
#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>
#include <vector>

#include "props/framework/app.h"
#include "props/framework/property_page.h"

namespace fw {

class PropertySheetWnd {
  public:
    PropertySheetWnd(App* app, std::string caption) : app_(app), caption_(std::move(caption)) {}
    virtual ~PropertySheetWnd();
    PropertySheetWnd(const PropertySheetWnd&) = delete;
    PropertySheetWnd& operator=(const PropertySheetWnd&) = delete;

    // Pages in order; the sheet does not own them.
    void AddPage(PropertyPage* page) { pages_.push_back(page); }
    // PSH_* flags of the header (added and removed before Create).
    void addFlags(DWORD flags) { flags_ |= flags; }
    void removeFlags(DWORD flags) { flags_ &= ~flags; }

    // Creates the sheet modeless with `parent` (may be null). False when comctl32 refuses.
    bool Create(HWND parent);
    // PSM_REMOVEPAGE of a page still in the sheet.
    void RemovePage(PropertyPage* page);

    HWND window() const { return window_; }
    HWND tabControl() const { return window_ ? PropSheet_GetTabControl(window_) : nullptr; }
    // The index of the active page, -1 when none.
    int activeIndex() const;
    App* app() const { return app_; }
    const std::string& caption() const { return caption_; }

  protected:
    // After comctl32 has built the sheet and its first page. Return value unused by
    // modeless sheets; kept for the shape of the dialog call.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Runs before the sheet's own procedure. Return true with *result set to consume.
    virtual bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The sheet's own procedure.
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Destroys the sheet window. A derived sheet that owns its pages calls this in its
    // destructor, before its page members go, so no page procedure outlives its object.
    void destroyWindow();

    // The standard buttons of comctl32 are replaced by the derived sheets' own: hide them
    // and give them identifiers of their own, so that GetDlgItem finds the new buttons.
    void retireStandardButtons();

    HWND window_ = nullptr;

  private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    App* app_;
    std::string caption_;
    std::vector<PropertyPage*> pages_;
    DWORD flags_ = 0;
    WNDPROC original_ = nullptr;
};

}  // namespace fw

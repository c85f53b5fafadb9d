#include "props/windows/support_info_dialog.h"

#include <commctrl.h>

#include <string>

#include "lang/resource_ids.h"
#include "props/logic/product_version.h"
#include "props/logic/support_regions.h"

SupportInfoDialog::SupportInfoDialog(fw::App* app) : ModalDialog(app, IDD_SUPPORT) {
    onCommand(IDC_SUPPORT_REGION, CBN_SELCHANGE, [this] {
        LRESULT selected = SendMessageA(combo_, CB_GETCURSEL, 0, 0);
        if (selected >= 0 && selected < props::kRegionCount) region_ = static_cast<int>(selected);
        fillList();
    });
    onCommand(IDC_SUPPORT_HELP, BN_CLICKED, [this] { this->app()->helpContext(window(), 45); });
    setHelpTable({static_cast<DWORD>(-1), 45, IDC_SUPPORT_REGION, 45, IDC_SUPPORT_LIST, 45,
                  IDC_SUPPORT_VERSION, 45, 0, 0});
}

std::string SupportInfoDialog::text(UINT id) const {
    char buffer[261] = {};
    int length = LoadStringA(languageModule_, id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void SupportInfoDialog::DoDataExchange(bool save) {
    ModalDialog::DoDataExchange(save);
    list_ = item(IDC_SUPPORT_LIST);
    combo_ = item(IDC_SUPPORT_REGION);
}

BOOL SupportInfoDialog::OnInitDialog() {
    UpdateData(false);
    RECT r;
    GetWindowRect(window(), &r);
    MoveWindow(window(), r.left - 10, r.top + 35, r.right - r.left, r.bottom - r.top, FALSE);

    std::string version = props::installedProductVersion();
    if (HWND label = item(IDC_SUPPORT_VERSION)) {
        char current[261] = {};
        GetWindowTextA(label, current, sizeof current);
        SetWindowTextA(label, (std::string(current) + version).c_str());
    }

    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = 95;
    column.pszText = const_cast<char*>("Method");
    column.iSubItem = 0;
    SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = 161;
    column.pszText = const_cast<char*>("Details");
    column.iSubItem = 1;
    SendMessageA(list_, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));

    for (int region = 0; region < props::kRegionCount; ++region)
        SendMessageA(combo_, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(text(props::regionNameString(region)).c_str()));
    region_ = props::regionForLocale(GetThreadLocale());
    SendMessageA(combo_, CB_SETCURSEL, region_, 0);
    fillList();
    return TRUE;
}

void SupportInfoDialog::fillList() {
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (const props::SupportRow& r : props::supportRows(region_)) {
        std::string label = text(r.label);
        std::string value = text(r.value);
        LVITEMA entry = {};
        entry.mask = LVIF_TEXT;
        entry.iItem = row;
        entry.pszText = const_cast<char*>(label.c_str());
        SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&entry));
        entry.iSubItem = 1;
        entry.pszText = const_cast<char*>(value.c_str());
        SendMessageA(list_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
        ++row;
    }
}

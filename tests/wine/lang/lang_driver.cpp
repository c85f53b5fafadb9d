// Loads a language module on the Wine machine the way the programs do and checks what they
// take from it; renders its dialogs for a look.
//
//   lang_driver check  <module.dll> <ids.txt>   every resource of the list, the tray menu's
//                                               layout, every dialog with every control
//   lang_driver render <module.dll> <folder>    the pages and dialogs, filled as the programs
//                                               fill them, saved as <folder>\<name>.bmp
//   lang_driver choose                          loadLanguageModule on the real system: which
//                                               module each thread locale gets
//
// The module is loaded by its bare name (LoadLibraryA and the library search, as the
// programs load it); for the check, its preferred base is held first, so it is checked where
// the loader moved it. ids.txt is lang/resource_ids.h as check-modules.py --list writes it:
// "string 6 IDS_PRODUCT_TITLE", "control 132 1000 IDC_SETTINGS_PICTURE", ...
// Prints one line per check ("ok: ..." or "FAIL: ..."); exit code 0 when all passed.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../drivers/message_pump.h"
#include "../drivers/screen_pixels.h"
#include "lang/resource_ids.h"
#include "platform/win32/win32_machine.h"
#include "settings/language_module.h"

namespace {

int g_failures = 0;
int g_passed = 0;

void check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (passed)
        ++g_passed;
    else
        ++g_failures;
}

std::string number(long value) {
    return std::to_string(value);
}

std::string loadString(HMODULE module, UINT id) {
    char text[260] = {};
    const int length = LoadStringA(module, id, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

// ---------------------------------------------------------------------------------------
// The resource list

struct Entry {
    std::string kind;
    unsigned owner = 0;  // dialog of a control
    unsigned id = 0;
    std::string name;
};

std::vector<Entry> readList(const char* path) {
    std::vector<Entry> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        Entry e;
        words >> e.kind;
        if (e.kind == "control") words >> e.owner;
        words >> e.id >> e.name;
        if (!e.kind.empty() && !e.name.empty()) entries.push_back(e);
    }
    return entries;
}

// ---------------------------------------------------------------------------------------
// Checks

struct KnownTitle {
    const char* module;
    const wchar_t* title;
    const char* ansiTitle;  // Windows-1252
};

const KnownTitle kTitles[] = {
    {"cnctlen_.dll", L"Tunara Properties", "Tunara Properties"},
    {"cnctlDE_.dll", L"Tunara Eigenschaften", "Tunara Eigenschaften"},
    {"cnctlFR_.dll", L"Propri\u00e9t\u00e9s Tunara", "Propri\xE9t\xE9s Tunara"},
};

void checkTitle(HMODULE module, const char* name) {
    const KnownTitle* known = nullptr;
    for (const KnownTitle& t : kTitles)
        if (lstrcmpiA(t.module, name) == 0) known = &t;
    if (known == nullptr) {
        check(false, std::string("a product title is known for ") + name);
        return;
    }
    wchar_t wide[260] = {};
    LoadStringW(module, 6, wide, 260);
    check(lstrcmpW(wide, known->title) == 0, "string 6 is the product title of its language");
    const std::string ansi = loadString(module, 6);
    if (GetACP() == 1252)
        check(ansi == known->ansiTitle, "string 6 reads \"" + ansi + "\" in Windows-1252");
    else
        std::printf("note: ANSI code page %u, Windows-1252 form not compared\n", GetACP());
    const std::string help = loadString(module, 2621);
    check(!help.empty(), "string 2621 (Help button) reads \"" + help + "\"");
}

void checkStrings(HMODULE module, const std::vector<Entry>& list) {
    int missing = 0;
    for (const Entry& e : list) {
        if (e.kind != "string") continue;
        const std::string text = loadString(module, e.id);
        if (text.empty() || text == "Blank") {
            check(false, "string " + number(e.id) + " (" + e.name + ") has a text");
            ++missing;
        }
    }
    check(missing == 0, "every listed string loads with a text");
}

void checkMenu(HMODULE module) {
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(190));
    check(menu != nullptr, "menu 190 loads");
    if (menu == nullptr) return;
    HMENU popup = GetSubMenu(menu, 0);
    check(popup != nullptr, "menu 190 starts with its popup");
    if (popup != nullptr) {
        check(GetMenuItemID(popup, 0) == 2604, "position 0 opens the properties (2604)");
        check(GetMenuItemID(popup, TRAY_POS_EXIT) == 2612, "the exit command (2612)");
        struct Sub {
            int position;
            std::vector<UINT> commands;
        };
        const Sub subs[] = {
            {2, {2610, 2611}},
            {3, {2613}},
            {4, {2614}},
            {5, {2615, 2616, 2617}},
        };
        for (const Sub& s : subs) {
            HMENU sub = GetSubMenu(popup, s.position);
            bool same =
                sub != nullptr && GetMenuItemCount(sub) == static_cast<int>(s.commands.size());
            for (std::size_t i = 0; same && i < s.commands.size(); ++i)
                same = GetMenuItemID(sub, static_cast<int>(i)) == s.commands[i];
            check(same, "position " + number(s.position) + " is the submenu of commands " +
                            number(s.commands.front()) + "...");
        }
        // The tray sets item states by position: the default item must take them.
        check(SetMenuDefaultItem(popup, 0, TRUE) != 0, "position 0 can be the default item");
    }
    DestroyMenu(menu);
}

INT_PTR CALLBACK quietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

void checkDialogs(HMODULE module, const std::vector<Entry>& list, HWND parent) {
    for (const Entry& d : list) {
        if (d.kind != "dialog") continue;
        HWND dialog =
            CreateDialogParamA(module, MAKEINTRESOURCEA(d.id), parent, quietDialogProc, 0);
        check(dialog != nullptr, "dialog " + number(d.id) + " (" + d.name + ") is created");
        if (dialog == nullptr) continue;
        int found = 0, wanted = 0;
        for (const Entry& c : list) {
            if (c.kind != "control" || c.owner != d.id) continue;
            ++wanted;
            HWND control = GetDlgItem(dialog, c.id);
            if (control == nullptr) {
                check(false, "dialog " + number(d.id) + " has control " + number(c.id) + " (" +
                                 c.name + ")");
                continue;
            }
            ++found;
            if (c.name.size() > 9 && c.name.compare(c.name.size() - 9, 9, "_CONFLICT") == 0) {
                const LONG style = GetWindowLongA(control, GWL_STYLE);
                check((style & WS_VISIBLE) == 0 && SendMessageA(control, STM_GETICON, 0, 0) != 0,
                      "conflict mark " + number(c.id) + " of dialog " + number(d.id) +
                          " is hidden and holds its icon");
            }
        }
        check(found == wanted, "dialog " + number(d.id) + ": " + number(found) + " of " +
                                   number(wanted) + " controls found");
        DestroyWindow(dialog);
    }
}

void checkImages(HMODULE module, const std::vector<Entry>& list) {
    for (const Entry& e : list) {
        if (e.kind == "icon") {
            // The conflict mark is drawn at its own 16 x 16; the others come in both sizes.
            const bool smallOnly = e.id == IDI_CONFLICT;
            HANDLE small = LoadImageA(module, MAKEINTRESOURCEA(e.id), IMAGE_ICON, 16, 16, 0);
            HANDLE large = smallOnly
                               ? nullptr
                               : LoadImageA(module, MAKEINTRESOURCEA(e.id), IMAGE_ICON, 32, 32, 0);
            check(small != nullptr && (smallOnly || large != nullptr),
                  "icon " + number(e.id) + " (" + e.name + ") loads");
            if (small) DestroyIcon(static_cast<HICON>(small));
            if (large) DestroyIcon(static_cast<HICON>(large));
        } else if (e.kind == "bitmap") {
            HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(e.id));
            BITMAP info = {};
            const bool loaded = bitmap != nullptr && GetObjectA(bitmap, sizeof info, &info) != 0;
            check(loaded && info.bmWidth == 64 && info.bmHeight == 48,
                  "bitmap " + number(e.id) + " (" + e.name + ") loads at 64 x 48");
            if (bitmap) DeleteObject(bitmap);
        }
    }
}

// The module's preferred base and the size of its image, from the file's headers.
bool preferredPlace(const char* moduleName, DWORD* base, DWORD* size) {
    char path[MAX_PATH] = {};
    if (SearchPathA(nullptr, moduleName, nullptr, MAX_PATH, path, nullptr) == 0) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char headers[1024] = {};
    DWORD read = 0;
    const bool whole = ReadFile(file, headers, sizeof headers, &read, nullptr) != FALSE;
    CloseHandle(file);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(headers);
    if (!whole || read < sizeof *dos || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0 ||
        static_cast<DWORD>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > read)
        return false;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(headers + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
    *base = nt->OptionalHeader.ImageBase;
    *size = nt->OptionalHeader.SizeOfImage;
    return true;
}

int runCheck(const char* moduleName, const char* listPath) {
    const std::vector<Entry> list = readList(listPath);
    check(list.size() > 100, "the resource list holds " + number(list.size()) + " entries");
    // Another DLL often holds the module's base on a real PC (most DLLs of the time were
    // linked for the same one), so the module is checked where the loader had to move it.
    // When nothing in this process holds the base yet, the driver does.
    DWORD base = 0, size = 0;
    MEMORY_BASIC_INFORMATION place = {};
    const bool known = preferredPlace(moduleName, &base, &size) &&
                       VirtualQuery(reinterpret_cast<void*>(base), &place, sizeof place) != 0;
    const bool held = known && place.State != MEM_FREE;
    void* taken = known && !held ? VirtualAlloc(reinterpret_cast<void*>(base), size, MEM_RESERVE,
                                                PAGE_NOACCESS)
                                 : nullptr;
    check(held || taken != nullptr, std::string("the module's base is held before it loads (") +
                                        (held ? "by another module" : "by the driver") + ")");
    HMODULE module = LoadLibraryA(moduleName);
    check(module != nullptr, std::string("LoadLibraryA(\"") + moduleName + "\") with its base taken");
    if (module == nullptr) return 1;
    check(reinterpret_cast<DWORD_PTR>(module) != base, "the loader moved the module from its base");
    // A child template needs a parent; a hidden top-level window serves all of them.
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    checkTitle(module, moduleName);
    checkStrings(module, list);
    checkMenu(module);
    checkDialogs(module, list, parent);
    checkImages(module, list);
    DestroyWindow(parent);
    check(FreeLibrary(module) != 0, "FreeLibrary");
    if (taken != nullptr) VirtualFree(taken, 0, MEM_RELEASE);
    std::printf("%d passed, %d failed\n", g_passed, g_failures);
    return g_failures == 0 ? 0 : 1;
}

// ---------------------------------------------------------------------------------------
// Rendering

HMODULE g_module = nullptr;

void pump(DWORD milliseconds) { messages::run(milliseconds); }

// Copies the window as it is on the screen into `pixels` and a 24-bit BMP file.
bool saveWindow(HWND window, const std::string& path, screen::Pixels& pixels) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    pump(500);
    RECT r;
    GetWindowRect(window, &r);
    if (!screen::read(r, pixels)) return false;
    const int w = pixels.width(), h = pixels.height();
    const DWORD stride = ((w * 3) + 3) & ~3;
    const DWORD size = stride * h;
    std::vector<BYTE> rows(size);
    for (int y = 0; y < h; ++y) {  // the file's rows run bottom up
        BYTE* out = &rows[(h - 1 - y) * stride];
        for (int x = 0; x < w; ++x) {
            const DWORD p = pixels.values[y * w + x];
            out[x * 3] = static_cast<BYTE>(p & 0xFF);
            out[x * 3 + 1] = static_cast<BYTE>((p >> 8) & 0xFF);
            out[x * 3 + 2] = static_cast<BYTE>((p >> 16) & 0xFF);
        }
    }
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = h;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biSizeImage = size;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + size;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    bool ok = out != nullptr;
    if (ok) {
        ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
             std::fwrite(&header, sizeof header, 1, out) == 1 &&
             std::fwrite(rows.data(), size, 1, out) == 1;
        ok = std::fclose(out) == 0 && ok;
    }
    return ok;
}

// Saves the window's picture and checks on the same pixels that it shows every text of the
// window drawn on its face: a blank or half-drawn window fails here.
void shoot(HWND window, const std::string& folder, const char* name) {
    const std::string path = folder + "\\" + name + ".bmp";
    screen::Pixels pixels;
    check(saveWindow(window, path, pixels), std::string("screenshot ") + name);
    const screen::WindowLook look = screen::lookAt(window, pixels);
    check(look.shown(), std::string(name) + " is on the screen: " + look.describe());
    std::printf("shot %s\n", name);
}

void moveBy(HWND dialog, int id, int dx, int dy) {
    HWND control = GetDlgItem(dialog, id);
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void show(HWND dialog, int id, bool visible) {
    ShowWindow(GetDlgItem(dialog, id), visible ? SW_SHOW : SW_HIDE);
}

void setText(HWND dialog, int id, UINT stringId) {
    SetDlgItemTextA(dialog, id, loadString(g_module, stringId).c_str());
}

// The pages filled the way the programs fill them for a card with one conflict.
INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    const PROPSHEETPAGEA* psp = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    switch (reinterpret_cast<UINT_PTR>(psp->pszTemplate)) {
        case IDD_SETTINGS:
            CheckDlgButton(page, IDC_SETTINGS_SPEAKERS, BST_CHECKED);
            CheckDlgButton(page, IDC_SETTINGS_TRAY_ICON, BST_CHECKED);
            SendDlgItemMessageA(
                page, IDC_SETTINGS_PICTURE, BM_SETIMAGE, IMAGE_BITMAP,
                reinterpret_cast<LPARAM>(LoadBitmapA(g_module, MAKEINTRESOURCEA(IDB_SPEAKERS))));
            break;
        case IDD_LEGACY:
            SetDlgItemTextA(page, IDC_LEGACY_IRQ, "Resource conflict");
            SetDlgItemTextA(page, IDC_LEGACY_IO, "0220-022F");
            SetDlgItemTextA(page, IDC_LEGACY_DMA, "01");
            show(page, IDC_LEGACY_IRQ_CONFLICT, true);
            break;
        case IDD_ADVRES1:
            SetDlgItemTextA(page, IDC_ADVRES1_FM_IO, "0220-022F");
            SetDlgItemTextA(page, IDC_ADVRES1_FM_IRQ, "05");
            SetDlgItemTextA(page, IDC_ADVRES1_FM_DMA, "01");
            SetDlgItemTextA(page, IDC_ADVRES1_MPU_IO, "Resource conflict");
            SetDlgItemTextA(page, IDC_ADVRES1_JOY_IO, "0200-0207");
            show(page, IDC_ADVRES1_MPU_IO_CONFLICT, true);
            break;
        case IDD_ADVRES2:
            SetDlgItemTextA(page, IDC_ADVRES2_FM_IO, "0388-038B");
            SetDlgItemTextA(page, IDC_ADVRES2_ENUM_IRQ, "11");
            SetDlgItemTextA(page, IDC_ADVRES2_WAVE_IO, "E000-E0FF");
            SetDlgItemTextA(page, IDC_ADVRES2_WAVE_IRQ, "05");
            SetDlgItemTextA(page, IDC_ADVRES2_SYNTH_IRQ, "05");
            break;
    }
    return TRUE;
}

// A modeless sheet of two pages from the module, with the main sheet's own layout: the
// standard buttons replaced by OK, Cancel and Help in one row, the tab narrowed.
HWND createSheet(UINT caption, UINT first, UINT second, bool ownButtons) {
    static std::string title;
    title = loadString(g_module, caption);
    PROPSHEETPAGEA pages[2] = {};
    const UINT templates[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].hInstance = g_module;
        pages[i].pszTemplate = MAKEINTRESOURCEA(templates[i]);
        pages[i].pfnDlgProc = pageProc;
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
    header.hInstance = g_module;
    header.pszCaption = title.c_str();
    header.nPages = 2;
    header.ppsp = pages;
    HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
    if (sheet == nullptr) return nullptr;
    SetWindowPos(sheet, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
    const int standard[] = {IDOK, IDCANCEL, IDHELP, 0x3021};
    for (int id : standard) ShowWindow(GetDlgItem(sheet, id), SW_HIDE);
    HWND tab = PropSheet_GetTabControl(sheet);
    RECT t;
    GetWindowRect(tab, &t);
    MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&t), 2);
    SetWindowPos(tab, nullptr, 0, 0, t.right - t.left - 55, t.bottom - t.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT w;
    GetWindowRect(sheet, &w);
    SetWindowPos(sheet, nullptr, 0, 0, w.right - w.left - 50, w.bottom - w.top + 35,
                 SWP_NOMOVE | SWP_NOZORDER);
    if (HWND page = PropSheet_GetCurrentPageHwnd(sheet)) {
        RECT p;
        GetWindowRect(page, &p);
        SetWindowPos(page, nullptr, 0, 0, p.right - p.left - 60, p.bottom - p.top,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
    RECT client;
    GetClientRect(sheet, &client);
    const int right = t.right - 55;
    const int gap = (right - 6 - 3 * 77) / 2;
    const int top = client.bottom - 33;
    const UINT texts[3] = {IDS_BUTTON_OK, IDS_BUTTON_CANCEL, IDS_BUTTON_HELP};
    const int ids[3] = {IDOK, IDCANCEL, 1025};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(sheet, WM_GETFONT, 0, 0));
    for (int i = 0; i < 3; ++i) {
        if (!ownButtons && i == 0) continue;  // the advanced sheet leaves the first slot free
        const UINT text = ownButtons ? texts[i] : (i == 1 ? IDS_BUTTON_CLOSE : IDS_BUTTON_HELP);
        HWND button = CreateWindowExA(
            0, "BUTTON", loadString(g_module, text).c_str(),
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == (ownButtons ? 0 : 1) ? BS_DEFPUSHBUTTON : 0),
            6 + i * (77 + gap), top, 77, 23, sheet, reinterpret_cast<HMENU>(ids[i]),
            GetModuleHandleA(nullptr), nullptr);
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    return sheet;
}

HWND createDialog(UINT id) {
    HWND dialog = CreateDialogParamA(g_module, MAKEINTRESOURCEA(id), nullptr, quietDialogProc, 0);
    if (dialog != nullptr) SetWindowPos(dialog, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
    return dialog;
}

void shrink(HWND dialog, int top, int bottom) {
    RECT r;
    GetWindowRect(dialog, &r);
    SetWindowPos(dialog, nullptr, r.left, r.top + top, r.right - r.left,
                 r.bottom - r.top - top - bottom, SWP_NOZORDER);
}

int runRender(const char* moduleName, const std::string& folder) {
    g_module = LoadLibraryA(moduleName);
    check(g_module != nullptr, std::string("LoadLibraryA(\"") + moduleName + "\")");
    if (g_module == nullptr) return 1;
    CreateDirectoryA(folder.c_str(), nullptr);

    // The main sheet: settings page, then the legacy page with and without game support.
    HWND sheet = createSheet(IDS_PRODUCT_TITLE, IDD_SETTINGS, IDD_LEGACY, true);
    check(sheet != nullptr, "the main sheet is created");
    if (sheet != nullptr) {
        shoot(sheet, folder, "settings");
        PropSheet_SetCurSel(sheet, nullptr, 1);
        shoot(sheet, folder, "legacy");
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        const int hidden[] = {IDC_LEGACY_DEVICE,    IDC_LEGACY_IRQ,         IDC_LEGACY_IO,
                              IDC_LEGACY_DMA,       IDC_LEGACY_IRQ_LABEL,   IDC_LEGACY_IO_LABEL,
                              IDC_LEGACY_DMA_LABEL, IDC_LEGACY_IRQ_CONFLICT};
        for (int id : hidden) show(page, id, false);
        setText(page, IDC_LEGACY_TEXT, IDS_LEGACY_NO_GAME_SUPPORT);
        RECT r;
        GetWindowRect(GetDlgItem(page, IDC_LEGACY_TEXT), &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(GetDlgItem(page, IDC_LEGACY_TEXT), nullptr, r.left, r.top + 3,
                     r.right - r.left + 120, r.bottom - r.top - 3 + 40, SWP_NOZORDER);
        shoot(sheet, folder, "legacy-no-game-support");
        DestroyWindow(sheet);
    }

    HWND advres = createSheet(IDS_ADVRES_CAPTION, IDD_ADVRES1, IDD_ADVRES2, false);
    check(advres != nullptr, "the advanced resources sheet is created");
    if (advres != nullptr) {
        shoot(advres, folder, "advanced-resources-1");
        PropSheet_SetCurSel(advres, nullptr, 1);
        shoot(advres, folder, "advanced-resources-2");
        DestroyWindow(advres);
    }

    // The advanced settings dialog on a Maestro-1, then as a Maestro-2E shows it.
    if (HWND dialog = createDialog(IDD_ADVANCED)) {
        const int checked[] = {IDC_ADVANCED_WAVETABLE_2MB, IDC_ADVANCED_GAME_SUPPORT,
                               IDC_ADVANCED_NATIVE_DOS, IDC_ADVANCED_HW_ACCELERATION,
                               IDC_ADVANCED_JOYSTICK};
        for (int id : checked) CheckDlgButton(dialog, id, BST_CHECKED);
        shoot(dialog, folder, "advanced");
        show(dialog, IDC_ADVANCED_GAME_SUPPORT, false);
        moveBy(dialog, IDC_ADVANCED_NATIVE_DOS, 0, -46);
        SetDlgItemTextA(dialog, IDC_ADVANCED_NATIVE_DOS, "&Native DOS Support");
        show(dialog, IDC_ADVANCED_DOS_GROUP, false);
        const int up[] = {IDC_ADVANCED_OK,        IDC_ADVANCED_CANCEL,
                          IDC_ADVANCED_HELP,      IDC_ADVANCED_HW_ACCELERATION,
                          IDC_ADVANCED_MIC_BOOST, IDC_ADVANCED_JOYSTICK};
        for (int id : up) moveBy(dialog, id, 0, -55);
        shrink(dialog, 0, 55);
        shoot(dialog, folder, "advanced-maestro2e");
        DestroyWindow(dialog);
    } else {
        check(false, "the advanced settings dialog is created");
    }

    if (HWND dialog = createDialog(IDD_SUPPORT)) {
        HWND list = GetDlgItem(dialog, IDC_SUPPORT_LIST);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        char method[] = "Method", details[] = "Details";
        column.cx = 95;
        column.pszText = method;
        SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        column.cx = 161;
        column.pszText = details;
        column.iSubItem = 1;
        SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
        // Region 1 (German-speaking countries): the one with five rows.
        const UINT rows[][2] = {{IDS_SUPPORT_LABEL_PHONE, IDS_SUPPORT_PHONE_GERMANY},
                                {IDS_SUPPORT_LABEL_FAX, IDS_SUPPORT_FAX_GERMANY},
                                {IDS_SUPPORT_LABEL_BBS, IDS_SUPPORT_BBS_GERMANY},
                                {IDS_SUPPORT_LABEL_EMAIL, IDS_SUPPORT_EMAIL_GERMANY},
                                {IDS_SUPPORT_LABEL_WEB, IDS_SUPPORT_WEB_GERMANY}};
        for (int i = 0; i < 5; ++i) {
            std::string label = loadString(g_module, rows[i][0]);
            std::string value = loadString(g_module, rows[i][1]);
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = &label[0];
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            item.iSubItem = 1;
            item.pszText = &value[0];
            SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        const UINT regions[] = {IDS_SUPPORT_REGION_AMERICAS, IDS_SUPPORT_REGION_GERMANY,
                                IDS_SUPPORT_REGION_WORLD};
        for (UINT r : regions)
            SendDlgItemMessageA(dialog, IDC_SUPPORT_REGION, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(loadString(g_module, r).c_str()));
        SendDlgItemMessageA(dialog, IDC_SUPPORT_REGION, CB_SETCURSEL, 1, 0);
        char version[260] = {};
        GetDlgItemTextA(dialog, IDC_SUPPORT_VERSION, version, sizeof version);
        SetDlgItemTextA(dialog, IDC_SUPPORT_VERSION, (std::string(version) + "1.00.0001").c_str());
        shoot(dialog, folder, "support");
        DestroyWindow(dialog);
    } else {
        check(false, "the support dialog is created");
    }

    // The native DOS support prompt in its two modes.
    if (HWND dialog = createDialog(IDD_DOSPROMPT)) {
        show(dialog, IDC_DOSPROMPT_REMOVE, false);
        CheckDlgButton(dialog, IDC_DOSPROMPT_ADD, BST_CHECKED);
        shoot(dialog, folder, "dosprompt-install");
        show(dialog, IDC_DOSPROMPT_REMOVE, true);
        setText(dialog, IDC_DOSPROMPT_MESSAGE, IDS_DOS_REMOVE_PROMPT);
        const int hidden[] = {IDC_DOSPROMPT_LINE_FILE0, IDC_DOSPROMPT_LINE_FILE1,
                              IDC_DOSPROMPT_LINE_FILE2, IDC_DOSPROMPT_ADD,
                              IDC_DOSPROMPT_LINE_FILES};
        for (int id : hidden) show(dialog, id, false);
        CheckDlgButton(dialog, IDC_DOSPROMPT_REMOVE, BST_CHECKED);
        SetWindowTextA(dialog, loadString(g_module, IDS_DOS_REMOVE_CAPTION).c_str());
        moveBy(dialog, IDC_DOSPROMPT_OK, 0, -80);
        moveBy(dialog, IDC_DOSPROMPT_CANCEL, 0, -80);
        shrink(dialog, 40, 40);
        shoot(dialog, folder, "dosprompt-remove");
        DestroyWindow(dialog);
    } else {
        check(false, "the native DOS support prompt is created");
    }

    FreeLibrary(g_module);
    std::printf("%d passed, %d failed\n", g_passed, g_failures);
    return g_failures == 0 ? 0 : 1;
}

// ---------------------------------------------------------------------------------------
// Choosing the module

struct ChoiceCase {
    const char* what;
    LCID threadLocale;
    LCID requested;
    const wchar_t* expectedTitle;  // null: no module
};

const ChoiceCase kChoices[] = {
    {"French thread locale: FRA is missing, FR_ loads", 0x040C, 0, L"Propri\u00e9t\u00e9s Tunara"},
    {"German thread locale: DEU is missing, DE_ loads", 0x0407, 0, L"Tunara Eigenschaften"},
    {"US English: ENU is missing, EN_ finds cnctlen_.dll", 0x0409, 0, L"Tunara Properties"},
    {"Italian: no module of its own, en_ loads", 0x0410, 0, L"Tunara Properties"},
    {"explicit French locale: FRA is missing, no fallback", 0x0409, 0x040C, nullptr},
};

int runChoose() {
    platform::win32::Win32Machine machine;
    for (const ChoiceCase& c : kChoices) {
        SetThreadLocale(c.threadLocale);
        const platform::HModule handle = settings::loadLanguageModule("cnctl", c.requested);
        HMODULE module = reinterpret_cast<HMODULE>(handle);
        wchar_t title[260] = {};
        if (module != nullptr) LoadStringW(module, IDS_PRODUCT_TITLE, title, 260);
        char path[MAX_PATH] = {};
        if (module != nullptr) GetModuleFileNameA(module, path, sizeof path);
        const bool right =
            c.expectedTitle == nullptr ? module == nullptr : lstrcmpW(title, c.expectedTitle) == 0;
        check(right, std::string(c.what) + " (" + (module ? path : "no module") + ")");
        if (c.requested != 0)
            check(GetThreadLocale() == c.requested, "the explicit locale is the thread locale");
        if (module != nullptr) FreeLibrary(module);
    }
    std::printf("%d passed, %d failed\n", g_passed, g_failures);
    return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    InitCommonControls();
    if (argc == 4 && std::strcmp(argv[1], "check") == 0) return runCheck(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "render") == 0) return runRender(argv[2], argv[3]);
    if (argc == 2 && std::strcmp(argv[1], "choose") == 0) return runChoose();
    std::fprintf(stderr,
                 "usage: lang_driver check <module.dll> <ids.txt>\n"
                 "       lang_driver render <module.dll> <folder>\n"
                 "       lang_driver choose\n");
    return 2;
}

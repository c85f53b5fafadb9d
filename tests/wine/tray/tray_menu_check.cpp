#include "tray_menu_check.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../drivers/screen_pixels.h"
#include "../drivers/time_scale.h"
#include "../drivers/whole_file.h"
#include "tray_checks.h"

namespace traycheck {

namespace {

const char kSpyLibrary[] = "C:\\windows\\tray_spy.dll";
const char kMenuFile[] = "C:\\tray-menu.txt";
const char kModule[] = "cnctlen_.dll";

// The tray's menu resource and its commands.
const UINT kMenuResource = 190;
const UINT kProperties = 2604, kSpeakers = 2610, kHeadphones = 2611, kExit = 2612;
const UINT kHwAcceleration = 2613, kMicBoost = 2614;
const UINT kSetNone = 2615, kSet2Mb = 2616, kSet4Mb = 2617;

// The states the tray sets; other bits (MFS_HILITE while the mouse is on an item) are not
// the tray's.
const UINT kStateBits = MFS_DEFAULT | MFS_CHECKED | MFS_GRAYED;

struct Item {
    int id = 0;  // -1: opens a submenu
    UINT type = 0;
    UINT state = 0;
    bool submenu = false;
    RECT place = {0, 0, 0, 0};
    std::string text;
};

typedef std::map<std::string, std::vector<Item>> Menu;  // "popup", "sub2", ...

std::string field(std::istringstream& in) {
    std::string value;
    std::getline(in, value, '\t');
    return value;
}

bool readDump(Menu& menu) {
    std::string text;
    if (!files::readWhole(kMenuFile, text)) return false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream in(line);
        if (field(in) != "item") {
            if (!line.empty()) check(false, "the menu reads back: " + line);
            continue;
        }
        const std::string where = field(in);
        const int position = std::atoi(field(in).c_str());
        Item item;
        item.id = std::atoi(field(in).c_str());
        item.type = std::strtoul(field(in).c_str(), nullptr, 16);
        item.state = std::strtoul(field(in).c_str(), nullptr, 16);
        item.submenu = field(in) == "1";
        item.place.left = std::atoi(field(in).c_str());
        item.place.top = std::atoi(field(in).c_str());
        item.place.right = std::atoi(field(in).c_str());
        item.place.bottom = std::atoi(field(in).c_str());
        item.text = field(in);
        std::vector<Item>& items = menu[where];
        if (static_cast<int>(items.size()) == position) items.push_back(item);
    }
    return !menu["popup"].empty();
}

// The same menu as the language module holds it: texts and the states of the resource.
void readResource(HMENU popup, const std::string& where, Menu& menu) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_TYPE;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info);
        Item item;
        item.id = info.hSubMenu != nullptr ? -1 : static_cast<int>(info.wID);
        item.type = info.fType;
        item.state = info.fState;
        item.submenu = info.hSubMenu != nullptr;
        item.text = (info.fType & MFT_SEPARATOR) != 0 ? "" : text;
        menu[where].push_back(item);
        if (info.hSubMenu != nullptr && where == "popup")
            readResource(info.hSubMenu, "sub" + std::to_string(i), menu);
    }
}

std::string stateText(UINT state) {
    std::string out;
    if (state & MFS_DEFAULT) out += "default ";
    if (state & MFS_CHECKED) out += "checked ";
    if ((state & MFS_GRAYED) == MFS_GRAYED)
        out += "greyed ";
    else if (state & MFS_GRAYED)
        out += "half-greyed ";
    return out.empty() ? "plain" : out.substr(0, out.size() - 1);
}

void checkState(const Item& item, UINT wanted, const std::string& what) {
    check((item.state & kStateBits) == wanted, what + " is " + stateText(wanted) + " (state " +
                                                   stateText(item.state & kStateBits) + ")");
}

void checkSubmenu(const Menu& shown, const Menu& resource, int position,
                  const std::vector<UINT>& commands, const std::string& name) {
    const std::string where = "sub" + std::to_string(position);
    const auto found = shown.find(where);
    const std::vector<Item> none;
    const std::vector<Item>& items = found == shown.end() ? none : found->second;
    bool same = items.size() == commands.size();
    for (std::size_t i = 0; same && i < commands.size(); ++i)
        same = items[i].id == static_cast<int>(commands[i]);
    check(same, "position " + std::to_string(position) + " is the " + name + " submenu (" +
                    std::to_string(items.size()) + " item(s), first command " +
                    (items.empty() ? std::string("none") : std::to_string(items[0].id)) + ")");
    const auto reference = resource.find(where);
    for (std::size_t i = 0;
         reference != resource.end() && i < items.size() && i < reference->second.size(); ++i)
        check(items[i].text == reference->second[i].text,
              name + " item " + std::to_string(i) + " reads " + quoted(items[i].text) + " as in " +
                  kModule + " (" + quoted(reference->second[i].text) + ")");
}

// The popup's picture: each text item's text drawn (left of the submenu arrow), no text on a
// separator, the menu colour around them.
void checkPicture(HWND window, const std::vector<Item>& items) {
    RECT area;
    screen::Pixels pixels;
    if (!check(GetWindowRect(window, &area) && screen::read(area, pixels),
               "the menu's pixels can be read from the screen"))
        return;
    const COLORREF text = GetSysColor(COLOR_MENUTEXT);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF highlighted = GetSysColor(COLOR_HIGHLIGHTTEXT);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        RECT place = item.place;
        const std::string what = "menu item " + std::to_string(i);
        if (!check(!IsRectEmpty(&place), what + " has its place on the screen")) continue;
        if (item.type & MFT_SEPARATOR) {
            check(screen::count(pixels, place, {text}) == 0, what + " (separator) shows no text");
            continue;
        }
        // Where the text goes: after the check-mark column, before the submenu arrow.
        place.left += 8;
        place.right -= 20;
        const long drawn =
            screen::count(pixels, place,
                          (item.state & MFS_GRAYED)   ? std::vector<COLORREF>{grey}
                          : (item.state & MFS_HILITE) ? std::vector<COLORREF>{highlighted}
                                                      : std::vector<COLORREF>{text});
        check(drawn > 0, what + " " + quoted(item.text) + " is drawn (" + std::to_string(drawn) +
                             " text pixels)");
    }
    const long face = screen::percentOf(window, pixels, GetSysColor(COLOR_MENU));
    check(face >= 40, "the menu is drawn in the menu colour (" + std::to_string(face) + "%)");
}

void compare(const Menu& shown, const Menu& resource, const MenuExpectation& e) {
    const std::vector<Item>& popup = shown.at("popup");
    const std::vector<Item>& original = resource.at("popup");
    check(popup.size() == original.size(), "the popup has the " + std::to_string(original.size()) +
                                               " items of menu 190 (" +
                                               std::to_string(popup.size()) + ")");
    if (popup.size() < 6) {
        check(false, "the popup has the six positions the tray addresses");
        return;
    }
    // Position 0 opens the properties, bold; the submenus sit at positions 2 to 5; exit and
    // separators take the others.
    check(popup[0].id == static_cast<int>(kProperties), "position 0 opens the properties");
    checkState(popup[0], MFS_DEFAULT, "position 0");
    int exits = 0;
    for (std::size_t i = 0; i < popup.size(); ++i) {
        if (i < original.size())
            check(popup[i].text == original[i].text, "position " + std::to_string(i) + " reads " +
                                                         quoted(popup[i].text) + " as in " +
                                                         kModule);
        if (i >= 2 && i <= 5) {
            check(popup[i].submenu, "position " + std::to_string(i) + " opens a submenu");
        } else if (i != 0) {
            const bool separator = (popup[i].type & MFT_SEPARATOR) != 0;
            if (popup[i].id == static_cast<int>(kExit)) ++exits;
            check(separator || popup[i].id == static_cast<int>(kExit),
                  "position " + std::to_string(i) + " is a separator or the exit command");
        }
        if (i != 0 && i < original.size())
            checkState(popup[i], original[i].state & kStateBits,
                       "position " + std::to_string(i) + " (as in the resource)");
    }
    check(exits == 1, "one exit command (" + std::to_string(exits) + ")");

    checkSubmenu(shown, resource, 2, {kSpeakers, kHeadphones}, "output device");
    checkSubmenu(shown, resource, 3, {kHwAcceleration}, "hardware acceleration");
    checkSubmenu(shown, resource, 4, {kMicBoost}, "microphone");
    checkSubmenu(shown, resource, 5, {kSetNone, kSet2Mb, kSet4Mb}, "sample set");

    const auto sub = [&](int position) -> const std::vector<Item>& {
        static const std::vector<Item> none;
        const auto found = shown.find("sub" + std::to_string(position));
        return found == shown.end() ? none : found->second;
    };
    const std::vector<Item>& output = sub(2);
    if (output.size() == 2) {
        const int on = e.speakers ? 0 : 1;
        checkState(output[on], MFS_CHECKED, e.speakers ? "speakers" : "headphones");
        checkState(output[1 - on], resource.at("sub2")[1 - on].state & kStateBits,
                   std::string(e.speakers ? "headphones" : "speakers") + " (as in the resource)");
    }
    if (sub(3).size() == 1)
        checkState(sub(3)[0], e.hwAcceleration ? MFS_CHECKED : 0, "hardware acceleration");
    if (sub(4).size() == 1) checkState(sub(4)[0], e.micBoost ? MFS_CHECKED : 0, "microphone boost");
    const char* names[3] = {"sample set none", "2 MB sample set", "4 MB sample set"};
    if (sub(5).size() == 3) {
        for (int i = 0; i < 3; ++i) {
            const UINT wanted = (i == e.checkedSet ? MFS_CHECKED : 0) |
                                (e.greyedSets.count(i) != 0 ? MFS_GRAYED : 0);
            checkState(sub(5)[i], wanted, names[i]);
        }
    }
}

bool fileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

HWND visibleMenuWindow() {
    HWND popup = FindWindowA("#32768", nullptr);
    return popup != nullptr && IsWindowVisible(popup) ? popup : nullptr;
}

}  // namespace

bool parseMenuExpectation(char** words, MenuExpectation& e) {
    const std::string output = words[0], hw = words[1], mic = words[2], set = words[3];
    if ((output != "speakers" && output != "headphones") || (hw != "on" && hw != "off") ||
        (mic != "on" && mic != "off"))
        return false;
    e.speakers = output == "speakers";
    e.hwAcceleration = hw == "on";
    e.micBoost = mic == "on";
    if (set == "none")
        e.checkedSet = 0;
    else if (set == "2")
        e.checkedSet = 1;
    else if (set == "4")
        e.checkedSet = 2;
    else if (set == "-")
        e.checkedSet = -1;
    else
        return false;
    const std::string grey = words[4];
    if (grey.find('2') != std::string::npos) e.greyedSets.insert(1);
    if (grey.find('4') != std::string::npos) e.greyedSets.insert(2);
    return true;
}

int checkTrayMenu(HWND tray, const MenuExpectation& expected) {
    Menu resource;
    HMODULE module = LoadLibraryA(kModule);
    HMENU menu = module != nullptr ? LoadMenuA(module, MAKEINTRESOURCEA(kMenuResource)) : nullptr;
    if (!check(menu != nullptr && GetSubMenu(menu, 0) != nullptr,
               std::string("menu 190 of ") + kModule + " loads"))
        return 1;
    readResource(GetSubMenu(menu, 0), "popup", resource);
    DestroyMenu(menu);

    HMODULE spy = LoadLibraryA(kSpyLibrary);
    typedef HHOOK(__cdecl * PeekFunction)(DWORD);
    PeekFunction peek = spy != nullptr
                            ? reinterpret_cast<PeekFunction>(
                                  reinterpret_cast<void (*)()>(GetProcAddress(spy, "peekTrayMenu")))
                            : nullptr;
    DeleteFileA(kMenuFile);
    HHOOK hook = peek != nullptr ? peek(GetWindowThreadProcessId(tray, nullptr)) : nullptr;
    check(hook != nullptr, "the tray's thread can be hooked to read its menu");

    PostMessageA(tray, 0x8000, 0, WM_RBUTTONDOWN);
    HWND popup = nullptr;
    for (DWORD i = 0; i < scaledWait(200) && popup == nullptr; ++i) {
        Sleep(100);
        popup = visibleMenuWindow();
    }
    if (!check(popup != nullptr, "the popup menu opens")) {
        if (hook != nullptr) UnhookWindowsHookEx(hook);
        return 1;
    }
    for (DWORD i = 0; i < scaledWait(100) && !fileExists(kMenuFile); ++i) Sleep(100);
    Menu shown;
    if (check(readDump(shown), "the menu's items are read inside the tray")) {
        compare(shown, resource, expected);
        Sleep(300);  // let it finish drawing
        checkPicture(popup, shown["popup"]);
    }
    if (hook != nullptr) UnhookWindowsHookEx(hook);

    std::printf("shown: menu\n");
    std::fflush(stdout);
    for (DWORD i = 0; i < scaledWait(600) && !fileExists("C:\\shot-menu"); ++i) Sleep(100);
    // Escape ends the menu's own loop in the tray's thread.
    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(tray, WM_KEYDOWN, VK_ESCAPE, 0);
    bool closed = false;
    for (DWORD i = 0; i < scaledWait(100) && !closed; ++i) {
        Sleep(100);
        closed = visibleMenuWindow() == nullptr;
    }
    check(closed, "the menu closes on Escape");
    return failures == 0 ? 0 : 1;
}

}  // namespace traycheck

#include "help_viewer.h"

#include <cstdio>
#include <vector>

#include "../drivers/time_scale.h"

namespace {

constexpr int kTextControl = 0x701;
// How much of a first paragraph must be on the screen: enough words to tell every topic and
// popup of a file apart, few enough to stay on the first lines.
constexpr std::size_t kFirstTextPrefix = 60;

// A window's text through WM_GETTEXT, which works across processes; a window that does not
// answer gives an empty text instead of hanging the driver.
std::string windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, scaledWait(5000),
                             &length))
        return std::string();
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                             scaledWait(5000), &copied))
        return std::string();
    return std::string(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
}

bool isViewerWindow(HWND window) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    return lstrcmpA(cls, "MS_WINHELP") == 0;
}

BOOL CALLBACK findMain(HWND window, LPARAM param) {
    auto* view = reinterpret_cast<ViewerView*>(param);
    if (!isViewerWindow(window) || !IsWindowVisible(window)) return TRUE;
    if ((GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return TRUE;
    view->main = window;
    return FALSE;
}

BOOL CALLBACK listViewer(HWND window, LPARAM param) {
    auto* out = reinterpret_cast<std::string*>(param);
    if (!isViewerWindow(window)) return TRUE;
    char line[200];
    std::snprintf(line, sizeof line, "viewer window %p style %08lx %s caption \"", window,
                  static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                  IsWindowVisible(window) ? "visible" : "hidden");
    *out += line;
    *out += windowText(window) + "\" text \"";
    std::string text = collapseSpaces(windowText(GetDlgItem(window, kTextControl)));
    *out += text.substr(0, 120) + "\"\n";
    return TRUE;
}

struct MessageSearch {
    DWORD process;
    ViewerMessage found;
};

BOOL CALLBACK findMessage(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<MessageSearch*>(param);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    search->found.box = window;
    search->found.text = windowText(window) + ": " + windowText(GetDlgItem(window, 0xFFFF));
    return FALSE;
}

bool startsWith(const std::string& text, const std::string& head) {
    return text.compare(0, head.size(), head) == 0;
}

}  // namespace

ViewerView readViewer() {
    ViewerView view;
    EnumWindows(findMain, reinterpret_cast<LPARAM>(&view));
    if (view.main == nullptr) return view;
    GetWindowThreadProcessId(view.main, &view.process);
    view.caption = windowText(view.main);
    view.text = collapseSpaces(windowText(GetDlgItem(view.main, kTextControl)));
    return view;
}

bool viewerShows(const ViewerView& view, const HelpEntry& entry) {
    if (view.main == nullptr || entry.firstText.empty()) return false;
    std::string first = entry.firstText.substr(0, kFirstTextPrefix);
    if (!entry.topic) return startsWith(view.text, first);
    return startsWith(view.text, collapseSpaces(entry.title) + " " + first);
}

std::string viewerExcerpt(const ViewerView& view, std::size_t length) {
    if (view.main == nullptr) return "(no viewer window)";
    return view.text.substr(0, length);
}

ViewerMessage viewerMessage() {
    // Even a viewer that shows nothing yet has its hidden main window.
    MessageSearch search{0, ViewerMessage()};
    HWND any = FindWindowA("MS_WINHELP", nullptr);
    if (any == nullptr) return search.found;
    GetWindowThreadProcessId(any, &search.process);
    EnumWindows(findMessage, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string describeViewerWindows() {
    std::string out;
    EnumWindows(listViewer, reinterpret_cast<LPARAM>(&out));
    return out.empty() ? "no window of class MS_WINHELP\n" : out;
}

#include "platform/host/host_ui.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/host/host_system_text.h"

namespace platform::host {

using namespace systext;
namespace {

int defaultButton(std::uint32_t type) {
    switch (type & MB_TYPEMASK) {
        case MB_OK:
            return IDOK;
        case MB_YESNO:
            return IDNO;
        case MB_ABORTRETRYIGNORE:
            return IDABORT;
        default:
            return IDCANCEL;
    }
}

bool isButtonOf(std::intptr_t button, std::uint32_t type) {
    static const std::vector<int> kButtons[] = {
        {IDOK},            // MB_OK
        {IDOK, IDCANCEL},  // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO},
        {IDRETRY, IDCANCEL},
    };
    const std::uint32_t set = type & MB_TYPEMASK;
    if (set >= sizeof kButtons / sizeof kButtons[0]) return true;
    const std::vector<int>& buttons = kButtons[set];
    return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
}

const char* kindName(UiAnswer::Kind kind) {
    switch (kind) {
        case UiAnswer::Kind::MessageBox:
            return "message box";
        case UiAnswer::Kind::Dialog:
            return "dialog";
        case UiAnswer::Kind::OpenFile:
            return "Open dialog";
    }
    return "?";
}

}  // namespace

UiAnswer UiAnswer::messageBox(int button) {
    UiAnswer answer;
    answer.kind = Kind::MessageBox;
    answer.answer = button;
    return answer;
}

UiAnswer UiAnswer::dialog(std::intptr_t endCode, std::optional<std::uint32_t> templateId) {
    UiAnswer answer;
    answer.kind = Kind::Dialog;
    answer.answer = endCode;
    answer.templateId = templateId;
    return answer;
}

UiAnswer UiAnswer::openFile(std::string path) {
    UiAnswer answer;
    answer.kind = Kind::OpenFile;
    answer.answer = IDOK;
    answer.path = std::move(path);
    return answer;
}

UiAnswer UiAnswer::cancelOpenFile() {
    UiAnswer answer;
    answer.kind = Kind::OpenFile;
    answer.answer = IDCANCEL;
    return answer;
}

UiAnswer& UiAnswer::withText(std::string part) {
    textContains = std::move(part);
    return *this;
}

UiAnswer& UiAnswer::withCaption(std::string text) {
    caption = std::move(text);
    return *this;
}

UiAnswer& UiAnswer::check(std::uint32_t id, std::uint32_t state) {
    DialogControlChange change;
    change.id = id;
    change.check = state;
    changes.push_back(change);
    return *this;
}

UiAnswer& UiAnswer::type(std::uint32_t id, std::string text) {
    DialogControlChange change;
    change.id = id;
    change.text = std::move(text);
    changes.push_back(change);
    return *this;
}

HostUserInterface::HostUserInterface(HostSystem& system) : system_(system) {}

HostUserInterface::~HostUserInterface() = default;

std::uint32_t HostUserInterface::fail(std::uint32_t error) {
    lastError_ = error;
    return error;
}

std::uint32_t HostUserInterface::GetLastError() {
    return lastError_;
}

void HostUserInterface::expect(UiAnswer answer) {
    script_.push_back(std::move(answer));
}

std::optional<UiAnswer> HostUserInterface::takeAnswer(UiAnswer::Kind kind, const std::string& text,
                                                      const std::string& caption,
                                                      std::uint32_t templateId,
                                                      std::string* problem) {
    if (script_.empty()) {
        *problem = std::string("unscripted ") + kindName(kind);
        return std::nullopt;
    }
    const UiAnswer& next = script_.front();
    if (next.kind != kind) {
        *problem = std::string("a ") + kindName(kind) + " was shown where the script expects a " +
                   kindName(next.kind);
    } else if (next.textContains && text.find(*next.textContains) == std::string::npos) {
        *problem = "text does not contain \"" + *next.textContains + "\"";
    } else if (next.caption && caption != *next.caption) {
        *problem = "caption is not \"" + *next.caption + "\"";
    } else if (next.templateId && templateId != *next.templateId) {
        *problem = "template " + std::to_string(templateId) + " shown where the script expects " +
                   std::to_string(*next.templateId);
    } else {
        UiAnswer answer = next;
        script_.pop_front();
        return answer;
    }
    return std::nullopt;
}

int HostUserInterface::MessageBox(HWnd owner, const char* text, const char* caption,
                                  std::uint32_t type) {
    if (messageBoxFails_) return fail(ERROR_NOT_ENOUGH_MEMORY), 0;
    ShownUi shown;
    shown.kind = UiAnswer::Kind::MessageBox;
    shown.owner = owner;
    shown.text = text != nullptr ? text : "";
    shown.caption = caption != nullptr ? caption : "Error";
    shown.type = type;
    const std::optional<UiAnswer> answer =
        takeAnswer(shown.kind, shown.text, shown.caption, 0, &shown.problem);
    if (answer) {
        shown.scripted = true;
        shown.answer = answer->answer;
        if (!isButtonOf(shown.answer, type))
            shown.problem =
                "answer " + std::to_string(shown.answer) + " is not a button of the box";
    } else {
        shown.answer = defaultButton(type);
    }
    const int result = static_cast<int>(shown.answer);
    shown_.push_back(std::move(shown));
    return result;
}

int HostUserInterface::LoadString(HModule module, std::uint32_t id, char* buffer, int bufferMax) {
    if (buffer != nullptr && bufferMax > 0) buffer[0] = '\0';
    const ModuleImage* image = system_.moduleImage(module);
    if (image == nullptr) return fail(ERROR_RESOURCE_DATA_NOT_FOUND), 0;
    const auto found = image->strings.find(id);
    // An empty string resource reads as a missing one, as in Windows.
    if (found == image->strings.end() || found->second.empty())
        return fail(ERROR_RESOURCE_NAME_NOT_FOUND), 0;
    if (buffer == nullptr || bufferMax <= 0) return fail(ERROR_INVALID_PARAMETER), 0;
    const int length = std::min(static_cast<int>(found->second.size()), bufferMax - 1);
    std::memcpy(buffer, found->second.data(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

std::intptr_t HostUserInterface::DialogBoxParam(HModule module, std::uint32_t templateId,
                                                HWnd owner, const DialogRequest& request,
                                                DialogResult* result) {
    const ModuleImage* image = system_.moduleImage(module);
    if (image == nullptr || image->dialogs.count(templateId) == 0)
        return fail(ERROR_RESOURCE_NAME_NOT_FOUND), -1;

    ShownUi shown;
    shown.kind = UiAnswer::Kind::Dialog;
    shown.owner = owner;
    shown.module = module;
    shown.templateId = templateId;
    shown.request = request;
    shown.caption = request.setCaption ? request.caption : std::string();

    DialogResult outcome;
    for (const DialogControlSetup& setup : request.controls) {
        DialogControlState state;
        state.id = setup.id;
        state.text = setup.setText ? setup.text : std::string();
        state.check = setup.setCheck ? setup.check : BST_UNCHECKED;
        outcome.controls.push_back(state);
    }

    const std::optional<UiAnswer> answer =
        takeAnswer(shown.kind, std::string(), std::string(), templateId, &shown.problem);
    if (answer) {
        shown.scripted = true;
        outcome.endCode = answer->answer;
        for (const DialogControlChange& change : answer->changes) {
            const auto setup =
                std::find_if(request.controls.begin(), request.controls.end(),
                             [&](const DialogControlSetup& s) { return s.id == change.id; });
            if (setup == request.controls.end()) {
                shown.problem = "control " + std::to_string(change.id) + " is not reported";
                continue;
            }
            if (setup->hide) {
                shown.problem = "control " + std::to_string(change.id) + " is hidden";
                continue;
            }
            DialogControlState& state =
                outcome.controls[static_cast<std::size_t>(setup - request.controls.begin())];
            if (change.check) state.check = *change.check;
            if (change.text) state.text = *change.text;
        }
    } else {
        outcome.endCode = IDCANCEL;
    }
    shown.answer = outcome.endCode;
    shown_.push_back(std::move(shown));
    if (result != nullptr) *result = outcome;
    return outcome.endCode;
}

bool HostUserInterface::GetOpenFileName(const OpenFileRequest& request, std::string* path) {
    ShownUi shown;
    shown.kind = UiAnswer::Kind::OpenFile;
    shown.owner = request.owner;
    shown.caption = request.title;
    shown.openFile = request;
    const std::optional<UiAnswer> answer =
        takeAnswer(shown.kind, std::string(), std::string(), 0, &shown.problem);
    bool chosen = false;
    shown.answer = IDCANCEL;
    if (answer) {
        shown.scripted = true;
        shown.text = answer->path;
        // The dialog's buffer holds 260 bytes; a longer choice fails.
        chosen = answer->answer == IDOK && !answer->path.empty() && answer->path.size() < 260 &&
                 path != nullptr;
        if (chosen) {
            shown.answer = IDOK;
            *path = answer->path;
        }
    }
    shown_.push_back(std::move(shown));
    return chosen;
}

std::vector<std::string> HostUserInterface::problems() const {
    std::vector<std::string> lines;
    for (const ShownUi& shown : shown_) {
        if (shown.problem.empty()) continue;
        if (shown.kind == UiAnswer::Kind::MessageBox)
            lines.push_back("message box \"" + shown.caption + "\" / \"" + shown.text +
                            "\": " + shown.problem);
        else if (shown.kind == UiAnswer::Kind::Dialog)
            lines.push_back("dialog " + std::to_string(shown.templateId) + ": " + shown.problem);
        else
            lines.push_back("Open dialog: " + shown.problem);
    }
    return lines;
}

// ---- Windows -------------------------------------------------------------------------------

HWnd HostUserInterface::addWindow(const std::string& className, const std::string& title,
                                  WindowHandler handler) {
    const HWnd handle = nextWindow_;
    nextWindow_ += 0x10;
    windows_[handle] = Window{className, title, std::move(handler)};
    return handle;
}

void HostUserInterface::removeWindow(HWnd window) {
    windows_.erase(window);
    if (foreground_ == window) foreground_ = 0;
}

HWnd HostUserInterface::FindWindow(const char* className, const char* windowName) {
    for (const auto& [handle, window] : windows_) {
        if (className != nullptr && !sameNameIgnoringCase(window.className, className)) continue;
        if (windowName != nullptr && !sameNameIgnoringCase(window.title, windowName)) continue;
        return handle;
    }
    fail(ERROR_SUCCESS);
    return 0;
}

bool HostUserInterface::SetForegroundWindow(HWnd window) {
    if (windows_.count(window) == 0) return fail(ERROR_INVALID_WINDOW_HANDLE), false;
    foreground_ = window;
    return true;
}

std::uint32_t HostUserInterface::RegisterWindowMessage(const char* name) {
    if (name == nullptr || *name == '\0') return fail(ERROR_INVALID_PARAMETER), 0;
    const std::string key = upperCase(name);
    const auto found = registeredMessages_.find(key);
    if (found != registeredMessages_.end()) return found->second;
    const std::uint32_t id = nextMessage_++;
    registeredMessages_[key] = id;
    messageNames_[id] = name;
    return id;
}

std::string HostUserInterface::registeredMessageName(std::uint32_t message) const {
    const auto found = messageNames_.find(message);
    return found == messageNames_.end() ? std::string() : found->second;
}

std::intptr_t HostUserInterface::deliver(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam, bool posted) {
    messages_.push_back(WindowMessage{window, message, wParam, lParam, posted});
    // The handler may add or remove windows; call a copy.
    const WindowHandler handler = windows_[window].handler;
    return handler ? handler(message, wParam, lParam) : 0;
}

std::intptr_t HostUserInterface::SendMessage(HWnd window, std::uint32_t message,
                                             std::uintptr_t wParam, std::intptr_t lParam) {
    if (windows_.count(window) == 0) return fail(ERROR_INVALID_WINDOW_HANDLE), 0;
    return deliver(window, message, wParam, lParam, false);
}

bool HostUserInterface::PostMessage(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    if (windows_.count(window) == 0) return fail(ERROR_INVALID_WINDOW_HANDLE), false;
    deliver(window, message, wParam, lParam, true);
    return true;
}

}  // namespace platform::host

// The user interface of the simulated machine: message boxes and modal dialogs answered from
// a script, strings from the modules of the simulated loader, and a table of top-level
// windows for the window searches and messages between the product's programs.
//
// Script. The test queues the answers in the order the product is expected to show its boxes
// and dialogs. Each box or dialog takes the first queued answer when that answer is of its
// kind and its optional expectations hold (text contained in the box's text, exact caption,
// template id). Otherwise it is answered with the default and the queue is left as it was:
// IDOK for an MB_OK box, IDNO for MB_YESNO, IDABORT for MB_ABORTRETRYIGNORE, IDCANCEL for
// every other box and for dialogs, and Cancel for the Open dialog. Every box and dialog is recorded
// with its answer; an unscripted or mismatched one, a scripted answer that is not one of the box's
// buttons, and a dialog answer that touches a hidden or unreported control are listed by
// problems(), so a test can assert that nothing unexpected was shown.
//
// Windows are entries of a table (class name, title, optional handler); no window is
// drawn. Sent and posted messages are recorded and handed to the window's handler at once.
//
// Not thread-safe: the product runs on one thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/host_system.h"
#include "platform/ui.h"

namespace platform::host {

// How a scripted dialog answer changes a control before the dialog ends.
struct DialogControlChange {
    std::uint32_t id = 0;
    std::optional<std::uint32_t> check;  // BST_CHECKED / BST_UNCHECKED
    std::optional<std::string> text;
};

// One queued answer.
struct UiAnswer {
    enum class Kind { MessageBox, Dialog, OpenFile };
    Kind kind = Kind::MessageBox;
    std::intptr_t answer = IDOK;               // button, end code, IDOK/IDCANCEL of Open
    std::optional<std::string> textContains;   // message boxes: part of the text
    std::optional<std::string> caption;        // message boxes: the whole caption
    std::optional<std::uint32_t> templateId;   // dialogs
    std::vector<DialogControlChange> changes;  // dialogs: what the user did
    std::string path;                          // Open dialog: the file chosen

    // Builders: UiAnswer::messageBox(IDYES).withText("restart"), UiAnswer::dialog(IDOK, 185)
    // .check(1014, BST_CHECKED).
    static UiAnswer messageBox(int button);
    static UiAnswer dialog(std::intptr_t endCode, std::optional<std::uint32_t> templateId = {});
    // The Open dialog: the user chooses `path`, or cancels.
    static UiAnswer openFile(std::string path);
    static UiAnswer cancelOpenFile();
    UiAnswer& withText(std::string part);
    UiAnswer& withCaption(std::string caption);
    UiAnswer& check(std::uint32_t id, std::uint32_t state);
    UiAnswer& type(std::uint32_t id, std::string text);
};

// One box or dialog that was shown.
struct ShownUi {
    UiAnswer::Kind kind = UiAnswer::Kind::MessageBox;
    HWnd owner = 0;
    std::string text;        // message boxes
    std::string caption;     // message boxes: as shown ("Error" for a null caption)
    std::uint32_t type = 0;  // message boxes: MB_* flags
    HModule module = 0;      // dialogs
    std::uint32_t templateId = 0;
    DialogRequest request;     // dialogs
    OpenFileRequest openFile;  // Open dialogs
    std::intptr_t answer = 0;  // button or end code returned
    bool scripted = false;     // answered from the script
    std::string problem;       // empty when it went as scripted
};

// A message sent or posted to a window of the table.
struct WindowMessage {
    HWnd window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    bool posted = false;
};

class HostUserInterface : public UserInterface {
  public:
    using WindowHandler = std::function<std::intptr_t(std::uint32_t message, std::uintptr_t wParam,
                                                      std::intptr_t lParam)>;

    // Strings and dialog templates are taken from the modules `system` has loaded.
    explicit HostUserInterface(HostSystem& system);
    ~HostUserInterface() override;
    HostUserInterface(const HostUserInterface&) = delete;
    HostUserInterface& operator=(const HostUserInterface&) = delete;

    std::uint32_t GetLastError() override;
    int MessageBox(HWnd owner, const char* text, const char* caption, std::uint32_t type) override;
    int LoadString(HModule module, std::uint32_t id, char* buffer, int bufferMax) override;
    std::intptr_t DialogBoxParam(HModule module, std::uint32_t templateId, HWnd owner,
                                 const DialogRequest& request, DialogResult* result) override;
    bool GetOpenFileName(const OpenFileRequest& request, std::string* path) override;
    HWnd FindWindow(const char* className, const char* windowName) override;
    bool SetForegroundWindow(HWnd window) override;
    std::uint32_t RegisterWindowMessage(const char* name) override;
    std::intptr_t SendMessage(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    bool PostMessage(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;

    // ---- Script and record ---------------------------------------------------------------

    void expect(UiAnswer answer);
    // Queued answers not used yet.
    std::size_t pendingAnswers() const { return script_.size(); }
    void clearScript() { script_.clear(); }
    // Every box and dialog shown, in order.
    const std::vector<ShownUi>& shown() const { return shown_; }
    void clearShown() { shown_.clear(); }
    // One line per box or dialog that did not go as scripted.
    std::vector<std::string> problems() const;
    // MessageBox fails (returns 0, ERROR_NOT_ENOUGH_MEMORY) while set.
    void setMessageBoxFails(bool fails) { messageBoxFails_ = fails; }

    // ---- Windows ----------------------------------------------------------------------------

    // Adds a top-level window of another program (or of this one) and returns its handle.
    HWnd addWindow(const std::string& className, const std::string& title,
                   WindowHandler handler = nullptr);
    // The window is destroyed; its handle is never given again.
    void removeWindow(HWnd window);
    bool windowExists(HWnd window) const { return windows_.count(window) != 0; }
    // Messages sent or posted to existing windows, in order.
    const std::vector<WindowMessage>& messages() const { return messages_; }
    void clearMessages() { messages_.clear(); }
    // The name a registered message identifier stands for; empty when unknown.
    std::string registeredMessageName(std::uint32_t message) const;
    // The last window brought forward with SetForegroundWindow, 0 for none.
    HWnd foregroundWindow() const { return foreground_; }

  private:
    struct Window {
        std::string className;
        std::string title;
        WindowHandler handler;
    };

    std::uint32_t fail(std::uint32_t error);
    // Takes the first queued answer when it fits; otherwise fills *problem.
    std::optional<UiAnswer> takeAnswer(UiAnswer::Kind kind, const std::string& text,
                                       const std::string& caption, std::uint32_t templateId,
                                       std::string* problem);
    std::intptr_t deliver(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam, bool posted);

    HostSystem& system_;
    std::uint32_t lastError_ = 0;
    std::deque<UiAnswer> script_;
    std::vector<ShownUi> shown_;
    bool messageBoxFails_ = false;
    std::map<HWnd, Window> windows_;
    HWnd nextWindow_ = 0x10010;
    std::vector<WindowMessage> messages_;
    std::map<std::string, std::uint32_t> registeredMessages_;  // by upper-case name
    std::map<std::uint32_t, std::string> messageNames_;        // as first registered
    std::uint32_t nextMessage_ = 0xC0A0;
    HWnd foreground_ = 0;
};

}  // namespace platform::host

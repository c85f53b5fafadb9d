#include "tray/quiet_notices.h"

#include "platform/ui.h"

namespace tray {

class QuietNotices::MutedUi : public platform::UserInterface {
  public:
    explicit MutedUi(platform::UserInterface& inner) : inner_(inner) {}

    std::uint32_t GetLastError() override { return inner_.GetLastError(); }
    int MessageBox(platform::HWnd, const char*, const char*, std::uint32_t) override { return 0; }
    int LoadString(platform::HModule module, std::uint32_t id, char* buffer,
                   int bufferMax) override {
        return inner_.LoadString(module, id, buffer, bufferMax);
    }
    std::intptr_t DialogBoxParam(platform::HModule module, std::uint32_t templateId,
                                 platform::HWnd owner, const platform::DialogRequest& request,
                                 platform::DialogResult* result) override {
        return inner_.DialogBoxParam(module, templateId, owner, request, result);
    }
    bool GetOpenFileName(const platform::OpenFileRequest& request, std::string* path) override {
        return inner_.GetOpenFileName(request, path);
    }
    platform::HWnd FindWindow(const char* className, const char* windowName) override {
        return inner_.FindWindow(className, windowName);
    }
    bool SetForegroundWindow(platform::HWnd window) override {
        return inner_.SetForegroundWindow(window);
    }
    std::uint32_t RegisterWindowMessage(const char* name) override {
        return inner_.RegisterWindowMessage(name);
    }
    std::intptr_t SendMessage(platform::HWnd window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override {
        return inner_.SendMessage(window, message, wParam, lParam);
    }
    bool PostMessage(platform::HWnd window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override {
        return inner_.PostMessage(window, message, wParam, lParam);
    }

  private:
    platform::UserInterface& inner_;
};

QuietNotices::QuietNotices() {
    platform::Machine current = platform::machine();
    muted_ = std::make_unique<MutedUi>(*current.ui);
    current.ui = muted_.get();
    previous_ = platform::installMachine(current);
}

QuietNotices::~QuietNotices() {
    platform::installMachine(previous_);
}

}  // namespace tray

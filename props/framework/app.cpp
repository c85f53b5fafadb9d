#include "props/framework/app.h"

#include <cstring>

namespace fw {

App::App() : commands_(props::applicationCommandTable([this] { onHelp(); })) {}

void App::onHelp() {
    winHelp(GetActiveWindow(), HELP_CONTENTS, 0);
}

void App::setHelpFilePath(const std::string& path) {
    helpFilePath_[0] = 0;
    if (path.size() < sizeof helpFilePath_)
        std::memcpy(helpFilePath_, path.c_str(), path.size() + 1);
}

void App::winHelp(HWND window, UINT command, ULONG_PTR data) const {
    if (helpFilePath_[0] == 0) return;
    WinHelpA(window, helpFilePath_, command, data);
}

std::string App::loadString(UINT id) const {
    char text[260] = {};
    int length = LoadStringA(resourceModule_, id, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace fw

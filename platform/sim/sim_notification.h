// How a simulated device delivers a window message (a mixer change, the end of an MCI play).
#pragma once

#include <cstdint>
#include <functional>

namespace platform {
// A window (HWND), as in platform/ui.h.
using HWnd = std::uintptr_t;
}  // namespace platform

namespace platform::sim {

// Called with the window, message, wParam and lParam, as PostMessageA takes them. The host
// machine records the messages for tests; the win32-sim programs post them. An empty sink
// drops every message.
using NotificationSink = std::function<void(HWnd window, std::uint32_t message,
                                            std::uintptr_t wParam, std::intptr_t lParam)>;

}  // namespace platform::sim

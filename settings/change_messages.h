// The five registered window messages by which the properties program and the tray utility
// tell each other about a changed setting, and the class of the tray's hidden window by
// which the properties program finds it. Both programs register the same names at start;
// every message goes out with SendMessageA, wParam = the new state, lParam = 0. The one
// definition both programs build from, so the two sides cannot drift apart.
#pragma once

#include <cstdint>

namespace settings {

constexpr const char* kExitTrayMessage = "Tell TunaraTray to exit";
constexpr const char* kOutputDeviceMessage = "Output Device Change";
constexpr const char* kHwAccelerationMessage = "HwAcceleration Change";
constexpr const char* kMicBoostMessage = "Mic Boost Change";
constexpr const char* kWavetableMessage = "MIDI Wavetable Change";
// The tray utility's hidden window.
constexpr const char* kTrayWindowClass = "Tunara Taskbar";

struct ChangeMessages {
    std::uint32_t exitTray = 0;
    std::uint32_t outputDevice = 0;
    std::uint32_t hwAcceleration = 0;
    std::uint32_t micBoost = 0;
    std::uint32_t wavetable = 0;
};

// Registers the five names (RegisterWindowMessageA); a name the system refuses stays 0 and
// is never matched or sent.
ChangeMessages registerChangeMessages();

}  // namespace settings

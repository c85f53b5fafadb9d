// Layout and timing of the notice box that hvinutil shows before it shuts Windows down.
#pragma once

#include <cstdint>

namespace instutil {

// The window timer that ends the wait, and the wait itself.
constexpr std::uintptr_t kShutdownTimerId = 5001;
constexpr std::uint32_t kShutdownDelayMs = 5000;

// The notice is drawn at this point of the box's client area, left and top aligned, on a
// transparent background, in a very dark red (COLORREF 0x00BBGGRR).
constexpr int kTextLeft = 21;
constexpr int kTextTop = 11;
constexpr std::uint32_t kTextColour = 0x00000012;

// The box is the text's extent plus this margin.
constexpr int kBoxExtraWidth = 50;
constexpr int kBoxExtraHeight = 30;

struct BoxPlacement {
    int left;
    int top;
    int width;
    int height;
};

// Where the box goes for a notice of the given extent on a screen of the given size:
// text extent plus the margin, centred (half the screen minus half the box, rounded as
// integer halves). A box larger than the screen stays centred and runs off both edges.
BoxPlacement placeNoticeBox(int textWidth, int textHeight, int screenWidth, int screenHeight);

}  // namespace instutil

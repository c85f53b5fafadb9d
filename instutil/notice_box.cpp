#include "instutil/notice_box.h"

namespace instutil {

BoxPlacement placeNoticeBox(int textWidth, int textHeight, int screenWidth, int screenHeight) {
    BoxPlacement box;
    box.width = textWidth + kBoxExtraWidth;
    box.height = textHeight + kBoxExtraHeight;
    box.left = screenWidth / 2 - box.width / 2;
    box.top = screenHeight / 2 - box.height / 2;
    return box;
}

}  // namespace instutil

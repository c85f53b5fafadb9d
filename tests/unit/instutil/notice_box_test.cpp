#include "instutil/notice_box.h"

#include <gtest/gtest.h>

namespace {

struct PlacementCase {
    int textWidth, textHeight, screenWidth, screenHeight;
    int left, top, width, height;
};

const PlacementCase kPlacementCases[] = {
    // text extent, screen size, expected left, top, width, height
    {100, 16, 800, 600, 325, 277, 150, 46},
    {101, 17, 800, 600, 325, 277, 151, 47},  // odd sizes: integer halves
    {120, 16, 1024, 768, 427, 361, 170, 46},
    {0, 0, 640, 480, 295, 225, 50, 30},         // empty extent: the margin alone
    {1000, 16, 640, 480, -205, 217, 1050, 46},  // wider than the screen: still centred
    {200, 20, 801, 601, 275, 275, 250, 50},     // odd screen
};

TEST(NoticeBoxTest, SizesAndCentresTheBox) {
    for (const PlacementCase& c : kPlacementCases) {
        SCOPED_TRACE(::testing::Message() << "text " << c.textWidth << "x" << c.textHeight
                                          << " screen " << c.screenWidth << "x" << c.screenHeight);
        const instutil::BoxPlacement box =
            instutil::placeNoticeBox(c.textWidth, c.textHeight, c.screenWidth, c.screenHeight);
        EXPECT_EQ(box.width, c.width);
        EXPECT_EQ(box.height, c.height);
        EXPECT_EQ(box.left, c.left);
        EXPECT_EQ(box.top, c.top);
    }
}

}  // namespace

// Twips to pixels with each axis' screen factor, rounding halves to even.
#include "widgets/Twips.h"

#include "settings/ProgramState.h"

#include <gtest/gtest.h>

namespace {

TEST(Twips, ConvertsWithEachAxisOwnFactor) {
    TwipsPerPixelX = 15.0f;
    TwipsPerPixelY = 12.0f;
    EXPECT_EQ(TwipsToPixels(285, 285, 7.5, 22.5), (PixelRect{19, 24, 0, 2})); // 23.75 up; 0.5 and 1.5 to even
    EXPECT_EQ(TwipsToPixelsY(7.5), 1);
    EXPECT_EQ(PixelsToTwipsY(8), 96);

    TwipsPerPixelX = 0.0f; // not read from a screen: 96 dots per inch
    EXPECT_EQ(TwipsToPixelsX(1440), 96);
    TwipsPerPixelX = TwipsPerPixelY = 15.0f;
}

} // namespace

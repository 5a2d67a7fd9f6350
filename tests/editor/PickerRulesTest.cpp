// The eye-centre picker's plain rules: the lens's source, the markers and the pulse.
#include "editor/PickerRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

TEST(PickerLens, SourceIsAThirdOfTheLensCentredOnThePointer) {
    // The pointer counts as (0, 0) before it moves; halves go to the even neighbour.
    EXPECT_EQ(LensSource(0, 0, 74, 74), (LensRect{-12, -12, 25, 25})); // nearest(-12.33), nearest(24.67)
    EXPECT_EQ(LensSource(5, 6, 75, 75), (LensRect{-8, -6, 25, 25}));   // nearest(-7.5), nearest(-6.5)
    EXPECT_EQ(LensSource(30, 30, 60, 90), (LensRect{20, 15, 20, 30}));
}

TEST(PickerMarkers, PlacementAndPulse) {
    EXPECT_EQ(MarkerTopLeft(120, 86), (PixelPoint{118, 84}));
    EXPECT_EQ(MarkerTopLeft(INT32_MIN, 1), (PixelPoint{INT32_MIN, -1})); // no overflow
    // The pulse runs from 255 down in steps of 10 and starts again; the markers fade from white.
    std::vector<int> cycle{NextPulse(0)};
    while (cycle.size() < 30 && NextPulse(cycle.back()) != 255)
        cycle.push_back(NextPulse(cycle.back()));
    EXPECT_EQ(std::tuple(cycle.size(), cycle.front(), cycle.back()), std::tuple(26u, 255, 5));
    EXPECT_EQ(MarkerColour(1, 255), 0xFFFFFF);
    EXPECT_EQ(MarkerColour(1, 5), 255 + 256 * 5 + 65536 * 5); // nearly red
    EXPECT_EQ(MarkerColour(2, 125), 125 + 256 * 125 + 65536 * 255);
}

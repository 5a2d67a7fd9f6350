// The eye-centre picker's plain rules: the lens's source, the markers and label frames, and the pulse.
#include "editor/PickerRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <vector>

static std::ostream& operator<<(std::ostream& out, const LensRect& r) {
    return out << "(" << r.left << ", " << r.top << ") " << r.width << " x " << r.height;
}

TEST(PickerLens, SourceIsAThirdOfTheLensCentredOnThePointer) {
    const struct {
        int x, y;
        double lens;
        LensRect source;
    } cases[] = {
        {0, 0, 70, {-12, -12, 23, 23}},   // the pointer counts as (0, 0) before it moves: nearest(-11.67), (23.33)
        {0, 0, 74, {-12, -12, 25, 25}},   // nearest(-12.33), nearest(24.67)
        {120, 86, 72, {108, 74, 24, 24}}, // 12 and 24 exactly
        {5, 5, 75, {-8, -8, 25, 25}},     // nearest(-7.5)
        {6, 6, 75, {-6, -6, 25, 25}},     // nearest(-6.5): halves go to the even neighbour
    };
    for (const auto& c : cases)
        EXPECT_EQ(LensSource(c.x, c.y, c.lens, c.lens), c.source) << c.x << ", " << c.y << " lens " << c.lens;
    EXPECT_EQ(LensSource(30, 30, 60, 90), (LensRect{20, 15, 20, 30}));
}

TEST(PickerMarkers, MarkerAndLabelFramePlacement) {
    EXPECT_EQ(MarkerTopLeft(120, 86), (PixelPoint{118, 84}));
    EXPECT_EQ(MarkerTopLeft(-100, 0), (PixelPoint{-102, -2}));
    EXPECT_EQ(MarkerTopLeft(INT32_MIN, 1), (PixelPoint{INT32_MIN, -1})); // no overflow
    // The frame lies 2 pixels left, 1 above, 3 right and 3 below the text, each axis by its own factor.
    const TwipsRect frame = LabelFrame({0, 0, 100, 100}, 12, 20);
    EXPECT_EQ(std::tie(frame.left, frame.top, frame.width, frame.height), std::tuple(-24.0, -20.0, 160.0, 180.0));
}

TEST(PickerMarkers, PulseRunsFrom255DownIn26StepsAndColoursFadeFromWhite) {
    int pulse = NextPulse(0); // where it starts
    EXPECT_EQ(pulse, 255);
    std::vector<int> cycle{pulse};
    for (pulse = NextPulse(pulse); pulse != 255 && cycle.size() < 100; pulse = NextPulse(pulse))
        cycle.push_back(pulse);
    ASSERT_EQ(cycle.size(), 26u);
    EXPECT_EQ(cycle[1], 245);
    EXPECT_EQ(cycle.back(), 5);
    EXPECT_EQ(MarkerColour(1, 255), 0xFFFFFF);
    EXPECT_EQ(MarkerColour(2, 255), 0xFFFFFF);
    EXPECT_EQ(MarkerColour(1, 5), 255 + 256 * 5 + 65536 * 5); // nearly red
    EXPECT_EQ(MarkerColour(2, 125), 125 + 256 * 125 + 65536 * 255);
}

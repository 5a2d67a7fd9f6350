// The slider's arithmetic: thumb position and value, clamping, the degenerate ranges, the layout.
#include "widgets/SliderMath.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const SliderTrack kHundred{10, 100, 8}; // a 100-pixel track starting 10 pixels in, 8-pixel thumb

TEST(SliderMath, ThumbPositionAndValueRoundTrip) {
    EXPECT_NEAR(ThumbLeftForValue(kHundred, 0, 255, 127) - kHundred.left, 92.0 * 127 / 255, 1e-9);
    for (const auto& [min, max] : {std::pair{0, 255}, {1, 100}, {-50, 50}, {INT_MIN, INT_MAX}}) {
        for (const int v : {min, min + 1, min / 2 + max / 2, max - 1, max}) {
            const double left = ThumbLeftForValue(kHundred, min, max, v);
            EXPECT_EQ(ValueForThumbLeft(kHundred, left, min, max, min), v) << min << ".." << max;
        }
    }
    EXPECT_EQ(LimitThumbLeft(kHundred, -40, 0, 100), 10);
    EXPECT_EQ(LimitThumbLeft(kHundred, 55.5, 0, 100), 55.5);
    EXPECT_EQ(LimitThumbLeft(kHundred, 500, 0, 100), 102);
}

TEST(SliderMath, ClampMovesTheValueIntoTheRange) {
    struct Case {
        int value, min, max, expected;
    };
    const Case cases[] = {
        {300, 1, 100, 100}, {-5, 1, 100, 1},  {50, 60, 100, 60},
        {50, 0, 40, 40},    {70, 0, 100, 70}, {5, 10, 0, 0}, // minimum above maximum: the value ends at the maximum
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampSliderValue(c.value, c.min, c.max), c.expected) << c.value << " in " << c.min << ".." << c.max;
}

TEST(SliderMath, NoRangeOrNoRoomKeepsTheThumbLeftAndTheValue) {
    struct Case {
        SliderTrack track;
        int min, max;
    };
    const Case cases[] = {{kHundred, 7, 7}, {{10, 8, 8}, 0, 100}, {{10, 5, 8}, 0, 100}, {{10, 0, 8}, 7, 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(ThumbLeftForValue(c.track, c.min, c.max, c.max), c.track.left);
        EXPECT_EQ(LimitThumbLeft(c.track, c.track.left + 50, c.min, c.max), c.track.left);
        EXPECT_EQ(ValueForThumbLeft(c.track, c.track.left + 3, c.min, c.max, 42), 42);
    }
}

TEST(SliderMath, LayoutGivesTheTrackWhatTheEndLabelsLeave) {
    const SliderLayout previous{24, 81, 108};
    const SliderLayout labelled = LayOutSlider(200, 20, 25, 1, previous);
    EXPECT_EQ(labelled.trackLeft, 21);
    EXPECT_EQ(labelled.trackWidth, 154);
    EXPECT_EQ(labelled.maxLabelLeft, 175);

    const SliderLayout bare = LayOutSlider(200, 0, 0, 1, previous); // one pixel in, to the right edge
    EXPECT_EQ(bare.trackLeft, 1);
    EXPECT_EQ(bare.trackLeft + bare.trackWidth, 200);

    const SliderLayout narrow = LayOutSlider(30, 20, 25, 1, previous); // the track keeps its place
    EXPECT_EQ(narrow.trackLeft, previous.trackLeft);
    EXPECT_EQ(narrow.trackWidth, previous.trackWidth);
    EXPECT_EQ(narrow.maxLabelLeft, 5);
}

} // namespace

// The slider's arithmetic: thumb position and value at the ends, the degenerate ranges, the layout.
#include "widgets/SliderMath.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace {

const SliderTrack kHundred{10, 100, 8}; // a 100-pixel track starting 10 pixels in, 8-pixel thumb: 92 of travel

TEST(SliderMath, ThumbPositionAndValueRoundTrip) {
    EXPECT_NEAR(ThumbLeftForValue(kHundred, 0, 255, 127), 10 + 92.0 * 127 / 255, 1e-9);
    for (const auto& [min, max] : {std::pair{0, 255}, {-50, 50}, {INT_MIN, INT_MAX}}) {
        for (const int v : {min, min + 1, min / 2 + max / 2, max - 1, max}) {
            const double left = ThumbLeftForValue(kHundred, min, max, v);
            EXPECT_EQ(ValueForThumbLeft(kHundred, left, min, max, min), v) << min << ".." << max;
        }
    }
    const std::pair<double, double> limits[] = {{-40, 10}, {55.5, 55.5}, {500, 102}};
    for (const auto& [x, limited] : limits)
        EXPECT_EQ(LimitThumbLeft(kHundred, x, 0, 100), limited) << x;
    // No range, or a track no wider than the thumb: the thumb stays left and the value as it was.
    for (const SliderTrack track : {kHundred, SliderTrack{10, 8, 8}, SliderTrack{10, 5, 8}}) {
        const int max = track.width == 100 ? 7 : 100;
        EXPECT_EQ(ThumbLeftForValue(track, 7, max, max), track.left);
        EXPECT_EQ(LimitThumbLeft(track, track.left + 50, 7, max), track.left);
        EXPECT_EQ(ValueForThumbLeft(track, track.left + 3, 7, max, 42), 42);
    }
}

} // namespace

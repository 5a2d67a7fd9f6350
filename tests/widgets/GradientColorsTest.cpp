// The gradient band's colours: the ends, the one-pixel band and the contrast factor.
#include "widgets/GradientColors.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr std::int32_t kBlack = RgbColor(0, 0, 0);
constexpr std::int32_t kWhite = RgbColor(255, 255, 255);

TEST(GradientColour, ReduceScalesTheEndsAndRoundsHalvesToEven) {
    const std::int32_t first = RgbColor(100, 200, 0), second = RgbColor(60, 255, 9);
    const std::tuple<int, std::int32_t, std::int32_t> cases[] = { // reduce, top, bottom
        {100, first, second},
        {50, RgbColor(200, 255, 0), RgbColor(30, 128, 4)},   // first doubled and capped, second halved
        {200, RgbColor(50, 100, 0), RgbColor(120, 255, 18)}, // first halved, second doubled and capped
        {0, RgbColor(255, 255, 0), kBlack},                  // the extremes
        {-100, kBlack, kBlack},                              // negative channels are taken as 0
    };
    for (const auto& [reduce, top, bottom] : cases) {
        EXPECT_EQ(GradientColorAt(0, 10, first, second, reduce), top) << "reduce " << reduce;
        EXPECT_EQ(GradientColorAt(9, 10, first, second, reduce), bottom) << "reduce " << reduce;
    }
    // With 0 the first colour stays extreme up to the line before the last.
    EXPECT_EQ(GradientColorAt(98, 100, RgbColor(1, 0, 128), kWhite, 0), RgbColor(255, 0, 255));
    // A band of one pixel, and the clipped line past its edge.
    EXPECT_EQ(GradientColorAt(0, 1, kBlack, kWhite, 100), kBlack);
    EXPECT_EQ(GradientColorAt(1, 1, kBlack, kWhite, 100), kWhite);
}

} // namespace

// The gradient band's colours: the worked examples, the contrast factor, system colours and the
// lines that fill a band.
#include "widgets/GradientColors.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr std::int32_t kBlack = RgbColor(0, 0, 0);
constexpr std::int32_t kWhite = RgbColor(255, 255, 255);

TEST(GradientColour, BlackToWhiteAndTheOnePixelBand) {
    EXPECT_EQ(GradientColorAt(0, 100, kBlack, kWhite, 100), kBlack);
    EXPECT_EQ(GradientColorAt(50, 100, kBlack, kWhite, 100), RgbColor(129, 129, 129));
    EXPECT_EQ(GradientColorAt(99, 100, kBlack, kWhite, 100), kWhite);
    EXPECT_EQ(GradientColorAt(0, 1, kBlack, kWhite, 100), kBlack);
    EXPECT_EQ(GradientColorAt(1, 1, kBlack, kWhite, 100), kWhite); // the clipped line past the edge
}

TEST(GradientColour, ReduceScalesTheEndsAndRoundsHalvesToEven) {
    const std::int32_t first = RgbColor(100, 200, 0), second = RgbColor(60, 255, 9);
    struct Case {
        int reduce;
        std::int32_t top, bottom;
    };
    const Case cases[] = {
        {100, first, second},
        {50, RgbColor(200, 255, 0), RgbColor(30, 128, 4)},   // first doubled and capped, second halved
        {200, RgbColor(50, 100, 0), RgbColor(120, 255, 18)}, // first halved, second doubled and capped
        {0, RgbColor(255, 255, 0), kBlack},                  // the extremes
        {-100, kBlack, kBlack},                              // negative channels are taken as 0
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GradientColorAt(0, 10, first, second, c.reduce), c.top) << "reduce " << c.reduce;
        EXPECT_EQ(GradientColorAt(9, 10, first, second, c.reduce), c.bottom) << "reduce " << c.reduce;
    }
    // With 0 the first colour stays extreme up to the line before the last.
    EXPECT_EQ(GradientColorAt(98, 100, RgbColor(1, 0, 128), kWhite, 0), RgbColor(255, 0, 255));
}

TEST(GradientColour, SystemColoursAreLookedUpByIndex) {
    int asked = -1;
    const SystemColorLookup lookup = [&asked](int index) {
        asked = index;
        return RgbColor(10, 20, 30);
    };
    EXPECT_EQ(SplitColor(ColorButtonShadow, lookup), (RgbChannels{10, 20, 30}));
    EXPECT_EQ(asked, 16);
    EXPECT_EQ(SplitColor(RgbColor(1, 2, 3), lookup), (RgbChannels{1, 2, 3}));
    EXPECT_EQ(GradientColorAt(0, 5, ColorButtonHighlight, kWhite, 100, lookup), RgbColor(10, 20, 30));
    EXPECT_EQ(asked, 20);
}

TEST(GradientColour, OrientationOneRunsTopToBottomAnyOtherLeftToRight) {
    struct Case {
        int orientation;
        bool horizontalLines;
    };
    for (const Case c : {Case{1, true}, Case{0, false}, Case{2, false}}) {
        const auto lines = GradientLines(30, 40, c.orientation, kBlack, kWhite, 100);
        const int size = c.horizontalLines ? 40 : 30;
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(size + 1)) << c.orientation; // the last one clipped
        const GradientLine& mid = lines[12];
        const GradientLine expected = c.horizontalLines ? GradientLine{0, 12, 30, 12} : GradientLine{12, 0, 12, 40};
        EXPECT_EQ(std::tie(mid.x1, mid.y1, mid.x2, mid.y2),
                  std::tie(expected.x1, expected.y1, expected.x2, expected.y2));
        EXPECT_EQ(mid.colour, GradientColorAt(12, size, kBlack, kWhite, 100));
        EXPECT_EQ(lines.front().colour, kBlack);
    }
}

} // namespace

// The outline of a character window and the clamp of its start position.
#include "character/Shape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A picture from rows of text: '.' is the key colour, '#' face, 'o' another colour, ':' the key colour at alpha 128.
std::vector<std::uint32_t> Picture(const std::vector<std::string>& rows) {
    std::vector<std::uint32_t> pixels;
    for (const std::string& row : rows)
        for (char c : row)
            pixels.push_back(c == '.' ? 0xFFFF00FFu : c == ':' ? 0x80FF00FFu : c == '#' ? 0xFFFFFF00u : 0xFF102030u);
    return pixels;
}

} // namespace

TEST(OpaqueRegion, KeyColourAnywhereIsCutAwayAndRowsMergeIntoBands) {
    const auto bands = Picture({"....:", "#o..#", "#o..#", "##o.#", ".....", "##..#"}); // inner key pixels: holes
    EXPECT_EQ(OpaqueRegion(bands.data(), 5, 6, 5), (std::vector<PixelRect>{{0, 1, 2, 2}, {4, 1, 1, 2}, {0, 3, 3, 1},
                                                                          {4, 3, 1, 1}, {0, 5, 2, 1}, {4, 5, 1, 1}}));
    bool tooComplex = true;
    EXPECT_EQ(OpaqueRegion(bands.data(), 5, 6, 5, &tooComplex, 6).size(), 6u);
    EXPECT_FALSE(tooComplex);
    EXPECT_TRUE(OpaqueRegion(bands.data(), 5, 6, 5, &tooComplex, 5).empty());
    EXPECT_TRUE(tooComplex);

    // Padding beyond the width is never read as picture; the key is the upper-left pixel's colour.
    const std::vector<std::uint32_t> padded = {0xFF0000FF, 0xFF00FF00, 0xDEADBEEF, 0xFF00FF00, 0xFF0000FF, 0xDEADBEEF};
    EXPECT_EQ(OpaqueRegion(padded.data(), 2, 2, 3), (std::vector<PixelRect>{{1, 0, 1, 1}, {0, 1, 1, 1}}));
    EXPECT_TRUE(OpaqueRegion(nullptr, 0, 0, 0).empty());
}

TEST(ClampStartPosition, RoundingAndWindowsWiderThanTheScreen) {
    // The screen's edges themselves are checked on a real screen at start-up.
    const struct {
        int wished;
        double windowTwips, screenTwips;
        float tpp;
        int expected;
    } cases[] = {
        {-10, 22500, 15360, 15, -476}, // wider than the screen: right edges meet, left edge negative
        {10, 970, 1000, 12, 2},        // room 2.5 pixels rounds to 2
        {10, 958, 1000, 12, 4},        // room 3.5 to 4
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampStartPosition(c.wished, c.windowTwips, c.screenTwips, c.tpp), c.expected) << c.wished;
}

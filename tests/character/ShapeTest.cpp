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

// Which pixels the rectangles cover, as text rows of '#' (covered) and '.'; fails on overlaps.
std::vector<std::string> Covered(const std::vector<PixelRect>& rects, int w, int h) {
    std::vector<std::string> rows(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), '.'));
    for (const PixelRect& r : rects)
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x) {
                char& c = rows.at(static_cast<std::size_t>(y)).at(static_cast<std::size_t>(x));
                EXPECT_EQ(c, '.') << "pixel covered twice at " << x << "," << y;
                c = '#';
            }
    return rows;
}

} // namespace

TEST(OpaqueRegion, KeyColourAnywhereIsCutAwayAndRowsMergeIntoBands) {
    const std::vector<std::string> rows = {
        "..####.:",
        ".#o..o#.", // the eyes' inner pixels have the key colour: holes
        "########",
        ".######.",
    };
    const auto pixels = Picture(rows);
    const std::vector<std::string> expected = {"..####..", ".##..##.", "########", ".######."};
    EXPECT_EQ(Covered(OpaqueRegion(pixels.data(), 8, 4, 8), 8, 4), expected);

    const auto bands = Picture({".....", "##..#", "##..#", "###.#", ".....", "##..#"});
    EXPECT_EQ(OpaqueRegion(bands.data(), 5, 6, 5), (std::vector<PixelRect>{{0, 1, 2, 2}, {4, 1, 1, 2}, {0, 3, 3, 1},
                                                                          {4, 3, 1, 1}, {0, 5, 2, 1}, {4, 5, 1, 1}}));
    bool tooComplex = true;
    EXPECT_EQ(OpaqueRegion(bands.data(), 5, 6, 5, &tooComplex, 6).size(), 6u);
    EXPECT_FALSE(tooComplex);
    EXPECT_TRUE(OpaqueRegion(bands.data(), 5, 6, 5, &tooComplex, 5).empty());
    EXPECT_TRUE(tooComplex);

    // Padding beyond the width is never read as picture.
    const std::vector<std::uint32_t> padded = {0xFF0000FF, 0xFF00FF00, 0xDEADBEEF, 0xFF00FF00, 0xFF0000FF, 0xDEADBEEF};
    EXPECT_EQ(Covered(OpaqueRegion(padded.data(), 2, 2, 3), 2, 2), (std::vector<std::string>{".#", "#."}));
    EXPECT_TRUE(OpaqueRegion(nullptr, 0, 0, 0).empty());
}

TEST(ClampStartPosition, EverySide) {
    const struct {
        int wished;
        double windowTwips, screenTwips;
        float tpp;
        int expected;
    } cases[] = {
        {300, 1500, 15360, 15, 300},  // a 100 pixel window on a 1024 pixel screen: as wished
        {-20, 1500, 15360, 15, 0},    // off the left or top: to 0
        {924, 1500, 15360, 15, 924},  // right edge exactly on the screen's edge
        {925, 1500, 15360, 15, 924},  // beyond: the far edge on the screen's edge
        {-10, 22500, 15360, 15, -476}, // wider than the screen: right edges meet, left edge negative
        {10, 970, 1000, 12, 2},        // room 2.5 pixels rounds to 2
        {10, 958, 1000, 12, 4},        // room 3.5 to 4
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampStartPosition(c.wished, c.windowTwips, c.screenTwips, c.tpp), c.expected)
            << "wished " << c.wished << " window " << c.windowTwips;
}

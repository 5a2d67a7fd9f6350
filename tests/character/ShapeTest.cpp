// The outline of a character window and the clamp of its start position.
#include "character/Shape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A picture from rows of text: '.' is the key colour, '#' face, 'o' another colour.
std::vector<std::uint32_t> Picture(const std::vector<std::string>& rows) {
    std::vector<std::uint32_t> pixels;
    for (const std::string& row : rows)
        for (char c : row)
            pixels.push_back(c == '.' ? 0xFFFF00FFu : c == '#' ? 0xFFFFFF00u : 0xFF102030u);
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

TEST(OpaqueRegion, KeyColourInsideTheFaceIsCutAwayToo) {
    const std::vector<std::string> rows = {
        "..####..",
        ".#o..o#.", // the eyes' inner pixels have the key colour: holes
        "########",
        ".######.",
    };
    const auto pixels = Picture(rows);
    const auto rects = OpaqueRegion(pixels.data(), 8, 4, 8);
    const std::vector<std::string> expected = {"..####..", ".##..##.", "########", ".######."};
    EXPECT_EQ(Covered(rects, 8, 4), expected);
}

TEST(OpaqueRegion, OnlyTheColourCountsAndRowsMerge) {
    // The alpha byte differs, the colour is the key: still transparent. Equal runs merge.
    std::vector<std::uint32_t> pixels = {0xFFFF00FF, 0x00FF00FF, 0xFF000000, 0xFF000000,
                                         0xFFFF00FF, 0xFFFF00FF, 0xFF000000, 0xFF000000};
    const auto rects = OpaqueRegion(pixels.data(), 4, 2, 4);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0], (PixelRect{2, 0, 2, 2}));
}

TEST(OpaqueRegion, StrideAndEmptyPictures) {
    // Padding beyond the width is never read as picture.
    std::vector<std::uint32_t> pixels = {0xFF0000FF, 0xFF00FF00, 0xDEADBEEF, 0xFF00FF00, 0xFF0000FF, 0xDEADBEEF};
    EXPECT_EQ(Covered(OpaqueRegion(pixels.data(), 2, 2, 3), 2, 2), (std::vector<std::string>{".#", "#."}));
    EXPECT_TRUE(OpaqueRegion(nullptr, 0, 0, 0).empty());
    const std::uint32_t allKey[4] = {1, 1, 1, 1};
    EXPECT_TRUE(OpaqueRegion(allKey, 2, 2, 2).empty());
}

TEST(OpaqueRegion, ComesInBandsAndRefusesTooManyRectangles) {
    const std::vector<std::string> rows = {
        ".....",
        "##..#",
        "##..#", // the same runs: the band grows
        "###.#",
        ".....", // an empty row ends the band
        "##..#",
    };
    const auto pixels = Picture(rows);
    EXPECT_EQ(OpaqueRegion(pixels.data(), 5, 6, 5), (std::vector<PixelRect>{{0, 1, 2, 2}, {4, 1, 1, 2}, {0, 3, 3, 1},
                                                                           {4, 3, 1, 1}, {0, 5, 2, 1}, {4, 5, 1, 1}}));
    bool tooComplex = true;
    EXPECT_EQ(OpaqueRegion(pixels.data(), 5, 6, 5, &tooComplex, 6).size(), 6u);
    EXPECT_FALSE(tooComplex);
    EXPECT_TRUE(OpaqueRegion(pixels.data(), 5, 6, 5, &tooComplex, 5).empty());
    EXPECT_TRUE(tooComplex);
}

TEST(ClampStartPosition, EverySide) {
    // Screen 1024 px, window 100 px, 15 twips a pixel.
    struct Case {
        int wished, windowPx, screenPx, expected;
    } cases[] = {
        {300, 100, 1024, 300},  // on screen: as wished
        {-20, 100, 1024, 0},    // off the left or top: to 0
        {924, 100, 1024, 924},  // right edge exactly on the screen's edge
        {925, 100, 1024, 924},  // beyond: the far edge on the screen's edge
        {5000, 100, 1024, 924},
        {0, 1500, 1024, -476},  // wider than the screen: right edges meet, left edge negative
        {-10, 1500, 1024, -476}, // both tests look at the wished value: the second wins
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampStartPosition(c.wished, c.windowPx * 15.0, c.screenPx * 15.0, 15.0f), c.expected)
            << "wished " << c.wished << " window " << c.windowPx;
}

TEST(ClampStartPosition, FractionalRoomRoundsHalfToEven) {
    // 12 twips a pixel (120 dpi): room = (1000 - 970) / 12 = 2.5 px, which rounds to 2.
    EXPECT_EQ(ClampStartPosition(10, 970, 1000, 12.0f), 2);
    // room 3.5 rounds to 4.
    EXPECT_EQ(ClampStartPosition(10, 958, 1000, 12.0f), 4);
}

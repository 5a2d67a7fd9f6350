// The control panel's and the settings row's sums: window height, scroll bar, scrolling a row into
// view, title place, first placement, Add's start position and the thumbnail size.
#include "panel/PanelLayout.h"
#include "panel/SettingsRowRules.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace panel_design;

constexpr double kRow = row_design::kHeight;

TEST(PanelHeight, FitsTheRowsUpTo5820Twips) {
    // (rows, frame, twips per pixel, window height in twips, client height in pixels)
    const std::tuple<int, FrameExtents, double, double, int> cases[] = {
        // Two rows: 600 + 120 + 1470 = 2190 twips = 146 pixels of client, 4 to spare, plus the frame.
        {2, {23, 4}, 15, (146 + 4 + 27) * 15, 150},
        // At 120 dots per inch the client is 182.5 pixels, which rounds to the even 182.
        {2, {0, 0}, 12, (182 + 4) * 12, 186},
        // Ten rows would need 8070 twips: the window stops at 5820 and the frame comes off the client.
        {10, {23, 4}, 15, 5820, 361},
    };
    for (const auto& [rows, frame, tpp, windowHeight, clientPx] : cases) {
        const double h = FittedWindowHeight(kOuterTop, kOuterLeft, rows * kRow, frame, tpp);
        EXPECT_EQ(std::pair(h, ClientHeightForWindowHeight(h, frame, tpp)), std::pair(windowHeight, clientPx)) << rows;
    }
    // The scroll bar is off while the rows fit, otherwise it moves about a page per large change.
    EXPECT_EQ(ScrollBarFor(1470, 1470, 15), ScrollBarSetting{});
    EXPECT_EQ(ScrollBarFor(5100, 10 * kRow, 15), (ScrollBarSetting{true, -150, 340})); // 150 * 5100 / 2250
}

TEST(PanelScrollIntoView, BringsARowFullyIntoViewFromBelowAndFromAbove) {
    // (list top, row top, visible height, new list top or none)
    const std::tuple<double, double, double, std::optional<double>> cases[] = {
        {0, 2 * kRow, 1500, 1500 - 3 * kRow}, // partly below: its bottom meets the bottom edge
        {-705, 0, 1500, 0.0},                 // partly above: its top meets the top edge
        {0, kRow, 2 * kRow, std::nullopt},    // exactly at the bottom edge
        {-800, kRow, 500, -kRow},             // taller than the view shows its top
        // The row's place is taken to a whole twip first: 7.4 above the edge counts as 7, 0.4 as 0.
        {-7.4, 0, 1500, 0.0},
        {-0.4, 0, 1500, std::nullopt},
    };
    for (const auto& [listTop, rowTop, visible, top] : cases)
        EXPECT_EQ(ScrollIntoViewTop(listTop, rowTop, kRow, visible), top) << listTop << " " << rowTop;
    // The scroll bar's value for the new top, in whole pixels, halves to even.
    EXPECT_EQ(ScrollValueForTop(-22.5, 15), -2);
    EXPECT_EQ(ScrollValueForTop(-37.5, 15), -2);
}

TEST(PanelPlacement, FirstPlaceAndAddsStartPosition) {
    const PanelPlace place = FirstPlacement(1024 * 15, 768 * 15, kClientWidth, kClientHeight);
    EXPECT_EQ(std::tie(place.x, place.y), std::tuple((15360 - 9375) / 3.0, (11520 - 5460) / 2.0));
    // Just right of the panel, level with its top, in screen pixels; halves go to the even pixel.
    EXPECT_EQ(AddStartPosition(3022.5, 9495, 1522.5, 15, 15), (StartPositionPx{834, 102}));
    EXPECT_EQ(AddStartPosition(-1200, 960, 0, 12, 12), (StartPositionPx{-20, 0}));
}

TEST(SettingsRowRules, Thumbnail) {
    // (The target list is tried through the panel's rows.) 385 twips high with the picture's aspect; nothing for a
    // picture without pixels.
    EXPECT_EQ(ThumbnailWidth(100, 200), 192.5);
    EXPECT_EQ(ThumbnailWidth(100, 0), 0);
}

} // namespace

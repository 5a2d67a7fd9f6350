// A character's motion: the follow divisor, one tick's step and the pixel it lands on.
#include "character/Motion.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>
#include <utility>

namespace {

constexpr float kTpp = 15.0f;
constexpr double kScreenW = 800 * 15.0, kScreenH = 600 * 15.0; // an 800 x 600 pixel primary screen

// A 100 x 80 pixel window at (left, top) twips whose target is (dx, dy) twips from its centre.
MotionInput Window(double left, double top, int speedX, int speedY, double dx, double dy, bool flee) {
    return {{left, top, 1500, 1200}, {left + 750 + dx, top + 600 + dy}, false, flee, false, false,
            FollowDivisor(speedX), FollowDivisor(speedY), speedX, speedY, kTpp, kTpp, kScreenW, kScreenH};
}

// Where the window stands after one tick: its new position, or where it was when it does not move.
std::pair<double, double> After(const MotionInput& in) {
    const MotionStep s = StepCharacter(in);
    return s.moves ? std::pair{s.left, s.top} : std::pair{in.window.left, in.window.top};
}

} // namespace

TEST(FollowDivisor, MatchesTheTableOfSpeedsAndNeverFallsBelowOne) {
    // Speed, divisor and tolerance; below 1 a step would overshoot.
    const std::tuple<int, float, float> cases[] = {{5, 4823.91f, 0.005f}, {-50, 46.07f, 0.005f},
                                                   {200, 2.878f, 0.0005f}, {339, 1.0018f, 0.0001f},
                                                   {340, 1.f, 0.f}, {INT_MAX, 1.f, 0.f}, {INT_MIN, 1.f, 0.f}};
    for (const auto& [speed, divisor, tolerance] : cases)
        EXPECT_NEAR(FollowDivisor(speed), divisor, tolerance) << "speed " << speed;
    EXPECT_TRUE(std::isinf(FollowDivisor(0)) && FollowDivisor(0) > 0);
}

TEST(StepCharacter, FollowAndRunAwayAtTheirLimits) {
    constexpr double kRight = kScreenW - 1500, kBottom = kScreenH - 1200;
    const struct {
        double left, top;
        int speedX, speedY;
        double dx, dy;
        bool flee;
        double wantLeft, wantTop;
        const char* what;
    } cases[] = {
        // Following stops once the target is on the window's extent (half extents 750 and 600).
        {3000, 3000, 50, 50, 750, -600, false, 3000, 3000, "on the extent's corner"},
        {3000, 3000, 50, 50, -751, 0, false, 3000 - 751 / 46.0729, 3000, "just left of it"},
        {3000, 3000, 50, 50, 0, 601, false, 3000, 3000 + 601 / 46.0729, "just below it"},
        {kRight, 3000, 200, 200, 6750, 0, false, kRight + 6750 / 2.878314, 3000, "off the screen's right edge"},
        {3000, 3000, 30, 0, 3000, 3000, false, 3000 + 3000 / 128.085, 3000, "speed 0 on one axis"},
        {3000, 3000, -200, -200, 3000, 0, false, 3000 + 3000 / 2.878314, 3000, "a negative speed as its size"},
        // Running away shrinks with the square of the distance in units of speed / 1.5 pixels.
        {3000, 3000, 30, 30, 0, 0, true, 3000, 3000, "on the centre: dist 0 counts as 1, the offset is 0"},
        {3000, 3000, 30, 30, -15, 0, true, 3015, 3000, "one pixel left: the full offset"},
        {6000, 3000, 30, 30, -285, 0, true, 6285, 3000, "19 pixels, under one unit: the full offset"},
        {6000, 3000, 30, 30, -300, 0, true, 6075, 3000, "one unit: a quarter"},
        {6000, 3000, -30, -30, -3000, 15, true, 6000 + 3000 / 121.0, 3000 - 15 / 121.0, "ten units: a 121st"},
        {3000, 3000, 30, 0, -15, -15, true, 3015, 3000, "speed 0 on one axis"},
        // ... and stays on the screen.
        {0, 0, 30, 30, 15, 15, true, 0, 0, "the upper left corner"},
        {kRight, kBottom, 30, 30, -15, -15, true, kRight, kBottom, "the lower right corner"},
        {30, kBottom - 30, 30, 30, 60, -60, true, 0, kBottom, "near the lower left corner"},
    };
    for (const auto& c : cases) {
        const auto [left, top] = After(Window(c.left, c.top, c.speedX, c.speedY, c.dx, c.dy, c.flee));
        EXPECT_NEAR(left, c.wantLeft, 0.01) << c.what;
        EXPECT_NEAR(top, c.wantTop, 0.01) << c.what;
    }
    // Standing still, dragged or minimised, neither follower nor runner moves.
    for (int which = 0; which < 6; ++which) {
        MotionInput in = Window(3000, 3000, 200, 200, which < 3 ? 6000 : -15, 3000, which % 2 == 0);
        in.standsStill = which % 3 == 0;
        in.dragging = which % 3 == 1;
        in.minimised = which % 3 == 2;
        EXPECT_EQ(After(in), std::pair(3000.0, 3000.0)) << "case " << which;
    }
}

TEST(TwipsToPixel, NearestPixelHalvesToEven) {
    // A step under half a pixel leaves the window on its pixel.
    const std::pair<double, int> cases[] = {{3007.4, 200}, {3007.5, 200}, {3022.5, 202}, {-7.5, 0}, {-22.5, -2}};
    for (const auto& [twips, pixel] : cases)
        EXPECT_EQ(TwipsToPixel(twips, kTpp), pixel) << twips;
    // At 192 dots per inch a pixel is 7.5 twips: a pointer at (1, 3) is at (8, 22) twips.
    const TargetPoint h = PointerTarget(1, 3, 7.5f, 7.5f);
    EXPECT_EQ(std::pair(h.tx, h.ty), std::pair(8.0, 22.0));
}

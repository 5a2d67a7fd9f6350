// A character's motion: the follow divisor, the target, one tick's step and the pixel it lands on.
#include "character/Motion.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr float kTpp = 15.0f;
constexpr double kScreenW = 800 * 15.0, kScreenH = 600 * 15.0; // an 800 x 600 pixel primary screen

// A 100 x 80 pixel window at (left, top) twips whose target is (dx, dy) twips from its centre.
MotionInput Window(double left, double top, int speedX, int speedY, double dx = 0, double dy = 0, bool flee = false) {
    MotionInput in;
    in.window = {left, top, 1500, 1200};
    in.target = {left + 750 + dx, top + 600 + dy};
    in.flee = flee;
    in.speedX = speedX;
    in.speedY = speedY;
    in.factorX = FollowDivisor(speedX);
    in.factorY = FollowDivisor(speedY);
    in.tppx = in.tppy = kTpp;
    in.screenWidth = kScreenW;
    in.screenHeight = kScreenH;
    return in;
}

// Where the window stands after one tick: its new position, or where it was when it does not move.
std::pair<double, double> After(const MotionInput& in) {
    const MotionStep s = StepCharacter(in);
    return s.moves ? std::pair{s.left, s.top} : std::pair{in.window.left, in.window.top};
}

// A character window that is nothing but its geometry and state, for the target search.
class FakeWindow : public CharacterWindowBase {
public:
    FakeWindow(int index, int fixed, TwipsRect geometry) : geometry_(geometry) {
        mMyIndex = index;
        mFixed = fixed;
    }
    void MakeWindowRegion() override {}
    void SetCuriouSpeed() override {}
    void SetWindowStyle() override {}
    void RefreshImage() override {}
    void Unload() override {}
    TwipsRect GeometryTwips() const override { return geometry_; }
    bool IsShown() const override { return shown; }
    bool IsMinimised() const override { return minimised; }
    bool shown = true, minimised = false;

private:
    TwipsRect geometry_;
};

} // namespace

TEST(FollowDivisor, MatchesTheTableOfSpeedsAndNeverFallsBelowOne) {
    const struct {
        int speed;
        float divisor, tolerance;
    } cases[] = {{5, 4823.91f, 0.005f}, {20, 288.65f, 0.005f},  {50, 46.07f, 0.005f},
                 {100, 11.51f, 0.005f}, {200, 2.878f, 0.0005f}, {339, 1.0018f, 0.0001f}};
    for (const auto& c : cases) {
        EXPECT_NEAR(FollowDivisor(c.speed), c.divisor, c.tolerance) << "speed " << c.speed;
        EXPECT_EQ(FollowDivisor(-c.speed), FollowDivisor(c.speed)) << "speed " << -c.speed;
    }
    // Below 1 a step would overshoot; a hand-edited vertical speed can be anything.
    for (const int speed : {340, 100000000, INT_MAX, INT_MIN})
        EXPECT_EQ(FollowDivisor(speed), 1.0f) << speed;
    EXPECT_TRUE(std::isinf(FollowDivisor(0)) && FollowDivisor(0) > 0);
}

TEST(FindTarget, ThePointerUnlessAnotherCharacterIsShownThenItsCentre) {
    FakeWindow self(2, 1, {0, 0, 1500, 1200});
    // 100 x 81 pixels at (200, 100): the centre's vertical half twip goes to the even neighbour.
    FakeWindow other(1, 0, {3000, 1500, 1500, 1215});
    const std::vector<CharacterWindowBase*> windows = {nullptr, &other, &self};
    const auto target = [&] {
        const TargetPoint t = FindTarget(self, windows, 10, 20, kTpp, kTpp);
        return std::pair{t.tx, t.ty};
    };
    const std::pair<double, double> centre{3750, 2108}, pointer{150, 300};
    EXPECT_EQ(target(), centre);
    other.shown = false;
    EXPECT_EQ(target(), pointer) << "hidden";
    other.shown = true;
    other.minimised = true;
    EXPECT_EQ(target(), pointer) << "minimised";
    other.minimised = false;
    EXPECT_EQ(target(), centre) << "restored";
    for (const int fixed : {0, 2, 5}) { // the pointer, itself, a character beyond the table
        self.mFixed = fixed;
        EXPECT_EQ(target(), pointer) << "target " << fixed;
    }
    // At 192 dots per inch a pixel is 7.5 twips: 7.5 goes to 8, 22.5 to 22.
    const TargetPoint h = PointerTarget(1, 3, 7.5f, 7.5f);
    EXPECT_EQ(std::pair(h.tx, h.ty), std::pair(8.0, 22.0));
}

TEST(StepCharacter, WorkedExamples) {
    MotionInput follow = Window(0, 0, 50, 50);
    follow.target = PointerTarget(500, 40, kTpp, kTpp);
    const MotionStep f = StepCharacter(follow);
    ASSERT_TRUE(f.moves);
    EXPECT_NEAR(f.left, 146.5, 0.05);
    EXPECT_EQ(f.top, 0);
    EXPECT_EQ(TwipsToPixel(f.left, kTpp), 10);

    MotionInput flee = Window(3000, 0, 30, 30, 0, 0, true);
    flee.target = PointerTarget(190, 40, kTpp, kTpp);
    const MotionStep r = StepCharacter(flee);
    ASSERT_TRUE(r.moves);
    EXPECT_DOUBLE_EQ(r.left, 3056.25);
    EXPECT_EQ(r.top, 0);
}

TEST(StepCharacter, FollowStopsOnceTheTargetIsInsideTheWindowsExtent) {
    // Half extents 750 and 600; the boundary counts as inside.
    const struct {
        double dx, dy;
        bool moves;
    } cases[] = {{0, 0, false},  {750, 0, false}, {-750, 600, false}, {749, -599, false}, {0, -600, false},
                 {751, 0, true}, {-751, 0, true}, {0, 601, true},     {0, -601, true}};
    for (const auto& c : cases) {
        const MotionInput in = Window(3000, 3000, 50, 50, c.dx, c.dy);
        EXPECT_EQ(After(in) != std::pair(3000.0, 3000.0), c.moves)
            << "target at centre + (" << c.dx << ", " << c.dy << ")";
    }
}

TEST(StepCharacter, FollowStepsBothAxesBySpeedAndIsNotHeldOnTheScreen) {
    const struct {
        double left, top;
        int speedX, speedY;
        double dx, dy, wantLeft, wantTop;
        const char* what;
    } cases[] = {
        {3000, 3000, 200, 100, 3000, -100, 3000 + 3000 / 2.878314, 3000 - 100 / 11.514251, "y inside the extent"},
        {kScreenW - 1500, 3000, 200, 200, 6750, 0, kScreenW - 1500 + 6750 / 2.878314, 3000, "beyond the right edge"},
        {0, 0, 200, 200, -6750, -6600, -6750 / 2.878314, -6600 / 2.878314, "beyond the upper left corner"},
        {3000, 3000, 5, 5, 6000, 0, 3000 + 6000 / 4823.9097, 3000, "speed 5 creeps"},
    };
    for (const auto& c : cases) {
        const auto [left, top] = After(Window(c.left, c.top, c.speedX, c.speedY, c.dx, c.dy));
        EXPECT_NEAR(left, c.wantLeft, 0.01) << c.what;
        EXPECT_NEAR(top, c.wantTop, 0.01) << c.what;
    }
    // A step under half a pixel leaves the window on its pixel.
    EXPECT_EQ(TwipsToPixel(3000 + 6000 / 4823.9097, kTpp), 200);
}

TEST(StepCharacter, RunAwayShrinksWithTheSquareOfTheDistanceAndStaysOnTheScreen) {
    const struct {
        double left, top, dx, dy, wantLeft, wantTop;
        const char* what;
    } cases[] = {
        {3000, 3000, 0, 0, 3000, 3000, "on the centre: dist 0 counts as 1, the offset is 0"},
        {3000, 3000, -15, 0, 3015, 3000, "one pixel left: the full offset"},
        {3000, 3000, 15, 15, 2985, 2985, "one pixel right and below"},
        {6000, 3000, -285, 0, 6285, 3000, "19 pixels, under one 20-pixel unit: the full offset"},
        {6000, 3000, -300, 0, 6075, 3000, "one unit: a quarter"},
        {6000, 3000, -3000, 0, 6000 + 3000 / 121.0, 3000, "ten units: a 121st"},
        {0, 0, 15, 15, 0, 0, "pushed into the upper left corner"},
        {kScreenW - 1500, kScreenH - 1200, -15, -15, kScreenW - 1500, kScreenH - 1200, "the lower right corner"},
        {kScreenW - 1500, 0, -15, 15, kScreenW - 1500, 0, "the upper right corner"},
        {30, kScreenH - 1230, 60, -60, 0, kScreenH - 1200, "near the lower left corner"},
    };
    for (const auto& c : cases) {
        const auto [left, top] = After(Window(c.left, c.top, 30, 30, c.dx, c.dy, true));
        EXPECT_NEAR(left, c.wantLeft, 1e-3) << c.what;
        EXPECT_NEAR(top, c.wantTop, 1e-3) << c.what;
    }
}

TEST(StepCharacter, StandingDraggedOrMinimisedNeverMove) {
    for (int which = 0; which < 6; ++which) {
        MotionInput in = Window(3000, 3000, 200, 200, which < 3 ? 6000 : -15, 3000, which % 2 == 0);
        in.standsStill = which % 3 == 0;
        in.dragging = which % 3 == 1;
        in.minimised = which % 3 == 2;
        EXPECT_EQ(After(in), std::pair(3000.0, 3000.0)) << "case " << which;
    }
}

TEST(StepCharacter, ZeroAndNegativeSpeeds) {
    // Speed 0 gives no step on its axis, in both behaviours.
    EXPECT_EQ(After(Window(3000, 3000, 30, 0, -15, -15, true)), std::pair(3015.0, 3000.0));
    const auto [left, top] = After(Window(3000, 3000, 30, 0, 3000, 3000));
    EXPECT_GT(left, 3000);
    EXPECT_EQ(top, 3000);
    // A negative speed acts as its absolute value.
    for (const bool flee : {false, true})
        EXPECT_EQ(After(Window(3000, 3000, -30, -30, -1000, 2000, flee)),
                  After(Window(3000, 3000, 30, 30, -1000, 2000, flee)))
            << "flee " << flee;
}

TEST(TwipsToPixel, NearestPixelHalvesToEven) {
    const std::pair<double, int> cases[] = {{146.5, 10},   {3007.4, 200}, {3007.5, 200},
                                            {3022.5, 202}, {-7.5, 0},     {-22.5, -2}};
    for (const auto& [twips, pixel] : cases)
        EXPECT_EQ(TwipsToPixel(twips, kTpp), pixel) << twips;
}

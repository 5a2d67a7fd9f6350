// A character's motion: the follow divisor, the target, one tick's step and the pixel it lands on.
#include "character/Motion.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr float kTpp = 15.0f;
// An 800 x 600 pixel primary screen, in twips.
constexpr double kScreenW = 800 * 15.0, kScreenH = 600 * 15.0;

// A 100 x 80 pixel window at (left, top) twips, following with both speeds s.
MotionInput Window(double left, double top, int speedX = 50, int speedY = 50) {
    MotionInput in;
    in.window = {left, top, 1500, 1200};
    in.speedX = speedX;
    in.speedY = speedY;
    in.factorX = FollowDivisor(speedX);
    in.factorY = FollowDivisor(speedY);
    in.tppx = in.tppy = kTpp;
    in.screenWidth = kScreenW;
    in.screenHeight = kScreenH;
    return in;
}

struct Landed {
    double left, top;
};

// Where the window stands after the step: its new position, or where it was when it does not move.
Landed After(const MotionInput& in, const MotionStep& step) {
    return step.moves ? Landed{step.left, step.top} : Landed{in.window.left, in.window.top};
}

// The target at the centre of the window plus (dx, dy) twips.
TargetPoint FromCentre(const MotionInput& in, double dx, double dy) {
    return {in.window.left + in.window.width / 2 + dx, in.window.top + in.window.height / 2 + dy};
}

// A character window that is nothing but its geometry and state, for the target search.
class FakeWindow : public CharacterWindowBase {
public:
    FakeWindow(int index, int fixed, TwipsRect geometry = {}) : geometry_(geometry) {
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

    bool shown = true;
    bool minimised = false;

private:
    TwipsRect geometry_;
};

} // namespace

TEST(FollowDivisor, MatchesTheTableOfSpeeds) {
    const struct {
        int speed;
        float divisor;
        float tolerance;
    } cases[] = {{5, 4823.91f, 0.005f}, {10, 1164.65f, 0.005f}, {20, 288.65f, 0.005f},
                 {50, 46.07f, 0.005f},  {100, 11.51f, 0.005f},  {200, 2.878f, 0.0005f}};
    for (const auto& c : cases) {
        EXPECT_NEAR(FollowDivisor(c.speed), c.divisor, c.tolerance) << "speed " << c.speed;
        EXPECT_EQ(FollowDivisor(-c.speed), FollowDivisor(c.speed)) << "speed " << -c.speed;
    }
    EXPECT_TRUE(std::isinf(FollowDivisor(0)));
    EXPECT_GT(FollowDivisor(0), 0.0f);
}

TEST(FollowDivisor, NeverBelowOneSoAStepNeverOvershoots) {
    // The formula falls below 1 just above speed 339; a hand-edited vertical speed can be anything.
    EXPECT_NEAR(FollowDivisor(339), 1.0018f, 0.0001f);
    for (const int speed : {340, 500, 1000, 100000000, INT_MAX, -INT_MAX, INT_MIN})
        EXPECT_EQ(FollowDivisor(speed), 1.0f) << speed;
}

TEST(PointerTarget, PixelsBecomeWholeTwipsHalvesToEven) {
    const TargetPoint t = PointerTarget(500, 40, 15, 15);
    EXPECT_EQ(t.tx, 7500);
    EXPECT_EQ(t.ty, 600);
    // At 192 dots per inch a pixel is 7.5 twips: 7.5 goes to 8, 22.5 to 22.
    const TargetPoint h = PointerTarget(1, 3, 7.5f, 7.5f);
    EXPECT_EQ(h.tx, 8);
    EXPECT_EQ(h.ty, 22);
}

TEST(FindTarget, PointerTheCharacterItselfOrTheCentreOfAnother) {
    FakeWindow self(1, 2, {0, 0, 1500, 1200});
    // 100 x 81 pixels at (200, 100): the centre's vertical half twip goes to the even neighbour.
    FakeWindow other(2, 0, {3000, 1500, 1500, 1215});
    const std::vector<CharacterWindowBase*> windows = {nullptr, &self, &other};

    TargetPoint t = FindTarget(self, windows, 10, 20, kTpp, kTpp);
    EXPECT_EQ(t.tx, 3750);
    EXPECT_EQ(t.ty, 2108); // 2107.5

    const struct {
        int fixed;
        const char* what;
    } pointerCases[] = {
        {0, "the pointer"}, {1, "itself: stands and looks at the pointer"}, {5, "a character beyond the table"}};
    for (const auto& c : pointerCases) {
        self.mFixed = c.fixed;
        t = FindTarget(self, windows, 10, 20, kTpp, kTpp);
        EXPECT_EQ(t.tx, 150) << c.what;
        EXPECT_EQ(t.ty, 300) << c.what;
    }
}

TEST(FindTarget, HiddenOrMinimisedTargetTurnsToThePointerAndBack) {
    FakeWindow self(2, 1, {0, 0, 1500, 1200});
    FakeWindow other(1, 0, {6000, 3000, 1500, 1200});
    const std::vector<CharacterWindowBase*> windows = {nullptr, &other, &self};
    auto target = [&] {
        const TargetPoint t = FindTarget(self, windows, 40, 60, kTpp, kTpp);
        return std::vector<double>{t.tx, t.ty};
    };
    const std::vector<double> centre = {6750, 3600}, pointer = {600, 900};

    EXPECT_EQ(target(), centre);
    other.shown = false;
    EXPECT_EQ(target(), pointer) << "hidden";
    other.shown = true;
    EXPECT_EQ(target(), centre) << "shown again";
    other.minimised = true;
    EXPECT_EQ(target(), pointer) << "minimised";
    other.minimised = false;
    EXPECT_EQ(target(), centre) << "restored";
}

TEST(StepCharacter, FollowWorkedExample) {
    MotionInput in = Window(0, 0);
    in.target = PointerTarget(500, 40, kTpp, kTpp);
    const MotionStep step = StepCharacter(in);
    ASSERT_TRUE(step.moves);
    EXPECT_NEAR(step.left, 146.5, 0.05);
    EXPECT_EQ(step.top, 0);
    EXPECT_EQ(TwipsToPixel(step.left, kTpp), 10);
}

TEST(StepCharacter, RunAwayWorkedExample) {
    MotionInput in = Window(3000, 0, 30, 30);
    in.flee = true;
    in.target = PointerTarget(190, 40, kTpp, kTpp);
    const MotionStep step = StepCharacter(in);
    ASSERT_TRUE(step.moves);
    EXPECT_DOUBLE_EQ(step.left, 3056.25);
    EXPECT_EQ(step.top, 0);
}

TEST(StepCharacter, FollowStopsOnceTheTargetIsInsideTheWindowsExtent) {
    // Window 1500 x 1200 twips: half extents 750 and 600; the boundary counts as inside.
    const struct {
        double dx, dy;
        bool moves;
    } cases[] = {
        {0, 0, false},  {750, 0, false}, {-750, 600, false}, {749, -599, false}, {0, -600, false},
        {751, 0, true}, {-751, 0, true}, {0, 601, true},     {0, -601, true},    {-5000, 4000, true},
    };
    for (const auto& c : cases) {
        MotionInput in = Window(3000, 3000);
        in.target = FromCentre(in, c.dx, c.dy);
        const Landed at = After(in, StepCharacter(in));
        const bool moved = at.left != in.window.left || at.top != in.window.top;
        EXPECT_EQ(moved, c.moves) << "target at centre + (" << c.dx << ", " << c.dy << ")";
    }
}

TEST(StepCharacter, FollowMovesBothAxesOnceItMoves) {
    // The vertical offset lies within the extent, the horizontal one not: both axes step.
    MotionInput in = Window(3000, 3000, 200, 100);
    in.target = FromCentre(in, 3000, -100);
    const MotionStep step = StepCharacter(in);
    ASSERT_TRUE(step.moves);
    EXPECT_NEAR(step.left, 3000 + 3000 / 2.878314, 0.01);
    EXPECT_NEAR(step.top, 3000 - 100 / 11.514251, 0.001);
}

TEST(StepCharacter, FollowIsNotHeldOnTheScreen) {
    // Towards a target beyond the right edge and one beyond the upper left corner.
    MotionInput right = Window(kScreenW - 1500, 3000, 200, 200);
    right.target = {kScreenW + 6000, 3600};
    const Landed r = After(right, StepCharacter(right));
    EXPECT_NEAR(r.left, kScreenW - 1500 + 6750 / 2.878314, 0.05);
    EXPECT_GT(r.left + 1500, kScreenW);

    MotionInput left = Window(0, 0, 200, 200);
    left.target = {-6000, -6000};
    const Landed l = After(left, StepCharacter(left));
    EXPECT_LT(l.left, 0);
    EXPECT_LT(l.top, 0);
}

TEST(StepCharacter, FollowSpeedsCreepAndClose) {
    // Speed 5 creeps: under half a pixel, the window keeps its pixel. Speed 200 closes about a
    // third of the offset per tick.
    MotionInput slow = Window(3000, 3000, 5, 5);
    slow.target = FromCentre(slow, 6000, 0);
    const MotionStep s = StepCharacter(slow);
    ASSERT_TRUE(s.moves);
    EXPECT_NEAR(s.left - 3000, 6000 / 4823.9097, 0.001);
    EXPECT_EQ(TwipsToPixel(s.left, kTpp), 200);

    MotionInput fast = Window(3000, 3000, 200, 200);
    fast.target = FromCentre(fast, 6000, -3000);
    const MotionStep f = StepCharacter(fast);
    ASSERT_TRUE(f.moves);
    EXPECT_NEAR((f.left - 3000) / 6000, 0.3474, 0.001);
    EXPECT_NEAR((3000 - f.top) / 3000, 0.3474, 0.001);
}

TEST(StepCharacter, RunAwayFromTheCentreAndFromOnePixel) {
    // On the centre: dist 0 counts as 1 and the offset is 0, so the window stays.
    MotionInput on = Window(3000, 3000, 30, 30);
    on.flee = true;
    on.target = FromCentre(on, 0, 0);
    const Landed o = After(on, StepCharacter(on));
    EXPECT_EQ(o.left, 3000);
    EXPECT_EQ(o.top, 3000);

    // One pixel left of and one above the centre: the window jumps the full offset.
    const struct {
        double dx, dy, left, top;
    } cases[] = {{-15, 0, 3015, 3000}, {0, -15, 3000, 3015}, {15, 15, 2985, 2985}};
    for (const auto& c : cases) {
        MotionInput in = Window(3000, 3000, 30, 30);
        in.flee = true;
        in.target = FromCentre(in, c.dx, c.dy);
        const Landed at = After(in, StepCharacter(in));
        EXPECT_EQ(at.left, c.left) << "target at centre + (" << c.dx << ", " << c.dy << ")";
        EXPECT_EQ(at.top, c.top) << "target at centre + (" << c.dx << ", " << c.dy << ")";
    }
}

TEST(StepCharacter, RunAwayShrinksWithTheSquareOfTheDistanceInSpeedUnits) {
    // Speed 30: a unit of 20 pixels. At ten units (200 pixels) k is 11: a 121st of the offset.
    MotionInput in = Window(6000, 3000, 30, 30);
    in.flee = true;
    in.target = FromCentre(in, -3000, 0);
    const MotionStep step = StepCharacter(in);
    ASSERT_TRUE(step.moves);
    EXPECT_NEAR(step.left, 6000 + 3000 / 121.0, 1e-3);
    EXPECT_EQ(step.top, 3000);
    // Just under one unit (19 pixels) still jumps the whole offset; one unit is a quarter.
    in.target = FromCentre(in, -285, 0);
    EXPECT_DOUBLE_EQ(StepCharacter(in).left, 6285);
    in.target = FromCentre(in, -300, 0);
    EXPECT_DOUBLE_EQ(StepCharacter(in).left, 6075);
}

TEST(StepCharacter, RunAwayIsHeldOnThePrimaryScreen) {
    // Pushed into a corner, the window stays with its edges on the screen's edges.
    const struct {
        double left, top, dx, dy, wantLeft, wantTop;
        const char* corner;
    } cases[] = {
        {0, 0, 15, 15, 0, 0, "upper left"},
        {kScreenW - 1500, kScreenH - 1200, -15, -15, kScreenW - 1500, kScreenH - 1200, "lower right"},
        {kScreenW - 1500, 0, -15, 15, kScreenW - 1500, 0, "upper right"},
        {30, kScreenH - 1230, 60, -60, 0, kScreenH - 1200, "near the lower left"},
    };
    for (const auto& c : cases) {
        MotionInput in = Window(c.left, c.top, 30, 30);
        in.flee = true;
        in.target = FromCentre(in, c.dx, c.dy);
        const Landed at = After(in, StepCharacter(in));
        EXPECT_EQ(at.left, c.wantLeft) << c.corner;
        EXPECT_EQ(at.top, c.wantTop) << c.corner;
    }
}

TEST(StepCharacter, StandingDraggedOrMinimisedNeverMove) {
    for (const bool flee : {false, true}) {
        for (int which = 0; which < 3; ++which) {
            MotionInput in = Window(3000, 3000, 200, 200);
            in.flee = flee;
            in.standsStill = which == 0;
            in.dragging = which == 1;
            in.minimised = which == 2;
            for (const double d : {-15.0, 15.0, 6000.0, -6000.0}) {
                in.target = FromCentre(in, d, d / 2);
                const Landed at = After(in, StepCharacter(in));
                EXPECT_EQ(at.left, 3000) << "flee " << flee << " case " << which << " offset " << d;
                EXPECT_EQ(at.top, 3000) << "flee " << flee << " case " << which << " offset " << d;
            }
        }
    }
}

TEST(StepCharacter, ZeroAndNegativeSpeeds) {
    // Running away at vertical speed 0: no vertical step, the horizontal one as usual.
    MotionInput zero = Window(3000, 3000, 30, 0);
    zero.flee = true;
    zero.target = FromCentre(zero, -15, -15);
    Landed at = After(zero, StepCharacter(zero));
    EXPECT_EQ(at.left, 3015);
    EXPECT_EQ(at.top, 3000);

    // Following at vertical speed 0: no vertical motion.
    zero.flee = false;
    zero.target = FromCentre(zero, 3000, 3000);
    at = After(zero, StepCharacter(zero));
    EXPECT_GT(at.left, 3000);
    EXPECT_EQ(at.top, 3000);

    // A negative speed acts as its absolute value in both behaviours.
    for (const bool flee : {false, true}) {
        MotionInput neg = Window(3000, 3000, -30, -30);
        MotionInput pos = Window(3000, 3000, 30, 30);
        neg.flee = pos.flee = flee;
        neg.target = pos.target = FromCentre(pos, -1000, 2000);
        const Landed n = After(neg, StepCharacter(neg));
        const Landed p = After(pos, StepCharacter(pos));
        EXPECT_EQ(n.left, p.left) << "flee " << flee;
        EXPECT_EQ(n.top, p.top) << "flee " << flee;
    }
}

TEST(StepCharacter, AnySpeedGivesAFinitePosition) {
    // The file passes the vertical speed on unchanged: whatever it is, no step divides by zero or
    // puts the window at an infinite or undefined place.
    const int speeds[] = {0, 1, -1, 5, 200, 100000, INT_MAX, INT_MIN, -5};
    for (const int speed : speeds) {
        for (const bool flee : {false, true}) {
            for (const double d : {0.0, 15.0, 3000.0}) {
                MotionInput in = Window(3000, 3000, 30, speed);
                in.flee = flee;
                in.target = FromCentre(in, 6000, d); // moves in both behaviours
                const Landed at = After(in, StepCharacter(in));
                EXPECT_TRUE(std::isfinite(at.left) && std::isfinite(at.top))
                    << "speed " << speed << " flee " << flee << " dy " << d << ": (" << at.left << ", " << at.top
                    << ")";
            }
        }
    }
}

TEST(StepCharacter, AFollowerWithAHugeSpeedStillComesToRest) {
    // Tick after tick towards a still pointer: the offset never grows and the window stops with
    // the pointer inside it, for every vertical speed a file may hold.
    for (const int speedY : {5, 200, 300, 500, 1000, INT_MAX}) {
        MotionInput in = Window(0, 0, 200, speedY);
        in.target = {9000, 7000};
        double lastDy = std::abs(in.window.top + 600 - in.target.ty);
        int ticks = 0;
        for (; ticks < 2000; ++ticks) {
            const MotionStep step = StepCharacter(in);
            const double left = TwipsToPixel(step.left, kTpp) * 15.0, top = TwipsToPixel(step.top, kTpp) * 15.0;
            if (!step.moves || (left == in.window.left && top == in.window.top))
                break;
            in.window.left = left;
            in.window.top = top;
            const double dy = std::abs(in.window.top + 600 - in.target.ty);
            ASSERT_LE(dy, lastDy) << "speed " << speedY << " tick " << ticks;
            lastDy = dy;
        }
        EXPECT_LT(ticks, 2000) << "speed " << speedY;
        EXPECT_LE(std::abs(in.window.left + 750 - in.target.tx), 750) << "speed " << speedY;
        if (speedY >= 200) {
            EXPECT_LE(lastDy, 600) << "speed " << speedY;
        }
    }
}

TEST(TwipsToPixel, NearestPixelHalvesToEven) {
    const struct {
        double twips;
        int pixel;
    } cases[] = {{146.5, 10}, {3007.4, 200}, {3007.5, 200}, {3022.5, 202}, {-7.5, 0}, {-22.5, -2}, {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TwipsToPixel(c.twips, kTpp), c.pixel) << c.twips;
}

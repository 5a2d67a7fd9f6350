// The painted eyes: where each iris sits, which rectangles are restored, and when nothing is drawn.
#include "character/Gaze.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ostream>

// Found by argument lookup, so a failed comparison prints the box.
static std::ostream& operator<<(std::ostream& out, const EllipseBox& b) {
    return out << "(" << b.left << ", " << b.top << ")-(" << b.right << ", " << b.bottom << ")";
}

namespace {

constexpr float kTpp = 15.0f;

// The ellipse box centred on pixel (x, y) for an iris of the given diameters.
EllipseBox CentredOn(int x, int y, int diamX, int diamY) {
    const double left = std::floor(x - diamX / 2.0), top = std::floor(y - diamY / 2.0);
    return {left, top, left + diamX, top + diamY};
}

// The eyes of the worked example: eye 1 at (30, 40), 20 x 14, iris 8 x 8, in a 100 x 80 window;
// eye 2 at the same height further right, far enough that the rectangles do not meet.
GazeInput Example(double tx, double ty, double left = 0, double top = 0) {
    GazeInput in;
    in.eyes[0] = {30, 40, 20, 14, 8, 8};
    in.eyes[1] = {70, 40, 20, 14, 8, 8};
    in.irisWidth = 2;
    in.target = {tx, ty};
    in.left = left;
    in.top = top;
    in.windowWidthPx = 100;
    in.windowHeightPx = 80;
    in.tppx = in.tppy = kTpp;
    return in;
}

} // namespace

TEST(ComputeGaze, WorkedExample) {
    GazeFrame f = ComputeGaze(Example(15000, 600));
    ASSERT_TRUE(f.repaint);
    EXPECT_TRUE(f.erase[0]);
    EXPECT_EQ(f.eraseRect[0], (PixelRect{14, 27, 31, 25}));
    EXPECT_EQ(f.iris[0], (EllipseBox{36, 36, 44, 44})) << f.iris[0];
    EXPECT_FLOAT_EQ(f.offsets.dx[0], -14550);
    EXPECT_FLOAT_EQ(f.offsets.dy[0], 0);

    f = ComputeGaze(Example(525, 675));
    ASSERT_TRUE(f.repaint);
    EXPECT_EQ(f.iris[0], CentredOn(35, 45, 8, 8)) << f.iris[0];
    EXPECT_FLOAT_EQ(f.offsets.dx[0], -75);
    EXPECT_FLOAT_EQ(f.offsets.dy[0], -75);
}

TEST(ComputeGaze, TheWindowsPositionCountsAndTheRectanglesDoNot) {
    // The same picture moved to (1500, 3000) twips with the target moved along: the same
    // irises, relative to the window.
    const GazeFrame at0 = ComputeGaze(Example(525, 675));
    const GazeFrame moved = ComputeGaze(Example(525 + 1500, 675 + 3000, 1500, 3000));
    EXPECT_EQ(moved.iris[0], at0.iris[0]) << moved.iris[0];
    EXPECT_EQ(moved.iris[1], at0.iris[1]) << moved.iris[1];
    EXPECT_EQ(moved.eraseRect[0], at0.eraseRect[0]);
    EXPECT_EQ(moved.eraseRect[1], at0.eraseRect[1]);
}

TEST(ComputeGaze, IrisPlacesForTypicalTargets) {
    const struct {
        double tx, ty;
        int x1, y1, x2, y2; // iris centres in window pixels
        const char* what;
    } cases[] = {
        // Far right at the eyes' height: half an eye diameter right of each eye centre.
        {15000, 600, 40, 40, 80, 40, "far right"},
        {-15000, 600, 20, 40, 60, 40, "far left"},
        // Straight above and below, far away: half the vertical diameter.
        {450, -60000, 30, 33, 70, 33, "far above eye 1"},
        {1050, 60000, 30, 47, 70, 47, "far below eye 2"},
        // On an eye's centre: that iris on the centre.
        {450, 600, 30, 40, 60, 40, "on eye 1's centre"},
        {1050, 600, 40, 40, 70, 40, "on eye 2's centre"},
        // In the corners of the eye rectangles, outside the ellipse: the iris on the target.
        {600, 705, 40, 47, 60, 42, "eye 1's lower right corner"},
        {900, 495, 40, 38, 60, 33, "eye 2's upper left corner"},
    };
    for (const auto& c : cases) {
        const GazeFrame f = ComputeGaze(Example(c.tx, c.ty));
        ASSERT_TRUE(f.repaint) << c.what;
        EXPECT_EQ(f.iris[0], CentredOn(c.x1, c.y1, 8, 8)) << c.what << ": iris 1 is " << f.iris[0];
        EXPECT_EQ(f.iris[1], CentredOn(c.x2, c.y2, 8, 8)) << c.what << ": iris 2 is " << f.iris[1];
    }
}

TEST(ComputeGaze, JustOutsideTheCornerTheIrisReturnsToTheEllipse) {
    // One pixel beyond eye 1's lower right corner on both axes: on the ellipse, towards the target.
    const GazeFrame f = ComputeGaze(Example(615, 720));
    const double dx = -165, dy = -120, dist = std::sqrt(dx * dx + dy * dy);
    const double x = std::nearbyint(450 - dx / dist * 150), y = std::nearbyint(600 - dy / dist * 105);
    EXPECT_EQ(f.iris[0], CentredOn(int(std::nearbyint(x / 15)), int(std::nearbyint(y / 15)), 8, 8)) << f.iris[0];
    EXPECT_EQ(f.iris[0], CentredOn(38, 44, 8, 8)) << f.iris[0];
}

TEST(ComputeGaze, EyeOneSitsOneTwipUpAndLeftOfTheTarget) {
    // A target character's centre at 38 twips: eye 1 takes 37 (pixel 2.47, so 2), eye 2 takes 38
    // (pixel 2.53, so 3).
    GazeInput in = Example(38, 38);
    in.eyes[0] = {2, 2, 4, 4, 4, 4};
    in.eyes[1] = {2, 2, 4, 4, 4, 4};
    const GazeFrame f = ComputeGaze(in);
    EXPECT_EQ(f.iris[0], CentredOn(2, 2, 4, 4)) << f.iris[0];
    EXPECT_EQ(f.iris[1], CentredOn(3, 3, 4, 4)) << f.iris[1];
}

TEST(ComputeGaze, NothingIsDrawnWhileTheOffsetsStay) {
    const GazeFrame first = ComputeGaze(Example(15000, 600));
    ASSERT_TRUE(first.repaint);

    GazeInput same = Example(15000, 600);
    same.last = first.offsets;
    EXPECT_FALSE(ComputeGaze(same).repaint);

    // Window and target moved together by the same amount: the offsets stay.
    GazeInput both = Example(15000 + 450, 600 - 150, 450, -150);
    both.last = first.offsets;
    EXPECT_FALSE(ComputeGaze(both).repaint);

    // Any one of the four offsets changing repaints: the target one twip off on either axis.
    for (const auto& [dtx, dty] : {std::pair{1.0, 0.0}, std::pair{0.0, 1.0}, std::pair{-1.0, 0.0}}) {
        GazeInput moved = Example(15000 + dtx, 600 + dty);
        moved.last = first.offsets;
        EXPECT_TRUE(ComputeGaze(moved).repaint) << dtx << ", " << dty;
    }
    // Eye 2 alone differs from the remembered offsets.
    GazeInput eye2 = Example(15000, 600);
    eye2.last = first.offsets;
    eye2.last.dx[1] += 1;
    EXPECT_TRUE(ComputeGaze(eye2).repaint);
}

TEST(ComputeGaze, OverlappingEyesAreBothErasedAndIrisTwoComesSecond) {
    GazeInput in = Example(15000, 450); // far right at the eyes' height
    in.irisWidth = 1;
    in.eyes[0] = {30, 30, 10, 10, 8, 8};
    in.eyes[1] = {36, 30, 10, 10, 8, 8};
    const GazeFrame f = ComputeGaze(in);
    ASSERT_TRUE(f.repaint);
    EXPECT_TRUE(f.erase[0]);
    EXPECT_TRUE(f.erase[1]);
    // x0 = nearest(30 - 5 - 4 - 0.5 - 1) = nearest(19.5) = 20; 1 + 10 + 8 + 1 = 20 wide.
    EXPECT_EQ(f.eraseRect[0], (PixelRect{20, 20, 20, 20}));
    EXPECT_EQ(f.eraseRect[1], (PixelRect{26, 20, 20, 20}));
    EXPECT_EQ(f.iris[0], CentredOn(35, 30, 8, 8)) << f.iris[0];
    EXPECT_EQ(f.iris[1], CentredOn(41, 30, 8, 8)) << f.iris[1];
}

TEST(ComputeGaze, EyeRectanglesAreClippedToTheWindowOrSkipped) {
    GazeInput in = Example(15000, 600);
    in.eyes[0] = {3, 2, 20, 14, 8, 8};     // reaches beyond the upper left corner
    in.eyes[1] = {-100, -100, 8, 8, 4, 4}; // the default: wholly outside
    GazeFrame f = ComputeGaze(in);
    EXPECT_TRUE(f.erase[0]);
    // x0 = nearest(3 - 10 - 4 - 1 - 1) = -13, 31 wide: columns 0..17; y0 = -11, 25 high: rows 0..13.
    EXPECT_EQ(f.eraseRect[0], (PixelRect{0, 0, 18, 14}));
    EXPECT_FALSE(f.erase[1]);

    // Wholly beyond the lower right corner, and touching it by one pixel.
    in.eyes[0] = {116, 40, 20, 14, 8, 8}; // x0 = 100: not inside
    in.eyes[1] = {115, 40, 20, 14, 8, 8}; // x0 = 99: its first column is the window's last
    f = ComputeGaze(in);
    EXPECT_FALSE(f.erase[0]);
    EXPECT_TRUE(f.erase[1]);
    EXPECT_EQ(f.eraseRect[1], (PixelRect{99, 27, 1, 25}));
}

TEST(ComputeGaze, AnEyeDiameterOfZeroKeepsTheIrisOnThatLine) {
    for (const double ty : {-60000.0, 0.0, 300.0, 600.0, 900.0, 60000.0}) {
        for (const double tx : {-15000.0, 450.0, 600.0, 15000.0}) {
            GazeInput in = Example(tx, ty);
            in.eyes[0] = {30, 40, 20, 0, 8, 8}; // flat: travels on the horizontal line only
            in.eyes[1] = {70, 40, 0, 14, 8, 8}; // thin: travels on the vertical line only
            const GazeFrame f = ComputeGaze(in);
            EXPECT_EQ(f.iris[0].top, 36) << tx << ", " << ty << ": iris 1 is " << f.iris[0];
            EXPECT_EQ(f.iris[1].left, 66) << tx << ", " << ty << ": iris 2 is " << f.iris[1];
        }
    }
}

TEST(ComputeGaze, IrisWidthWidensTheErasedRectangle) {
    for (const int w : {0, 1, 2, 7, 255}) {
        GazeInput in = Example(15000, 600);
        in.irisWidth = w;
        in.windowWidthPx = in.windowHeightPx = 1000;
        in.eyes[0] = {300, 400, 20, 14, 8, 8};
        const GazeFrame f = ComputeGaze(in);
        const PixelRect r = f.eraseRect[0];
        EXPECT_EQ(r.width, w + 20 + 8 + 1) << w;
        EXPECT_EQ(r.height, w + 14 + 8 + 1) << w;
        EXPECT_EQ(r.x, int(std::nearbyint(300 - 10 - 4 - w / 2.0 - 1))) << w;
        // The rectangle holds the iris with its outline (half the pen on either side) wherever it is.
        const EllipseBox b = f.iris[0];
        EXPECT_LE(r.x, b.left - w / 2.0) << w;
        EXPECT_GE(r.x + r.width, b.right + w / 2.0) << w;
    }
}

TEST(ComputeGaze, NegativeAndHugeDiametersStayFinite) {
    const int values[] = {-5, INT_MIN, INT_MAX, 100000000};
    for (const int v : values) {
        for (const double t : {450.0, 15000.0, -15000.0}) {
            CharacterRecord r;
            r.mEye1X = 30;
            r.mEye1Y = 40;
            r.mEye2X = 70;
            r.mEye2Y = 40;
            r.mEye1DiamX = r.mEye1DiamY = r.mEye2DiamX = v;
            r.mIris1DiamX = r.mIris2DiamY = v;
            GazeInput in = Example(t, 600);
            in.eyes = EyesOf(r);
            in.irisWidth = 255;
            const GazeFrame f = ComputeGaze(in);
            for (std::size_t i = 0; i < 2; ++i) {
                const EllipseBox b = f.iris[i];
                EXPECT_TRUE(std::isfinite(b.left) && std::isfinite(b.top) && std::isfinite(b.right) &&
                            std::isfinite(b.bottom))
                    << v << " target " << t << " iris " << i << ": " << b;
                EXPECT_LE(b.left, b.right) << v;
                EXPECT_LE(b.top, b.bottom) << v;
                if (f.erase[i]) {
                    const PixelRect e = f.eraseRect[i];
                    EXPECT_GE(e.x, 0) << v;
                    EXPECT_GE(e.y, 0) << v;
                    EXPECT_LE(e.x + e.width, 100) << v;
                    EXPECT_LE(e.y + e.height, 80) << v;
                    EXPECT_GT(e.width, 0) << v;
                }
            }
        }
    }
}

TEST(EyesOf, NegativeDiametersCountAsZero) {
    CharacterRecord r;
    r.mEye1X = 11;
    r.mEye1Y = 12;
    r.mEye2X = -13;
    r.mEye2Y = 14;
    r.mEye1DiamX = -1;
    r.mEye1DiamY = 6;
    r.mEye2DiamX = 7;
    r.mEye2DiamY = -8;
    r.mIris1DiamX = -9;
    r.mIris1DiamY = 3;
    r.mIris2DiamX = 4;
    r.mIris2DiamY = INT_MIN;
    const auto eyes = EyesOf(r);
    EXPECT_EQ(eyes[0].centerX, 11);
    EXPECT_EQ(eyes[0].centerY, 12);
    EXPECT_EQ(eyes[1].centerX, -13);
    EXPECT_EQ(eyes[1].centerY, 14);
    EXPECT_EQ(eyes[0].diamX, 0);
    EXPECT_EQ(eyes[0].diamY, 6);
    EXPECT_EQ(eyes[1].diamX, 7);
    EXPECT_EQ(eyes[1].diamY, 0);
    EXPECT_EQ(eyes[0].irisDiamX, 0);
    EXPECT_EQ(eyes[0].irisDiamY, 3);
    EXPECT_EQ(eyes[1].irisDiamX, 4);
    EXPECT_EQ(eyes[1].irisDiamY, 0);

    // A target on an eye centre with a negative diameter: the iris on the centre, no 0 / 0.
    GazeInput in = Example(450, 600);
    r.mEye1X = 30;
    r.mEye1Y = 40;
    r.mEye1DiamX = r.mEye1DiamY = -20;
    r.mIris1DiamX = r.mIris1DiamY = 8;
    in.eyes = EyesOf(r);
    EXPECT_EQ(ComputeGaze(in).iris[0], CentredOn(30, 40, 8, 8));
}

TEST(IrisBox, CentrePixelHalvesToEvenAndOddDiameters) {
    const struct {
        double x, y;
        int diamX, diamY;
        float tpp;
        EllipseBox box;
    } cases[] = {
        {600, 600, 8, 8, 15, {36, 36, 44, 44}},
        {150, 150, 5, 3, 15, {7, 8, 12, 11}}, // floor(10 - 2.5) = 7, floor(10 - 1.5) = 8
        {25, 35, 4, 4, 10, {0, 2, 4, 6}},     // 2.5 to 2, 3.5 to 4
        {-150, -150, 4, 4, 15, {-12, -12, -8, -8}},
        {450, 600, 0, 0, 15, {30, 40, 30, 40}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IrisBox(c.x, c.y, c.diamX, c.diamY, c.tpp, c.tpp), c.box) << c.x << ", " << c.y;
}

// The painted eyes: where each iris sits, which rectangles are restored, and when nothing is drawn.
#include "character/Gaze.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <ostream>

// Found by argument lookup, so a failed comparison prints the box.
static std::ostream& operator<<(std::ostream& out, const EllipseBox& b) {
    return out << "(" << b.left << ", " << b.top << ")-(" << b.right << ", " << b.bottom << ")";
}

namespace {

// The ellipse box centred on pixel (x, y) for an iris of the given diameters.
EllipseBox CentredOn(int x, int y, int diamX = 8, int diamY = 8) {
    const double left = std::floor(x - diamX / 2.0), top = std::floor(y - diamY / 2.0);
    return {left, top, left + diamX, top + diamY};
}

// Eye 1 at (30, 40), eye 2 at (70, 40), each 20 x 14 with an 8 x 8 iris, in a 100 x 80 window.
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
    return in;
}

} // namespace

TEST(ComputeGaze, IrisPlaces) {
    const struct {
        double tx, ty;
        int x1, y1, x2, y2; // iris centres in window pixels
        const char* what;
    } cases[] = {
        // Far away: half an eye diameter from each eye centre towards the target.
        {-15000, 600, 20, 40, 60, 40, "far left"},
        {450, -60000, 30, 33, 70, 33, "far above eye 1"},
        {1050, 60000, 30, 47, 70, 47, "far below eye 2"},
        {1050, 600, 40, 40, 70, 40, "on eye 2's centre"},
        // In the corners of the eye rectangles, outside the ellipse: the iris on the target.
        {600, 705, 40, 47, 60, 42, "eye 1's lower right corner"},
        {900, 495, 40, 38, 60, 33, "eye 2's upper left corner"},
        {615, 720, 38, 44, 60, 42, "one pixel beyond: back on the ellipse"},
    };
    for (const auto& c : cases) {
        const GazeFrame f = ComputeGaze(Example(c.tx, c.ty));
        EXPECT_EQ(f.iris[0], CentredOn(c.x1, c.y1)) << c.what << ": iris 1 is " << f.iris[0];
        EXPECT_EQ(f.iris[1], CentredOn(c.x2, c.y2)) << c.what << ": iris 2 is " << f.iris[1];
    }
    // On the target inside eye 1, in a window moved to (1500, 3000) twips.
    EXPECT_EQ(ComputeGaze(Example(525 + 1500, 675 + 3000, 1500, 3000)).iris[0], CentredOn(35, 45));
    // A target at 38 twips: eye 1 takes 37 (pixel 2.47, so 2), eye 2 takes 38 (2.53, so 3).
    GazeInput in = Example(38, 38);
    in.eyes[0] = in.eyes[1] = {2, 2, 4, 4, 4, 4};
    const GazeFrame f = ComputeGaze(in);
    EXPECT_EQ(f.iris[0], CentredOn(2, 2, 4, 4)) << f.iris[0];
    EXPECT_EQ(f.iris[1], CentredOn(3, 3, 4, 4)) << f.iris[1];
}

TEST(ComputeGaze, NothingIsDrawnWhileTheFourOffsetsStay) {
    const EyeOffsets last = ComputeGaze(Example(15000, 600)).offsets;
    const struct {
        double tx, ty, left, top;
        int eye2dx; // added to the last offsets
        bool repaint;
    } cases[] = {{15000, 600, 0, 0, 0, false},
                 {15000 + 450, 600 - 150, 450, -150, 0, false}, // window and target moved together
                 {15001, 600, 0, 0, 0, true},
                 {15000, 601, 0, 0, 0, true},
                 {15000, 600, 0, 0, 1, true}};
    for (const auto& c : cases) {
        GazeInput in = Example(c.tx, c.ty, c.left, c.top);
        in.last = last;
        in.last.dx[1] += static_cast<float>(c.eye2dx);
        const GazeFrame f = ComputeGaze(in);
        EXPECT_EQ(f.repaint, c.repaint) << c.tx << ", " << c.ty;
        if (f.repaint)
            EXPECT_EQ(f.iris[0], CentredOn(40, 40)) << f.iris[0]; // far right: eye centre + 10
    }
}

TEST(ComputeGaze, EraseRectanglesCoverTheIrisAndAreClippedToTheWindow) {
    GazeInput in = Example(15000, 450);
    in.irisWidth = 1;
    in.eyes[0] = {30, 30, 10, 10, 8, 8};
    in.eyes[1] = {36, 30, 10, 10, 8, 8}; // overlapping eyes
    GazeFrame f = ComputeGaze(in);
    ASSERT_TRUE(f.erase[0] && f.erase[1]);
    // x0 = nearest(30 - 5 - 4 - 0.5 - 1) = nearest(19.5) = 20; 1 + 10 + 8 + 1 = 20 wide.
    EXPECT_EQ(f.eraseRect[0], (PixelRect{20, 20, 20, 20}));
    EXPECT_EQ(f.eraseRect[1], (PixelRect{26, 20, 20, 20}));

    in.irisWidth = 2;
    in.eyes[0] = {3, 2, 20, 14, 8, 8};     // reaches beyond the upper left corner
    in.eyes[1] = {-100, -100, 8, 8, 4, 4}; // the default: wholly outside
    f = ComputeGaze(in);
    // x0 = nearest(3 - 10 - 4 - 1 - 1) = -13, 31 wide: columns 0..17; y0 = -11, 25 high: rows 0..13.
    EXPECT_TRUE(f.erase[0]);
    EXPECT_EQ(f.eraseRect[0], (PixelRect{0, 0, 18, 14}));
    EXPECT_FALSE(f.erase[1]);

    in.eyes[0] = {116, 40, 20, 14, 8, 8}; // x0 = 100: beyond the last column
    in.eyes[1] = {115, 40, 20, 14, 8, 8}; // x0 = 99: its first column is the window's last
    f = ComputeGaze(in);
    EXPECT_FALSE(f.erase[0]);
    EXPECT_TRUE(f.erase[1]);
    EXPECT_EQ(f.eraseRect[1], (PixelRect{99, 27, 1, 25}));
}

TEST(EyesOf, NegativeDiametersCountAsZero) {
    CharacterRecord r;
    r.mEye1X = 30, r.mEye1Y = 40, r.mEye2X = -13, r.mEye2Y = 14;
    r.mEye1DiamX = -1, r.mEye1DiamY = 6, r.mEye2DiamX = 7, r.mEye2DiamY = -8;
    r.mIris1DiamX = -9, r.mIris1DiamY = 3, r.mIris2DiamX = 4, r.mIris2DiamY = INT_MIN;
    const auto eyes = EyesOf(r);
    EXPECT_EQ((std::array{eyes[0].diamX, eyes[0].diamY, eyes[0].irisDiamX, eyes[0].irisDiamY, eyes[1].centerX,
                          eyes[1].diamX, eyes[1].diamY, eyes[1].irisDiamX, eyes[1].irisDiamY}),
              (std::array{0, 6, 0, 3, -13, 7, 0, 4, 0}));
}

TEST(IrisBox, CentrePixelHalvesToEvenAndOddDiameters) {
    const struct {
        double x, y;
        int diamX, diamY;
        float tpp;
        EllipseBox box;
    } cases[] = {
        {150, 150, 5, 3, 15, {7, 8, 12, 11}}, // floor(10 - 2.5) = 7, floor(10 - 1.5) = 8
        {25, 35, 4, 4, 10, {0, 2, 4, 6}},     // 2.5 to 2, 3.5 to 4
        {-150, -150, 4, 4, 15, {-12, -12, -8, -8}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IrisBox(c.x, c.y, c.diamX, c.diamY, c.tpp, c.tpp), c.box) << c.x << ", " << c.y;
}

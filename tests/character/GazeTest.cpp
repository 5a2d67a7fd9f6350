// The painted eyes: where each iris sits, which rectangles are restored, and when nothing is drawn.
#include "character/Gaze.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The ellipse box centred on pixel (x, y) for an 8 x 6 iris, or one of the given diameters.
EllipseBox CentredOn(int x, int y, int diamX = 8, int diamY = 6) {
    const double left = std::floor(x - diamX / 2.0), top = std::floor(y - diamY / 2.0);
    return {left, top, left + diamX, top + diamY};
}

// Eye 1 at (30, 40), eye 2 at (70, 40), each 20 x 14 with an 8 x 6 iris, in a 100 x 80 window.
GazeInput Example(double tx, double ty, double left = 0, double top = 0) {
    return {{{{30, 40, 20, 14, 8, 6}, {70, 40, 20, 14, 8, 6}}}, 2, {tx, ty}, left, top, 100, 80, 15, 15, {}};
}

} // namespace

TEST(ComputeGaze, IrisPlaces) {
    const struct {
        double tx, ty;
        int x1, y1, x2, y2; // iris centres in window pixels
    } cases[] = {
        // Far away: half an eye diameter from each eye centre towards the target.
        {-15000, 600, 20, 40, 60, 40}, // far left
        {450, -60000, 30, 33, 70, 33}, // far above eye 1
        {1050, 60000, 30, 47, 70, 47}, // far below eye 2
        {1050, 600, 40, 40, 70, 40},   // on eye 2's centre
        // In the corners of the eye rectangles, outside the ellipse: the iris on the target.
        {600, 705, 40, 47, 60, 42}, // eye 1's lower right corner
        {900, 495, 40, 38, 60, 33}, // eye 2's upper left corner
        {615, 720, 38, 44, 60, 42}, // one pixel beyond: back on the ellipse
    };
    for (const auto& c : cases) {
        const GazeFrame f = ComputeGaze(Example(c.tx, c.ty));
        EXPECT_EQ(f.iris[0], CentredOn(c.x1, c.y1)) << c.tx << ", " << c.ty;
        EXPECT_EQ(f.iris[1], CentredOn(c.x2, c.y2)) << c.tx << ", " << c.ty;
    }
    // On the target inside eye 1, in a window moved to (1500, 3000) twips.
    EXPECT_EQ(ComputeGaze(Example(525 + 1500, 675 + 3000, 1500, 3000)).iris[0], CentredOn(35, 45));
    // A target at 38 twips: eye 1 takes 37 (pixel 2.47, so 2), eye 2 takes 38 (2.53, so 3).
    GazeInput in = Example(38, 38);
    in.eyes[0] = in.eyes[1] = {2, 2, 4, 4, 4, 4};
    const GazeFrame f = ComputeGaze(in);
    EXPECT_EQ(f.iris[0], CentredOn(2, 2, 4, 4));
    EXPECT_EQ(f.iris[1], CentredOn(3, 3, 4, 4));
}

TEST(ComputeGaze, NothingIsDrawnWhileTheFourOffsetsStay) {
    const EyeOffsets last = ComputeGaze(Example(15000, 600)).offsets;
    const struct {
        double tx, ty, left, top;
        float eye2dx; // added to the last offsets
        bool repaint;
    } cases[] = {{15000, 600, 0, 0, 0, false},
                 {15000 + 450, 600 - 150, 450, -150, 0, false}, // window and target moved together
                 {15001, 600, 0, 0, 0, true}, {15000, 601, 0, 0, 0, true}, {15000, 600, 0, 0, 1, true}};
    for (const auto& c : cases) {
        GazeInput in = Example(c.tx, c.ty, c.left, c.top);
        in.last = last;
        in.last.dx[1] += c.eye2dx;
        EXPECT_EQ(ComputeGaze(in).repaint, c.repaint) << c.tx << ", " << c.ty;
    }
}

TEST(ComputeGaze, EraseRectanglesCoverTheIrisAndAreClippedToTheWindow) {
    const struct {
        EyeGeometry eye1, eye2;
        int irisWidth;
        bool erase1, erase2;
        PixelRect rect1, rect2;
    } cases[] = {
        // Overlapping eyes: x0 = nearest(30 - 5 - 4 - 0.5 - 1) = nearest(19.5) = 20; 1 + 10 + 8 + 1 = 20 wide.
        {{30, 30, 10, 10, 8, 8}, {36, 30, 10, 10, 8, 8}, 1, true, true, {20, 20, 20, 20}, {26, 20, 20, 20}},
        // Beyond the upper left corner: x0 = -13, 31 wide: columns 0..17; y0 = -11, 25 high: rows 0..13.
        // Eye 2 as by default, wholly outside.
        {{3, 2, 20, 14, 8, 8}, {-100, -100, 8, 8, 4, 4}, 2, true, false, {0, 0, 18, 14}, {}},
        // x0 = 100: beyond the last column; x0 = 99: its first column is the window's last.
        {{116, 40, 20, 14, 8, 8}, {115, 40, 20, 14, 8, 8}, 2, false, true, {}, {99, 27, 1, 25}},
    };
    for (const auto& c : cases) {
        GazeInput in = Example(15000, 450);
        in.eyes = {c.eye1, c.eye2};
        in.irisWidth = c.irisWidth;
        const GazeFrame f = ComputeGaze(in);
        EXPECT_EQ(f.erase, (std::array{c.erase1, c.erase2})) << c.eye1.centerX;
        EXPECT_EQ(c.erase1 ? f.eraseRect[0] : PixelRect{}, c.rect1) << c.eye1.centerX;
        EXPECT_EQ(c.erase2 ? f.eraseRect[1] : PixelRect{}, c.rect2) << c.eye1.centerX;
    }
}

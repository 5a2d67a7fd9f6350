// The eye-centre picker's plain rules: the lens's source, the markers and label frames, the
// label texts, the pulse, and the layout of the resizable window.
#include "editor/PickerRules.h"

#include <gtest/gtest.h>

#include <ostream>

static std::ostream& operator<<(std::ostream& out, const LensRect& r) {
    return out << "(" << r.left << ", " << r.top << ") " << r.width << " x " << r.height;
}

TEST(PickerLens, SourceIsAThirdOfTheLensCentredOnThePointer) {
    const struct {
        int x, y;
        double lens;
        LensRect source;
    } cases[] = {
        // Before the pointer moves over the picture it counts as (0, 0).
        {0, 0, 70, {-12, -12, 23, 23}},                                     // nearest(-11.67), nearest(23.33)
        {0, 0, 74, {-12, -12, 25, 25}},                                     // nearest(-12.33), nearest(24.67)
        {120, 86, 70, {108, 74, 23, 23}}, {120, 86, 72, {108, 74, 24, 24}}, // 12 and 24 exactly
        {5, 5, 75, {-8, -8, 25, 25}},                                       // nearest(-7.5) and 25 exactly
        {6, 6, 75, {-6, -6, 25, 25}}, // nearest(-6.5): halves go to the even neighbour
    };
    for (const auto& c : cases)
        EXPECT_EQ(LensSource(c.x, c.y, c.lens, c.lens), c.source) << c.x << ", " << c.y << " lens " << c.lens;
    EXPECT_EQ(LensSource(30, 30, 60, 90), (LensRect{20, 15, 20, 30}));
}

TEST(PickerMarkers, MarkerAndLabelFramePlacement) {
    EXPECT_EQ(MarkerTopLeft(120, 86), (PixelPoint{118, 84}));
    EXPECT_EQ(MarkerTopLeft(0, 0), (PixelPoint{-2, -2}));
    EXPECT_EQ(MarkerTopLeft(-100, -100), (PixelPoint{-102, -102}));
    EXPECT_EQ(MarkerTopLeft(INT32_MIN, 1), (PixelPoint{INT32_MIN, -1})); // no overflow

    // A label at (120, 4560) twips, 1800 x 195: the frame lies 2 pixels left, 1 above, 3 right
    // and 3 below the text.
    const TwipsRect frame = LabelFrame({120, 4560, 1800, 195}, 15, 15);
    EXPECT_DOUBLE_EQ(frame.left, 90);
    EXPECT_DOUBLE_EQ(frame.top, 4545);
    EXPECT_DOUBLE_EQ(frame.width, 1875);
    EXPECT_DOUBLE_EQ(frame.height, 255);
    EXPECT_DOUBLE_EQ(frame.left + frame.width, 120 + 1800 + 3 * 15);
    EXPECT_DOUBLE_EQ(frame.top + frame.height, 4560 + 195 + 3 * 15);
    const TwipsRect other = LabelFrame({0, 0, 100, 100}, 12, 20);
    EXPECT_DOUBLE_EQ(other.left, -24);
    EXPECT_DOUBLE_EQ(other.top, -20);
    EXPECT_DOUBLE_EQ(other.width, 160);
    EXPECT_DOUBLE_EQ(other.height, 180);
}

TEST(PickerMarkers, LabelTexts) {
    EXPECT_EQ(EyeLabelText(1, 120, 86), "Eye 1 (left mouse click)  X:120  Y:86");
    EXPECT_EQ(EyeLabelText(2, 82, 58), "Eye 2 (right mouse click)  X:82  Y:58");
    EXPECT_EQ(EyeLabelText(1, -100, 0), "Eye 1 (left mouse click)  X:-100  Y:0");
    EXPECT_EQ(EyeLabelText(2, 7, 10000), "Eye 2 (right mouse click)  X:7  Y:10000");
}

TEST(PickerMarkers, PulseRunsFrom255DownIn26StepsAndColoursFadeFromWhite) {
    int pulse = 0; // where it starts
    pulse = NextPulse(pulse);
    EXPECT_EQ(pulse, 255);
    std::vector<int> cycle{pulse};
    for (pulse = NextPulse(pulse); pulse != 255; pulse = NextPulse(pulse))
        cycle.push_back(pulse);
    ASSERT_EQ(cycle.size(), 26u);
    EXPECT_EQ(cycle[1], 245);
    EXPECT_EQ(cycle.back(), 5);

    EXPECT_EQ(MarkerColour(1, 255), 0xFFFFFF);
    EXPECT_EQ(MarkerColour(2, 255), 0xFFFFFF);
    EXPECT_EQ(MarkerColour(1, 5), 255 + 256 * 5 + 65536 * 5); // nearly red
    EXPECT_EQ(MarkerColour(2, 5), 5 + 256 * 5 + 65536 * 255); // nearly blue
    EXPECT_EQ(MarkerColour(1, 125), 255 + 256 * 125 + 65536 * 125);
}

TEST(PickerLayout, ButtonsStayInTheCornerAndThePictureTakesTheRest) {
    // The design: 6870 x 5130 twips inside, buttons 800 x 495, labels 195 high.
    PickerLayoutInput in;
    in.innerWidth = 6870;
    in.innerHeight = 5130;
    in.okWidth = 800;
    in.okHeight = 495;
    in.cancelWidth = 800;
    in.eye2LabelHeight = 195;
    in.pictureHeightNow = 4455;
    PickerLayout out = LayOutPicker(in);
    EXPECT_DOUBLE_EQ(out.ok.left, 6870 - 800 - 120);
    EXPECT_DOUBLE_EQ(out.ok.top, 5130 - 495 - 120);
    EXPECT_DOUBLE_EQ(out.cancel.left, out.ok.left - 800 - 240);
    EXPECT_DOUBLE_EQ(out.cancel.top, out.ok.top);
    ASSERT_TRUE(out.picture.has_value());
    EXPECT_DOUBLE_EQ(out.picture->left, 0);
    EXPECT_DOUBLE_EQ(out.picture->top, 0);
    EXPECT_DOUBLE_EQ(out.picture->width, 6870);
    EXPECT_DOUBLE_EQ(out.picture->height, out.ok.top - 120);
    EXPECT_DOUBLE_EQ(out.gradientTop, out.picture->height);
    EXPECT_DOUBLE_EQ(out.gradientWidth, 6870);
    EXPECT_DOUBLE_EQ(out.eye1LabelTop, out.ok.top);
    EXPECT_DOUBLE_EQ(out.eye2LabelTop + 195, out.ok.top + 495); // aligned with the buttons' bottom

    // Wider: everything follows the right edge.
    in.innerWidth = 10500;
    out = LayOutPicker(in);
    EXPECT_DOUBLE_EQ(out.ok.left, 10500 - 920);
    EXPECT_DOUBLE_EQ(out.picture->width, 10500);
    EXPECT_DOUBLE_EQ(out.gradientWidth, 10500);

    // Too low for the picture box: that step is skipped, the band keeps to the box's old height,
    // and the other steps still run.
    in.innerHeight = 600;
    out = LayOutPicker(in);
    EXPECT_FALSE(out.picture.has_value());
    EXPECT_DOUBLE_EQ(out.gradientTop, 4455);
    EXPECT_DOUBLE_EQ(out.ok.top, 600 - 495 - 120);
    EXPECT_DOUBLE_EQ(out.eye1LabelTop, out.ok.top);
}

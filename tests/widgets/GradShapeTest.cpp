// The gradient band as drawn: pixels of the grabbed widget, system colours from the palette.
#include "widgets/GradShape.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(GradientWidget, TheBandRunsAlongItsOrientationBetweenItsColours) {
    GradShape band; // default colours: button highlight to button shadow, top to bottom
    band.resize(100, 100);
    QPalette colours = band.palette();
    colours.setColor(QPalette::Light, QColor(200, 10, 10));
    colours.setColor(QPalette::Dark, QColor(10, 10, 200));
    band.setPalette(colours);
    QImage shot = band.grab().toImage();
    EXPECT_EQ(shot.pixel(70, 0), qRgb(200, 10, 10));
    EXPECT_EQ(shot.pixel(70, 99), qRgb(10, 10, 200));

    band.SetColorTopLeft(0x000000);
    band.SetColorBottomRight(0xFFFFFF);
    for (const int orientation : {1, 0, 2}) { // 1 top to bottom, any other left to right
        band.SetOrientation(orientation);
        shot = band.grab().toImage();
        const auto at = [&](int along) { return orientation == 1 ? shot.pixel(5, along) : shot.pixel(along, 5); };
        EXPECT_EQ(std::tuple(at(0), at(50), at(99)), std::tuple(qRgb(0, 0, 0), qRgb(129, 129, 129), qRgb(255, 255, 255)))
            << orientation;
    }
}

} // namespace

// The gradient band as drawn: pixels of the grabbed widget, system colours from the palette, and
// the repaint at every property change.
#include "widgets/GradShape.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

QRgb At(GradShape& band, int x, int y) {
    return band.grab().toImage().pixel(x, y);
}

TEST(GradientWidget, BlackToWhiteBandHasGrey129HalfWay) {
    GradShape band;
    band.resize(20, 100);
    band.SetColorTopLeft(0x000000);
    band.SetColorBottomRight(0xFFFFFF);
    EXPECT_EQ(At(band, 5, 0), qRgb(0, 0, 0));
    EXPECT_EQ(At(band, 5, 50), qRgb(129, 129, 129));
    EXPECT_EQ(At(band, 19, 99), qRgb(255, 255, 255));
}

TEST(GradientWidget, SystemColoursFollowThePalette) {
    GradShape band; // default colours: button highlight to button shadow
    band.resize(10, 50);
    QPalette colours = band.palette();
    colours.setColor(QPalette::Light, QColor(200, 10, 10));
    colours.setColor(QPalette::Dark, QColor(10, 10, 200));
    band.setPalette(colours);
    EXPECT_EQ(At(band, 0, 0), qRgb(200, 10, 10));
    EXPECT_EQ(At(band, 0, 49), qRgb(10, 10, 200));
    colours.setColor(QPalette::Light, QColor(0, 255, 0));
    band.setPalette(colours);
    EXPECT_EQ(At(band, 0, 0), qRgb(0, 255, 0));
}

TEST(GradientWidget, EverySetterRepaintsAtOnceEvenWithTheSameValue) {
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    GradShape band;
    band.resize(30, 30);
    band.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&band));
    band.installEventFilter(&counter);
    band.SetColorTopLeft(band.ColorTopLeft());
    band.SetColorBottomRight(band.ColorBottomRight());
    band.SetOrientation(band.Orientation());
    band.SetReduce(band.Reduce());
    EXPECT_EQ(counter.paints, 4);
}

} // namespace

// The slider with the mouse and the keyboard: which actions raise Change, and which do not.
#include "widgets/ctlSlider.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>

namespace {

class SliderWidget : public ::testing::Test {
protected:
    void SetUp() override {
        slider.SetValue(50); // on the default range 0..100
        slider.resize(220, slider.height());
        slider.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    }

    // A y on both the track's hit area and the thumb.
    int Y() const { return slider.height() - ctlSlider::ThumbSize / 2; }
    int TrackLeft() const { return static_cast<int>(slider.Track().left); }
    void Press(int x) { QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(x, Y())); }
    void DragTo(int x) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, Y()), slider.mapToGlobal(QPointF(x, Y())), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&slider, &move);
    }

    ctlSlider slider;
    QSignalSpy changes{&slider, &ctlSlider::Change};
};

TEST_F(SliderWidget, SettersClampAndRaiseNothing) {
    const std::tuple<void (ctlSlider::*)(int), int, int> steps[] = {
        {&ctlSlider::SetValue, 300, 100}, {&ctlSlider::SetValue, -5, 0},
        {&ctlSlider::SetMin, 160, 100}, // minimum above maximum: the maximum
        {&ctlSlider::SetMax, 55, 55}};
    for (const auto& [set, to, value] : steps) {
        (slider.*set)(to);
        EXPECT_EQ(slider.Value(), value) << "set to " << to;
    }
    slider.SetCaption(QStringLiteral("Eye size X"));
    EXPECT_EQ(slider.CaptionText(), QStringLiteral("Eye size X: 55"));
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(SliderWidget, ClicksAndDragsMoveTheThumbUnderThePointerAndReportEachNewValueOnce) {
    const int x = TrackLeft() + 20; // left of the thumb at 50
    for (int click = 0; click < 2; ++click)
        QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(x, Y()));
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), slider.Value());
    EXPECT_DOUBLE_EQ(slider.ThumbLeft() + ctlSlider::ThumbSize / 2.0, x);

    const double before = slider.ThumbLeft();
    const int grab = static_cast<int>(before) + 2;
    Press(grab);
    DragTo(grab + 10); // the grabbed point stays under the pointer
    EXPECT_DOUBLE_EQ(slider.ThumbLeft(), before + 10);
    for (const auto& [farAway, end] : {std::pair{-60, 0}, {400, 100}}) {
        changes.clear();
        DragTo(farAway);
        DragTo(farAway * 2);
        EXPECT_EQ(slider.Value(), end);
        EXPECT_EQ(changes.count(), 1) << "towards " << end;
    }
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(800, Y()));
    DragTo(100); // the button is up: nothing moves
    QTest::mouseClick(&slider, Qt::RightButton, {}, QPoint(TrackLeft() + 5, Y()));
    EXPECT_EQ(slider.Value(), 100);
}

TEST_F(SliderWidget, ArrowKeysStepAndAlwaysReport) {
    const std::tuple<int, Qt::Key, int> cases[] = {
        {50, Qt::Key_Right, 51}, {50, Qt::Key_Left, 49}, {100, Qt::Key_Right, 100}, {0, Qt::Key_Left, 0}};
    for (const auto& [start, key, expected] : cases) {
        slider.SetValue(start);
        changes.clear();
        QTest::keyClick(&slider, key);
        ASSERT_EQ(changes.count(), 1) << start;
        EXPECT_EQ(changes.at(0).at(0).toInt(), expected);
    }
}

} // namespace

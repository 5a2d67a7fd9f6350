// The eye-centre picker from the user's side: clicks and drags that place the eyes, the markers
// and labels that follow, the lens, the layout on resize, and what Cancel and the close box give
// back.
#include "EditorFixture.h"

#include "editor/ctlShape.h"
#include "editor/frmAdvSet.h"
#include "editor/frmSelCenter.h"
#include "widgets/GradShape.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <set>

// The picker's tests start from the same folder and character as the editor's.
class PickerTest : public EditorTest {
protected:
    void Open(frmSelCenter& picker) {
        ASSERT_TRUE(picker.FillForm(1));
        picker.show();
    }
};

namespace {

void MoveOver(QWidget* widget, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton, held,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QColor Pixel(QWidget* widget, int x, int y) {
    return QColor(widget->grab().toImage().pixel(x, y));
}

} // namespace

TEST_F(PickerTest, ClicksSetTheEyesWithLabelMarkerAndFrame) {
    frmPic* w = AddWindow();
    frmSelCenter picker;
    Open(picker);
    EXPECT_EQ(picker.lblEye[1]->text(), QStringLiteral("Eye 2 (right mouse click)  X:82  Y:58"));

    QTest::mouseClick(picker.picImg, Qt::LeftButton, {}, QPoint(120, 86));
    EXPECT_EQ(std::tuple(w->mEye1X, w->mEye1Y, w->mEye2X), std::tuple(120, 86, 82));
    EXPECT_EQ(picker.lblEye[0]->text(), QStringLiteral("Eye 1 (left mouse click)  X:120  Y:86"));
    EXPECT_EQ(picker.MarkerPosition(0), (PixelPoint{118, 84}));
    // The frame: 2 pixels left of the label, 1 above, 3 right and 3 below.
    EXPECT_EQ(picker.shpBorder[0]->geometry(), picker.lblEye[0]->geometry().adjusted(-2, -1, 3, 3));
    // The marker's circle is drawn on the picture around the new centre; the centre stays free.
    const QColor marker = RgbValueColor(picker.MarkerColor(0));
    EXPECT_EQ(Pixel(picker.picImg, 120, 84), marker);
    EXPECT_EQ(Pixel(picker.picImg, 118, 86), marker);
    EXPECT_EQ(Pixel(picker.picImg, 120, 86), QColor(255, 220, 0));

    QTest::mouseClick(picker.picImg, Qt::RightButton, {}, QPoint(30, 20));
    EXPECT_EQ(std::tuple(w->mEye1X, w->mEye2X, w->mEye2Y), std::tuple(120, 30, 20));
    EXPECT_EQ(picker.lblEye[1]->text(), QStringLiteral("Eye 2 (right mouse click)  X:30  Y:20"));
    EXPECT_EQ(picker.MarkerPosition(1), (PixelPoint{28, 18}));
    QTest::mouseClick(picker.picImg, Qt::LeftButton, {}, QPoint(300, 200)); // beyond the picture: as it is
    EXPECT_EQ(std::pair(w->mEye1X, w->mEye1Y), std::pair(300, 200));
}

TEST_F(PickerTest, RightDragMovesEyeTwoAndTheCharacterIsRepaintedOnceAfterTheLastMove) {
    CountingCharacter* c = AddCounting();
    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return c->Refreshes() == 1; }, 2000));
    frmSelCenter picker(&editor);
    Open(picker);
    QTest::mousePress(picker.picImg, Qt::RightButton, {}, QPoint(10, 10));
    for (int i = 1; i <= 3; ++i) {
        MoveOver(picker.picImg, QPoint(10 + 10 * i, 10 + 5 * i), Qt::RightButton);
        QTest::qWait(20);
    }
    MoveOver(picker.picImg, QPoint(50, 30), Qt::RightButton);
    QTest::mouseRelease(picker.picImg, Qt::RightButton, {}, QPoint(50, 30));
    EXPECT_EQ(std::tuple(c->mEye1X, c->mEye2X, c->mEye2Y), std::tuple(50, 50, 30));
    // The editor's delayed repaint, once the burst is over (its timing is the editor's own test).
    EXPECT_EQ(c->Refreshes(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return c->Refreshes() == 2; }, 3000));
    MoveOver(picker.picImg, QPoint(5, 5)); // without a button only the lens moves
    EXPECT_EQ(std::pair(c->mEye1X, c->mEye2X), std::pair(50, 50));
}

TEST_F(PickerTest, LensFollowsThePointerAndShowsItsSurroundingsThreeTimesEnlarged) {
    QImage spotted = Face(160, 120, QColor(255, 220, 0));
    QPainter(&spotted).fillRect(59, 49, 3, 3, QColor(20, 20, 20)); // a dark 3 x 3 spot around (60, 50)
    Save(spotted, QStringLiteral("face.bmp"));
    AddWindow();
    frmSelCenter picker;
    Open(picker);
    ASSERT_EQ(picker.picLens->size(), QSize(74, 74));
    const QColor face(255, 220, 0), spot(20, 20, 20);
    // Before the pointer moves over the picture: the area around (0, 0), partly outside it.
    EXPECT_EQ(picker.LensSourceRect(), (LensRect{-12, -12, 23, 23}));
    EXPECT_EQ(Pixel(picker.picLens, 3, 3), Pixel(picker.picImg, 200, 150)); // outside: the box
    EXPECT_EQ(Pixel(picker.picLens, 45, 45), QColor(255, 0, 255));          // picture pixel (2, 2), enlarged
    EXPECT_EQ(Pixel(picker.picLens, 70, 70), face);                         // picture pixel (10, 10)

    MoveOver(picker.picImg, QPoint(60, 50));
    EXPECT_EQ(picker.picLens->pos(), QPoint(80, 70)); // 20 pixels right of and below the pointer
    EXPECT_EQ(picker.LensSourceRect(), (LensRect{48, 38, 23, 23}));
    // The 3 x 3 spot under the pointer, in the middle: three lens pixels per picture pixel.
    const QImage lens = picker.picLens->grab().toImage();
    int dark = 0;
    for (int x = 2; x < 72; ++x)
        dark += QColor(lens.pixel(x, 37)) == spot;
    EXPECT_GE(dark, 8);
    EXPECT_LE(dark, 10);
    EXPECT_EQ(QColor(lens.pixel(41, 41)), spot);
    EXPECT_EQ(QColor(lens.pixel(30, 37)), face);
}

TEST_F(PickerTest, MarkersPulseTogetherFromWhiteToRedAndBlue) {
    AddWindow();
    frmSelCenter picker;
    Open(picker);
    std::set<std::int32_t> seen;
    for (int i = 0; i < 6; ++i) {
        QTest::qWait(frmSelCenter::kTimerMs + 10);
        const std::int32_t one = picker.MarkerColor(0), two = picker.MarkerColor(1);
        EXPECT_EQ(one, MarkerColour(1, (one >> 8) & 255));
        EXPECT_EQ(two, MarkerColour(2, (one >> 8) & 255));
        seen.insert(one);
    }
    EXPECT_GE(seen.size(), 3u);
}

TEST_F(PickerTest, LayoutKeepsTheButtonsInTheCornerWhenResized) {
    AddWindow();
    frmSelCenter picker;
    Open(picker);
    for (const QSize size : {QSize(700, 500), QSize(300, 600)}) {
        picker.resize(size);
        QApplication::processEvents();
        const QRect ok = picker.cmdOK->geometry();
        EXPECT_EQ(ok.bottomRight() + QPoint(1, 1), QPoint(size.width() - 8, size.height() - 8)); // 120 twips in
        EXPECT_EQ(picker.cmdCancel->geometry().right() + 1, ok.left() - 16);
        EXPECT_EQ(picker.picImg->geometry(), QRect(0, 0, size.width(), ok.top() - 8));
        EXPECT_EQ(picker.GradShp->geometry().topRight(), QPoint(size.width() - 1, picker.picImg->height()));
        EXPECT_EQ(picker.lblEye[0]->y(), ok.top());
        EXPECT_EQ(picker.lblEye[1]->geometry().bottom(), ok.bottom()); // aligned with the buttons
        EXPECT_EQ(picker.shpBorder[1]->geometry(), picker.lblEye[1]->geometry().adjusted(-2, -1, 3, 3));
    }
    const int before = picker.picImg->height();
    picker.resize(400, 20); // too low for the picture box: it keeps its height, the rest still follows
    QApplication::processEvents();
    EXPECT_EQ(picker.picImg->height(), before);
    EXPECT_EQ(picker.GradShp->geometry(), QRect(0, before, 400, picker.GradShp->height()));
    EXPECT_EQ(picker.lblEye[0]->y(), picker.cmdOK->y());
}

TEST_F(PickerTest, CancelAndTheCloseBoxGiveBackTheCentresAndOKKeepsThem) {
    const std::pair<const char*, std::function<void(frmSelCenter&)>> ways[] = {
        {"Cancel", [](frmSelCenter& p) { QTest::mouseClick(p.cmdCancel, Qt::LeftButton); }},
        {"close box", [](frmSelCenter& p) { p.close(); }},
        {"OK", [](frmSelCenter& p) { QTest::mouseClick(p.cmdOK, Qt::LeftButton); }}};
    for (const auto& [way, close] : ways) {
        CloseCharacters();
        frmPic* w = AddWindow();
        frmSelCenter picker;
        Open(picker);
        QTest::mouseClick(picker.picImg, Qt::LeftButton, {}, QPoint(11, 12));
        QTest::mouseClick(picker.picImg, Qt::RightButton, {}, QPoint(13, 14));
        QTest::mouseClick(picker.picImg, Qt::LeftButton, {}, QPoint(15, 16));
        close(picker);
        EXPECT_FALSE(picker.isVisible()) << way;
        const bool kept = std::string(way) == "OK";
        EXPECT_EQ((std::array{w->mEye1X, w->mEye1Y, w->mEye2X, w->mEye2Y}),
                  (kept ? std::array{15, 16, 13, 14} : std::array{50, 58, 82, 58}))
            << way;
    }
}

TEST_F(PickerTest, F1ShowsTheAdvancedHelpModal) {
    AddWindow();
    frmSelCenter picker;
    Open(picker);
    ExpectAdvancedHelpModal([&] { QTest::keyClick(picker.cmdOK, Qt::Key_F1); });
    EXPECT_TRUE(picker.isVisible());
}

// The eye-centre picker from the user's side: clicks and drags that place the eyes, the markers
// and labels that follow, the lens, the layout on resize, and what Cancel and the close box give
// back.
#include "EditorFixture.h"

#include "editor/ctlShape.h"
#include "editor/frmAdvSet.h"
#include "editor/frmSelCenter.h"
#include "help/frmHelp.h"
#include "widgets/GradShape.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <set>

// The picker's tests start from the same folder and character as the editor's.
class PickerTest : public EditorTest {};

namespace {

void MoveOver(QWidget* widget, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton, held,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QColor Pixel(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

} // namespace

TEST_F(PickerTest, LeftClickSetsEyeOneWithLabelMarkerAndFrame) {
    frmPic* w = AddWindow(); // 160 x 120
    frmSelCenter picker;
    ASSERT_TRUE(picker.FillForm(1));
    picker.show();
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("Lookabout  -  Select eye centers"));
    EXPECT_EQ(picker.lblEye[0]->text(), QStringLiteral("Eye 1 (left mouse click)  X:50  Y:58"));
    EXPECT_EQ(picker.lblEye[1]->text(), QStringLiteral("Eye 2 (right mouse click)  X:82  Y:58"));

    QTest::mouseClick(picker.picImg, Qt::LeftButton, {}, QPoint(120, 86));
    EXPECT_EQ(w->mEye1X, 120);
    EXPECT_EQ(w->mEye1Y, 86);
    EXPECT_EQ(w->mEye2X, 82);
    EXPECT_EQ(picker.lblEye[0]->text(), QStringLiteral("Eye 1 (left mouse click)  X:120  Y:86"));
    EXPECT_EQ(picker.MarkerPosition(0), (PixelPoint{118, 84}));
    // The frame: 2 pixels left of the label, 1 above, 3 right and 3 below.
    const QRect label = picker.lblEye[0]->geometry();
    EXPECT_EQ(picker.shpBorder[0]->geometry(), label.adjusted(-2, -1, 3, 3));
    EXPECT_EQ(picker.shpBorder[1]->geometry(), picker.lblEye[1]->geometry().adjusted(-2, -1, 3, 3));

    // The marker's circle is drawn on the picture around the new centre.
    const QImage shown = picker.picImg->grab().toImage();
    const QColor marker = RgbValueColor(picker.MarkerColor(0));
    EXPECT_EQ(Pixel(shown, 120, 84), marker); // top of the circle
    EXPECT_EQ(Pixel(shown, 118, 86), marker); // its left side
    EXPECT_NE(Pixel(shown, 120, 86), marker); // the centre stays free
    EXPECT_EQ(Pixel(shown, 120, 86), QColor(255, 220, 0));

    QTest::mouseClick(picker.picImg, Qt::RightButton, {}, QPoint(30, 20));
    EXPECT_EQ(w->mEye2X, 30);
    EXPECT_EQ(w->mEye2Y, 20);
    EXPECT_EQ(w->mEye1X, 120);
    EXPECT_EQ(picker.lblEye[1]->text(), QStringLiteral("Eye 2 (right mouse click)  X:30  Y:20"));
    EXPECT_EQ(picker.MarkerPosition(1), (PixelPoint{28, 18}));

    // Beyond the picture, inside the box: stored as it is.
    QTest::mouseClick(picker.picImg, Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_EQ(w->mEye1X, 300);
    EXPECT_EQ(w->mEye1Y, 200);
}

TEST_F(PickerTest, RightDragMovesEyeTwoAndTheCharacterIsRepaintedOnceAfterTheLastMove) {
    CountingCharacter* c = AddCounting();
    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return c->Refreshes() == 1; }, 2000));
    frmSelCenter picker(&editor);
    ASSERT_TRUE(picker.FillForm(1));
    picker.show();

    QTest::mousePress(picker.picImg, Qt::RightButton, {}, QPoint(10, 10));
    for (int i = 1; i <= 4; ++i) {
        MoveOver(picker.picImg, QPoint(10 + 10 * i, 10 + 5 * i), Qt::RightButton);
        QTest::qWait(20);
    }
    QElapsedTimer sinceLast;
    sinceLast.start();
    MoveOver(picker.picImg, QPoint(60, 35), Qt::RightButton);
    QTest::mouseRelease(picker.picImg, Qt::RightButton, {}, QPoint(60, 35));
    EXPECT_EQ(c->mEye2X, 60);
    EXPECT_EQ(c->mEye2Y, 35);
    EXPECT_EQ(c->mEye1X, 50);
    EXPECT_EQ(c->Refreshes(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return c->Refreshes() == 2; }, 3000));
    EXPECT_GE(sinceLast.elapsed(), frmAdvSet::kRefreshDelayMs);
    QTest::qWait(frmAdvSet::kRefreshDelayMs + 100);
    EXPECT_EQ(c->Refreshes(), 2);

    // Moving without a button only moves the lens.
    MoveOver(picker.picImg, QPoint(5, 5));
    EXPECT_EQ(c->mEye2X, 60);
    EXPECT_EQ(c->mEye1X, 50);
}

TEST_F(PickerTest, LensFollowsThePointerAndShowsItsSurroundingsThreeTimesEnlarged) {
    WritePicture(QStringLiteral("face.bmp"), 160, 120, QColor(255, 220, 0), 60, 50);
    AddWindow();
    frmSelCenter picker;
    ASSERT_TRUE(picker.FillForm(1));
    picker.show();
    ASSERT_EQ(picker.picLens->size(), QSize(frmSelCenter::kLensSize, frmSelCenter::kLensSize));

    // Before the pointer moves over the picture: the area around (0, 0), partly outside it.
    const int inner = frmSelCenter::kLensSize - 2 * frmSelCenter::kLensBorder; // 70
    EXPECT_EQ(picker.LensSourceRect(), LensSource(0, 0, inner, inner));
    EXPECT_EQ(picker.LensSourceRect(), (LensRect{-12, -12, 23, 23}));
    QImage lens = picker.picLens->grab().toImage();
    const QColor face(255, 220, 0), magenta(255, 0, 255), spot(20, 20, 20);
    EXPECT_EQ(Pixel(lens, 3, 3), picker.picImg->grab().toImage().pixelColor(200, 150)); // outside: the box
    EXPECT_EQ(Pixel(lens, 45, 45), magenta); // picture pixel (2, 2), enlarged
    EXPECT_EQ(Pixel(lens, 70, 70), face);    // picture pixel (10, 10)

    MoveOver(picker.picImg, QPoint(60, 50));
    EXPECT_EQ(picker.picLens->pos(), QPoint(80, 70)); // 20 pixels right of and below the pointer
    EXPECT_EQ(picker.MouseX(), 60);
    EXPECT_EQ(picker.MouseY(), 50);
    EXPECT_EQ(picker.LensSourceRect(), (LensRect{48, 38, 23, 23}));
    lens = picker.picLens->grab().toImage();
    EXPECT_EQ(Pixel(lens, 37, 37), spot); // the 3 x 3 spot under the pointer, in the middle
    EXPECT_EQ(Pixel(lens, 43, 43), spot);
    EXPECT_EQ(Pixel(lens, 41, 41), spot);
    EXPECT_EQ(Pixel(lens, 30, 37), face); // beside the spot's left pixel, enlarged
    EXPECT_EQ(Pixel(lens, 5, 5), face);
    // The spot is three lens pixels wide per picture pixel: 9 of the 70 in the middle row.
    int dark = 0;
    for (int x = frmSelCenter::kLensBorder; x < frmSelCenter::kLensBorder + inner; ++x)
        dark += Pixel(lens, x, 37) == spot;
    EXPECT_GE(dark, 8);
    EXPECT_LE(dark, 10);
}

TEST_F(PickerTest, MarkersPulseFromWhiteToRedAndBlue) {
    AddWindow();
    frmSelCenter picker;
    ASSERT_TRUE(picker.FillForm(1));
    picker.show();
    std::set<std::int32_t> seen;
    for (int i = 0; i < 6; ++i) {
        QTest::qWait(frmSelCenter::kTimerMs + 10);
        const std::int32_t one = picker.MarkerColor(0), two = picker.MarkerColor(1);
        EXPECT_EQ(one & 255, 255);                      // red stays full
        EXPECT_EQ((one >> 8) & 255, (one >> 16) & 255); // green and blue fade together
        EXPECT_EQ((two >> 16) & 255, 255);              // blue stays full
        EXPECT_EQ(two & 255, (two >> 8) & 255);
        EXPECT_EQ((one >> 8) & 255, two & 255); // one pulse for both
        seen.insert(one);
    }
    EXPECT_GE(seen.size(), 3u);
}

TEST_F(PickerTest, LayoutKeepsTheButtonsInTheCornerWhenResized) {
    AddWindow();
    frmSelCenter picker;
    ASSERT_TRUE(picker.FillForm(1));
    picker.show();
    for (const QSize size : {QSize(700, 500), QSize(458, 342), QSize(300, 600)}) {
        picker.resize(size);
        QApplication::processEvents();
        const QRect ok = picker.cmdOK->geometry(), cancel = picker.cmdCancel->geometry();
        EXPECT_EQ(ok.right() + 1, size.width() - 8) << size.width(); // 120 twips from the edges
        EXPECT_EQ(ok.bottom() + 1, size.height() - 8) << size.height();
        EXPECT_EQ(cancel.right() + 1, ok.left() - 16); // 240 twips left of OK
        EXPECT_EQ(cancel.top(), ok.top());
        EXPECT_EQ(picker.picImg->geometry(), QRect(0, 0, size.width(), ok.top() - 8));
        EXPECT_EQ(picker.GradShp->y(), picker.picImg->height());
        EXPECT_EQ(picker.GradShp->width(), size.width());
        EXPECT_EQ(picker.lblEye[0]->y(), ok.top());
        EXPECT_EQ(picker.lblEye[1]->geometry().bottom(), ok.bottom()); // aligned with the buttons
        EXPECT_EQ(picker.shpBorder[1]->geometry(), picker.lblEye[1]->geometry().adjusted(-2, -1, 3, 3));
    }
    // Too low for the picture box: it keeps its height and nothing fails.
    const int before = picker.picImg->height();
    picker.resize(400, 20);
    QApplication::processEvents();
    EXPECT_EQ(picker.picImg->height(), before);
}

TEST_F(PickerTest, CancelAndTheCloseBoxGiveBackTheCentres) {
    const std::pair<const char*, std::function<void(frmSelCenter&)>> ways[] = {
        {"Cancel", [](frmSelCenter& p) { QTest::mouseClick(p.cmdCancel, Qt::LeftButton); }},
        {"close box", [](frmSelCenter& p) { p.close(); }},
        {"OK", [](frmSelCenter& p) { QTest::mouseClick(p.cmdOK, Qt::LeftButton); }},
    };
    for (const auto& [way, close] : ways) {
        SCOPED_TRACE(way);
        CharacterWindows.assign(1, nullptr);
        owned.clear();
        frmPic* w = AddWindow();
        frmSelCenter picker;
        ASSERT_TRUE(picker.FillForm(1));
        picker.show();
        QTest::mouseClick(picker.picImg, Qt::LeftButton, {}, QPoint(11, 12));
        QTest::mouseClick(picker.picImg, Qt::RightButton, {}, QPoint(13, 14));
        QTest::mouseClick(picker.picImg, Qt::LeftButton, {}, QPoint(15, 16));
        close(picker);
        EXPECT_FALSE(picker.isVisible());
        const bool kept = std::string(way) == "OK";
        EXPECT_EQ(w->mEye1X, kept ? 15 : 50);
        EXPECT_EQ(w->mEye1Y, kept ? 16 : 58);
        EXPECT_EQ(w->mEye2X, kept ? 13 : 82);
        EXPECT_EQ(w->mEye2Y, kept ? 14 : 58);
    }
}

TEST_F(PickerTest, F1ShowsTheAdvancedHelpModal) {
    AddWindow();
    frmSelCenter picker;
    ASSERT_TRUE(picker.FillForm(1));
    picker.show();
    bool shown = false;
    WhenModal([&] {
        ASSERT_TRUE(HelpWindowExists());
        EXPECT_TRUE(HelpWindow().isModal());
        EXPECT_TRUE(HelpWindow().lblText->text().startsWith(QStringLiteral("=== Advanced Settings")));
        shown = true;
        HelpWindow().close();
    });
    QTest::keyClick(picker.cmdOK, Qt::Key_F1);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(picker.isVisible());
}

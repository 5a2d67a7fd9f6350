// A character window loads its picture, cuts its outline and stands at its start position; it
// moves, looks, is dragged and answers the keys.
#include "character/frmPic.h"
#include "character/CharacterClock.h"
#include "character/ErrorPicture.h"
#include "start/modStart.h"

#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>
#include <utility>

namespace {

class CharacterWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetProgramDirectory(dir.path());
        TwipsPerPixelX = TwipsPerPixelY = 15.0f;
        IsWin2000OrLater = false;
    }
    void TearDown() override { SetProgramDirectory({}); }

    // A yellow face on magenta, with a magenta hole in the middle of the face.
    void WriteFace(const QString& name, const char* format) {
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        QPainter p(&image);
        p.fillRect(10, 5, 40, 30, QColor(255, 220, 0));
        p.fillRect(28, 18, 4, 4, QColor(255, 0, 255));
        p.end();
        ASSERT_TRUE(image.save(dir.filePath(name), format));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(CharacterWindow, OutlineFollowsTheKeyColourEverywhere) {
    WriteFace(QStringLiteral("face.bmp"), "BMP");
    frmPic w;
    w.mPicFileName = "face.bmp";
    w.MakeWindowRegion();
    EXPECT_EQ(w.size(), QSize(60, 40));
    const QRegion mask = w.mask();
    EXPECT_TRUE(mask.contains(QPoint(12, 7)));   // face
    EXPECT_TRUE(mask.contains(QPoint(49, 34)));  // face's last pixel
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));   // background corner
    EXPECT_FALSE(mask.contains(QPoint(50, 20))); // just right of the face
    EXPECT_FALSE(mask.contains(QPoint(29, 19))); // the key-coloured hole inside the face
    EXPECT_EQ(w.Surface().pixel(12, 7), QColor(255, 220, 0).rgb());
}

TEST_F(CharacterWindow, PicturesThatCannotBeLoadedShowTheirOwnErrorPicture) {
    QFile text(dir.filePath(QStringLiteral("notes.gif")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a picture\n");
    text.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.bmp")));
    QFile empty(dir.filePath(QStringLiteral("empty.bmp")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();

    for (const char* name : {"missing.bmp", "notes.gif", "folder.bmp", "empty.bmp"}) {
        frmPic w;
        w.mPicFileName = name;
        w.MakeWindowRegion();
        EXPECT_EQ(w.size(), QSize(200, 88)) << name;
        // Drawn afresh for this name: nothing of an earlier failure's text is left on it.
        EXPECT_EQ(w.Picture(), MakeErrorPicture(QString::fromLatin1(name))) << name;
        EXPECT_EQ(w.Picture().pixel(0, 0) & 0xFFFFFFu, kErrorKeyColour) << name;
        EXPECT_FALSE(w.mask().contains(QPoint(0, 0))) << name;
    }
    EXPECT_NE(MakeErrorPicture(QStringLiteral("one.bmp")), MakeErrorPicture(QStringLiteral("two.bmp")));
}

TEST_F(CharacterWindow, APictureUnderAnotherExtensionLoadsByItsContent) {
    WriteFace(QStringLiteral("face.gif"), "BMP"); // BMP bytes under a GIF name
    frmPic w;
    w.mPicFileName = "face.gif";
    w.MakeWindowRegion();
    EXPECT_EQ(w.size(), QSize(60, 40));
}

TEST_F(CharacterWindow, GifAndWindowsSeparatorsLoad) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("faces")));
    WriteFace(QStringLiteral("faces/face.png"), "PNG"); // any format Qt reads is accepted
    frmPic w;
    w.mPicFileName = "faces\\face.png";
    w.MakeWindowRegion();
    EXPECT_EQ(w.size(), QSize(60, 40));
}

TEST_F(CharacterWindow, MakeWindowRegionPutsTheCharacterBackAtItsClampedStart) {
    WriteFace(QStringLiteral("face.bmp"), "BMP");
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    frmPic w;
    w.mPicFileName = "face.bmp";
    w.mStartPosX = 100000;
    w.mStartPosY = -5;
    w.MakeWindowRegion();
    EXPECT_EQ(w.pos(), QPoint(screen.width() - 60, 0));

    w.move(10, 10);
    w.mStartPosX = 30;
    w.mStartPosY = 40;
    w.MakeWindowRegion();
    EXPECT_EQ(w.pos(), QPoint(30, 40));
    const TwipsRect g = w.GeometryTwips();
    EXPECT_DOUBLE_EQ(g.left, 450);
    EXPECT_DOUBLE_EQ(g.width, 900);
}

// ---------------------------------------------------------------------------------------------
// The living window: the tick, the painted irises, dragging and the keys.

namespace {

constexpr QRgb kFace = 0xFFFFDC00;  // the face's yellow
constexpr QRgb kIris = 0xFF0000FF;  // blue outline
constexpr QRgb kPupil = 0xFFFF0000; // red inside

// Counts the paint events a widget receives and where they were.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
            region += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
    int count = 0;
    QRegion region;
};

// Puts CharacterWindows back as it was when the test ends.
class KeepCharacterWindows {
public:
    KeepCharacterWindows() : saved_(CharacterWindows) {}
    ~KeepCharacterWindows() { CharacterWindows = saved_; }
    KeepCharacterWindows(const KeepCharacterWindows&) = delete;
    KeepCharacterWindows& operator=(const KeepCharacterWindows&) = delete;

private:
    std::vector<CharacterWindowBase*> saved_;
};

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
}

class LivingWindow : public CharacterWindow {
protected:
    // A 120 x 100 yellow face on magenta; eye 1 at (40, 50), eye 2 at (80, 50), each 20 x 14
    // with a 9 x 9 iris, blue outline of 1 pixel, red pupil. The character stands at (100, 100)
    // and its clock is stopped, so only the test ticks it.
    void Make(frmPic& w, int index = 1, int fixed = 1) {
        QImage image(120, 100, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        QPainter p(&image);
        p.fillRect(5, 5, 110, 90, QColor::fromRgb(kFace));
        p.end();
        ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("living.bmp")), "BMP"));
        w.SetTimer1Enabled(false);
        w.mMyIndex = index;
        w.mFixed = fixed;
        w.mPicFileName = "living.bmp";
        w.mEye1X = 40;
        w.mEye1Y = 50;
        w.mEye2X = 80;
        w.mEye2Y = 50;
        w.mEye1DiamX = w.mEye2DiamX = 20;
        w.mEye1DiamY = w.mEye2DiamY = 14;
        w.mIris1DiamX = w.mIris1DiamY = w.mIris2DiamX = w.mIris2DiamY = 9;
        w.mIrisWidth = 1;
        w.mIrisColor = 255 * 65536;
        w.mPupilColor = 255;
        w.mStartPosX = 100;
        w.mStartPosY = 100;
        w.MakeWindowRegion();
        ASSERT_EQ(w.pos(), QPoint(100, 100));
    }

    static QSize Screen() { return QGuiApplication::primaryScreen()->geometry().size(); }
};

} // namespace

TEST_F(LivingWindow, NoPaintAtAllWhilePointerAndWindowStandStill) {
    for (const int fixed : {1, 0}) { // standing still; following a pointer that is inside it
        frmPic w;
        Make(w, 1, fixed);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const QPoint pointer = fixed == 1 ? QPoint(700, 150) : QPoint(150, 140);
        w.Timer1_Timer(pointer);
        Settle();

        PaintCounter counter;
        w.installEventFilter(&counter);
        for (int i = 0; i < 5; ++i) {
            w.Timer1_Timer(pointer);
            Settle();
        }
        EXPECT_EQ(counter.count, 0) << "target " << fixed;
        EXPECT_EQ(w.pos(), QPoint(100, 100)) << "target " << fixed;
        if (fixed == 1) {
            // Far away, a pixel's move of the pointer changes the gaze but not the irises' pixels.
            w.Timer1_Timer(pointer + QPoint(0, 1));
            Settle();
            EXPECT_EQ(counter.count, 0) << "repainted irises that stayed on their pixels";
        }

        // The pointer moves so that the irises move: the eyes alone are repainted, only within the two
        // eye rectangles. (A move that leaves the irises on the same pixels repaints nothing.)
        w.Timer1_Timer(pointer + (fixed == 1 ? QPoint(0, 400) : QPoint(0, 30)));
        Settle();
        EXPECT_GE(counter.count, 1) << "target " << fixed;
        const QRegion eyes = QRegion(24, 37, 31, 25) + QRegion(64, 37, 31, 25);
        const QRect outside = (counter.region - eyes).boundingRect();
        EXPECT_TRUE(outside.isEmpty()) << "target " << fixed << ": repainted outside the eyes at " << outside.x() << ","
                                       << outside.y() << " " << outside.width() << "x" << outside.height();
        w.removeEventFilter(&counter);
    }
}

TEST_F(LivingWindow, RefreshImageDrawsBothIrisesAtOnce) {
    frmPic w;
    Make(w);
    // The pointer on eye 1's centre: iris 1 there; eye 2 looks far left, half its width: (70, 50).
    QCursor::setPos(140, 150);
    if (QCursor::pos() != QPoint(140, 150))
        GTEST_SKIP() << "this platform cannot place the pointer";
    EXPECT_EQ(w.Surface().pixel(40, 50), kFace); // the bare picture until the first tick

    w.RefreshImage();
    const QImage s = w.Surface();
    for (const int cx : {40, 70}) {
        // Iris box (cx - 5, 45) to (cx + 4, 54), right and bottom exclusive.
        EXPECT_EQ(s.pixel(cx, 50), kPupil) << cx;
        EXPECT_EQ(s.pixel(cx - 5, 50), kIris) << cx; // the box's first column
        EXPECT_EQ(s.pixel(cx + 3, 50), kIris) << cx; // its last column
        EXPECT_EQ(s.pixel(cx - 6, 50), kFace) << cx;
        EXPECT_EQ(s.pixel(cx + 4, 50), kFace) << cx;
        EXPECT_EQ(s.pixel(cx, 45), kIris) << cx; // first row
        EXPECT_EQ(s.pixel(cx, 53), kIris) << cx; // last row
        EXPECT_EQ(s.pixel(cx, 44), kFace) << cx;
        EXPECT_EQ(s.pixel(cx, 54), kFace) << cx;
    }
    // What the window shows is the surface.
    const QImage shown = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(40, 50), kPupil);
    EXPECT_EQ(shown.pixel(70, 50), kPupil);

    // Again with nothing changed: the irises are wiped and drawn again, not lost.
    w.RefreshImage();
    EXPECT_EQ(w.Surface().pixel(40, 50), kPupil);
    EXPECT_EQ(w.Surface().pixel(70, 50), kPupil);

    // New eye geometry: the old irises go, the new ones show at once.
    w.mEye1Y = w.mEye2Y = 70;
    w.RefreshImage();
    EXPECT_EQ(w.Surface().pixel(40, 50), kFace);
    EXPECT_EQ(w.Surface().pixel(70, 50), kFace);
    // The pointer is now 20 pixels straight above eye 1: iris 1 half an eye height up, at
    // (40, 63); iris 2 towards the upper left on its ellipse, at (71, 67).
    EXPECT_EQ(w.Surface().pixel(40, 63), kPupil);
    EXPECT_EQ(w.Surface().pixel(40, 58), kIris);
    EXPECT_EQ(w.Surface().pixel(71, 67), kPupil);
    EXPECT_EQ(w.Surface().pixel(66, 67), kIris);
}

TEST_F(LivingWindow, OverlappingEyesKeepBothIrisesWithIrisTwoOnTop) {
    frmPic w;
    Make(w);
    w.mEye1X = 40;
    w.mEye2X = 46;
    w.mEye1DiamX = w.mEye1DiamY = w.mEye2DiamX = w.mEye2DiamY = 10;
    w.mIris1DiamX = w.mIris1DiamY = w.mIris2DiamX = w.mIris2DiamY = 8;
    w.Timer1_Timer(QPoint(100, 100)); // paint somewhere else first
    w.Timer1_Timer(QPoint(790, 150)); // far right at the eyes' height
    const QImage s = w.Surface();
    // Iris 1 in (41, 46)-(49, 54), iris 2 in (47, 46)-(55, 54); eye 2's rectangle, erased after
    // eye 1's, spans columns 36..55, over all of iris 1.
    EXPECT_EQ(s.pixel(43, 50), kPupil); // iris 1 survives eye 2's erase
    EXPECT_EQ(s.pixel(41, 50), kIris);  // iris 1's outline, left of iris 2
    EXPECT_EQ(s.pixel(48, 50), kPupil); // iris 1's right outline under iris 2's pupil
    EXPECT_EQ(s.pixel(47, 50), kIris);  // iris 2's left outline over iris 1's pupil
    EXPECT_EQ(s.pixel(54, 50), kIris);
    EXPECT_EQ(s.pixel(55, 50), kFace);
    EXPECT_EQ(s.pixel(40, 50), kFace);
}

TEST_F(LivingWindow, FollowStepsRoundToTheNearestPixelAndStopInside) {
    frmPic slow;
    Make(slow, 1, 0);
    slow.mSpeedX = slow.mSpeedY = 5;
    slow.SetCuriouSpeed();
    // Centre (160, 150); the pointer 540 pixels to the right: a step of 0.11 pixel.
    slow.Timer1_Timer(QPoint(700, 150));
    EXPECT_EQ(slow.pos(), QPoint(100, 100));

    frmPic fast;
    Make(fast, 1, 0);
    fast.mSpeedX = fast.mSpeedY = 200;
    fast.SetCuriouSpeed();
    fast.Timer1_Timer(QPoint(700, 150));
    EXPECT_EQ(fast.pos(), QPoint(288, 100)); // 100 + 540 / 2.878 = 287.6
    QPoint last;
    int ticks = 0;
    do {
        last = fast.pos();
        fast.Timer1_Timer(QPoint(700, 150));
    } while (fast.pos() != last && ++ticks < 100);
    // Stopped as soon as the pointer was inside its extent; not centred on it.
    const QRect g = fast.geometry();
    EXPECT_LE(std::abs(g.x() + 60 - 700), 60);
    EXPECT_GT(std::abs(g.x() + 60 - 700), 10);
    EXPECT_EQ(g.y(), 100);
    fast.Timer1_Timer(QPoint(700, 150));
    EXPECT_EQ(fast.pos(), last);
}

TEST_F(LivingWindow, FleeingTickStaysOnTheScreen) {
    frmPic w;
    Make(w, 1, 0);
    w.mFlee = true;
    w.mSpeedX = w.mSpeedY = 30;
    w.SetCuriouSpeed();
    w.move(0, 0);
    // One pixel right of and below its centre: the step would be a whole pixel up and left.
    w.Timer1_Timer(QPoint(61, 51));
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    const QSize screen = Screen();
    w.move(screen.width() - 120, screen.height() - 100);
    w.Timer1_Timer(QPoint(screen.width() - 61, screen.height() - 51));
    EXPECT_EQ(w.pos(), QPoint(screen.width() - 120, screen.height() - 100));
    // Away from the corner it runs: the pointer 10 pixels left of its centre.
    w.move(300, 200);
    w.Timer1_Timer(QPoint(350, 250));
    EXPECT_EQ(w.pos(), QPoint(310, 200));
}

namespace {

void SendMouse(QWidget& w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(local), QPointF(w.mapToGlobal(local)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

} // namespace

TEST_F(LivingWindow, LeftButtonDragMovesOtherButtonsDoNot) {
    frmPic w;
    Make(w);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    // Left alone: the window goes along with the pointer, in steps.
    const QPoint start = w.pos();
    SendMouse(w, QEvent::MouseButtonPress, QPoint(20, 30), Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseMove, QPoint(20 + 15, 30 + 7), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(w.pos(), start + QPoint(15, 7));
    // The pointer moved another 10, 10 on the screen; relative to the moved window it is here.
    SendMouse(w, QEvent::MouseMove, QPoint(20 + 10, 30 + 10), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(w.pos(), start + QPoint(25, 17));
    SendMouse(w, QEvent::MouseButtonRelease, QPoint(30, 40), Qt::LeftButton, Qt::NoButton);
    // After the release moves do nothing.
    SendMouse(w, QEvent::MouseMove, QPoint(90, 90), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(w.pos(), start + QPoint(25, 17));

    const QPoint dropped = w.pos();
    const struct {
        Qt::MouseButton button;
        Qt::MouseButtons held;
        const char* what;
    } others[] = {{Qt::RightButton, {}, "right"},
                  {Qt::MiddleButton, {}, "middle"},
                  {Qt::LeftButton, Qt::RightButton, "left while the right is held"}};
    for (const auto& o : others) {
        SendMouse(w, QEvent::MouseButtonPress, QPoint(20, 30), o.button, o.held | o.button);
        SendMouse(w, QEvent::MouseMove, QPoint(60, 70), Qt::NoButton, o.held | o.button);
        SendMouse(w, QEvent::MouseButtonRelease, QPoint(60, 70), o.button, o.held);
        EXPECT_EQ(w.pos(), dropped) << o.what;
    }
}

TEST_F(LivingWindow, DroppedOffTheScreenAFleeingCharacterSnapsBack) {
    const QSize screen = Screen();
    for (const bool flee : {false, true}) {
        frmPic w;
        Make(w);
        w.mFlee = flee;
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        // Dragged to (-30, -20): pressed at (50, 50), the pointer 130 left and 120 up.
        SendMouse(w, QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
        SendMouse(w, QEvent::MouseMove, QPoint(50 - 130, 50 - 120), Qt::NoButton, Qt::LeftButton);
        ASSERT_EQ(w.pos(), QPoint(-30, -20)) << "flee " << flee;
        SendMouse(w, QEvent::MouseButtonRelease, QPoint(50 - 130, 50 - 120), Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(w.pos(), flee ? QPoint(0, 0) : QPoint(-30, -20)) << "flee " << flee;

        // And beyond the lower right corner.
        const QPoint beyond(screen.width() - 60, screen.height() - 40);
        const QPoint by = beyond - w.pos();
        SendMouse(w, QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
        SendMouse(w, QEvent::MouseMove, QPoint(50, 50) + by, Qt::NoButton, Qt::LeftButton);
        ASSERT_EQ(w.pos(), beyond) << "flee " << flee;
        SendMouse(w, QEvent::MouseButtonRelease, QPoint(50, 50) + by, Qt::RightButton, Qt::LeftButton);
        EXPECT_EQ(w.pos(), flee ? QPoint(screen.width() - 120, screen.height() - 100) : beyond) << "flee " << flee;
    }
}

TEST_F(LivingWindow, WhileDraggedTheWindowDoesNotMoveByItselfButTheEyesFollow) {
    frmPic w;
    Make(w, 1, 0); // follows the pointer
    w.mSpeedX = w.mSpeedY = 200;
    w.SetCuriouSpeed();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    SendMouse(w, QEvent::MouseButtonPress, QPoint(20, 30), Qt::LeftButton, Qt::LeftButton);
    w.Timer1_Timer(QPoint(700, 150)); // far right at the eyes' height
    EXPECT_EQ(w.pos(), QPoint(100, 100));
    EXPECT_EQ(w.Surface().pixel(50, 50), kPupil); // iris 1 looks right: eye centre + 10
    EXPECT_EQ(w.Surface().pixel(90, 50), kPupil);
    w.Timer1_Timer(QPoint(140, 700)); // far below eye 1
    EXPECT_EQ(w.pos(), QPoint(100, 100));
    EXPECT_EQ(w.Surface().pixel(40, 57), kPupil);
    SendMouse(w, QEvent::MouseButtonRelease, QPoint(20, 30), Qt::LeftButton, Qt::NoButton);
    w.Timer1_Timer(QPoint(700, 150));
    EXPECT_EQ(w.pos(), QPoint(288, 100));
}

TEST_F(LivingWindow, KeysSwitchFleeMinimiseAndClampTheTarget) {
    KeepCharacterWindows keep;
    frmPic w;
    Make(w, 1, 0);
    frmPic other;
    Make(other, 2, 2);
    CharacterWindows = {nullptr, &w, &other};
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    // Only keys that cannot end the program: which keys end it is checked on the key filter
    // itself, as a wrong answer here would end the test program.
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool toggles;
        const char* what;
    } cases[] = {
        {Qt::Key_Space, Qt::NoModifier, true, "Space"},
        {Qt::Key_Space, Qt::ShiftModifier, true, "Shift+Space"},
        {Qt::Key_Return, Qt::NoModifier, true, "Enter"},
        {Qt::Key_Enter, Qt::KeypadModifier, true, "keypad Enter"},
        {Qt::Key_Space, Qt::ControlModifier, true, "Ctrl+Space"},
        {Qt::Key_A, Qt::NoModifier, false, "A"},
    };
    for (const auto& c : cases) {
        const bool before = w.mFlee;
        w.mFixed = 5; // beyond the last character
        QTest::keyClick(&w, c.key, c.modifiers);
        EXPECT_EQ(w.mFlee, c.toggles ? !before : before) << c.what;
        EXPECT_EQ(w.mFixed, 2) << c.what;
    }
    w.mFixed = 1;
    QTest::keyClick(&w, Qt::Key_A);
    EXPECT_EQ(w.mFixed, 1);

    // F12 minimises; a minimised follower does not move, then F12 restores it.
    w.mFlee = false;
    w.mFixed = 0;
    QTest::keyClick(&w, Qt::Key_F12);
    EXPECT_TRUE(w.isMinimized());
    w.Timer1_Timer(QPoint(700, 150));
    EXPECT_EQ(w.pos(), QPoint(100, 100));
    QTest::keyClick(&w, Qt::Key_F12);
    EXPECT_FALSE(w.isMinimized());
    w.Timer1_Timer(QPoint(700, 150));
    EXPECT_NE(w.pos(), QPoint(100, 100));
}

TEST_F(LivingWindow, AFollowerOfAHiddenCharacterTurnsToThePointer) {
    KeepCharacterWindows keep;
    frmPic follower;
    Make(follower, 1, 2);
    follower.mSpeedX = follower.mSpeedY = 200;
    follower.SetCuriouSpeed();
    frmPic target;
    Make(target, 2, 2);
    target.move(500, 100); // centre (560, 150): to the right
    CharacterWindows = {nullptr, &follower, &target};
    follower.show();
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));

    // The pointer to the left: the follower goes right, to the character.
    follower.Timer1_Timer(QPoint(0, 150));
    EXPECT_GT(follower.pos().x(), 100);
    target.hide();
    const int x = follower.pos().x();
    follower.Timer1_Timer(QPoint(0, 150));
    EXPECT_LT(follower.pos().x(), x) << "turned to the pointer";
    target.show();
    const int x2 = follower.pos().x();
    follower.Timer1_Timer(QPoint(0, 150));
    EXPECT_GT(follower.pos().x(), x2) << "back to the character";
}

TEST_F(LivingWindow, TheClockTicksEveryWindowThatIsNotPaused) {
    frmPic running;
    Make(running, 1, 0);
    frmPic paused;
    Make(paused, 1, 0);
    running.mSpeedX = running.mSpeedY = paused.mSpeedX = paused.mSpeedY = 200;
    running.SetCuriouSpeed();
    paused.SetCuriouSpeed();
    QCursor::setPos(700, 150);
    if (QCursor::pos() != QPoint(700, 150))
        GTEST_SKIP() << "this platform cannot place the pointer";
    running.SetTimer1Enabled(true);
    CharacterClock::Instance().Tick();
    running.SetTimer1Enabled(false);
    EXPECT_EQ(running.pos(), QPoint(288, 100));
    EXPECT_EQ(paused.pos(), QPoint(100, 100));
}

TEST_F(LivingWindow, WildDiametersAndWidthsDrawWithoutHarm) {
    for (const int v : {-50, 0, 100000, 2147483647}) {
        frmPic w;
        Make(w);
        w.mEye1DiamX = w.mEye2DiamY = v;
        w.mIris1DiamX = w.mIris1DiamY = w.mIris2DiamX = v;
        w.mIrisWidth = static_cast<std::int16_t>(v == 0 ? 0 : 255);
        QCursor::setPos(140, 150);
        w.RefreshImage();
        w.Timer1_Timer(QPoint(700, 600));
        EXPECT_EQ(w.Surface().size(), QSize(120, 100)) << v;
        EXPECT_EQ(w.pos(), QPoint(100, 100)) << v;
    }
}

TEST_F(LivingWindow, IrisWidthZeroDrawsAThinOutline) {
    frmPic w;
    Make(w);
    w.mIrisWidth = 0;
    w.Timer1_Timer(QPoint(140, 150)); // on eye 1's centre
    const QImage s = w.Surface();
    EXPECT_EQ(s.pixel(35, 50), kIris);
    EXPECT_EQ(s.pixel(36, 50), kPupil);
    EXPECT_EQ(s.pixel(34, 50), kFace);
}

// ---------------------------------------------------------------------------------------------
// Hostile picture files: cut short, or with headers that claim enormous pictures.

namespace {

// A GIF of `image` (pixels as indexes into a palette of at most 128 colours) whose codes are all
// 8 bits wide: a clear code every 100 pixels keeps the code table from growing, so the data
// needs no compression. Qt reads GIF but does not write it.
QByteArray SimpleGif(const QImage& image) {
    QList<QRgb> palette;
    QByteArray codes;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) & 0xFFFFFFu;
            if (!palette.contains(c))
                palette.append(c);
            if ((y * image.width() + x) % 100 == 0)
                codes.append(char(128)); // clear
            codes.append(char(palette.indexOf(c)));
        }
    codes.append(char(129)); // end of information
    auto put16 = [](QByteArray& b, int v) {
        b.append(char(v & 255));
        b.append(char((v >> 8) & 255));
    };
    QByteArray gif("GIF89a");
    put16(gif, image.width());
    put16(gif, image.height());
    gif.append(char(0xF6)); // a global table of 128 colours
    gif.append(2, '\0');
    for (int i = 0; i < 128; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : 0;
        gif.append(char(qRed(c)));
        gif.append(char(qGreen(c)));
        gif.append(char(qBlue(c)));
    }
    gif.append(',');
    put16(gif, 0);
    put16(gif, 0);
    put16(gif, image.width());
    put16(gif, image.height());
    gif.append('\0');
    gif.append(char(7)); // 7-bit pixels: codes start 8 bits wide
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif.append(char(block.size()));
        gif.append(block);
    }
    gif.append('\0');
    gif.append(';');
    return gif;
}

// A BMP header of `width` x `height` pixels, 8 bits each, coded in runs, whose data ends the
// picture at once: whole, and small, whatever size it claims.
QByteArray RunCodedBmp(qint32 width, qint32 height) {
    QByteArray b("BM");
    auto put = [&b](quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.append(char((v >> (8 * i)) & 255));
    };
    const quint32 dataAt = 14 + 40 + 8;
    put(dataAt + 2, 4);
    put(0, 4);
    put(dataAt, 4);
    put(40, 4);
    put(quint32(width), 4);
    put(quint32(height), 4);
    put(1, 2);
    put(8, 2);
    put(1, 4); // run-length coded, 8 bits
    put(2, 4);
    put(2835, 4);
    put(2835, 4);
    put(2, 4);
    put(0, 4);
    put(0x00FF00FF, 4);
    put(0x0000DCFF, 4);
    b.append("\x00\x01", 2); // end of picture
    return b;
}

// The process's resident memory in kB: now (VmRSS) or its peak (VmHWM).
long StatusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

TEST_F(CharacterWindow, HostilePicturesShowTheErrorPictureWithinBoundedMemory) {
    QImage face(60, 40, QImage::Format_RGB32);
    face.fill(QColor(255, 0, 255));
    QPainter(&face).fillRect(10, 5, 40, 30, QColor(255, 220, 0));
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        ASSERT_TRUE(face.save(&buffer, "BMP"));
    }
    const QByteArray gif = SimpleGif(face);
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::black);
    QByteArray hugeGif = SimpleGif(pixel);
    // Screen and picture both 65,535 x 65,535, the largest a GIF can claim, around one pixel.
    for (const int at : {6, 8, 6 + 7 + 384 + 5, 6 + 7 + 384 + 7})
        hugeGif[at] = hugeGif[at + 1] = char(0xFF);
    QByteArray hugeBmp = bmp.left(54); // a header of 100,000 x 100,000 pixels, 24 bits, no data
    for (const int at : {18, 22}) {
        const quint32 v = 100000;
        for (int i = 0; i < 4; ++i)
            hugeBmp[at + i] = char((v >> (8 * i)) & 255);
    }
    const std::pair<const char*, QByteArray> files[] = {
        {"whole.gif", gif},
        {"cut.bmp", bmp.left(bmp.size() / 2)},
        {"cut-by-one.bmp", bmp.left(bmp.size() - 4)},
        {"cut.gif", gif.left(gif.size() / 2)},
        {"cut-in-header.gif", gif.left(200)},
        {"huge.bmp", hugeBmp},
        {"huge-runs.bmp", RunCodedBmp(100000, 100000)},
        {"huge.gif", hugeGif},
        // 95 MB as 32-bit pixels: beyond the window's 64 MB, within what Qt allows by default.
        {"large-runs.bmp", RunCodedBmp(5000, 5000)},
    };
    for (const auto& [name, bytes] : files) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    const long before = StatusKb("VmRSS:");
    // Writing 5 sets the peak back to the present size, so the peak below is this test's own.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool peakReset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();

    for (const auto& [name, bytes] : files) {
        frmPic w;
        w.mPicFileName = name;
        w.MakeWindowRegion();
        if (std::string_view(name) == "whole.gif") {
            EXPECT_EQ(w.Picture(), face) << name; // the picture itself, read from the GIF written here
            continue;
        }
        EXPECT_EQ(w.size(), QSize(200, 88)) << name;
        EXPECT_EQ(w.Picture(), MakeErrorPicture(QString::fromLatin1(name))) << name;
    }

    const long peak = StatusKb("VmHWM:");
    if (!peakReset || before < 0 || peak < 0)
        GTEST_SKIP() << "this system does not report the peak resident memory of a process";
    EXPECT_LT(peak - before, 48 * 1024) << "peak " << peak << " kB, before " << before << " kB";
}

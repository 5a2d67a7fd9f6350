// A character window loads its picture and cuts its outline; it moves, looks, is dragged and
// answers the keys.
#include "character/frmPic.h"
#include "character/CharacterClock.h"
#include "character/CharacterTestSupport.h"
#include "character/ErrorPicture.h"
#include "character/PictureBytes.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <string>
#include <tuple>

namespace {

constexpr QRgb kFace = 0xFFFFDC00;  // the faces' yellow
constexpr QRgb kIris = 0xFF0000FF;  // blue outline
constexpr QRgb kPupil = 0xFFFF0000; // red inside

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

class CharacterWindow : public ProgramFolderTest {
protected:
    void WriteFile(const char* name, const std::string& bytes) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }
};

} // namespace

TEST_F(CharacterWindow, TheOutlineLeavesOutTheKeyColourAndWhatTheFileMakesTransparent) {
    // A yellow face on the key colour with a key-coloured hole.
    QImage face(5, 2, QImage::Format_RGB32);
    face.fill(kFace);
    face.setPixel(0, 0, kKeyColour);
    face.setPixel(3, 1, kKeyColour);
    QImage soft(4, 2, QImage::Format_ARGB32);
    soft.fill(kFace);
    const int alphas[] = {0, 127, 128}; // and 255
    for (int x = 0; x < 3; ++x)
        soft.setPixel(x, 0, qRgba(255, 220, 0, alphas[x]));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("faces")));
    Save(face, QStringLiteral("face.bmp"));
    Save(face, QStringLiteral("bmp.gif")); // the content decides
    Save(face, QStringLiteral("faces/face.png"), "PNG");
    Save(soft, QStringLiteral("soft.png"), "PNG");
    // 4 x 2 pixels "02312310" of the palette key magenta, face yellow, black marked transparent, the same black
    // opaque; a clear code before every second pixel keeps each code three bits wide.
    WriteFile("clear.gif", std::string("GIF89a\x04\0\x02\0\x81\0\0\xff\0\xff\xff\xdc\0\0\0\0\0\0\0"
                                       "\x21\xf9\x04\x01\0\0\x02\0\x2c\0\0\0\0\x04\0\x02\0\0"
                                       "\x02\x05\x84\xb8\x50\x63\x50\0\x3b", 52));
    const std::tuple<const char*, int, const char*> pictures[] = {
        // As the settings file names them, their width, and which pixels are inside.
        {"face.bmp", 5, ".#######.#"}, {"bmp.gif", 5, ".#######.#"}, {"faces\\face.png", 5, ".#######.#"},
        {"clear.gif", 4, "..##.##."}, {"soft.png", 4, "..######"}}; // alpha 0, 127, 128 and 255
    for (const auto& [name, width, expected] : pictures) {
        frmPic w;
        w.mPicFileName = name;
        w.MakeWindowRegion();
        std::string inside;
        for (int i = 0; i < 2 * width; ++i)
            inside += w.mask().contains(QPoint(i % width, i / width)) ? '#' : '.';
        EXPECT_EQ(inside, expected) << name;
        EXPECT_EQ(w.size(), QSize(width, 2)) << name;
    }
}

TEST_F(CharacterWindow, PicturesThatCannotBeLoadedShowTheirOwnErrorPictureWithinBoundedMemory) {
    Save(Face(60, 40, QColor::fromRgb(kFace)), QStringLiteral("cut-by-one.bmp"));
    QFile cut(dir.filePath(QStringLiteral("cut-by-one.bmp")));
    ASSERT_TRUE(cut.resize(cut.size() - 4));
    Save(Face(8, 8, QColor::fromRgb(kKeyColour)), QStringLiteral("all-key.bmp")); // no pixel left to show
    // Key colour on every other pixel: an outline of 500,000 rectangles, more than a window may have.
    QImage noise(1000, 1000, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, (x + y) % 2 ? kFace : 0xFF00FF);
    Save(noise, QStringLiteral("noise.png"), "PNG");
    std::string hugeGif = kGif; // screen and picture 65,535 x 65,535, the largest a GIF can claim, around one pixel
    for (const int at : {6, 7, 8, 9, 32, 33, 34, 35})
        hugeGif[at] = '\xFF';
    WriteFile("huge.gif", hugeGif);
    WriteFile("dot.gif", kGif);
    WriteFile("empty.bmp", "");
    WriteFile("huge-runs.bmp", Bmp(100000, 100000, 8, 1, std::string("\0\1", 2), 2));
    // 95 MB as 32-bit pixels: beyond the window's 64 MB, within what Qt allows by default.
    WriteFile("large-runs.bmp", Bmp(5000, 5000, 8, 1, std::string("\0\1", 2), 2));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.bmp")));

    const long before = StatusKb("VmRSS:");
    // Writing 5 sets the peak back to the present size, so the peak below is this test's own.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool peakReset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();
    for (const char* name : {"missing.bmp", "folder.bmp", "cut-by-one.bmp", "all-key.bmp", "noise.png", "huge.gif",
                             "dot.gif", "empty.bmp", "huge-runs.bmp", "large-runs.bmp"}) {
        frmPic w;
        w.mPicFileName = name;
        w.MakeWindowRegion();
        EXPECT_EQ(w.size(), QSize(200, 88)) << name;
        // Drawn afresh for this name: nothing of an earlier failure's text is left on it.
        EXPECT_EQ(w.Picture(), MakeErrorPicture(QString::fromLatin1(name))) << name;
    }
    EXPECT_NE(MakeErrorPicture(QStringLiteral("one.bmp")), MakeErrorPicture(QStringLiteral("two.bmp")));

    const long peak = StatusKb("VmHWM:");
    if (!peakReset || before < 0 || peak < 0)
        GTEST_SKIP() << "this system does not report the peak resident memory of a process";
    EXPECT_LT(peak - before, 48 * 1024) << "peak " << peak << " kB, before " << before << " kB";
}

// ---------------------------------------------------------------------------------------------
// The living window: the tick, the painted irises, dragging and the keys.

namespace {

void SendMouse(QWidget& w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(local), QPointF(w.mapToGlobal(local)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

class LivingWindow : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        Save(Face(120, 100, QColor::fromRgb(kFace)), QStringLiteral("face.bmp"));
    }

    // The next character: a 120 x 100 face; eye 1 at (40, 50), eye 2 at (80, 50), each 20 x 14 with
    // a 9 x 9 iris, blue outline of 1 pixel, red pupil. It stands at (100, 100) and its clock is
    // stopped, so only the test ticks it. The first character stands still with target 1.
    // At speed 200 one tick takes a follower 187.6 pixels towards a pointer 540 pixels to its right,
    // at (700, 150), to (288, 100).
    frmPic& Make(int fixed = 1, int speed = 30) {
        frmPic& w = AddCharacter("Living");
        w.SetTimer1Enabled(false);
        w.mFixed = fixed;
        w.mEye1X = 40, w.mEye1Y = 50, w.mEye2X = 80, w.mEye2Y = 50;
        w.mEye1DiamX = w.mEye2DiamX = 20;
        w.mEye1DiamY = w.mEye2DiamY = 14;
        w.mIris1DiamX = w.mIris1DiamY = w.mIris2DiamX = w.mIris2DiamY = 9;
        w.mIrisWidth = 1;
        w.mIrisColor = 255 * 65536;
        w.mPupilColor = 255;
        w.mStartPosX = w.mStartPosY = 100;
        w.mSpeedX = w.mSpeedY = speed;
        w.SetCuriouSpeed();
        w.MakeWindowRegion();
        return w;
    }
    static void Show(frmPic& w) {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    }
};

} // namespace

TEST_F(LivingWindow, IrisesMoveWithTheEyesAndOverlappingEyesKeepBoth) {
    frmPic& w = Make();
    w.Timer1_Timer(QPoint(240, 150)); // far right of both eyes: irises at (50, 50) and (90, 50)
    EXPECT_EQ(w.grab().toImage().pixel(50, 50), kPupil); // what the window shows is the surface

    // Overlapping eyes 20 pixels lower, looking far right: iris 1 in (41, 66)-(49, 74), iris 2 in
    // (47, 66)-(55, 74); eye 2's rectangle, erased after eye 1's, spans columns 36..55, over all of iris 1.
    w.mEye1Y = w.mEye2Y = 70;
    w.mEye2X = 46;
    w.mEye1DiamX = w.mEye1DiamY = w.mEye2DiamX = w.mEye2DiamY = 10;
    w.mIris1DiamX = w.mIris1DiamY = w.mIris2DiamX = w.mIris2DiamY = 8;
    QCursor::setPos(790, 170);
    if (QCursor::pos() != QPoint(790, 170))
        GTEST_SKIP() << "this platform cannot place the pointer";
    w.RefreshImage(); // as the editor shows new eyes at once
    const QImage s = w.Surface();
    EXPECT_EQ(s.pixel(50, 50), kFace); // the old iris is gone
    const std::pair<int, QRgb> row[] = {{40, kFace}, {41, kIris}, {43, kPupil}, {47, kIris},
                                        {48, kPupil}, {54, kIris}, {55, kFace}};
    for (const auto& [x, colour] : row)
        EXPECT_EQ(s.pixel(x, 70), colour) << "at " << x;
}

TEST_F(LivingWindow, ADraggedCharacterStaysPutAndAFleeingOneIsDroppedOnTheScreen) {
    frmPic& w = Make(0, 200);
    Show(w);
    // (A right drag moves nothing: seen on a real screen.)
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QPoint lowerRight(screen.width() - 120, screen.height() - 100); // the last place on the screen
    const struct {
        QPoint to;
        bool flee;
        QPoint dropped;
        Qt::MouseButton released;
        Qt::MouseButtons held; // a release of another button while the left is held ends the drag too
    } drops[] = {{{-30, -20}, false, {-30, -20}, Qt::LeftButton, Qt::NoButton},
                 {{-30, -20}, true, {0, 0}, Qt::LeftButton, Qt::NoButton},
                 {lowerRight + QPoint(60, 60), true, lowerRight, Qt::RightButton, Qt::LeftButton}};
    for (const auto& d : drops) {
        w.mFlee = d.flee;
        w.move(100, 100);
        // Pressed at (50, 50), moved in two steps; the second is seen from where the first put the window.
        const QPoint half = (d.to - QPoint(100, 100)) / 2, rest = d.to - QPoint(100, 100) - half;
        SendMouse(w, QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
        SendMouse(w, QEvent::MouseMove, QPoint(50, 50) + half, Qt::NoButton, Qt::LeftButton);
        SendMouse(w, QEvent::MouseMove, QPoint(50, 50) + rest, Qt::NoButton, Qt::LeftButton);
        // While dragged it does not move by itself, but its eyes follow the pointer (far right).
        w.Timer1_Timer(QPoint(700, 150));
        ASSERT_EQ(w.pos(), d.to);
        EXPECT_EQ(w.Surface().pixel(50, 50) == kPupil, d.to.x() < 0);
        SendMouse(w, QEvent::MouseButtonRelease, QPoint(50, 50) + rest, d.released, d.held);
        EXPECT_EQ(w.pos(), d.dropped);
    }
}

TEST_F(LivingWindow, AFollowerTurnsToThePointerWhenItsCharacterIsHiddenMinimisedOrMissingAndKeysTakeIt) {
    frmPic& follower = Make(2, 200);
    frmPic& target = Make(2);
    target.move(500, 100); // to the right; the pointer is to the left
    Show(follower);
    Show(target);
    const struct {
        int fixed;
        bool shown, minimised;
        int direction; // of the follower's step: to the character +1, to the pointer -1
    } cases[] = {{2, true, false, 1}, {2, false, false, -1}, {2, true, true, -1},
                 {5, true, false, -1}, {1, true, false, 0}}; // 5: no such character; 1: itself
    for (const auto& c : cases) {
        follower.mFixed = c.fixed;
        target.setVisible(c.shown);
        if (c.minimised)
            target.showMinimized();
        else if (c.shown)
            target.showNormal();
        follower.move(300, 100);
        follower.Timer1_Timer(QPoint(0, 150));
        const int dx = follower.pos().x() - 300;
        EXPECT_EQ((dx > 0) - (dx < 0), c.direction) << c.fixed << " " << c.shown << " " << c.minimised;
    }

    // Only keys that cannot end the program: which keys end it is checked on the key filter
    // itself, as a wrong answer here would end the test program. After each a target beyond the
    // last character becomes the last.
    const std::tuple<Qt::Key, bool, int, int> keys[] = {{Qt::Key_Return, true, 5, 2}, {Qt::Key_A, false, 5, 2}};
    for (const auto& [key, toggles, fixed, clamped] : keys) {
        const bool before = follower.mFlee;
        follower.mFixed = fixed;
        QTest::keyClick(&follower, key);
        EXPECT_EQ(follower.mFlee, toggles ? !before : before) << key;
        EXPECT_EQ(follower.mFixed, clamped) << key;
    }
    // F12 minimises; a minimised follower does not move; F12 restores it.
    follower.mFixed = 0;
    follower.mFlee = false;
    follower.move(300, 100);
    QTest::keyClick(&follower, Qt::Key_F12);
    follower.Timer1_Timer(QPoint(0, 150));
    EXPECT_EQ(follower.pos(), QPoint(300, 100));
    QTest::keyClick(&follower, Qt::Key_F12);
    EXPECT_FALSE(follower.isMinimized());
}

TEST_F(LivingWindow, TheClockTicksEveryWindowThatIsNotPausedAndWalksItOnToAPointerAtRest) {
    frmPic& running = Make(0, 200);
    frmPic& paused = Make(0, 200);
    running.SetTimer1Enabled(true);
    // Inside both: rounds that move nothing, after which the clock only polls where it cannot be told
    // of the pointer's motion.
    for (const QPoint pointer : {QPoint(160, 150), QPoint(160, 150), QPoint(700, 150)}) {
        QCursor::setPos(pointer);
        if (QCursor::pos() != pointer)
            GTEST_SKIP() << "this platform cannot place the pointer";
        CharacterClock::Instance().Tick();
    }
    EXPECT_EQ(running.pos(), QPoint(288, 100));
    EXPECT_EQ(paused.pos(), QPoint(100, 100));
    CharacterClock::Instance().Tick();
    EXPECT_LT(288, running.pos().x());
}

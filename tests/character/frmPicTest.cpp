// A character window loads its picture and cuts its outline; it moves, looks, is dragged and
// answers the keys.
#include "character/frmPic.h"
#include "character/CharacterClock.h"
#include "character/CharacterTestSupport.h"
#include "character/ErrorPicture.h"
#include "character/PictureBytes.h"

#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr QRgb kFace = 0xFFFFDC00;  // the faces' yellow
constexpr QRgb kIris = 0xFF0000FF;  // blue outline
constexpr QRgb kPupil = 0xFFFF0000; // red inside

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
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

class CharacterWindow : public ProgramFolderTest {
protected:
    void WriteFile(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

} // namespace

TEST_F(CharacterWindow, TheOutlineLeavesOutTheKeyColourAndWhatTheFileMakesTransparent) {
    // A yellow face on the key colour with a key-coloured hole.
    QImage face(5, 2, QImage::Format_RGB32);
    face.fill(kFace);
    face.setPixel(0, 0, kKeyColour);
    face.setPixel(3, 1, kKeyColour);
    // Palette: key magenta, face yellow, black marked transparent, the same black opaque.
    const std::uint32_t palette[4] = {0xFF00FF, 0xFFDC00, 0x000000, 0x000000};
    QImage soft(4, 2, QImage::Format_ARGB32);
    soft.fill(kFace);
    const int alphas[] = {0, 127, 128}; // and 255
    for (int x = 0; x < 3; ++x)
        soft.setPixel(x, 0, qRgba(255, 220, 0, alphas[x]));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("faces")));
    const struct {
        const char* file;
        const char* name; // as the settings file gives it
        QByteArray bytes;
        int width;
        const char* inside;
    } pictures[] = {
        {"face.bmp", "face.bmp", Encoded(face, "BMP"), 5, ".#######.#"},
        {"bmp.gif", "bmp.gif", Encoded(face, "BMP"), 5, ".#######.#"},                 // the content decides
        {"faces/face.png", "faces\\face.png", Encoded(face, "PNG"), 5, ".#######.#"}, // Windows separators
        {"clear.gif", "clear.gif", QByteArray::fromStdString(Gif(4, 2, palette, 2, "02312310")), 4, "..##.##."},
        {"corner.gif", "corner.gif", QByteArray::fromStdString(Gif(4, 2, palette, 2, "22312310")), 4, "..##.###"},
        {"soft.png", "soft.png", Encoded(soft, "PNG"), 4, "..######"}, // alpha 0, 127, 128 and 255
    };
    for (const auto& p : pictures) {
        WriteFile(QString::fromLatin1(p.file), p.bytes);
        frmPic w;
        w.mPicFileName = p.name;
        w.MakeWindowRegion();
        std::string inside;
        for (int i = 0; i < 2 * p.width; ++i)
            inside += w.mask().contains(QPoint(i % p.width, i / p.width)) ? '#' : '.';
        EXPECT_EQ(inside, p.inside) << p.name;
        EXPECT_EQ(w.size(), QSize(p.width, 2)) << p.name;
    }
}

TEST_F(CharacterWindow, PicturesThatCannotBeLoadedShowTheirOwnErrorPictureWithinBoundedMemory) {
    const QByteArray bmp = Encoded(Face(60, 40, QColor::fromRgb(kFace)), "BMP");
    std::string hugeGif = kGif; // screen and picture 65,535 x 65,535, the largest a GIF can claim, around one pixel
    for (const int at : {6, 7, 8, 9, 32, 33, 34, 35})
        hugeGif[at] = '\xFF';
    // Key colour on every other pixel: an outline of 500,000 rectangles, more than a window may have.
    QImage noise(1000, 1000, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, (x + y) % 2 ? kFace : 0xFF00FF);
    const std::pair<const char*, QByteArray> files[] = {
        {"noise.png", Encoded(noise, "PNG")},
        // No pixel left to show.
        {"all-key.bmp", Encoded(Face(8, 8, QColor::fromRgb(kKeyColour)), "BMP")},
        {"dot.gif", QByteArray::fromStdString(kGif)},
        {"empty.bmp", {}},
        {"cut-by-one.bmp", bmp.left(bmp.size() - 4)},
        {"huge-runs.bmp", QByteArray::fromStdString(Bmp(100000, 100000, 8, 1, std::string("\0\1", 2), 2))},
        {"huge.gif", QByteArray::fromStdString(hugeGif)},
        // 95 MB as 32-bit pixels: beyond the window's 64 MB, within what Qt allows by default.
        {"large-runs.bmp", QByteArray::fromStdString(Bmp(5000, 5000, 8, 1, std::string("\0\1", 2), 2))},
    };
    std::vector<QString> names = {QStringLiteral("missing.bmp"), QStringLiteral("folder.bmp")};
    ASSERT_TRUE(QDir(dir.path()).mkdir(names[1]));
    for (const auto& [name, bytes] : files) {
        names.push_back(QString::fromLatin1(name));
        WriteFile(names.back(), bytes);
    }

    const long before = StatusKb("VmRSS:");
    // Writing 5 sets the peak back to the present size, so the peak below is this test's own.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool peakReset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();

    for (const QString& name : names) {
        frmPic w;
        w.mPicFileName = name.toStdString();
        w.MakeWindowRegion();
        EXPECT_EQ(w.size(), QSize(200, 88)) << name.toStdString();
        // Drawn afresh for this name: nothing of an earlier failure's text is left on it.
        EXPECT_EQ(w.Picture(), MakeErrorPicture(name)) << name.toStdString();
        EXPECT_EQ(w.Picture().pixel(0, 0) & 0xFFFFFFu, kErrorKeyColour) << name.toStdString();
        EXPECT_FALSE(w.mask().contains(QPoint(0, 0))) << name.toStdString();
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
    frmPic& Make(int fixed = 1) {
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
        w.MakeWindowRegion();
        EXPECT_EQ(w.pos(), QPoint(100, 100));
        return w;
    }
    // A follower at the fastest speed: one tick takes it 187.6 pixels towards a pointer 540 pixels to
    // its right, at (700, 150), to (288, 100).
    frmPic& Fast(int fixed = 0) {
        frmPic& w = Make(fixed);
        w.mSpeedX = w.mSpeedY = 200;
        w.SetCuriouSpeed();
        return w;
    }
    static void Show(frmPic& w) {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    }
};

} // namespace

TEST_F(LivingWindow, IrisesAreDrawnAtOnceAndOverlappingEyesKeepBoth) {
    frmPic& w = Make();
    // The pointer on eye 1's centre: iris 1 there; eye 2 looks far left, half its width: (70, 50).
    QCursor::setPos(140, 150);
    if (QCursor::pos() != QPoint(140, 150))
        GTEST_SKIP() << "this platform cannot place the pointer";
    EXPECT_EQ(w.Surface().pixel(40, 50), kFace); // the bare picture until the first tick
    w.RefreshImage();
    EXPECT_EQ(w.Surface().pixel(40, 50), kPupil);
    EXPECT_EQ(w.Surface().pixel(70, 50), kPupil);
    EXPECT_EQ(w.grab().toImage().pixel(40, 50), kPupil); // what the window shows is the surface
    // New eye geometry: the old irises go, the new ones show at once, 20 pixels below the pointer.
    w.mEye1Y = w.mEye2Y = 70;
    w.RefreshImage();
    EXPECT_EQ(w.Surface().pixel(40, 50), kFace);
    EXPECT_EQ(w.Surface().pixel(70, 50), kFace);
    EXPECT_EQ(w.Surface().pixel(40, 63), kPupil);

    // Overlapping eyes, looking far right: iris 1 in (41, 66)-(49, 74), iris 2 in (47, 66)-(55, 74);
    // eye 2's rectangle, erased after eye 1's, spans columns 36..55, over all of iris 1.
    w.mEye2X = 46;
    w.mEye1DiamX = w.mEye1DiamY = w.mEye2DiamX = w.mEye2DiamY = 10;
    w.mIris1DiamX = w.mIris1DiamY = w.mIris2DiamX = w.mIris2DiamY = 8;
    w.Timer1_Timer(QPoint(790, 170));
    const QImage s = w.Surface();
    const std::pair<int, QRgb> row[] = {{40, kFace}, {41, kIris}, {43, kPupil}, {47, kIris},
                                        {48, kPupil}, {54, kIris}, {55, kFace}};
    for (const auto& [x, colour] : row)
        EXPECT_EQ(s.pixel(x, 70), colour) << "at " << x;
}

TEST_F(LivingWindow, OnlyALeftDragMovesTheWindowAndAFleeingCharacterIsDroppedOnTheScreen) {
    frmPic& w = Fast();
    Show(w);
    SendMouse(w, QEvent::MouseButtonPress, QPoint(20, 30), Qt::LeftButton, Qt::LeftButton | Qt::RightButton);
    SendMouse(w, QEvent::MouseMove, QPoint(60, 70), Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    SendMouse(w, QEvent::MouseButtonRelease, QPoint(60, 70), Qt::LeftButton, Qt::RightButton);
    EXPECT_EQ(w.pos(), QPoint(100, 100)) << "left while the right is held";

    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QPoint lowerRight(screen.width() - 120, screen.height() - 100); // the last place on the screen
    const struct {
        QPoint to, snapped;
        Qt::MouseButton released;
        Qt::MouseButtons held; // a release of another button while the left is held ends the drag too
    } drops[] = {{{125, 117}, {125, 117}, Qt::LeftButton, Qt::NoButton},
                 {{-30, -20}, {0, 0}, Qt::LeftButton, Qt::NoButton},
                 {lowerRight + QPoint(60, 60), lowerRight, Qt::RightButton, Qt::LeftButton}};
    for (const bool flee : {false, true})
        for (const auto& d : drops) {
            w.mFlee = flee;
            w.move(100, 100);
            // Pressed at (50, 50), moved in two steps; the second is seen from where the first put the window.
            const QPoint half = (d.to - QPoint(100, 100)) / 2, rest = d.to - QPoint(100, 100) - half;
            SendMouse(w, QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
            SendMouse(w, QEvent::MouseMove, QPoint(50, 50) + half, Qt::NoButton, Qt::LeftButton);
            SendMouse(w, QEvent::MouseMove, QPoint(50, 50) + rest, Qt::NoButton, Qt::LeftButton);
            ASSERT_EQ(w.pos(), d.to) << "flee " << flee;
            // While dragged it does not move by itself, but its eyes follow the pointer.
            w.Timer1_Timer(QPoint(700, 150));
            ASSERT_EQ(w.pos(), d.to) << "flee " << flee;
            if (&d == drops)
                EXPECT_EQ(w.Surface().pixel(50, 50), kPupil) << "flee " << flee;
            SendMouse(w, QEvent::MouseButtonRelease, QPoint(50, 50) + rest, d.released, d.held);
            EXPECT_EQ(w.pos(), flee ? d.snapped : d.to) << "flee " << flee << ", dropped at " << d.to.x();
        }
}

TEST_F(LivingWindow, KeysSwitchFleeMinimiseAndClampTheTarget) {
    frmPic& w = Fast();
    Make(2); // character 2 stands still
    Show(w);
    // Only keys that cannot end the program: which keys end it is checked on the key filter
    // itself, as a wrong answer here would end the test program.
    const std::tuple<Qt::Key, bool, int, int> cases[] = {
        {Qt::Key_Space, true, 5, 2}, {Qt::Key_Return, true, 5, 2}, {Qt::Key_A, false, 5, 2}, {Qt::Key_A, false, 1, 1}};
    for (const auto& [key, toggles, fixed, clamped] : cases) {
        const bool before = w.mFlee;
        w.mFixed = fixed; // 5 is beyond the last character
        QTest::keyClick(&w, key);
        EXPECT_EQ(w.mFlee, toggles ? !before : before) << key;
        EXPECT_EQ(w.mFixed, clamped) << key;
    }
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

TEST_F(LivingWindow, AFollowerTurnsToThePointerWhenItsCharacterIsHiddenMinimisedOrMissing) {
    frmPic& follower = Fast(2);
    frmPic& target = Make(2);
    target.move(500, 100); // to the right; the pointer is to the left
    follower.show();
    Show(target);
    const struct {
        int fixed;
        bool shown, minimised;
        int direction; // of the follower's step: to the character +1, to the pointer -1
    } cases[] = {{2, true, false, 1}, {2, false, false, -1}, {2, true, true, -1},
                 {2, true, false, 1}, {5, true, false, -1},  {1, true, false, 0}}; // 5: no such character; 1: itself
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
}

TEST_F(LivingWindow, TheClockTicksEveryWindowThatIsNotPaused) {
    frmPic& running = Fast();
    frmPic& paused = Fast();
    QCursor::setPos(700, 150);
    if (QCursor::pos() != QPoint(700, 150))
        GTEST_SKIP() << "this platform cannot place the pointer";
    running.SetTimer1Enabled(true);
    CharacterClock::Instance().Tick();
    running.SetTimer1Enabled(false);
    EXPECT_EQ(running.pos(), QPoint(288, 100));
    EXPECT_EQ(paused.pos(), QPoint(100, 100));
}

// A character window loads its picture, cuts its outline and stands at its start position; it
// moves, looks, is dragged and answers the keys.
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
#include <QPaintEvent>
#include <QScreen>
#include <QTest>

#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr QRgb kFace = 0xFFFFDC00;  // the faces' yellow
constexpr QRgb kIris = 0xFF0000FF;  // blue outline
constexpr QRgb kPupil = 0xFFFF0000; // red inside

QSize Screen() {
    return QGuiApplication::primaryScreen()->geometry().size();
}

// A 60 x 40 yellow face with a key-coloured hole in its middle.
QImage HoledFace() {
    QImage face = Face(60, 40, QColor::fromRgb(kFace));
    QPainter(&face).fillRect(28, 18, 4, 4, QColor::fromRgb(kKeyColour));
    return face;
}

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

TEST_F(CharacterWindow, PicturesLoadByTheirContentAndTheOutlineFollowsTheKeyColour) {
    const QImage face = HoledFace();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("faces")));
    const struct {
        const char* file;
        const char* name; // as the settings file gives it
        QByteArray bytes;
    } pictures[] = {
        {"face.bmp", "face.bmp", Encoded(face, "BMP")},
        {"bmp.gif", "bmp.gif", Encoded(face, "BMP")},                // the content decides, not the name
        {"faces/face.png", "faces\\face.png", Encoded(face, "PNG")}, // Windows separators; any format Qt reads
    };
    for (const auto& p : pictures) {
        WriteFile(QString::fromLatin1(p.file), p.bytes);
        frmPic w;
        w.mPicFileName = p.name;
        w.MakeWindowRegion();
        EXPECT_EQ(w.Picture(), face) << p.name;
        EXPECT_EQ(w.size(), QSize(60, 40)) << p.name;
        const QRegion mask = w.mask();
        EXPECT_TRUE(mask.contains(QPoint(12, 7)) && mask.contains(QPoint(54, 34))) << p.name; // the face's corners
        for (const QPoint out : {QPoint(0, 0), QPoint(55, 20), QPoint(29, 19)}) // background, just right, hole
            EXPECT_FALSE(mask.contains(out)) << p.name << " at " << out.x() << "," << out.y();
    }
}

TEST_F(CharacterWindow, PixelsTheFileMakesTransparentAreOutsideTheOutline) {
    // Palette: key magenta, face yellow, black marked transparent, the same black opaque.
    const std::uint32_t palette[4] = {0xFF00FF, 0xFFDC00, 0x000000, 0x000000};
    QImage soft(4, 2, QImage::Format_ARGB32);
    soft.fill(kFace);
    const int alphas[] = {0, 127, 128}; // and 255
    for (int x = 0; x < 3; ++x)
        soft.setPixel(x, 0, qRgba(255, 220, 0, alphas[x]));
    const struct {
        const char* name;
        QByteArray bytes;
        const char* inside; // the outline's pixels, row by row
    } pictures[] = {
        {"clear.gif", QByteArray::fromStdString(Gif(4, 2, palette, 2, "02312310")), "..##.##."}, // key and file
        {"clear-corner.gif", QByteArray::fromStdString(Gif(4, 2, palette, 2, "22312310")), "..##.###"}, // no key
        {"soft.png", Encoded(soft, "PNG"), "..######"}, // alpha 0, 127, 128 and 255
    };
    for (const auto& p : pictures) {
        WriteFile(QString::fromLatin1(p.name), p.bytes);
        frmPic w;
        w.mPicFileName = p.name;
        w.MakeWindowRegion();
        std::string inside;
        for (int i = 0; i < 8; ++i)
            inside += w.mask().contains(QPoint(i % 4, i / 4)) ? '#' : '.';
        EXPECT_EQ(inside, p.inside) << p.name;
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
    QImage invisible(3, 3, QImage::Format_ARGB32);
    invisible.fill(Qt::transparent);
    const std::pair<const char*, QByteArray> files[] = {
        {"noise.png", Encoded(noise, "PNG")},
        // No pixel left to show: all of the key colour, or all transparent.
        {"all-key.bmp", Encoded(Face(8, 8, QColor::fromRgb(kKeyColour)), "BMP")},
        {"invisible.png", Encoded(invisible, "PNG")},
        {"dot.gif", QByteArray::fromStdString(kGif)},
        {"notes.gif", "this is not a picture\n"},
        {"empty.bmp", {}},
        {"cut.bmp", bmp.left(bmp.size() / 2)},
        {"cut-by-one.bmp", bmp.left(bmp.size() - 4)},
        {"huge.bmp", QByteArray::fromStdString(Bmp(100000, 100000, 24, 0, ""))}, // a header and no data
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

TEST_F(CharacterWindow, MakeWindowRegionPutsTheCharacterBackAtItsStart) {
    Save(HoledFace(), QStringLiteral("face.bmp"));
    frmPic w;
    w.mPicFileName = "face.bmp";
    w.mStartPosX = 30;
    w.mStartPosY = 40;
    w.move(10, 10);
    w.MakeWindowRegion();
    EXPECT_EQ(w.pos(), QPoint(30, 40));
    const TwipsRect g = w.GeometryTwips();
    EXPECT_DOUBLE_EQ(g.left, 450);
    EXPECT_DOUBLE_EQ(g.width, 900);
}

// ---------------------------------------------------------------------------------------------
// The living window: the tick, the painted irises, dragging and the keys.

namespace {

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

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
}

void SendMouse(QWidget& w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(local), QPointF(w.mapToGlobal(local)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

// The 9 x 9 iris centred on (cx, cy): pupil in the middle, outline on the box's first and last
// column and row, face just beyond them.
void ExpectIris(const QImage& s, int cx, int cy) {
    SCOPED_TRACE(testing::Message() << "iris at " << cx << "," << cy);
    EXPECT_EQ(s.pixel(cx, cy), kPupil);
    for (const QPoint edge : {QPoint(cx - 5, cy), QPoint(cx + 3, cy), QPoint(cx, cy - 5), QPoint(cx, cy + 3)})
        EXPECT_EQ(s.pixel(edge), kIris) << edge.x() << "," << edge.y();
    for (const QPoint out : {QPoint(cx - 6, cy), QPoint(cx + 4, cy), QPoint(cx, cy - 6), QPoint(cx, cy + 4)})
        EXPECT_EQ(s.pixel(out), kFace) << out.x() << "," << out.y();
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

TEST_F(LivingWindow, NoPaintAtAllWhilePointerAndWindowStandStill) {
    for (const int fixed : {1, 0}) { // standing still; following a pointer that is inside it
        frmPic& w = Make(fixed);
        Show(w);
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
        // eye rectangles.
        w.Timer1_Timer(pointer + (fixed == 1 ? QPoint(0, 400) : QPoint(0, 30)));
        Settle();
        EXPECT_GE(counter.count, 1) << "target " << fixed;
        const QRegion eyes = QRegion(24, 37, 31, 25) + QRegion(64, 37, 31, 25);
        const QRect outside = (counter.region - eyes).boundingRect();
        EXPECT_TRUE(outside.isEmpty()) << "target " << fixed << ": repainted outside the eyes at " << outside.x() << ","
                                       << outside.y() << " " << outside.width() << "x" << outside.height();
        w.removeEventFilter(&counter);
        CloseCharacters();
    }
}

TEST_F(LivingWindow, RefreshImageDrawsBothIrisesAtOnce) {
    frmPic& w = Make();
    // The pointer on eye 1's centre: iris 1 there; eye 2 looks far left, half its width: (70, 50).
    QCursor::setPos(140, 150);
    if (QCursor::pos() != QPoint(140, 150))
        GTEST_SKIP() << "this platform cannot place the pointer";
    EXPECT_EQ(w.Surface().pixel(40, 50), kFace); // the bare picture until the first tick

    w.RefreshImage();
    ExpectIris(w.Surface(), 40, 50);
    ExpectIris(w.Surface(), 70, 50);
    EXPECT_EQ(w.grab().toImage().pixel(40, 50), kPupil); // what the window shows is the surface

    // Again with nothing changed: the irises are wiped and drawn again, not lost.
    w.RefreshImage();
    EXPECT_EQ(w.Surface().pixel(40, 50), kPupil);
    EXPECT_EQ(w.Surface().pixel(70, 50), kPupil);

    // New eye geometry: the old irises go, the new ones show at once. The pointer is now 20 pixels
    // straight above eye 1: iris 1 half an eye height up, at (40, 63); iris 2 towards the upper left
    // on its ellipse, at (71, 67).
    w.mEye1Y = w.mEye2Y = 70;
    w.RefreshImage();
    EXPECT_EQ(w.Surface().pixel(40, 50), kFace);
    EXPECT_EQ(w.Surface().pixel(70, 50), kFace);
    ExpectIris(w.Surface(), 40, 63);
    ExpectIris(w.Surface(), 71, 67);
    // An iris width of 0 still draws an outline, one pixel wide.
    w.mIrisWidth = 0;
    w.RefreshImage();
    ExpectIris(w.Surface(), 40, 63);
}

TEST_F(LivingWindow, OverlappingEyesKeepBothIrisesWithIrisTwoOnTop) {
    frmPic& w = Make();
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

TEST_F(LivingWindow, OnlyALeftDragMovesTheWindowAndAFleeingCharacterIsDroppedOnTheScreen) {
    frmPic& w = Make();
    Show(w);
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
        EXPECT_EQ(w.pos(), QPoint(100, 100)) << o.what;
    }

    const QPoint lowerRight(Screen().width() - 120, Screen().height() - 100); // the last place on the screen
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
            SendMouse(w, QEvent::MouseButtonRelease, QPoint(50, 50) + rest, d.released, d.held);
            EXPECT_EQ(w.pos(), flee ? d.snapped : d.to) << "flee " << flee << ", dropped at " << d.to.x();
        }
}

TEST_F(LivingWindow, WhileDraggedTheWindowDoesNotMoveByItselfButTheEyesFollow) {
    frmPic& w = Fast();
    Show(w);
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
    frmPic& w = Make(0);
    Make(2); // character 2 stands still
    Show(w);
    // Only keys that cannot end the program: which keys end it is checked on the key filter
    // itself, as a wrong answer here would end the test program.
    const std::tuple<Qt::Key, bool, const char*> cases[] = {
        {Qt::Key_Space, true, "Space"}, {Qt::Key_Return, true, "Enter"}, {Qt::Key_A, false, "A"}};
    for (const auto& [key, toggles, what] : cases) {
        const bool before = w.mFlee;
        w.mFixed = 5; // beyond the last character
        QTest::keyClick(&w, key);
        EXPECT_EQ(w.mFlee, toggles ? !before : before) << what;
        EXPECT_EQ(w.mFixed, 2) << what;
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
    frmPic& follower = Fast(2);
    frmPic& target = Make(2);
    target.move(500, 100); // centre (560, 150): to the right
    follower.show();
    Show(target);
    // The pointer to the left: the follower goes right, to the character; to the pointer while the
    // character is hidden, and back to it once it shows again.
    for (const bool shown : {true, false, true}) {
        target.setVisible(shown);
        const int x = follower.pos().x();
        follower.Timer1_Timer(QPoint(0, 150));
        const int dx = follower.pos().x() - x;
        EXPECT_TRUE(shown ? dx > 0 : dx < 0) << "character shown " << shown << ", moved " << dx;
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

TEST_F(LivingWindow, WildDiametersAndWidthsDrawWithoutHarm) {
    QCursor::setPos(140, 150);
    for (const int v : {-50, 0, 100000, 2147483647}) {
        frmPic& w = Make();
        w.mEye1DiamX = w.mEye2DiamY = v;
        w.mIris1DiamX = w.mIris1DiamY = w.mIris2DiamX = v;
        w.mIrisWidth = static_cast<std::int16_t>(v == 0 ? 0 : 255);
        w.RefreshImage();
        w.Timer1_Timer(QPoint(700, 600));
        EXPECT_EQ(w.Surface().size(), QSize(120, 100)) << v;
        EXPECT_EQ(w.pos(), QPoint(100, 100)) << v;
        CloseCharacters();
    }
}

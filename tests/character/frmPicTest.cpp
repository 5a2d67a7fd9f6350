// A character window loads its picture, cuts its outline and stands at its start position.
#include "character/ErrorPicture.h"
#include "character/frmPic.h"
#include "start/modStart.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

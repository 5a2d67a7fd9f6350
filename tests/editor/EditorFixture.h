// What the editor and picker tests share: a program folder of their own with pictures in it, a
// stand-in character that counts what the editor asks of it, and the records to edit.
#pragma once

#include <functional>

#include <QTimer>

#include <QApplication>

#include "character/frmPic.h"
#include "start/ProgramState.h"
#include "start/modStart.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A character that is no window: it counts the repaints and reloads the editor asks for.
class CountingCharacter final : public CharacterWindowBase {
public:
    void MakeWindowRegion() override { loadedPictures.push_back(mPicFileName); }
    void SetCuriouSpeed() override {}
    void SetWindowStyle() override {}
    void RefreshImage() override { refreshTimes.push_back(clock.elapsed()); }
    void Unload() override {}
    TwipsRect GeometryTwips() const override { return {}; }
    bool IsShown() const override { return true; }
    bool IsMinimised() const override { return false; }

    int Refreshes() const { return static_cast<int>(refreshTimes.size()); }

    QElapsedTimer clock;                     // started by the test
    std::vector<qint64> refreshTimes;        // clock.elapsed() at each RefreshImage
    std::vector<std::string> loadedPictures; // mPicFileName at each MakeWindowRegion
};

// The record every test starts from: values of the bundled sun, a colour with three different
// parts, and diameters of which some lie outside the sliders' range.
inline void FillRecord(CharacterRecord& r, int index) {
    r.mMyIndex = index;
    r.mINISectionName = "CHARACTER_" + std::to_string(index);
    r.mTitle = "Sunny";
    r.mPicFileName = "face.bmp";
    r.mEye1X = 50, r.mEye1Y = 58, r.mEye2X = 82, r.mEye2Y = 58;
    r.mEye1DiamX = 150, r.mEye1DiamY = 14, r.mEye2DiamX = 10, r.mEye2DiamY = 0;
    r.mIris1DiamX = 5, r.mIris1DiamY = 7, r.mIris2DiamX = 6, r.mIris2DiamY = 8;
    r.mStartPosX = 120, r.mStartPosY = 130;
    r.mIrisColor = 40 + 256 * 90 + 65536 * 220;
    r.mPupilColor = 1 + 256 * 2 + 65536 * 3;
    r.mIrisWidth = 2;
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetProgramDirectory(dir.path());
        TwipsPerPixelX = TwipsPerPixelY = 15.0f;
        IsWin2000OrLater = false;
        AdvancedEditing = true;
        WritePicture(QStringLiteral("face.bmp"), 160, 120, QColor(255, 220, 0));
        WritePicture(QStringLiteral("other.gif"), 90, 70, QColor(0, 200, 80));
    }

    void TearDown() override {
        CharacterWindows.assign(1, nullptr);
        windows.clear();
        owned.clear();
        SetProgramDirectory({});
    }

    // A face of one colour on magenta, with a dark 3 x 3 spot centred on (spotX, spotY).
    void WritePicture(const QString& name, int width, int height, QColor face, int spotX = -10, int spotY = -10) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        QPainter p(&image);
        p.fillRect(4, 4, width - 8, height - 8, face);
        p.fillRect(spotX - 1, spotY - 1, 3, 3, QColor(20, 20, 20));
        p.end();
        const QByteArray format = name.endsWith(QStringLiteral(".gif")) ? "GIF" : "BMP";
        if (!image.save(dir.filePath(name), format.constData()))
            image.save(dir.filePath(name), "BMP"); // no GIF writer: a BMP under that name still loads
    }

    // Character 1 as a real character window, loaded from the folder.
    frmPic* AddWindow() {
        auto window = std::make_unique<frmPic>();
        frmPic* w = window.get();
        FillRecord(*w, static_cast<int>(CharacterWindows.size()));
        CharacterWindows.push_back(w);
        w->MakeWindowRegion();
        owned.push_back(std::move(window));
        return w;
    }

    // Character 1 as a stand-in that counts.
    CountingCharacter* AddCounting() {
        auto character = std::make_unique<CountingCharacter>();
        CountingCharacter* c = character.get();
        FillRecord(*c, static_cast<int>(CharacterWindows.size()));
        CharacterWindows.push_back(c);
        c->clock.start();
        windows.push_back(std::move(character));
        return c;
    }

    QTemporaryDir dir;
    std::vector<std::unique_ptr<CountingCharacter>> windows;
    std::vector<std::unique_ptr<frmPic>> owned;
};

// Runs `inside` once the modal window about to open is up, however slow the machine (a sanitizer
// build) is to open it; a fixed delay could fire before it and leave the window open for ever.
inline void WhenModal(std::function<void()> inside) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, inside = std::move(inside)] {
        if (!QApplication::activeModalWidget())
            return;
        timer->stop();
        timer->deleteLater();
        inside();
    });
    timer->start();
}

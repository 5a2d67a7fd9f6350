// What the editor and picker tests share: a program folder of their own with pictures in it, a
// stand-in character that counts what the editor asks of it, and the records to edit.
#pragma once

#include "character/frmPic.h"
#include "start/ProgramState.h"
#include "start/modStart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A character that is no window: it counts the repaints and reloads the editor asks for.
class CountingCharacter final : public CharacterWindowBase {
public:
    CountingCharacter() { clock.start(); }
    void MakeWindowRegion() override { loadedPictures.push_back(mPicFileName); }
    void SetCuriouSpeed() override {}
    void SetWindowStyle() override {}
    void RefreshImage() override { refreshTimes.push_back(clock.elapsed()); }
    void Unload() override {}
    TwipsRect GeometryTwips() const override { return {}; }
    bool IsShown() const override { return true; }
    bool IsMinimised() const override { return false; }

    int Refreshes() const { return static_cast<int>(refreshTimes.size()); }

    QElapsedTimer clock;
    std::vector<qint64> refreshTimes;        // clock.elapsed() at each RefreshImage
    std::vector<std::string> loadedPictures; // mPicFileName at each MakeWindowRegion
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetProgramDirectory(dir.path());
        TwipsPerPixelX = TwipsPerPixelY = 15.0f;
        IsWin2000OrLater = false;
        AdvancedEditing = true;
        WritePicture(QStringLiteral("face.bmp"), 160, 120, QColor(255, 220, 0));
        WritePicture(QStringLiteral("other.bmp"), 90, 70, QColor(0, 200, 80));
    }
    void TearDown() override {
        CharacterWindows.assign(1, nullptr);
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
        ASSERT_TRUE(image.save(dir.filePath(name), "BMP"));
    }

    // The next character, from the values of the bundled sun: a colour with three different parts,
    // and diameters of which some lie outside the sliders' range.
    template <class Character> Character* Add() {
        auto owner = std::make_unique<Character>();
        Character* c = owner.get();
        c->mMyIndex = static_cast<int>(CharacterWindows.size());
        c->mINISectionName = "CHARACTER_" + std::to_string(c->mMyIndex);
        c->mTitle = "Sunny";
        c->mPicFileName = "face.bmp";
        c->mEye1X = 50, c->mEye1Y = 58, c->mEye2X = 82, c->mEye2Y = 58;
        c->mEye1DiamX = 150, c->mEye1DiamY = 14, c->mEye2DiamX = 10, c->mEye2DiamY = 0;
        c->mIris1DiamX = 5, c->mIris1DiamY = 7, c->mIris2DiamX = 6, c->mIris2DiamY = 8;
        c->mStartPosX = 120, c->mStartPosY = 130;
        c->mIrisColor = 40 + 256 * 90 + 65536 * 220;
        c->mPupilColor = 1 + 256 * 2 + 65536 * 3;
        c->mIrisWidth = 2;
        CharacterWindows.push_back(c);
        owned.push_back(std::move(owner));
        return c;
    }
    CountingCharacter* AddCounting() { return Add<CountingCharacter>(); }
    // A real character window, loaded from the folder: 160 x 120 pixels.
    frmPic* AddWindow() {
        frmPic* w = Add<frmPic>();
        w->MakeWindowRegion();
        return w;
    }

    QTemporaryDir dir;
    std::vector<std::unique_ptr<CharacterWindowBase>> owned;
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

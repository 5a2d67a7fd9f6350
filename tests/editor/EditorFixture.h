// What the editor and picker tests share: a program folder with two pictures in it, a stand-in
// character that counts what the editor asks of it, and the records to edit.
#pragma once

#include "character/CharacterTestSupport.h"
#include "help/frmHelp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <functional>
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

class EditorTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        Save(Face(160, 120, QColor(255, 220, 0)), QStringLiteral("face.bmp"));
        Save(Face(90, 70, QColor(0, 200, 80)), QStringLiteral("other.bmp"));
    }

    // The next character, from the values of the bundled sun: a colour with three different parts,
    // and diameters of which some lie outside the sliders' range.
    template <class Character> Character* Add() {
        Character& c = AddCharacter<Character>("Sunny");
        c.mEye1X = 50, c.mEye1Y = 58, c.mEye2X = 82, c.mEye2Y = 58;
        c.mEye1DiamX = 150, c.mEye1DiamY = 14, c.mEye2DiamX = 10, c.mEye2DiamY = 0;
        c.mIris1DiamX = 5, c.mIris1DiamY = 7, c.mIris2DiamX = 6, c.mIris2DiamY = 8;
        c.mStartPosX = 120, c.mStartPosY = 130;
        c.mIrisColor = 40 + 256 * 90 + 65536 * 220;
        c.mPupilColor = 1 + 256 * 2 + 65536 * 3;
        c.mIrisWidth = 2;
        return &c;
    }
    CountingCharacter* AddCounting() { return Add<CountingCharacter>(); }
    // A real character window, loaded from the folder: 160 x 120 pixels.
    frmPic* AddWindow() {
        frmPic* w = Add<frmPic>();
        w->MakeWindowRegion();
        return w;
    }
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

// `press` brings up the help on the advanced settings, modal; it is closed again.
inline void ExpectAdvancedHelpModal(const std::function<void()>& press) {
    bool shown = false;
    WhenModal([&] {
        ASSERT_TRUE(HelpWindowExists());
        EXPECT_TRUE(HelpWindow().isModal());
        EXPECT_TRUE(HelpWindow().lblText->text().startsWith(QStringLiteral("=== Advanced Settings")));
        shown = true;
        HelpWindow().close();
    });
    press();
    EXPECT_TRUE(shown);
}

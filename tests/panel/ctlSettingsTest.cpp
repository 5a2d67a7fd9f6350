// A settings row edits its running character at once: target, behaviour, speeds, transparency,
// click-through and visibility; it follows the change hub and adapts to the program's mode.
#include "panel/ctlSettings.h"
#include "character/Motion.h"
#include "character/frmPic.h"
#include "start/ProgramState.h"
#include "start/modStart.h"
#include "widgets/GradShape.h"
#include "widgets/ctlSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class SettingsRow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetProgramDirectory(dir.path());
        TwipsPerPixelX = TwipsPerPixelY = 15.0f;
        AdvancedEditing = true;
        IsWin2000OrLater = true;
        WriteFace("wide.bmp", 200, 100, QColor(255, 220, 0));
        WriteFace("tall.bmp", 50, 100, QColor(0, 160, 0));
        const char* names[] = {"Sunny", "Froggy", "Whiskers"};
        for (int k = 1; k <= 3; ++k) {
            auto* w = new frmPic();
            w->mMyIndex = k;
            w->mINISectionName = "CHARACTER_" + std::to_string(k);
            w->mTitle = names[k - 1];
            w->mPicFileName = "wide.bmp";
            w->mFixed = k == 3 ? 3 : k - 1;
            w->mSpeedX = 30;
            w->mSpeedY = 20;
            w->MakeWindowRegion();
            w->show();
            CharacterWindows.push_back(w);
        }
    }
    void TearDown() override {
        rows.clear();
        for (CharacterWindowBase* w : CharacterWindows)
            delete w;
        CharacterWindows.assign(1, nullptr);
        SetProgramDirectory({});
    }

    void WriteFace(const QString& name, int width, int height, QColor face) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        QPainter p(&image);
        p.fillRect(5, 5, width - 10, height - 10, face);
        p.end();
        ASSERT_TRUE(image.save(dir.filePath(name), "BMP"));
    }

    frmPic& Character(int k) { return *static_cast<frmPic*>(CharacterWindows[static_cast<std::size_t>(k)]); }

    ctlSettings& Row(int k) {
        auto row = std::make_unique<ctlSettings>();
        row->resize(585, row->height()); // 8775 twips, as in the panel
        row->Init(k);
        rows.push_back(std::move(row));
        return *rows.back();
    }

    static QStringList Entries(const ctlSettings& row) {
        QStringList entries;
        for (int i = 0; i < row.cboFixed->count(); ++i)
            entries << row.cboFixed->itemText(i);
        return entries;
    }

    QTemporaryDir dir;
    std::vector<std::unique_ptr<ctlSettings>> rows;
};

TEST_F(SettingsRow, ListsThePointerTheOthersAndStandingStillInItsOwnPlace) {
    ctlSettings& second = Row(2);
    EXPECT_EQ(Entries(second), (QStringList{"Mouse Pointer", "Sunny", "Look to Mouse and don't move.", "Whiskers"}));
    EXPECT_EQ(second.cboFixed->currentIndex(), 1); // Froggy follows Sunny
    EXPECT_EQ(second.lblName[0]->text(), "Froggy");
    EXPECT_EQ(second.lblName[1]->text(), "Froggy");

    // Choosing the third entry with the keyboard stores character 2 itself: it stands still.
    second.cboFixed->setFocus();
    QTest::keyClick(second.cboFixed, Qt::Key_Down);
    EXPECT_EQ(second.cboFixed->currentIndex(), 2);
    EXPECT_EQ(Character(2).mFixed, 2);

    // A character that stands still shows that entry chosen.
    ctlSettings& third = Row(3);
    EXPECT_EQ(third.cboFixed->currentText(), "Look to Mouse and don't move.");
}

TEST_F(SettingsRow, SpeedChangesStoreTheRoundedValueAndActAtOnce) {
    ctlSettings& row = Row(1);
    frmPic& sunny = Character(1);
    // The slider's Change carries a single-precision value; halves go to the even neighbour.
    const std::tuple<float, int> cases[] = {{37.5f, 38}, {36.5f, 36}, {36.4f, 36}, {5.0f, 5}, {199.5f, 200}};
    for (const auto& [value, stored] : cases) {
        row.sldSpeedX_Change(value);
        EXPECT_EQ(sunny.mSpeedX, stored) << value;
        EXPECT_FLOAT_EQ(sunny.FactorX(), FollowDivisor(stored)) << "the new speed acts without a save";
        row.sldSpeedY_Change(value);
        EXPECT_EQ(sunny.mSpeedY, stored) << value;
        EXPECT_FLOAT_EQ(sunny.FactorY(), FollowDivisor(stored));
    }

    // Through the slider itself: Right raises the speed by one.
    row.sldSpeedX->SetValue(40);
    row.sldSpeedX->setFocus();
    QTest::keyClick(row.sldSpeedX, Qt::Key_Right);
    EXPECT_EQ(sunny.mSpeedX, 41);
    EXPECT_FLOAT_EQ(sunny.FactorX(), FollowDivisor(41));

    row.sldAlpha_Change(100.5f);
    EXPECT_EQ(sunny.mAlpha, 100);
    EXPECT_NEAR(sunny.windowOpacity(), 155 / 255.0, 0.01);
}

TEST_F(SettingsRow, MoveableWithMouseStoresTheFlagAndReappliesTheStyle) {
    ctlSettings& row = Row(2);
    frmPic& froggy = Character(2);
    ASSERT_TRUE(row.chkMoveable->isChecked());
    froggy.mAlpha = 64; // changed elsewhere, not yet applied: the style comes from the whole record

    QTest::mouseClick(row.chkMoveable, Qt::LeftButton);
    EXPECT_TRUE(froggy.mNoClick);
    EXPECT_TRUE(froggy.windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_NEAR(froggy.windowOpacity(), (255 - 64) / 255.0, 0.01);

    QTest::mouseClick(row.chkMoveable, Qt::LeftButton);
    EXPECT_FALSE(froggy.mNoClick);
    EXPECT_FALSE(froggy.windowFlags().testFlag(Qt::WindowTransparentForInput));
}

TEST_F(SettingsRow, VisibleShowsAndHidesButLeavesAMinimisedCharacterMinimised) {
    frmPic& sunny = Character(1);
    sunny.showMinimized();
    ASSERT_TRUE(sunny.isMinimized());
    ctlSettings& row = Row(1);
    EXPECT_FALSE(row.chkVisible->isChecked());

    // Minimised and hidden: checking shows it, still minimised.
    sunny.hide();
    row.Init(1);
    EXPECT_FALSE(row.chkVisible->isChecked());
    QTest::mouseClick(row.chkVisible, Qt::LeftButton);
    EXPECT_TRUE(sunny.isVisible());
    EXPECT_TRUE(sunny.isMinimized());

    frmPic& froggy = Character(2);
    ctlSettings& second = Row(2);
    EXPECT_TRUE(second.chkVisible->isChecked());
    QTest::mouseClick(second.chkVisible, Qt::LeftButton);
    EXPECT_FALSE(froggy.isVisible());
    // Filled again (as after a reload of the panel), a hidden character shows unchecked.
    second.Init(2);
    EXPECT_FALSE(second.chkVisible->isChecked());
    QTest::mouseClick(second.chkVisible, Qt::LeftButton);
    EXPECT_TRUE(froggy.isVisible());
}

TEST_F(SettingsRow, BehaviourButtonsStoreFollowOrFlee) {
    ctlSettings& row = Row(1);
    EXPECT_TRUE(row.optBehaviour[0]->isChecked());
    QTest::mouseClick(row.optBehaviour[1], Qt::LeftButton);
    EXPECT_TRUE(Character(1).mFlee);
    QTest::mouseClick(row.optBehaviour[0], Qt::LeftButton);
    EXPECT_FALSE(Character(1).mFlee);

    // Filling the row shows the record and changes nothing in it.
    Character(1).mFlee = true;
    const CharacterRecord before = Character(1);
    row.Init(1);
    EXPECT_TRUE(row.optBehaviour[1]->isChecked());
    EXPECT_EQ(static_cast<const CharacterRecord&>(Character(1)), before);
}

TEST_F(SettingsRow, AdaptsToAdvancedEditingAndTheWindowSystem) {
    struct Case {
        bool advanced, layered;
        bool advancedButton, moveable, alpha;
        const char* moveableTip;
        const char* alphaTip;
    };
    const Case cases[] = {
        {true, true, true, true, true, "Always active in Windows 95/98/ME", "Only Windows 2000/XP or later"},
        {true, false, true, true, true, "Always active in Windows 95/98/ME", "Only Windows 2000/XP or later"},
        {false, true, false, true, true, "If not checked, mouse clicks go through the character", ""},
        {false, false, false, false, false, "If not checked, mouse clicks go through the character", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("advanced ") + (c.advanced ? "on" : "off") + ", layered " +
                     (c.layered ? "yes" : "no"));
        AdvancedEditing = c.advanced;
        IsWin2000OrLater = c.layered;
        ctlSettings& row = Row(1);
        EXPECT_EQ(row.cmdAdvanced->isVisibleTo(&row), c.advancedButton);
        EXPECT_EQ(row.chkMoveable->isVisibleTo(&row), c.moveable);
        EXPECT_EQ(row.sldAlpha->isVisibleTo(&row), c.alpha);
        EXPECT_TRUE(row.chkVisible->isVisibleTo(&row));
        EXPECT_EQ(row.chkMoveable->toolTip(), c.moveableTip);
        EXPECT_EQ(row.sldAlpha->toolTip(), c.alphaTip);
        EXPECT_EQ(row.sldSpeedX->toolTip(), "Horizontal speed");
        EXPECT_EQ(row.sldSpeedY->toolTip(), "Vertical speed");
        // Bound again in the other mode (a reload), the row shows what that mode shows.
        AdvancedEditing = !c.advanced;
        IsWin2000OrLater = true;
        row.Init(1);
        EXPECT_EQ(row.cmdAdvanced->isVisibleTo(&row), !c.advanced);
        EXPECT_TRUE(row.chkMoveable->isVisibleTo(&row));
    }
}

TEST_F(SettingsRow, ARenameInTheHubReachesTheOtherRowsListsAndOnlyItsOwnRowsName) {
    ctlSettings& first = Row(1);
    ctlSettings& second = Row(2);
    ctlSettings& third = Row(3);
    first.cboFixed->setCurrentIndex(3);
    Character(3).mTitle = "Tom";
    GetGlobal().RefreshProps(3);

    EXPECT_EQ(first.cboFixed->itemText(3), "Tom");
    EXPECT_EQ(first.cboFixed->currentIndex(), 3); // the choice stays
    EXPECT_EQ(second.cboFixed->itemText(3), "Tom");
    EXPECT_EQ(third.cboFixed->itemText(3), "Look to Mouse and don't move.");
    EXPECT_EQ(third.lblName[0]->text(), "Tom");
    EXPECT_EQ(third.lblName[1]->text(), "Tom");
    EXPECT_EQ(first.lblName[0]->text(), "Sunny");
    EXPECT_EQ(second.lblName[0]->text(), "Froggy");
}

TEST_F(SettingsRow, TheThumbnailKeepsThePicturesAspectUntilTheHubAsksForANewOne) {
    ctlSettings& row = Row(1);
    ctlSettings& other = Row(2);
    // 200 x 100 pixels: 770 x 385 twips at (45, 275).
    EXPECT_EQ(row.ThumbnailRect(), QRect(3, 18, 51, 26));
    EXPECT_EQ(row.Thumbnail().size(), QSize(51, 26));
    // The key colour around the face is left out; the face itself is there.
    EXPECT_EQ(qAlpha(row.Thumbnail().pixel(0, 0)), 0);
    EXPECT_EQ(row.Thumbnail().pixelColor(25, 13), QColor(255, 220, 0));

    frmPic& sunny = Character(1);
    sunny.mPicFileName = "tall.bmp";
    sunny.MakeWindowRegion();
    EXPECT_EQ(row.ThumbnailRect().size(), QSize(51, 26)); // still the picture of its last fill

    // Every row repaints its own picture, whichever character the notice names.
    GetGlobal().RepaintPicture(2);
    EXPECT_EQ(row.ThumbnailRect(), QRect(3, 18, 13, 26)); // 192.5 x 385 twips
    EXPECT_EQ(row.Thumbnail().pixelColor(6, 13), QColor(0, 160, 0));
    EXPECT_EQ(other.ThumbnailRect().size(), QSize(51, 26));

    // What is on the screen is the thumbnail.
    const QImage shown = row.grab().toImage();
    EXPECT_EQ(shown.pixelColor(3 + 6, 18 + 13), QColor(0, 160, 0));
}

TEST_F(SettingsRow, TheFrameShowsTheCurrentRowAndAdvancedOpensTheEditor) {
    ctlSettings& row = Row(2);
    row.show(); // a hidden widget gets its resize event only when shown
    EXPECT_FALSE(row.IsCurrent());
    EXPECT_FALSE(row.shpBorder->isVisibleTo(&row));
    row.SetIsCurrent(true);
    EXPECT_TRUE(row.shpBorder->isVisibleTo(&row));
    EXPECT_EQ(row.shpBorder->geometry(), row.rect());
    row.SetIsCurrent(false);
    EXPECT_FALSE(row.shpBorder->isVisibleTo(&row));

    std::vector<int> opened;
    row.OnShowEditor = [&](int index) { opened.push_back(index); };
    QTest::mouseClick(row.cmdAdvanced, Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<int>{2});

    // A wider row stretches only the frame and the strips; the height stays 735 twips.
    row.resize(900, 200);
    EXPECT_EQ(row.height(), 49);
    EXPECT_EQ(row.shpBorder->geometry(), QRect(0, 0, 900, 49));
    EXPECT_EQ(row.gsLower->geometry(), QRect(0, 44, 900, 5));
    EXPECT_EQ(row.cmdAdvanced->geometry(), QRect(504, 26, 73, 18));
}

TEST_F(SettingsRow, TellsWhenTheFocusEntersIt) {
    QWidget window;
    auto* first = new ctlSettings(&window);
    auto* second = new ctlSettings(&window);
    second->move(0, 60);
    first->Init(1);
    second->Init(2);
    QSignalSpy enteredFirst(first, &ctlSettings::EnterFocus);
    QSignalSpy enteredSecond(second, &ctlSettings::EnterFocus);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->chkVisible->setFocus();
    const int atStart = enteredFirst.count(); // the window may have given the first row the focus
    EXPECT_GE(atStart, 1);
    second->sldAlpha->setFocus();
    EXPECT_EQ(enteredSecond.count(), 1);
    first->cboFixed->setFocus();
    EXPECT_EQ(enteredFirst.count(), atStart + 1);
    first->sldSpeedY->setFocus(); // moving inside the row is no new entry
    EXPECT_EQ(enteredFirst.count(), atStart + 1);
    // A click on the row's bare surface (its name or face) enters it too.
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(enteredSecond.count(), 2);
}

} // namespace

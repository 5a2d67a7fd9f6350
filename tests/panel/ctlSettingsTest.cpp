// A settings row edits its running character at once: target, behaviour, speeds, transparency,
// click-through and visibility; it follows the change hub and adapts to the program's mode.
#include "panel/ctlSettings.h"
#include "character/CharacterTestSupport.h"
#include "character/Motion.h"
#include "widgets/ctlSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

namespace {

class SettingsRow : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        IsWin2000OrLater = true;
        Save(Face(200, 100, QColor(255, 220, 0)), QStringLiteral("face.bmp"));
        Save(Face(50, 100, QColor(0, 160, 0)), QStringLiteral("tall.bmp"));
        for (const auto& [name, fixed] : {std::pair{"Sunny", 0}, {"Froggy", 1}, {"Whiskers", 3}}) {
            frmPic& w = AddCharacter(name); // 2 follows 1, 3 stands still
            w.mFixed = fixed;
            w.MakeWindowRegion();
            w.show();
        }
    }
    void TearDown() override {
        rows.clear();
        ProgramFolderTest::TearDown();
    }

    frmPic& Character(int k) { return *static_cast<frmPic*>(CharacterWindows[static_cast<std::size_t>(k)]); }

    ctlSettings& Row(int k) {
        rows.push_back(std::make_unique<ctlSettings>());
        rows.back()->resize(585, rows.back()->height()); // 8775 twips, as in the panel
        rows.back()->Init(k);
        return *rows.back();
    }

    std::vector<std::unique_ptr<ctlSettings>> rows;
};

TEST_F(SettingsRow, TheTargetListAndBehaviourShowAndStoreTheTarget) {
    ctlSettings& second = Row(2);
    ASSERT_EQ(second.cboFixed->count(), 4);
    EXPECT_EQ(second.cboFixed->itemText(2), "Look to Mouse and don't move.");
    EXPECT_EQ(second.cboFixed->currentIndex(), 1); // Froggy follows Sunny
    EXPECT_EQ(second.lblName[0]->text(), "Froggy");
    // Choosing its own place with the keyboard stores character 2 itself: it stands still.
    second.cboFixed->setFocus();
    QTest::keyClick(second.cboFixed, Qt::Key_Down);
    EXPECT_EQ(Character(2).mFixed, 2);
    EXPECT_EQ(Row(3).cboFixed->currentText(), "Look to Mouse and don't move.");

    QTest::mouseClick(second.optBehaviour[1], Qt::LeftButton);
    EXPECT_TRUE(Character(2).mFlee);
    QTest::mouseClick(second.optBehaviour[0], Qt::LeftButton);
    EXPECT_FALSE(Character(2).mFlee);
    // Filling the row shows the record and changes nothing in it.
    Character(2).mFlee = true;
    const CharacterRecord before = Character(2);
    second.Init(2);
    EXPECT_TRUE(second.optBehaviour[1]->isChecked());
    EXPECT_EQ(static_cast<const CharacterRecord&>(Character(2)), before);
}

TEST_F(SettingsRow, SpeedChangesStoreTheRoundedValueAndActAtOnce) {
    ctlSettings& row = Row(1);
    frmPic& sunny = Character(1);
    // The slider's Change carries a single-precision value; halves go to the even neighbour.
    for (const auto& [value, stored] : {std::pair{37.5f, 38}, {36.5f, 36}, {199.5f, 200}}) {
        row.sldSpeedX_Change(value);
        row.sldSpeedY_Change(value);
        EXPECT_EQ(std::pair(sunny.mSpeedX, sunny.mSpeedY), std::pair(stored, stored)) << value;
        EXPECT_FLOAT_EQ(sunny.FactorX(), FollowDivisor(stored)) << "the new speed acts without a save";
        EXPECT_FLOAT_EQ(sunny.FactorY(), FollowDivisor(stored));
    }
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

TEST_F(SettingsRow, VisibleShowsHidesAndRestoresAMinimisedCharacter) {
    frmPic& sunny = Character(1);
    sunny.showMinimized();
    ctlSettings& row = Row(1);
    EXPECT_FALSE(row.chkVisible->isChecked());
    QTest::mouseClick(row.chkVisible, Qt::LeftButton);
    EXPECT_TRUE(sunny.isVisible());
    EXPECT_FALSE(sunny.isMinimized());

    ctlSettings& second = Row(2);
    EXPECT_TRUE(second.chkVisible->isChecked());
    QTest::mouseClick(second.chkVisible, Qt::LeftButton);
    EXPECT_FALSE(Character(2).isVisible());
    second.Init(2); // filled again, as after a reload of the panel
    EXPECT_FALSE(second.chkVisible->isChecked());
}

TEST_F(SettingsRow, AdaptsToAdvancedEditingAndTheWindowSystem) {
    const struct {
        bool advanced, layered, moveable;
        const char* moveableTip;
        const char* alphaTip;
    } cases[] = {
        {true, true, true, "Always active in Windows 95/98/ME", "Only Windows 2000/XP or later"},
        {true, false, true, "Always active in Windows 95/98/ME", "Only Windows 2000/XP or later"},
        {false, true, true, "If not checked, mouse clicks go through the character", ""},
        {false, false, false, "If not checked, mouse clicks go through the character", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("advanced ") + (c.advanced ? "on" : "off") + ", layered " +
                     (c.layered ? "yes" : "no"));
        AdvancedEditing = c.advanced;
        IsWin2000OrLater = c.layered;
        ctlSettings& row = Row(1);
        EXPECT_EQ(row.cmdAdvanced->isVisibleTo(&row), c.advanced);
        EXPECT_EQ(row.chkMoveable->isVisibleTo(&row), c.moveable);
        EXPECT_EQ(row.sldAlpha->isVisibleTo(&row), c.moveable);
        EXPECT_EQ(row.chkMoveable->toolTip(), c.moveableTip);
        EXPECT_EQ(row.sldAlpha->toolTip(), c.alphaTip);
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
    EXPECT_EQ(third.lblName[1]->text(), "Tom");
    EXPECT_EQ(second.lblName[0]->text(), "Froggy");
}

TEST_F(SettingsRow, TheThumbnailKeepsThePicturesAspectUntilTheHubAsksForANewOne) {
    ctlSettings& row = Row(1);
    ctlSettings& other = Row(2);
    EXPECT_EQ(row.ThumbnailRect(), QRect(3, 18, 51, 26)); // 200 x 100 pixels: 770 x 385 twips at (45, 275)
    EXPECT_EQ(qAlpha(row.Thumbnail().pixel(0, 0)), 0);    // the key colour around the face is left out
    EXPECT_EQ(row.Thumbnail().pixelColor(25, 13), QColor(255, 220, 0));

    Character(1).mPicFileName = "tall.bmp";
    Character(1).MakeWindowRegion();
    EXPECT_EQ(row.ThumbnailRect().size(), QSize(51, 26)); // still the picture of its last fill
    GetGlobal().RepaintPicture(2); // every row repaints its own picture, whichever character the notice names
    EXPECT_EQ(row.ThumbnailRect(), QRect(3, 18, 13, 26)); // 192.5 x 385 twips
    EXPECT_EQ(other.ThumbnailRect().size(), QSize(51, 26));
    EXPECT_EQ(row.grab().toImage().pixelColor(3 + 6, 18 + 13), QColor(0, 160, 0)); // what is on the screen

    // A picture far wider than the row gets a thumbnail as wide as the row can show, no wider.
    Save(Face(60000, 4, QColor(0, 0, 200), 1), QStringLiteral("wide.bmp"));
    Character(1).mPicFileName = "wide.bmp";
    Character(1).MakeWindowRegion();
    GetGlobal().RepaintPicture(1);
    EXPECT_EQ(row.ThumbnailRect(), QRect(3, 18, row.width() - 3, 26));
    EXPECT_EQ(row.Thumbnail().size(), row.ThumbnailRect().size());
}

TEST_F(SettingsRow, TheFrameShowsTheCurrentRowAndAdvancedOpensTheEditor) {
    ctlSettings& row = Row(2);
    row.show(); // a hidden widget gets its resize event only when shown
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
}

} // namespace

// The control panel and its rows: each row edits its running character at once and follows the
// change hub and the program's mode; the list scrolls a focused row into view; Rename sets the title;
// Add and Delete save, reload and keep the current row; a failed save keeps everything as it was.
#include "panel/frmSettings.h"
#include "character/CharacterTestSupport.h"
#include "character/Motion.h"
#include "panel/ctlSettings.h"
#include "settings/FailingRename.h"
#include "widgets/ctlSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

namespace {

class ControlPanel : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        IsWin2000OrLater = true;
        Save(Face(200, 100, QColor(255, 220, 0)), QStringLiteral("face.bmp"));
    }
    void TearDown() override {
        panel.reset();
        if (SettingsWindowExists())
            delete &SettingsWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ProgramFolderTest::TearDown();
    }

    // An isolated panel (not the program's one) for shown characters in memory with these targets.
    frmSettings& Panel(const std::vector<int>& targets) {
        CloseCharacters();
        for (const int fixed : targets) {
            frmPic& w = AddCharacter("Face " + std::to_string(CharacterWindows.size()));
            w.mFixed = fixed;
            w.MakeWindowRegion();
            w.show();
        }
        panel = std::make_unique<frmSettings>();
        panel->OnEndProgram = [this] { ++endings; }; // closing it ends nothing
        panel->ShowForm();
        return *panel;
    }
    static frmPic& Character(int k) { return *static_cast<frmPic*>(CharacterWindows[std::size_t(k)]); }

    QString IniPath() const { return dir.filePath(QStringLiteral("Lookabout.ini")); }
    std::string ReadIni() const {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    // Sunny, Froggy following Sunny and Whiskers standing still, loaded as the program loads them.
    frmSettings& LoadThree() {
        QFile file(IniPath());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[General_Settings]\nProgram_Title=Eyes\n\n"
                   "[CHARACTER_1]\nName=Sunny\nImage_File=face.bmp\nFixed_To=0\n\n"
                   "[CHARACTER_2]\nName=Froggy\nImage_File=face.bmp\nFixed_To=1\n\n"
                   "[CHARACTER_3]\nName=Whiskers\nImage_File=face.bmp\nFixed_To=3\n\n");
        file.close();
        LoadAll();
        SettingsWindow().OnEndProgram = [this] { ++endings; };
        return SettingsWindow();
    }

    std::unique_ptr<frmSettings> panel;
    int endings = 0;
};

TEST_F(ControlPanel, EachRowControlStoresItsFieldAndActsAtOnce) {
    ctlSettings& row = *Panel({0, 1, 3}).ctlSet[1]; // Face 2 follows Face 1
    frmPic& two = Character(2);
    // Choosing its own place with the keyboard stores character 2 itself: it stands still.
    row.cboFixed->setFocus();
    QTest::keyClick(row.cboFixed, Qt::Key_Down);
    QTest::mouseClick(row.optBehaviour[1], Qt::LeftButton);
    EXPECT_EQ(std::pair(two.mFixed, two.mFlee), std::pair(2, true));
    // The slider's Change carries a single-precision value; halves go to the even neighbour.
    row.sldSpeedX_Change(37.5f);
    row.sldSpeedY_Change(150.5f);
    EXPECT_EQ(std::pair(two.mSpeedX, two.mSpeedY), std::pair(38, 150));
    EXPECT_EQ(std::pair(two.FactorX(), two.FactorY()), std::pair(FollowDivisor(38), FollowDivisor(150))); // no save
    row.sldAlpha_Change(100.5f);
    EXPECT_NEAR(two.windowOpacity(), 155 / 255.0, 0.01);
    two.mAlpha = 64; // changed elsewhere, not yet applied: the style comes from the whole record
    QTest::mouseClick(row.chkMoveable, Qt::LeftButton);
    EXPECT_TRUE(two.mNoClick && two.windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_NEAR(two.windowOpacity(), (255 - 64) / 255.0, 0.01);
    // Filling the row again shows the record and changes nothing in it.
    const CharacterRecord before = two;
    row.Init(2);
    EXPECT_EQ(static_cast<const CharacterRecord&>(two), before);
    EXPECT_EQ(std::tuple(row.optBehaviour[1]->isChecked(), row.chkMoveable->isChecked()), std::tuple(true, false));
    QTest::mouseClick(row.chkMoveable, Qt::LeftButton);
    EXPECT_FALSE(two.windowFlags().testFlag(Qt::WindowTransparentForInput));

    // Visible brings a minimised character back and hides a shown one.
    Character(1).showMinimized();
    ctlSettings& first = *panel->ctlSet[0];
    first.Init(1);
    QTest::mouseClick(first.chkVisible, Qt::LeftButton);
    EXPECT_TRUE(Character(1).isVisible() && !Character(1).isMinimized());
    QTest::mouseClick(first.chkVisible, Qt::LeftButton);
    EXPECT_FALSE(Character(1).isVisible());
}

TEST_F(ControlPanel, RowsFollowTheHubAndTheMode) {
    Panel({0, 1, 3});
    const std::vector<ctlSettings*>& rows = panel->ctlSet;
    // A rename reaches the other rows' lists, keeping their choice, and only its own row's name.
    rows[0]->cboFixed->setCurrentIndex(3);
    Character(3).mTitle = "Tom";
    GetGlobal().RefreshProps(3);
    EXPECT_EQ(std::tuple(rows[0]->cboFixed->itemText(3), rows[0]->cboFixed->currentIndex()),
              std::tuple(QString("Tom"), 3));
    EXPECT_EQ(rows[2]->cboFixed->itemText(3), "Look to Mouse and don't move.");
    EXPECT_EQ(rows[1]->lblName[0]->text() + rows[2]->lblName[0]->text(), "Face 2Tom");
    // A new picture shows in every row once the hub asks; one far wider than a row is cut to the row.
    EXPECT_EQ(qAlpha(rows[0]->Thumbnail().pixel(0, 0)), 0); // the key colour around the face is left out
    Save(Face(60000, 4, QColor(0, 0, 200), 1), QStringLiteral("wide.bmp"));
    Character(1).mPicFileName = "wide.bmp";
    Character(1).MakeWindowRegion();
    GetGlobal().RepaintPicture(2);
    EXPECT_EQ(rows[0]->ThumbnailRect(), QRect(3, 18, rows[0]->width() - 3, 26));
    EXPECT_EQ(rows[0]->grab().toImage().pixelColor(3 + 20, 18 + 13), QColor(0, 0, 200));

    // (advanced editing, layered windows): Add, Delete, Rename and Advanced, click box and transparency.
    for (const auto& [advanced, layered] : {std::pair{true, false}, {false, true}, {false, false}}) {
        AdvancedEditing = advanced;
        IsWin2000OrLater = layered;
        ctlSettings& row = *Panel({0}).ctlSet[0];
        const bool alpha = advanced || layered;
        EXPECT_EQ((std::array{panel->cmdAdd->isVisibleTo(panel.get()), panel->cmdDelete->isVisibleTo(panel.get()),
                              panel->cmdRename->isVisibleTo(panel.get()), row.cmdAdvanced->isVisibleTo(&row),
                              row.chkMoveable->isVisibleTo(&row), row.sldAlpha->isVisibleTo(&row),
                              !row.sldAlpha->toolTip().isEmpty()}),
                  (std::array{advanced, advanced, advanced, advanced, alpha, alpha, advanced}));
    }
}

TEST_F(ControlPanel, AFocusedRowScrollsIntoViewAndBecomesCurrent) {
    Panel(std::vector<int>(10, 0)).activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
    // Ten rows overflow the tallest window, 5820 twips (388 pixels) with its frame.
    EXPECT_EQ(panel->frameGeometry().height(), 388);
    const int visible = panel->picOuter->height();
    // Row 8 reaches below the visible area: its bottom comes to the bottom edge.
    panel->ctlSet[8]->chkVisible->setFocus();
    EXPECT_EQ(std::tuple(panel->CurIndex, panel->ctlSet[8]->IsCurrent(), panel->ctlSet[0]->IsCurrent()),
              std::tuple(8, true, false));
    EXPECT_EQ(std::pair(panel->picInner->y(), panel->scrInner->value()), std::pair(visible - 9 * 49, 9 * 49 - visible));
    QTest::mouseClick(panel->ctlSet[2], Qt::LeftButton, {}, QPoint(20, 30)); // a click on its name or face
    EXPECT_EQ(panel->CurIndex, 2);
    // The wheel over a target list that has no focus leaves the target alone.
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(panel->ctlSet[2]->cboFixed, &wheel);
    EXPECT_EQ(std::pair(wheel.isAccepted(), Character(3).mFixed), std::pair(false, 0));
}

TEST_F(ControlPanel, RenameTakesTheTrimmedAnswerAndCancelKeepsTheTitle) {
    ProgramTitle = "Old title";
    Panel({0});
    for (const auto& answer : {std::optional<QString>("  New title  "), std::optional<QString>()}) {
        panel->OnAskTitle = [answer](const QString&) { return answer; };
        panel->cmdRename->click();
        EXPECT_EQ(ProgramTitle, "New title"); // a cancel keeps it
        EXPECT_EQ(panel->lblProgTitle[1]->text(), "New title");
    }
}

TEST_F(ControlPanel, AFailedSaveKeepsEverythingAndDeleteThenKeepsTheCurrentRow) {
    frmSettings& settings = LoadThree();
    const std::string original = ReadIni();
    const std::vector<CharacterWindowBase*> windows = CharacterWindows;
    settings.ctlSet[2]->sldSpeedY_Change(150);
    settings.ctlSet_EnterFocus(1);
    QStringList reported; // each message the program shows, answered with OK
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box->isVisible()) {
            reported << box->text();
            box->accept();
        }
    });
    answerer.start(10);
    {
        FailingRename crash;
        settings.cmdAdd->click();
        settings.cmdDelete->click();
    }
    ASSERT_EQ(reported.size(), 2); // each failure is reported once
    EXPECT_TRUE(reported[0].contains(IniPath()));
    EXPECT_EQ(ReadIni(), original);
    EXPECT_EQ(CharacterWindows, windows); // no window was closed
    EXPECT_EQ(std::pair(settings.ctlSet.size(), settings.CurIndex), std::pair(std::size_t{3}, 1));
    // Once the file can be written again, the same Delete goes through, with the row's change.
    settings.cmdDelete->click();
    EXPECT_EQ(std::tuple(CharacterWindows[2]->mTitle, CharacterWindows[2]->mSpeedY, settings.CurIndex),
              std::tuple(std::string("Whiskers"), 150, 1));
    settings.cmdDelete->click(); // the last row: the new last row becomes current; one character is always kept
    EXPECT_EQ(std::pair(settings.CurIndex, settings.cmdDelete->isEnabled()), std::pair(0, false));
    settings.cmdDelete_Click();
    EXPECT_EQ(std::tuple(CharacterCount(), reported.size(), endings), std::tuple(1, 2, 0));
}

} // namespace

// The control panel: its height fits the rows, the list scrolls a focused row into view, the title
// sits beside the buttons of the mode, Rename asks for the title, Help shows the general help, and
// Add and Delete save, reload and keep the current row; a failed save keeps everything as it was.
#include "panel/frmSettings.h"
#include "character/CharacterTestSupport.h"
#include "help/HelpTexts.h"
#include "help/frmHelp.h"
#include "panel/ctlSettings.h"
#include "settings/FailingRename.h"
#include "widgets/ctlSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

namespace {

// Answers every modal dialog that opens while it lives with `answer`, remembering what it showed.
struct DialogAnswerer {
    std::function<void(QWidget*)> answer;
    QStringList seen;
    QTimer timer;
    explicit DialogAnswerer(std::function<void(QWidget*)> how) : answer(std::move(how)) {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
                if (auto* box = qobject_cast<QMessageBox*>(modal))
                    seen << box->text();
                answer(modal);
            }
        });
        timer.start();
    }
};

class ControlPanel : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        ProgramTitle = "Lookabout";
        Save(Face(40, 30, QColor(250, 200, 40)), QStringLiteral("face.bmp"));
    }
    void TearDown() override {
        if (SettingsWindowExists())
            delete &SettingsWindow();
        if (HelpWindowExists())
            UnloadHelpWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ProgramFolderTest::TearDown();
    }

    // Characters in memory only, for the panel's layout.
    void MakeCharacters(int count) {
        for (int k = 1; k <= count; ++k)
            AddCharacter("Face " + std::to_string(k)).MakeWindowRegion();
    }

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

    // An isolated panel (not the program's one) that ends nothing when closed.
    std::unique_ptr<frmSettings> Panel() {
        auto panel = std::make_unique<frmSettings>();
        panel->OnEndProgram = [this] { ++endings; };
        panel->ShowForm();
        return panel;
    }

    int endings = 0;
};

TEST_F(ControlPanel, TheWindowFitsTheRowsAndScrollsBeyond5820Twips) {
    // The rows' sum: title band, rows and bottom margin, with 4 pixels to spare.
    for (const auto& [characters, clientPx] : {std::pair{2, 146 + 4}, {10, 538 + 4}}) {
        SCOPED_TRACE(std::to_string(characters) + " characters");
        MakeCharacters(characters);
        auto panel = Panel();
        // The whole window, frame included, is at most 5820 twips (388 pixels) high.
        const int frame = panel->frameGeometry().height() - panel->height();
        const int expected = std::min(clientPx, 388 - frame);
        EXPECT_EQ(panel->height(), expected) << "frame " << frame;
        const int visible = expected - 48, rows = 49 * characters;
        EXPECT_EQ(panel->picOuter->height(), visible);
        EXPECT_EQ(std::tuple(panel->scrInner->isEnabled(), panel->scrInner->maximum(), panel->scrInner->pageStep()),
                  rows > visible ? std::tuple(true, rows - visible, visible)
                                 : std::tuple(false, panel->scrInner->maximum(), panel->scrInner->pageStep()));
        // The rows touch, each 735 twips high and as wide as the room left of the scroll bar.
        for (std::size_t i = 0; i < panel->ctlSet.size(); ++i)
            EXPECT_EQ(panel->ctlSet[i]->geometry(), QRect(0, 49 * static_cast<int>(i), 592, 49)) << "row " << i;
        EXPECT_TRUE(panel->ctlSet[0]->IsCurrent());
        panel.reset();
        CloseCharacters();
    }
}

TEST_F(ControlPanel, AFocusedRowScrollsIntoViewAndBecomesCurrent) {
    MakeCharacters(10);
    auto panel = Panel();
    panel->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
    const QWidget* list = panel->picInner;
    const int visible = panel->picOuter->height();
    ASSERT_LT(visible, 9 * 49);
    // Row 8 reaches below the visible area: its bottom comes to the bottom edge.
    panel->ctlSet[8]->chkVisible->setFocus();
    EXPECT_EQ(panel->CurIndex, 8);
    EXPECT_TRUE(panel->ctlSet[8]->IsCurrent());
    EXPECT_FALSE(panel->ctlSet[0]->IsCurrent());
    EXPECT_EQ(list->y(), visible - 9 * 49);
    EXPECT_EQ(panel->scrInner->value(), 9 * 49 - visible);
    // Row 1 now starts above the visible area: its top comes to the top edge.
    panel->ctlSet[1]->cboFixed->setFocus();
    EXPECT_EQ(panel->CurIndex, 1);
    EXPECT_EQ(list->y(), -49);
    panel->ctlSet[3]->sldSpeedX->setFocus(); // a row in view stays where it is
    EXPECT_EQ(list->y(), -49);
    QTest::mouseClick(panel->ctlSet[2], Qt::LeftButton, {}, QPoint(20, 30)); // a click on its name or face
    EXPECT_EQ(panel->CurIndex, 2);

    // The wheel over a target list that has no focus leaves the target alone and goes on to the list.
    const auto wheelDown = [](QWidget* widget) {
        QWheelEvent wheel(QPointF(10, 10), widget->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
        return wheel.isAccepted();
    };
    EXPECT_FALSE(wheelDown(panel->ctlSet[2]->cboFixed));
    EXPECT_EQ(CharacterWindows[3]->mFixed, 0);
    EXPECT_TRUE(wheelDown(panel->picOuter));
    EXPECT_GT(panel->scrInner->value(), 49);
    panel->scrInner->setValue(120);
    EXPECT_EQ(list->y(), -120);
}

TEST_F(ControlPanel, TheTitleStartsBesideTheLastButtonOfTheMode) {
    MakeCharacters(2);
    ProgramTitle = "My faces";
    for (bool advanced : {false, true}) {
        SCOPED_TRACE(advanced ? "advanced editing" : "plain");
        AdvancedEditing = advanced;
        auto panel = Panel();
        for (const QToolButton* button : {panel->cmdAdd, panel->cmdDelete, panel->cmdRename})
            EXPECT_EQ(button->isVisibleTo(panel.get()), advanced);
        EXPECT_TRUE(panel->cmdHelp->isVisibleTo(panel.get()) && panel->cmdMini->isVisibleTo(panel.get()));
        // 325 twips right of Help (120 + 800) or of Rename (3480 + 800), to 325 left of Minimize,
        // reckoned from where the buttons stand in whole pixels.
        const QLabel* title = panel->lblProgTitle[1];
        const QToolButton* anchor = advanced ? panel->cmdRename : panel->cmdHelp;
        const int anchorRight = anchor->x() + anchor->width();
        EXPECT_EQ(anchorRight, advanced ? 285 : 61);
        EXPECT_EQ(title->text(), "My faces");
        EXPECT_EQ(title->x(), advanced ? 307 : 83);
        EXPECT_EQ(title->width(), std::lround(((panel->cmdMini->x() - anchorRight) * 15.0 - 2 * 325) / 15));
        EXPECT_NEAR(title->y(), (40 - title->height()) / 2.0, 0.5); // centred in the title band
        EXPECT_EQ(panel->lblProgTitle[0]->geometry(), title->geometry().translated(2, 2));
    }
}

TEST_F(ControlPanel, RenameAsksForTheTitleAndCancelKeepsIt) {
    MakeCharacters(1);
    ProgramTitle = "Old title";
    auto panel = Panel();
    QString prompt, caption, offered;
    const auto rename = [&](const QString& text, bool ok) {
        DialogAnswerer answerer([&, text, ok](QWidget* modal) {
            auto* dialog = qobject_cast<QInputDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            prompt = dialog->labelText();
            caption = dialog->windowTitle();
            offered = dialog->textValue();
            dialog->setTextValue(text);
            ok ? dialog->accept() : dialog->reject();
        });
        panel->cmdRename->click();
    };
    rename(QStringLiteral("   New title   "), true);
    EXPECT_EQ(prompt, "Enter a new title for this program");
    EXPECT_EQ(caption, "Edit program title");
    EXPECT_EQ(offered, "Old title");
    EXPECT_EQ(ProgramTitle, "New title");
    EXPECT_EQ(panel->lblProgTitle[1]->text(), "New title");
    rename(QString(), false);
    EXPECT_EQ(ProgramTitle, "New title") << "Cancel keeps the title";
    rename(QString(), true);
    EXPECT_EQ(ProgramTitle, "") << "an empty answer confirmed with OK";
    EXPECT_EQ(panel->lblProgTitle[0]->text(), "");
}

TEST_F(ControlPanel, HelpButtonAndF1AnywhereShowTheGeneralHelp) {
    MakeCharacters(2);
    auto panel = Panel();
    const QString general = QString::fromStdString(HelpText(GeneralHelpText)).replace("\r\n", "\n");
    panel->cmdHelp->click();
    ASSERT_TRUE(HelpWindowExists());
    EXPECT_TRUE(HelpWindow().isVisible());
    EXPECT_EQ(HelpWindow().lblText->text(), general);
    UnloadHelpWindow();
    // F1 wherever the focus is in the panel, here in a row's slider.
    panel->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
    panel->ctlSet[1]->sldSpeedY->setFocus();
    QTest::keyClick(panel->ctlSet[1]->sldSpeedY, Qt::Key_F1);
    ASSERT_TRUE(HelpWindowExists());
    EXPECT_EQ(HelpWindow().lblText->text(), general);
}

TEST_F(ControlPanel, AddAndDeleteSaveReloadAndKeepTheCurrentRow) {
    frmSettings& panel = LoadThree();
    ASSERT_EQ(panel.ctlSet.size(), 3u);
    EXPECT_TRUE(panel.isVisible());
    panel.ctlSet[0]->sldSpeedX_Change(77); // a change in a row reaches the file with the Add
    panel.ctlSet_EnterFocus(1);
    panel.cmdAdd->click();

    ASSERT_EQ(CharacterCount(), 4);
    ASSERT_EQ(panel.ctlSet.size(), 4u);
    EXPECT_EQ(panel.CurIndex, 1);
    EXPECT_TRUE(panel.ctlSet[1]->IsCurrent());
    EXPECT_EQ(CharacterWindows[1]->mSpeedX, 77);
    EXPECT_EQ(panel.ctlSet[3]->lblName[0]->text(), "New Froggy");

    // Deleting the last row makes the new last row current.
    panel.ctlSet_EnterFocus(3);
    panel.cmdDelete->click();
    ASSERT_EQ(CharacterCount(), 3);
    EXPECT_EQ(panel.CurIndex, 2);
    EXPECT_TRUE(panel.ctlSet[2]->IsCurrent());
    EXPECT_EQ(ReadIni().find("CHARACTER_4"), std::string::npos);
    // Deleting the first: the first row shows the former character 2, which followed character 1.
    panel.ctlSet_EnterFocus(0);
    panel.cmdDelete->click();
    ASSERT_EQ(CharacterCount(), 2);
    EXPECT_EQ(panel.CurIndex, 0);
    EXPECT_EQ(panel.ctlSet[0]->lblName[0]->text(), "Froggy");
    EXPECT_EQ(CharacterWindows[1]->mFixed, 0);
    EXPECT_EQ(CharacterWindows[2]->mFixed, 2);

    panel.cmdDelete->click();
    ASSERT_EQ(CharacterCount(), 1);
    EXPECT_FALSE(panel.cmdDelete->isEnabled());
    panel.cmdDelete_Click(); // one character is always kept
    EXPECT_EQ(CharacterCount(), 1);
    EXPECT_EQ(endings, 0);
}

TEST_F(ControlPanel, AFailedSaveKeepsTheCharactersRunningAndTheFileAsItWas) {
    frmSettings& panel = LoadThree();
    const std::string original = ReadIni();
    const std::vector<CharacterWindowBase*> windows = CharacterWindows;
    panel.ctlSet[2]->sldSpeedY_Change(150);
    panel.ctlSet_EnterFocus(1);
    DialogAnswerer answerer([](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            box->accept();
    });
    {
        FailingRename crash;
        panel.cmdAdd->click();
        panel.cmdDelete->click();
    }
    ASSERT_EQ(answerer.seen.size(), 2) << "each failure is reported once";
    EXPECT_TRUE(answerer.seen[0].contains(IniPath())) << answerer.seen[0].toStdString();
    EXPECT_EQ(ReadIni(), original);
    EXPECT_EQ(CharacterWindows, windows) << "no window was closed";
    EXPECT_EQ(CharacterWindows[3]->mSpeedY, 150);
    EXPECT_EQ(panel.ctlSet.size(), 3u);
    EXPECT_EQ(panel.CurIndex, 1);

    // Once the file can be written again, the same Delete goes through.
    panel.cmdDelete->click();
    EXPECT_EQ(CharacterCount(), 2);
    EXPECT_EQ(CharacterWindows[2]->mTitle, "Whiskers");
    EXPECT_EQ(CharacterWindows[2]->mSpeedY, 150);
    EXPECT_EQ(answerer.seen.size(), 2);
}

} // namespace

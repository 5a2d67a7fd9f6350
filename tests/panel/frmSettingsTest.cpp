// The control panel: its height fits the rows, the list scrolls a focused row into view, the title
// sits beside the buttons of the mode, Rename asks for the title, Help shows the general help, and
// Add and Delete save, reload and keep the current row; a failed save keeps everything as it was.
#include "panel/frmSettings.h"
#include "character/frmPic.h"
#include "help/HelpTexts.h"
#include "help/frmHelp.h"
#include "panel/ctlSettings.h"
#include "start/FailingRename.h"
#include "start/ProgramState.h"
#include "start/modStart.h"
#include "widgets/ctlSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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

std::string ReadFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ControlPanel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetProgramDirectory(dir.path());
        TwipsPerPixelX = TwipsPerPixelY = 15.0f;
        AdvancedEditing = true;
        IsWin2000OrLater = false;
        ProgramTitle = "Lookabout";
        QImage face(40, 30, QImage::Format_RGB32);
        face.fill(QColor(255, 0, 255));
        QPainter p(&face);
        p.fillRect(4, 4, 32, 22, QColor(250, 200, 40));
        p.end();
        ASSERT_TRUE(face.save(dir.filePath(QStringLiteral("face.bmp")), "BMP"));
    }
    void TearDown() override {
        for (CharacterWindowBase* w : CharacterWindows)
            delete w;
        CharacterWindows.assign(1, nullptr);
        if (SettingsWindowExists())
            delete &SettingsWindow();
        if (HelpWindowExists())
            UnloadHelpWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetProgramDirectory({});
    }

    // Characters in memory only, for the panel's layout.
    void MakeCharacters(int count) {
        for (int k = 1; k <= count; ++k) {
            auto* w = new frmPic();
            w->mMyIndex = k;
            w->mINISectionName = "CHARACTER_" + std::to_string(k);
            w->mTitle = "Face " + std::to_string(k);
            w->mPicFileName = "face.bmp";
            w->mFixed = 0;
            w->MakeWindowRegion();
            CharacterWindows.push_back(w);
        }
    }

    QString IniPath() const { return dir.filePath(QStringLiteral("Lookabout.ini")); }

    void WriteIni(const std::string& text) {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.c_str(), static_cast<qint64>(text.size()));
    }

    static std::string Character(int k, const std::string& name, int fixedTo) {
        return "[CHARACTER_" + std::to_string(k) + "]\nName=" + name +
               "\nImage_File=face.bmp\nFixed_To=" + std::to_string(fixedTo) + "\n\n";
    }

    // An isolated panel (not the program's one) that ends nothing when closed.
    std::unique_ptr<frmSettings> Panel() {
        auto panel = std::make_unique<frmSettings>();
        panel->OnEndProgram = [this] { ++endings; };
        return panel;
    }

    QTemporaryDir dir;
    int endings = 0;
};

TEST_F(ControlPanel, TheWindowFitsTheRowsAndScrollsBeyond5820Twips) {
    struct Case {
        int characters;
        int clientPx; // the rows' sum: title band, rows and bottom margin, with 4 pixels to spare
    };
    const Case cases[] = {{2, 146 + 4}, {1, 97 + 4}, {6, 342 + 4}, {10, 538 + 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.characters) + " characters");
        MakeCharacters(c.characters);
        auto panel = Panel();
        panel->ShowForm();
        // The whole window, frame included, is at most 5820 twips (388 pixels) high.
        const int frame = panel->frameGeometry().height() - panel->height();
        const int expected = std::min(c.clientPx, 388 - frame);
        EXPECT_EQ(panel->height(), expected) << "frame " << frame;
        EXPECT_EQ(panel->width(), 625);
        const int visible = expected - 48;
        EXPECT_EQ(panel->picOuter->geometry(), QRect(8, 40, 609, visible));
        EXPECT_EQ(panel->scrInner->geometry(), QRect(592, 0, 17, visible));
        const int rows = 49 * c.characters;
        EXPECT_EQ(panel->picInner->height(), rows);
        EXPECT_EQ(panel->scrInner->isEnabled(), rows > visible);
        if (rows > visible) {
            EXPECT_EQ(panel->scrInner->maximum(), rows - visible);
            EXPECT_EQ(panel->scrInner->pageStep(), visible);
        }
        // The rows touch, each 735 twips high and as wide as the room left of the scroll bar.
        for (std::size_t i = 0; i < panel->ctlSet.size(); ++i) {
            EXPECT_EQ(panel->ctlSet[i]->geometry(), QRect(0, 49 * static_cast<int>(i), 592, 49)) << "row " << i;
            EXPECT_EQ(panel->ctlSet[i]->BoundIndex(), static_cast<int>(i) + 1);
        }
        EXPECT_TRUE(panel->ctlSet[0]->IsCurrent());
        EXPECT_EQ(panel->cmdDelete->isEnabled(), c.characters > 1);
        panel.reset();
        for (CharacterWindowBase* w : CharacterWindows)
            delete w;
        CharacterWindows.assign(1, nullptr);
    }
}

TEST_F(ControlPanel, AFocusedRowScrollsIntoViewAndBecomesCurrent) {
    MakeCharacters(10);
    auto panel = Panel();
    panel->ShowForm();
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
    EXPECT_EQ(list->y() + panel->ctlSet[8]->y() + 49, panel->picOuter->height());

    // Row 1 now starts above the visible area: its top comes to the top edge.
    panel->ctlSet[1]->cboFixed->setFocus();
    EXPECT_EQ(panel->CurIndex, 1);
    EXPECT_FALSE(panel->ctlSet[8]->IsCurrent());
    EXPECT_EQ(list->y(), -49);
    EXPECT_EQ(panel->scrInner->value(), 49);

    // A row in view stays where it is; the scroll bar moves the list by whole pixels.
    panel->ctlSet[3]->sldSpeedX->setFocus();
    EXPECT_EQ(list->y(), -49);

    // The wheel over a target list that has no focus leaves the target alone and the event unaccepted,
    // so it goes on to the list, which scrolls.
    const auto wheelDown = [](QWidget* widget) {
        QWheelEvent wheel(QPointF(10, 10), widget->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
        return wheel.isAccepted();
    };
    QComboBox* combo = panel->ctlSet[2]->cboFixed;
    const int target = combo->currentIndex();
    EXPECT_FALSE(wheelDown(combo));
    EXPECT_EQ(combo->currentIndex(), target);
    EXPECT_EQ(CharacterWindows[3]->mFixed, 0);
    EXPECT_TRUE(wheelDown(panel->picOuter));
    EXPECT_GT(panel->scrInner->value(), 49);
    EXPECT_EQ(list->y(), -panel->scrInner->value());
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
        panel->ShowForm();
        EXPECT_EQ(panel->cmdHelp->isVisibleTo(panel.get()), true);
        EXPECT_EQ(panel->cmdMini->isVisibleTo(panel.get()), true);
        EXPECT_EQ(panel->cmdAdd->isVisibleTo(panel.get()), advanced);
        EXPECT_EQ(panel->cmdDelete->isVisibleTo(panel.get()), advanced);
        EXPECT_EQ(panel->cmdRename->isVisibleTo(panel.get()), advanced);
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
        EXPECT_EQ(panel->lblProgTitle[0]->text(), "My faces");
        EXPECT_EQ(panel->cmdMini->x(), 625 - 53 - 8);
    }
}

TEST_F(ControlPanel, RenameAsksForTheTitleAndCancelKeepsIt) {
    MakeCharacters(1);
    ProgramTitle = "Old title";
    auto panel = Panel();
    panel->ShowForm();

    QString prompt, caption, offered;
    const auto answerWith = [&](const QString& text, bool ok) {
        return [&, text, ok](QWidget* modal) {
            auto* dialog = qobject_cast<QInputDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            prompt = dialog->labelText();
            caption = dialog->windowTitle();
            offered = dialog->textValue();
            dialog->setTextValue(text);
            ok ? dialog->accept() : dialog->reject();
        };
    };
    {
        DialogAnswerer answerer(answerWith(QStringLiteral("   New title   "), true));
        panel->cmdRename->click();
    }
    EXPECT_EQ(prompt, "Enter a new title for this program");
    EXPECT_EQ(caption, "Edit program title");
    EXPECT_EQ(offered, "Old title");
    EXPECT_EQ(ProgramTitle, "New title");
    EXPECT_EQ(panel->lblProgTitle[1]->text(), "New title");

    {
        DialogAnswerer answerer(answerWith(QString(), false));
        panel->cmdRename->click();
    }
    EXPECT_EQ(ProgramTitle, "New title") << "Cancel keeps the title";

    {
        DialogAnswerer answerer(answerWith(QString(300, QLatin1Char('z')), true));
        panel->cmdRename->click();
    }
    EXPECT_EQ(ProgramTitle, std::string(255, 'z'));

    {
        DialogAnswerer answerer(answerWith(QString(), true));
        panel->cmdRename->click();
    }
    EXPECT_EQ(ProgramTitle, "") << "an empty answer confirmed with OK";
    EXPECT_EQ(panel->lblProgTitle[0]->text(), "");
}

TEST_F(ControlPanel, HelpButtonAndF1ShowTheGeneralHelpAndClosingEndsTheProgram) {
    MakeCharacters(2);
    auto panel = Panel();
    panel->ShowForm();
    panel->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
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

    panel->cmdMini->click();
    EXPECT_TRUE(panel->isMinimized());
    panel->ShowPanel();
    EXPECT_FALSE(panel->isMinimized());

    EXPECT_EQ(endings, 0);
    panel->close();
    EXPECT_EQ(endings, 1);
}

TEST_F(ControlPanel, AddAndDeleteSaveReloadAndKeepTheCurrentRow) {
    WriteIni("[General_Settings]\nProgram_Title=Eyes\n\n" + Character(1, "Sunny", 0) + Character(2, "Froggy", 1) +
             Character(3, "Whiskers", 3));
    LoadAll();
    ASSERT_TRUE(SettingsWindowExists());
    frmSettings& panel = SettingsWindow();
    panel.OnEndProgram = [this] { ++endings; };
    ASSERT_EQ(panel.ctlSet.size(), 3u);
    EXPECT_TRUE(panel.isVisible());

    // A change in a row reaches the file with the Add.
    panel.ctlSet[0]->sldSpeedX_Change(77);
    panel.ctlSet_EnterFocus(1);
    const QPointer<QWidget> oldFroggy = static_cast<frmPic*>(CharacterWindows[2]);
    const QRect frame = panel.frameGeometry();
    panel.cmdAdd->click();

    ASSERT_EQ(CharacterCount(), 4);
    ASSERT_EQ(panel.ctlSet.size(), 4u);
    EXPECT_EQ(panel.CurIndex, 1);
    EXPECT_TRUE(panel.ctlSet[1]->IsCurrent());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(oldFroggy.isNull()) << "every character window is created anew";
    const CharacterWindowBase& added = *CharacterWindows[4];
    EXPECT_EQ(added.mTitle, "New Froggy");
    EXPECT_EQ(added.mFixed, 4);
    EXPECT_EQ(added.mStartPosX, frame.x() + frame.width());
    EXPECT_EQ(added.mStartPosY, frame.y());
    EXPECT_EQ(CharacterWindows[2]->mTitle, "Froggy");
    EXPECT_EQ(CharacterWindows[2]->mFixed, 1);
    EXPECT_EQ(CharacterWindows[1]->mSpeedX, 77);
    EXPECT_EQ(panel.ctlSet[3]->lblName[0]->text(), "New Froggy");
    const std::string afterAdd = ReadFile(IniPath());
    EXPECT_NE(afterAdd.find("[CHARACTER_4]\nName=New Froggy\n"), std::string::npos) << afterAdd;

    // Deleting the last row makes the new last row current.
    panel.ctlSet_EnterFocus(3);
    panel.cmdDelete->click();
    ASSERT_EQ(CharacterCount(), 3);
    EXPECT_EQ(panel.CurIndex, 2);
    EXPECT_TRUE(panel.ctlSet[2]->IsCurrent());
    EXPECT_EQ(ReadFile(IniPath()).find("CHARACTER_4"), std::string::npos);

    // Deleting the first: the first row shows the former character 2, which followed character 1.
    panel.ctlSet_EnterFocus(0);
    panel.cmdDelete->click();
    ASSERT_EQ(CharacterCount(), 2);
    EXPECT_EQ(panel.CurIndex, 0);
    EXPECT_EQ(panel.ctlSet[0]->lblName[0]->text(), "Froggy");
    EXPECT_EQ(CharacterWindows[1]->mFixed, 0);
    EXPECT_EQ(CharacterWindows[2]->mTitle, "Whiskers");
    EXPECT_EQ(CharacterWindows[2]->mFixed, 2);

    panel.ctlSet_EnterFocus(0);
    panel.cmdDelete->click();
    ASSERT_EQ(CharacterCount(), 1);
    EXPECT_FALSE(panel.cmdDelete->isEnabled());
    panel.cmdDelete_Click(); // one character is always kept
    EXPECT_EQ(CharacterCount(), 1);
    EXPECT_EQ(endings, 0);
}

TEST_F(ControlPanel, AFailedSaveKeepsTheCharactersRunningAndTheFileAsItWas) {
    WriteIni("[General_Settings]\nProgram_Title=Eyes\n\n" + Character(1, "Sunny", 0) + Character(2, "Froggy", 1) +
             Character(3, "Whiskers", 3));
    LoadAll();
    frmSettings& panel = SettingsWindow();
    panel.OnEndProgram = [this] { ++endings; };
    const std::string original = ReadFile(IniPath());
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
    EXPECT_EQ(ReadFile(IniPath()), original);
    EXPECT_EQ(CharacterWindows, windows) << "no window was closed";
    EXPECT_EQ(CharacterWindows[3]->mSpeedY, 150);
    EXPECT_EQ(CharacterWindows[2]->mINISectionName, "CHARACTER_2");
    EXPECT_EQ(panel.ctlSet.size(), 3u);
    EXPECT_EQ(panel.CurIndex, 1);
    EXPECT_EQ(panel.ctlSet[2]->BoundIndex(), 3);

    // Once the file can be written again, the same Delete goes through.
    panel.cmdDelete->click();
    EXPECT_EQ(CharacterCount(), 2);
    EXPECT_EQ(CharacterWindows[2]->mSpeedY, 150);
    EXPECT_EQ(CharacterWindows[2]->mTitle, "Whiskers");
    EXPECT_EQ(answerer.seen.size(), 2);
}

} // namespace

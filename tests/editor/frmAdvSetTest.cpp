// The character editor from the user's side: what opening shows and leaves alone, the live edits
// and their delayed repaint, the picture list and preview, the start-position fields and drag, and
// everything that OK keeps and Cancel or the close box give back.
#include "EditorFixture.h"

#include "editor/ctlShape.h"
#include "editor/frmAdvSet.h"
#include "editor/frmSelCenter.h"
#include "help/frmHelp.h"
#include "widgets/ctlSlider.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Presses the slider's thumb, drags it to x in steps and lets go: a burst of changes.
void DragSlider(ctlSlider* slider, int x, int steps = 5) {
    const int y = slider->height() - ctlSlider::ThumbSize / 2;
    const int start = static_cast<int>(slider->ThumbLeft()) + ctlSlider::ThumbSize / 2;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(start, y));
    for (int i = 1; i <= steps; ++i) {
        const QPointF at(start + (x - start) * i / steps, y);
        QMouseEvent move(QEvent::MouseMove, at, slider->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(slider, &move);
    }
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x, y));
}

void SelectFile(frmAdvSet& editor, const QString& name) {
    const QList<QListWidgetItem*> found = editor.Files->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    const QRect row = editor.Files->visualItemRect(found.first());
    QTest::mouseClick(editor.Files->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_EQ(editor.Files->currentItem(), found.first());
}

void SelectAllAndType(QLineEdit* field, const QString& text) {
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Backspace);
    else
        QTest::keyClicks(field, text);
}


} // namespace

TEST_F(EditorTest, OpeningShowsTheRecordClampedAndChangesNoField) {
    CountingCharacter* c = AddCounting();
    c->mTitle = "Caf\xe9 \xff"; // bytes the system's encoding may not read: still untouched
    const CharacterRecord before = *c;

    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    editor.show();

    EXPECT_EQ(editor.sldEyeDiamX[0]->Value(), 100); // 150 shows as the slider's end
    EXPECT_EQ(editor.sldEyeDiamY[0]->Value(), 14);
    EXPECT_EQ(editor.sldEyeDiamX[1]->Value(), 10);
    EXPECT_EQ(editor.sldEyeDiamY[1]->Value(), 1); // 0 shows as the lower end
    EXPECT_EQ(editor.sldIrisDiamX[0]->Value(), 5);
    EXPECT_EQ(editor.sldIrisDiamY[0]->Value(), 7);
    EXPECT_EQ(editor.sldIrisDiamX[1]->Value(), 6);
    EXPECT_EQ(editor.sldIrisDiamY[1]->Value(), 8);
    EXPECT_EQ(editor.sldIrisWidth->Value(), 2);
    EXPECT_EQ(editor.sldIrisRGB[0]->Value(), 40);
    EXPECT_EQ(editor.sldIrisRGB[1]->Value(), 90);
    EXPECT_EQ(editor.sldIrisRGB[2]->Value(), 220);
    EXPECT_EQ(editor.sldPupilRGB[0]->Value(), 1);
    EXPECT_EQ(editor.sldPupilRGB[1]->Value(), 2);
    EXPECT_EQ(editor.sldPupilRGB[2]->Value(), 3);
    EXPECT_EQ(editor.shpIrisColor->FillColor(), c->mIrisColor);
    EXPECT_EQ(editor.shpPupilColor->FillColor(), c->mPupilColor);
    EXPECT_EQ(editor.txtStartX->text(), QStringLiteral("120"));
    EXPECT_EQ(editor.txtStartY->text(), QStringLiteral("130"));
    ASSERT_NE(editor.Files->currentItem(), nullptr);
    EXPECT_EQ(editor.Files->currentItem()->text(), QStringLiteral("face.bmp"));
    EXPECT_EQ(editor.imgPre->size(), QSize(160, 120)); // smaller than the box: its own size

    // The one repaint after opening, and still no field changed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return c->Refreshes() == 1; }, 2000));
    EXPECT_EQ(static_cast<const CharacterRecord&>(*c), before);

    // The 150 stays until that slider is moved.
    QTest::keyClick(editor.sldEyeDiamX[1], Qt::Key_Right);
    EXPECT_EQ(c->mEye1DiamX, 150);
    EXPECT_EQ(c->mEye2DiamX, 11);
    QTest::keyClick(editor.sldEyeDiamX[0], Qt::Key_Left);
    EXPECT_EQ(c->mEye1DiamX, 99);
}

TEST_F(EditorTest, GreenIrisSliderSetsTheColourAndRepaintsOnce300msAfterTheLastMove) {
    CountingCharacter* c = AddCounting();
    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    editor.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return c->Refreshes() == 1; }, 2000));

    ctlSlider* green = editor.sldIrisRGB[1];
    DragSlider(green, green->width() / 2);
    QTest::qWait(100); // a pause shorter than the delay: still one burst
    QElapsedTimer sinceLast;
    sinceLast.start();
    const qint64 lastMove = c->clock.elapsed();
    DragSlider(green, green->width() + 50);
    ASSERT_EQ(green->Value(), 255);
    EXPECT_EQ(c->mIrisColor, 40 + 256 * 255 + 65536 * 220);
    EXPECT_EQ(editor.shpIrisColor->FillColor(), c->mIrisColor);
    EXPECT_EQ(editor.sldIrisRGB[0]->Value(), 40);
    EXPECT_EQ(editor.sldIrisRGB[2]->Value(), 220);
    EXPECT_EQ(c->Refreshes(), 1) << "repainted during the burst";

    ASSERT_TRUE(QTest::qWaitFor([&] { return c->Refreshes() == 2; }, 3000));
    EXPECT_GE(sinceLast.elapsed(), frmAdvSet::kRefreshDelayMs);
    EXPECT_GE(c->refreshTimes[1] - lastMove, frmAdvSet::kRefreshDelayMs);
    QTest::qWait(frmAdvSet::kRefreshDelayMs + 100);
    EXPECT_EQ(c->Refreshes(), 2) << "more than one repaint for one burst";
}

TEST_F(EditorTest, SelectingAFileShowsItButOnlyApplyGivesItToTheCharacter) {
    CountingCharacter* c = AddCounting();
    std::vector<std::pair<char, int>> events;
    const auto names = GetGlobal().OnRefresh([&](int i) { events.push_back({'N', i}); });
    const auto pictures = GetGlobal().OnRepaintPic([&](int i) { events.push_back({'P', i}); });

    {
        frmAdvSet editor;
        ASSERT_TRUE(editor.FillForm(1));
        editor.show();
        SelectFile(editor, QStringLiteral("other.gif"));
        EXPECT_EQ(editor.imgPre->size(), QSize(90, 70)); // the preview shows the selection
        QTest::mouseClick(editor.cmdOK, Qt::LeftButton);
        EXPECT_EQ(editor.result(), QDialog::Accepted);
        EXPECT_FALSE(editor.isVisible());
    }
    EXPECT_EQ(c->mPicFileName, "face.bmp");
    EXPECT_TRUE(c->loadedPictures.empty());
    // OK tells every row about the name and then the picture.
    EXPECT_EQ(events, (std::vector<std::pair<char, int>>{{'N', 1}, {'P', 1}}));

    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    editor.show();
    SelectFile(editor, QStringLiteral("other.gif"));
    QTest::mouseClick(editor.cmdApply, Qt::LeftButton);
    EXPECT_EQ(c->mPicFileName, "other.gif");
    EXPECT_EQ(c->loadedPictures, std::vector<std::string>{"other.gif"});
}

TEST_F(EditorTest, PreviewFitsLargePicturesAndStaysEmptyForWhatItCannotShow) {
    CountingCharacter* c = AddCounting();
    WritePicture(QStringLiteral("big.bmp"), 400, 300, QColor(0, 0, 200));
    QFile broken(dir.filePath(QStringLiteral("broken.gif")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("GIF89a but nothing after it");
    broken.close();
    c->mPicFileName = "FACE.BMP"; // another case: not an entry of the list

    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    editor.show();
    EXPECT_EQ(editor.Files->currentRow(), -1);
    EXPECT_TRUE(editor.imgPre->pixmap().isNull());
    ASSERT_EQ(editor.PreviewArea()->size(), QSize(165, 165)); // the box's inner area

    SelectFile(editor, QStringLiteral("big.bmp"));
    EXPECT_EQ(editor.imgPre->geometry(), QRect(0, 0, 165, 124)); // 400 x 300 by 165 / 400
    EXPECT_TRUE(editor.imgPre->hasScaledContents());
    editor.chkFit->click();
    EXPECT_EQ(editor.imgPre->geometry(), QRect(0, 0, 400, 300)); // unscaled, clipped by the box
    EXPECT_FALSE(editor.imgPre->hasScaledContents());
    editor.chkFit->click();
    EXPECT_EQ(editor.imgPre->size(), QSize(165, 124));

    SelectFile(editor, QStringLiteral("broken.gif"));
    EXPECT_TRUE(editor.imgPre->pixmap().isNull());
    EXPECT_EQ(editor.imgPre->size(), QSize(0, 0));
    EXPECT_TRUE(editor.isVisible());
}

TEST_F(EditorTest, StartPositionFieldsFilterKeysAndKeepTheRecordForNonNumbers) {
    CountingCharacter* c = AddCounting();
    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    editor.show();
    QLineEdit* x = editor.txtStartX;

    x->setCursorPosition(3);
    QTest::keyClick(x, Qt::Key_Minus);
    EXPECT_EQ(x->text(), QStringLiteral("-120"));
    EXPECT_EQ(c->mStartPosX, -120);
    QTest::keyClick(x, Qt::Key_Minus); // a second minus sign changes nothing
    EXPECT_EQ(x->text(), QStringLiteral("-120"));
    QTest::keyClicks(x, QStringLiteral("ab Z+"));
    EXPECT_EQ(x->text(), QStringLiteral("-120"));
    QTest::keyClick(x, Qt::Key_Backspace);
    EXPECT_EQ(x->text(), QStringLiteral("-12"));
    EXPECT_EQ(c->mStartPosX, -12);

    SelectAllAndType(x, QStringLiteral("12.7"));
    EXPECT_EQ(c->mStartPosX, 12);
    SelectAllAndType(x, QStringLiteral("3.5"));
    QTest::keyClick(x, Qt::Key_Minus);
    EXPECT_EQ(x->text(), QStringLiteral("-3.5"));
    EXPECT_EQ(c->mStartPosX, -4);

    SelectAllAndType(x, QStringLiteral("98765"));
    EXPECT_EQ(x->text(), QStringLiteral("9876")); // four characters at most
    EXPECT_EQ(c->mStartPosX, 9876);

    // Texts that the filter lets through but that are no number leave the record alone.
    SelectAllAndType(x, QStringLiteral("3.5"));
    QTest::keyClick(x, Qt::Key_Minus);
    ASSERT_EQ(c->mStartPosX, -4);
    for (const QString& text : {QString(), QStringLiteral("-"), QStringLiteral("."), QStringLiteral("1.2.3")}) {
        x->setText(text);
        EXPECT_EQ(c->mStartPosX, -4) << text.toStdString();
    }
    for (const QString& typed : {QStringLiteral(""), QStringLiteral("."), QStringLiteral("-")}) {
        SelectAllAndType(x, typed);
        EXPECT_EQ(c->mStartPosX, -4) << typed.toStdString();
    }
    EXPECT_EQ(c->mStartPosY, 130);

    SelectAllAndType(editor.txtStartY, QStringLiteral("45"));
    EXPECT_EQ(c->mStartPosY, 45);
    EXPECT_TRUE(c->loadedPictures.empty()); // typing does not move the character
}

TEST_F(EditorTest, EveryKeystrokeInTheNameRenamesTheCharacterInTheRows) {
    CountingCharacter* c = AddCounting();
    std::vector<std::pair<int, std::string>> shown;
    const auto rows = GetGlobal().OnRefresh([&](int i) { shown.push_back({i, CharacterWindows[i]->mTitle}); });
    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    editor.show();
    editor.txtTitle->end(false);
    QTest::keyClicks(editor.txtTitle, QStringLiteral("ab"));
    QTest::keyClick(editor.txtTitle, Qt::Key_Backspace);
    EXPECT_EQ(c->mTitle, "Sunnya");
    EXPECT_EQ(shown, (std::vector<std::pair<int, std::string>>{{1, "Sunnya"}, {1, "Sunnyab"}, {1, "Sunnya"}}));
}

namespace {

// Every way of closing the editor other than OK.
const std::pair<const char*, std::function<void(frmAdvSet&)>> kDiscards[] = {
    {"Cancel", [](frmAdvSet& e) { QTest::mouseClick(e.cmdCancel, Qt::LeftButton); }},
    {"close box", [](frmAdvSet& e) { e.close(); }},
};

} // namespace

TEST_F(EditorTest, CancelAndTheCloseBoxGiveBackEveryEntryValue) {
    for (const auto& [way, discard] : kDiscards) {
        SCOPED_TRACE(way);
        CharacterWindows.assign(1, nullptr);
        owned.clear();
        frmPic* w = AddWindow();
        const CharacterRecord before = *w;
        const QImage face = w->Picture();
        std::vector<std::string> rowNames;
        const auto rows = GetGlobal().OnRefresh([&](int i) { rowNames.push_back(CharacterWindows[i]->mTitle); });

        frmAdvSet editor;
        ASSERT_TRUE(editor.FillForm(1));
        editor.show();
        editor.txtTitle->end(false);
        QTest::keyClicks(editor.txtTitle, QStringLiteral("X"));
        SelectFile(editor, QStringLiteral("other.gif"));
        QTest::mouseClick(editor.cmdApply, Qt::LeftButton);
        DragSlider(editor.sldIrisRGB[1], 200);
        QTest::keyClick(editor.sldPupilRGB[0], Qt::Key_Right);
        QTest::keyClick(editor.sldIrisWidth, Qt::Key_Right);
        for (auto* s : {editor.sldEyeDiamX[0], editor.sldEyeDiamY[0], editor.sldEyeDiamX[1], editor.sldEyeDiamY[1],
                        editor.sldIrisDiamX[0], editor.sldIrisDiamY[0], editor.sldIrisDiamX[1], editor.sldIrisDiamY[1]})
            QTest::keyClick(s, Qt::Key_Right);
        SelectAllAndType(editor.txtStartX, QStringLiteral("300"));
        SelectAllAndType(editor.txtStartY, QStringLiteral("40"));
        bool picked = false;
        WhenModal([&] {
            frmSelCenter* picker = EyeCentrePicker();
            ASSERT_NE(picker, nullptr);
            QTest::mouseClick(picker->picImg, Qt::LeftButton, {}, QPoint(30, 40));
            QTest::mouseClick(picker->picImg, Qt::RightButton, {}, QPoint(70, 45));
            QTest::mouseClick(picker->cmdOK, Qt::LeftButton);
            picked = true;
        });
        QTest::mouseClick(editor.cmdSelCenter, Qt::LeftButton);
        ASSERT_TRUE(picked);

        // Everything the editor can change has changed.
        EXPECT_EQ(w->mTitle, "SunnyX");
        EXPECT_EQ(w->mPicFileName, "other.gif");
        EXPECT_EQ(w->Picture().size(), QSize(90, 70));
        EXPECT_EQ(w->mIrisColor & 0xFF00FF, before.mIrisColor & 0xFF00FF);
        EXPECT_NE(w->mIrisColor, before.mIrisColor);
        EXPECT_EQ(w->mPupilColor, before.mPupilColor + 1);
        EXPECT_EQ(w->mIrisWidth, 3);
        EXPECT_EQ(w->mEye1DiamX, 100); // 150 was shown at the end; moving it stores the end
        EXPECT_EQ(w->mEye2DiamY, 2);
        EXPECT_EQ(w->mIris2DiamY, 9);
        EXPECT_EQ(w->mStartPosX, 300);
        EXPECT_EQ(w->mStartPosY, 40);
        EXPECT_EQ(w->mEye1X, 30);
        EXPECT_EQ(w->mEye1Y, 40);
        EXPECT_EQ(w->mEye2X, 70);
        EXPECT_EQ(w->mEye2Y, 45);

        rowNames.clear();
        discard(editor);
        EXPECT_FALSE(editor.isVisible());
        EXPECT_EQ(static_cast<const CharacterRecord&>(*w), before);
        EXPECT_EQ(w->Picture(), face); // the old picture is back on the character
        ASSERT_FALSE(rowNames.empty());
        EXPECT_EQ(rowNames.back(), "Sunny"); // the rows show the old name again
        EXPECT_FALSE(editor.RefreshPending());
    }
}

TEST_F(EditorTest, StartDragPutsTheCharacterUnderThePointerAndPausesIt) {
    frmPic* w = AddWindow(); // 160 x 120 pixels
    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    editor.show();

    QCursor::setPos(400, 300);
    if (QCursor::pos() != QPoint(400, 300))
        GTEST_SKIP() << "this platform cannot place the pointer";
    QTest::mousePress(editor.cmdCurPos, Qt::LeftButton);
    EXPECT_EQ(editor.cmdCurPos->text(), QStringLiteral("...drop at new pos."));
    EXPECT_FALSE(w->Timer1Enabled());
    EXPECT_EQ(w->pos(), QPoint(400 - 80, 300 - 60));
    EXPECT_EQ(editor.txtStartX->text(), QStringLiteral("320"));
    EXPECT_EQ(w->mStartPosX, 320);
    EXPECT_EQ(w->mStartPosY, 240);

    QCursor::setPos(100, 50);
    const QPointF local(5, 5);
    QMouseEvent move(QEvent::MouseMove, local, editor.cmdCurPos->mapToGlobal(local), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(editor.cmdCurPos, &move);
    EXPECT_EQ(w->pos(), QPoint(20, -10));
    EXPECT_EQ(w->mStartPosX, 20);
    EXPECT_EQ(w->mStartPosY, -10);
    EXPECT_EQ(editor.txtStartY->text(), QStringLiteral("-10"));

    QTest::mouseRelease(editor.cmdCurPos, Qt::LeftButton);
    EXPECT_TRUE(w->Timer1Enabled());
    EXPECT_EQ(editor.cmdCurPos->text(), QStringLiteral("Start drag and..."));
}

TEST_F(EditorTest, HelpButtonAndF1ShowTheAdvancedHelpModal) {
    AddCounting();
    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    editor.show();
    int shown = 0;
    const auto check = [&] {
        ASSERT_TRUE(HelpWindowExists());
        frmHelp& help = HelpWindow();
        EXPECT_TRUE(help.isVisible());
        EXPECT_TRUE(help.isModal());
        EXPECT_TRUE(help.lblText->text().startsWith(QStringLiteral("=== Advanced Settings")));
        ++shown;
        help.close();
    };
    WhenModal(check);
    QTest::mouseClick(editor.cmdHelp, Qt::LeftButton);
    WhenModal(check);
    QTest::keyClick(editor.sldIrisWidth, Qt::Key_F1);
    WhenModal(check);
    QTest::keyClick(editor.txtStartX, Qt::Key_F1);
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(editor.txtStartX->text(), QStringLiteral("120"));
}

TEST_F(EditorTest, TheEntryPointOpensOneModalEditorAndDiscardsItWhenClosed) {
    CountingCharacter* c = AddCounting();
    bool seen = false;
    WhenModal([&] {
        frmAdvSet* editor = CharacterEditor();
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(editor->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("Lookabout  -  Advanced settings"));
        EXPECT_EQ(editor->size(), QSize(625, 361)); // 9375 x 5415 twips
        editor->sldIrisWidth->setFocus();
        QTest::keyClick(editor->sldIrisWidth, Qt::Key_Escape); // not a way of closing
        EXPECT_TRUE(editor->isVisible());
        seen = true;
        QTest::keyClick(editor->sldIrisWidth, Qt::Key_Right);
        QTest::mouseClick(editor->cmdOK, Qt::LeftButton);
    });
    ShowCharacterEditor(1);
    EXPECT_TRUE(seen);
    EXPECT_EQ(CharacterEditor(), nullptr);
    EXPECT_EQ(c->mIrisWidth, 3);
    // A change made just before OK still reaches the face.
    EXPECT_EQ(c->Refreshes(), 1);

    ShowCharacterEditor(5); // no such character: nothing opens
    ShowCharacterEditor(0);
    EXPECT_EQ(CharacterEditor(), nullptr);
}

TEST_F(EditorTest, TheCharacterKeepsMovingWhileTheEditorIsOpenExceptDuringTheDrag) {
    frmPic* w = AddWindow();
    w->mFixed = 0; // follows the pointer
    w->mFlee = false;
    w->mSpeedX = w->mSpeedY = 200; // the fastest
    w->SetCuriouSpeed();
    w->show();
    QCursor::setPos(600, 500);
    if (QCursor::pos() != QPoint(600, 500))
        GTEST_SKIP() << "this platform cannot place the pointer";

    bool checked = false;
    WhenModal([&] {
        frmAdvSet* editor = CharacterEditor();
        ASSERT_NE(editor, nullptr);
        // Whatever fails below, the modal editor is closed, so the test ends.
        const std::unique_ptr<void, std::function<void(void*)>> closeEditor(
            editor, [editor](void*) { QTest::mouseClick(editor->cmdOK, Qt::LeftButton); });
        const QPoint start = w->pos();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->pos() != start; }, 2000)) << "the character stood still";

        QCursor::setPos(300, 200);
        QTest::mousePress(editor->cmdCurPos, Qt::LeftButton);
        const QPoint dropped = w->pos();
        EXPECT_EQ(dropped, QPoint(300 - 80, 200 - 60));
        QCursor::setPos(700, 550); // the pointer moves away, the paused character does not follow
        QTest::qWait(200);
        EXPECT_EQ(w->pos(), dropped);
        QTest::mouseRelease(editor->cmdCurPos, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->pos() != dropped; }, 2000)) << "still paused after the drop";
        checked = true;
    });
    ShowCharacterEditor(1);
    EXPECT_TRUE(checked);
    EXPECT_EQ(w->mStartPosX, 220);
    EXPECT_EQ(w->mStartPosY, 140);
}

TEST_F(EditorTest, ClosingAfterTheCharactersWereClosedTouchesNoCharacter) {
    CountingCharacter* c = AddCounting();
    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    editor.show();
    QTest::keyClick(editor.sldIrisWidth, Qt::Key_Right);
    // The program's end saves and closes the characters before it closes the editor.
    CharacterWindows.assign(1, nullptr);
    editor.close();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(c->loadedPictures.empty());
    EXPECT_EQ(c->Refreshes(), 0);
    EXPECT_EQ(c->mIrisWidth, 3); // what was saved stays as it was
    QTest::qWait(frmAdvSet::kRefreshDelayMs + 50);
    EXPECT_EQ(c->Refreshes(), 0);
}

// The character editor from the user's side: what opening shows and leaves alone, the live edits
// and their delayed repaint, the picture list and preview, the start-position fields and drag, and
// everything that OK keeps and Cancel or the close box give back.
#include "EditorFixture.h"

#include "editor/ctlShape.h"
#include "editor/frmAdvSet.h"
#include "editor/frmSelCenter.h"
#include "widgets/ctlSlider.h"

#include <QCheckBox>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <tuple>

namespace {

// Presses the slider's thumb, drags it to x in steps and lets go: a burst of changes.
void DragSlider(ctlSlider* slider, int x) {
    const int y = slider->height() - ctlSlider::ThumbSize / 2;
    const int start = static_cast<int>(slider->ThumbLeft()) + ctlSlider::ThumbSize / 2;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(start, y));
    for (int i = 1; i <= 5; ++i) {
        const QPointF at(start + (x - start) * i / 5, y);
        QMouseEvent move(QEvent::MouseMove, at, slider->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(slider, &move);
    }
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x, y));
}

void SelectFile(frmAdvSet& editor, const QString& name) {
    const QList<QListWidgetItem*> found = editor.Files->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    QTest::mouseClick(editor.Files->viewport(), Qt::LeftButton, {}, editor.Files->visualItemRect(found[0]).center());
    ASSERT_EQ(editor.Files->currentItem(), found[0]);
}

void SelectAllAndType(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
}

void Open(frmAdvSet& editor) {
    ASSERT_TRUE(editor.FillForm(1));
    editor.show();
}

} // namespace

TEST_F(EditorTest, OpeningChangesNoFieldAndEachEditGoesToTheLiveCharacter) {
    CountingCharacter* c = AddCounting();
    c->mTitle = "Caf\xe9 \xff"; // bytes the system's encoding may not read: still untouched
    const CharacterRecord before = *c;
    std::vector<std::pair<int, std::string>> rows;
    const auto names = GetGlobal().OnRefresh([&](int i) { rows.push_back({i, CharacterWindows[i]->mTitle}); });
    frmAdvSet editor;
    Open(editor);
    EXPECT_EQ(editor.sldEyeDiamX[0]->Value(), 100); // 150 shows as the slider's end, 0 as the other end
    EXPECT_EQ(editor.sldEyeDiamY[1]->Value(), 1);
    EXPECT_EQ(editor.txtStartY->text(), QStringLiteral("130"));
    ASSERT_NE(editor.Files->currentItem(), nullptr);
    EXPECT_EQ(editor.Files->currentItem()->text(), QStringLiteral("face.bmp"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return c->Refreshes() == 1; }, 2000)); // the one repaint after opening
    EXPECT_EQ(static_cast<const CharacterRecord&>(*c), before);
    EXPECT_TRUE(rows.empty());

    // The 150 stays until that slider is moved.
    QTest::keyClick(editor.sldEyeDiamX[1], Qt::Key_Right);
    EXPECT_EQ(c->mEye1DiamX, 150);
    EXPECT_EQ(c->mEye2DiamX, 11);
    QTest::keyClick(editor.sldEyeDiamX[0], Qt::Key_Left);
    EXPECT_EQ(c->mEye1DiamX, 99);
    // Every keystroke in the name renames the character in the rows.
    SelectAllAndType(editor.txtTitle, QStringLiteral("ab"));
    QTest::keyClick(editor.txtTitle, Qt::Key_Backspace);
    EXPECT_EQ(c->mTitle, "a");
    EXPECT_EQ(rows, (std::vector<std::pair<int, std::string>>{{1, "a"}, {1, "ab"}, {1, "a"}}));
    // A pasted name keeps to one line, as the file can only hold that.
    editor.txtTitle->setText(QStringLiteral("two\r\nlines"));
    EXPECT_EQ(c->mTitle, "two  lines");
}

TEST_F(EditorTest, GreenIrisSliderSetsTheColourAndRepaintsOnce300msAfterTheLastMove) {
    CountingCharacter* c = AddCounting();
    frmAdvSet editor;
    Open(editor);
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
    EXPECT_EQ(c->Refreshes(), 1) << "repainted during the burst";

    ASSERT_TRUE(QTest::qWaitFor([&] { return c->Refreshes() == 2; }, 3000));
    EXPECT_GE(sinceLast.elapsed(), frmAdvSet::kRefreshDelayMs);
    EXPECT_GE(c->refreshTimes[1] - lastMove, frmAdvSet::kRefreshDelayMs);
    QTest::qWait(frmAdvSet::kRefreshDelayMs + 100);
    EXPECT_EQ(c->Refreshes(), 2) << "more than one repaint for one burst";
}

TEST_F(EditorTest, ThePreviewShowsTheSelectionButOnlyApplyGivesItToTheCharacter) {
    CountingCharacter* c = AddCounting();
    Save(Face(400, 300, QColor(0, 0, 200)), QStringLiteral("big.bmp"));
    QFile broken(dir.filePath(QStringLiteral("broken.gif")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("GIF89a but nothing after it");
    broken.close();
    std::vector<std::pair<char, int>> events;
    const auto names = GetGlobal().OnRefresh([&](int i) { events.push_back({'N', i}); });
    const auto pictures = GetGlobal().OnRepaintPic([&](int i) { events.push_back({'P', i}); });
    {
        frmAdvSet editor;
        Open(editor);
        ASSERT_EQ(editor.PreviewArea()->size(), QSize(165, 165)); // the box's inner area
        SelectFile(editor, QStringLiteral("big.bmp"));
        EXPECT_EQ(editor.imgPre->geometry(), QRect(0, 0, 165, 124)); // 400 x 300 by 165 / 400
        EXPECT_TRUE(editor.imgPre->hasScaledContents());
        editor.chkFit->click();
        EXPECT_EQ(editor.imgPre->geometry(), QRect(0, 0, 400, 300)); // unscaled, clipped by the box
        SelectFile(editor, QStringLiteral("broken.gif"));
        EXPECT_TRUE(editor.imgPre->pixmap().isNull());
        EXPECT_EQ(editor.imgPre->size(), QSize(0, 0));
        SelectFile(editor, QStringLiteral("other.bmp"));
        EXPECT_EQ(editor.imgPre->size(), QSize(90, 70)); // smaller than the box: its own size
        QTest::mouseClick(editor.cmdOK, Qt::LeftButton);
        EXPECT_EQ(editor.result(), QDialog::Accepted);
    }
    EXPECT_EQ(c->mPicFileName, "face.bmp");
    EXPECT_TRUE(c->loadedPictures.empty());
    EXPECT_EQ(events, (std::vector<std::pair<char, int>>{{'N', 1}, {'P', 1}})); // OK tells the rows name, then picture

    c->mPicFileName = "FACE.BMP"; // another case: not an entry of the list
    frmAdvSet editor;
    Open(editor);
    EXPECT_EQ(editor.Files->currentRow(), -1);
    EXPECT_TRUE(editor.imgPre->pixmap().isNull());
    SelectFile(editor, QStringLiteral("other.bmp"));
    QTest::mouseClick(editor.cmdApply, Qt::LeftButton);
    EXPECT_EQ(c->mPicFileName, "other.bmp");
    EXPECT_EQ(c->loadedPictures, std::vector<std::string>{"other.bmp"});
}

TEST_F(EditorTest, StartPositionFieldsFilterKeysAndKeepTheRecordForNonNumbers) {
    CountingCharacter* c = AddCounting();
    frmAdvSet editor;
    Open(editor);
    QLineEdit* x = editor.txtStartX;
    x->setCursorPosition(3);
    QTest::keyClick(x, Qt::Key_Minus);
    EXPECT_EQ(x->text(), QStringLiteral("-120"));
    EXPECT_EQ(c->mStartPosX, -120);
    QTest::keyClick(x, Qt::Key_Minus); // a second minus sign changes nothing
    QTest::keyClicks(x, QStringLiteral("ab Z+"));
    EXPECT_EQ(x->text(), QStringLiteral("-120"));
    QTest::keyClick(x, Qt::Key_Backspace);
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
    for (const QString& text : {QString(), QStringLiteral("-"), QStringLiteral("."), QStringLiteral("1.2.3")}) {
        x->setText(text);
        EXPECT_EQ(c->mStartPosX, 9876) << text.toStdString();
    }
    SelectAllAndType(editor.txtStartY, QStringLiteral("45"));
    EXPECT_EQ(c->mStartPosY, 45);
    EXPECT_TRUE(c->loadedPictures.empty()); // typing does not move the character
}

TEST_F(EditorTest, CancelAndTheCloseBoxGiveBackEveryEntryValue) {
    const std::pair<const char*, std::function<void(frmAdvSet&)>> ways[] = {
        {"Cancel", [](frmAdvSet& e) { QTest::mouseClick(e.cmdCancel, Qt::LeftButton); }},
        {"close box", [](frmAdvSet& e) { e.close(); }}};
    for (const auto& [way, discard] : ways) {
        SCOPED_TRACE(way);
        CloseCharacters();
        frmPic* w = AddWindow();
        const CharacterRecord before = *w;
        const QImage face = w->Picture();
        std::vector<std::string> rowNames;
        const auto rows = GetGlobal().OnRefresh([&](int i) { rowNames.push_back(CharacterWindows[i]->mTitle); });

        frmAdvSet editor;
        Open(editor);
        QTest::keyClicks(editor.txtTitle, QStringLiteral("X"));
        SelectFile(editor, QStringLiteral("other.bmp"));
        QTest::mouseClick(editor.cmdApply, Qt::LeftButton);
        DragSlider(editor.sldIrisRGB[1], 200);
        for (ctlSlider* s : {editor.sldPupilRGB[0], editor.sldIrisWidth, editor.sldEyeDiamX[0], editor.sldEyeDiamY[0],
                             editor.sldEyeDiamX[1], editor.sldEyeDiamY[1], editor.sldIrisDiamX[0],
                             editor.sldIrisDiamY[0], editor.sldIrisDiamX[1], editor.sldIrisDiamY[1]})
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
        // Everything the editor can change has changed; moving the 150 shown at the end stores the end.
        EXPECT_EQ(std::tie(w->mTitle, w->mPicFileName, w->mStartPosX, w->mStartPosY),
                  std::tuple("SunnyX", "other.bmp", 300, 40));
        EXPECT_EQ((std::array{w->mEye1X, w->mEye1Y, w->mEye2X, w->mEye2Y, w->mEye1DiamX, w->mEye1DiamY, w->mEye2DiamX,
                              w->mEye2DiamY, w->mIris1DiamX, w->mIris1DiamY, w->mIris2DiamX, w->mIris2DiamY,
                              int(w->mIrisWidth), w->mPupilColor - before.mPupilColor}),
                  (std::array{30, 40, 70, 45, 100, 15, 11, 2, 6, 8, 7, 9, 3, 1}));
        EXPECT_EQ(w->Picture().size(), QSize(90, 70));
        EXPECT_NE(w->mIrisColor, before.mIrisColor);

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

TEST_F(EditorTest, HelpButtonAndF1ShowTheAdvancedHelpModal) {
    AddCounting();
    frmAdvSet editor;
    Open(editor);
    ExpectAdvancedHelpModal([&] { QTest::mouseClick(editor.cmdHelp, Qt::LeftButton); });
    ExpectAdvancedHelpModal([&] { QTest::keyClick(editor.txtStartX, Qt::Key_F1); });
    EXPECT_EQ(editor.txtStartX->text(), QStringLiteral("120"));
}

TEST_F(EditorTest, TheEntryPointOpensOneModalEditorAndDiscardsItWhenClosed) {
    CountingCharacter* c = AddCounting();
    bool seen = false;
    WhenModal([&] {
        frmAdvSet* editor = CharacterEditor();
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->windowModality(), Qt::ApplicationModal);
        QTest::keyClick(editor->sldIrisWidth, Qt::Key_Escape); // not a way of closing
        EXPECT_TRUE(editor->isVisible());
        seen = true;
        QTest::keyClick(editor->sldIrisWidth, Qt::Key_Right);
        editor->txtTitle->setText(QStringLiteral("a\nb")); // pasted: OK keeps it one line, as the live edit does
        QTest::mouseClick(editor->cmdOK, Qt::LeftButton);
    });
    ShowCharacterEditor(1);
    EXPECT_TRUE(seen);
    EXPECT_EQ(CharacterEditor(), nullptr);
    EXPECT_EQ(c->mTitle, "a b");
    EXPECT_EQ(c->mIrisWidth, 3);
    EXPECT_EQ(c->Refreshes(), 1); // a change made just before OK still reaches the face
    ShowCharacterEditor(5);       // no such character: nothing opens
    EXPECT_EQ(CharacterEditor(), nullptr);
}

TEST_F(EditorTest, TheCharacterKeepsMovingWhileTheEditorIsOpenExceptDuringTheStartDrag) {
    frmPic* w = AddWindow(); // 160 x 120 pixels
    w->mFixed = 0;           // follows the pointer, at the fastest
    w->mSpeedX = w->mSpeedY = 200;
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
        // The drag centres the character under the pointer and pauses it.
        QCursor::setPos(400, 300);
        QTest::mousePress(editor->cmdCurPos, Qt::LeftButton);
        EXPECT_EQ(editor->cmdCurPos->text(), QStringLiteral("...drop at new pos."));
        EXPECT_FALSE(w->Timer1Enabled());
        EXPECT_EQ(w->pos(), QPoint(400 - 80, 300 - 60));
        EXPECT_EQ(editor->txtStartX->text(), QStringLiteral("320"));
        QCursor::setPos(100, 50);
        const QPointF local(5, 5);
        QMouseEvent move(QEvent::MouseMove, local, editor->cmdCurPos->mapToGlobal(local), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(editor->cmdCurPos, &move);
        EXPECT_EQ(w->pos(), QPoint(20, -10));
        EXPECT_EQ(editor->txtStartY->text(), QStringLiteral("-10"));
        QCursor::setPos(700, 550); // the pointer moves away, the paused character does not follow
        QTest::qWait(200);
        EXPECT_EQ(w->pos(), QPoint(20, -10));
        QTest::mouseRelease(editor->cmdCurPos, Qt::LeftButton);
        EXPECT_EQ(editor->cmdCurPos->text(), QStringLiteral("Start drag and..."));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->pos() != QPoint(20, -10); }, 2000))
            << "still paused after the drop";
        checked = true;
    });
    ShowCharacterEditor(1);
    EXPECT_TRUE(checked);
    EXPECT_EQ(std::pair(w->mStartPosX, w->mStartPosY), std::pair(20, -10));
}

TEST_F(EditorTest, ClosingAfterTheCharactersWereClosedTouchesNoCharacter) {
    CountingCharacter* c = AddCounting();
    frmAdvSet editor;
    Open(editor);
    QTest::keyClick(editor.sldIrisWidth, Qt::Key_Right);
    CharacterWindows.assign(1, nullptr); // the program's end saves and closes the characters first
    const std::unique_ptr<CountingCharacter> closed(c);
    editor.close();
    QTest::qWait(frmAdvSet::kRefreshDelayMs + 50);
    EXPECT_TRUE(c->loadedPictures.empty());
    EXPECT_EQ(c->Refreshes(), 0);
    EXPECT_EQ(c->mIrisWidth, 3); // what was saved stays as it was
}

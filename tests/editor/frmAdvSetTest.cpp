// The character editor and its eye-centre picker from the user's side: what opening shows and leaves
// alone, the live edits and their delayed repaint, the picture list and preview, the start-position
// fields and drag, the picker's clicks and lens, and everything that OK keeps and Cancel or the close
// box give back.
#include "editor/frmAdvSet.h"
#include "character/CharacterTestSupport.h"
#include "editor/ctlShape.h"
#include "editor/frmSelCenter.h"
#include "widgets/ctlSlider.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <tuple>

// A character that is no window: it counts the repaints and records the reloads the editor asks for.
class CountingCharacter final : public CharacterWindowBase {
public:
    void MakeWindowRegion() override { loadedPictures.push_back(mPicFileName); }
    void SetCuriouSpeed() override {}
    void SetWindowStyle() override {}
    void RefreshImage() override { ++refreshes; }
    void Unload() override {}
    TwipsRect GeometryTwips() const override { return {}; }
    bool IsShown() const override { return true; }
    bool IsMinimised() const override { return false; }

    int refreshes = 0;
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
    // A real character window, loaded from the folder: 160 x 120 pixels.
    frmPic* AddWindow() {
        frmPic* w = Add<frmPic>();
        w->MakeWindowRegion();
        return w;
    }
};

namespace {

// Runs `inside` once the modal window about to open is up, however slow the machine (a sanitizer
// build) is to open it; a fixed delay could fire before it and leave the window open for ever.
void WhenModal(std::function<void()> inside) {
    QTimer::singleShot(10, qApp, [inside] { QApplication::activeModalWidget() ? inside() : WhenModal(inside); });
}

void MoveOver(QWidget* widget, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton, held,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void SelectFile(frmAdvSet& editor, const QString& name) {
    const QList<QListWidgetItem*> found = editor.Files->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    QTest::mouseClick(editor.Files->viewport(), Qt::LeftButton, {}, editor.Files->visualItemRect(found[0]).center());
}

void SelectAllAndType(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
}

template <class Form> void Open(Form& form) {
    ASSERT_TRUE(form.FillForm(1));
    form.show();
}

} // namespace

TEST_F(EditorTest, OpeningChangesNothingEachEditGoesToTheLiveCharacterAndOKTellsTheRows) {
    CountingCharacter* c = Add<CountingCharacter>();
    c->mTitle = "Caf\xe9 \xff"; // bytes the system's encoding may not read: still untouched
    const CharacterRecord before = *c;
    std::vector<std::string> rows; // each name the rows are told, and "picture" when they repaint its face
    const auto names = GetGlobal().OnRefresh([&](int i) { rows.push_back(CharacterWindows[i]->mTitle); });
    const auto pictures = GetGlobal().OnRepaintPic([&](int) { rows.push_back("picture"); });
    frmAdvSet editor;
    Open(editor);
    EXPECT_EQ(editor.sldEyeDiamX[0]->Value(), 100);                        // 150 shows as the slider's end
    ASSERT_TRUE(QTest::qWaitFor([&] { return c->refreshes == 1; }, 2000)); // the one repaint after opening
    EXPECT_EQ(static_cast<const CharacterRecord&>(*c), before);
    EXPECT_TRUE(rows.empty());

    QTest::keyClick(editor.sldEyeDiamX[1], Qt::Key_Right); // the 150 stays until that slider is moved
    EXPECT_EQ(std::pair(c->mEye1DiamX, c->mEye2DiamX), std::pair(150, 11));
    // Every keystroke in the name renames the character in the rows; a pasted name keeps to one line.
    SelectAllAndType(editor.txtTitle, QStringLiteral("ab"));
    editor.txtTitle->setText(QStringLiteral("two\r\nlines"));
    // The start fields take a minus sign in front and no letters; a text that is no number leaves the record.
    editor.txtStartX->setCursorPosition(3);
    QTest::keyClicks(editor.txtStartX, QStringLiteral("-ab-"));
    editor.txtStartX->setText(QStringLiteral("1.2.3"));
    SelectAllAndType(editor.txtStartY, QStringLiteral("45"));
    EXPECT_EQ(std::tuple(c->mStartPosX, c->mStartPosY, c->refreshes), std::tuple(-120, 45, 1)); // repainted later

    // The preview shows the selection, but only Apply gives it to the character.
    SelectFile(editor, QStringLiteral("other.bmp"));
    EXPECT_EQ(editor.imgPre->size(), QSize(90, 70)); // smaller than the box: its own size
    EXPECT_EQ(c->mPicFileName, "face.bmp");
    QTest::mouseClick(editor.cmdApply, Qt::LeftButton);
    EXPECT_EQ(c->loadedPictures, std::vector<std::string>{"other.bmp"});
    QTest::mouseClick(editor.cmdOK, Qt::LeftButton);
    EXPECT_EQ(c->mPicFileName, "other.bmp");
    EXPECT_EQ(rows, (std::vector<std::string>{"a", "ab", "two  lines", "two  lines", "picture"}));
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
        for (ctlSlider* s :
             {editor.sldIrisRGB[1], editor.sldPupilRGB[0], editor.sldIrisWidth, editor.sldEyeDiamX[0],
              editor.sldEyeDiamY[0], editor.sldEyeDiamX[1], editor.sldEyeDiamY[1], editor.sldIrisDiamX[0],
              editor.sldIrisDiamY[0], editor.sldIrisDiamX[1], editor.sldIrisDiamY[1]})
            QTest::keyClick(s, Qt::Key_Right);
        SelectAllAndType(editor.txtStartX, QStringLiteral("300"));
        SelectAllAndType(editor.txtStartY, QStringLiteral("40"));
        w->mEye1X = 30, w->mEye1Y = 40, w->mEye2X = 70, w->mEye2Y = 45; // as the picker sets them
        // Every control reaches its own field; moving the 150 shown at the end stores the end.
        EXPECT_EQ(std::tie(w->mTitle, w->mPicFileName, w->mStartPosX, w->mStartPosY),
                  std::tuple("SunnyX", "other.bmp", 300, 40));
        EXPECT_EQ(
            (std::array{w->mEye1X, w->mEye1Y, w->mEye2X, w->mEye2Y, w->mEye1DiamX, w->mEye1DiamY, w->mEye2DiamX,
                        w->mEye2DiamY, w->mIris1DiamX, w->mIris1DiamY, w->mIris2DiamX, w->mIris2DiamY,
                        int(w->mIrisWidth), w->mPupilColor - before.mPupilColor, w->mIrisColor - before.mIrisColor}),
            (std::array{30, 40, 70, 45, 100, 15, 11, 2, 6, 8, 7, 9, 3, 1, 256}));
        EXPECT_EQ(w->Picture().size(), QSize(90, 70));

        rowNames.clear();
        discard(editor);
        EXPECT_FALSE(editor.isVisible());
        EXPECT_EQ(static_cast<const CharacterRecord&>(*w), before);
        EXPECT_EQ(w->Picture(), face);                          // the old picture is back on the character
        EXPECT_EQ(rowNames, std::vector<std::string>{"Sunny"}); // the rows show the old name again
        EXPECT_FALSE(editor.RefreshPending());
    }
}

TEST_F(EditorTest, TheEntryPointOpensOneModalEditorThatEscapeDoesNotClose) {
    CountingCharacter* c = Add<CountingCharacter>();
    WhenModal([&] {
        frmAdvSet* editor = CharacterEditor();
        QTest::keyClick(editor->sldIrisWidth, Qt::Key_Escape);
        QTest::keyClick(editor->sldIrisWidth, Qt::Key_Right);
        QTest::mouseClick(editor->cmdOK, Qt::LeftButton);
    });
    ShowCharacterEditor(1);
    EXPECT_EQ(std::tuple(CharacterEditor(), int(c->mIrisWidth), c->refreshes), std::tuple(nullptr, 3, 1));
    ShowCharacterEditor(5); // no such character: nothing opens
    EXPECT_EQ(CharacterEditor(), nullptr);
}

TEST_F(EditorTest, TheStartDragCentresThePausedCharacterUnderThePointer) {
    frmPic* w = AddWindow(); // 160 x 120 pixels, following the pointer at the fastest
    w->mFixed = 0;
    w->mSpeedX = w->mSpeedY = 200;
    w->SetCuriouSpeed();
    w->show();
    frmAdvSet editor;
    Open(editor);
    QCursor::setPos(400, 300);
    QTest::mousePress(editor.cmdCurPos, Qt::LeftButton);
    EXPECT_EQ(std::pair(w->Timer1Enabled(), w->pos()), std::pair(false, QPoint(400 - 80, 300 - 60)));
    QCursor::setPos(100, 50);
    MoveOver(editor.cmdCurPos, QPoint(5, 5), Qt::LeftButton);
    EXPECT_EQ(editor.txtStartX->text() + "," + editor.txtStartY->text(), "20,-10");
    QCursor::setPos(700, 550); // the pointer moves away: after the drop the character follows again
    QTest::mouseRelease(editor.cmdCurPos, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->pos() != QPoint(20, -10); }, 2000));
}

TEST_F(EditorTest, ClosingAfterTheCharactersWereClosedTouchesNoCharacter) {
    CountingCharacter* c = Add<CountingCharacter>();
    frmAdvSet editor;
    Open(editor);
    QTest::keyClick(editor.sldIrisWidth, Qt::Key_Right);
    CharacterWindows.assign(1, nullptr); // the program's end saves and closes the characters first
    const std::unique_ptr<CountingCharacter> closed(c);
    editor.close();
    QTest::qWait(frmAdvSet::kRefreshDelayMs + 50);
    EXPECT_EQ(std::tuple(c->loadedPictures.size(), c->refreshes, int(c->mIrisWidth)), std::tuple(0u, 0, 3));
}

// The picker: left and right clicks set the eyes with label and marker; Cancel and the close box give
// the entry centres back, OK keeps them.
TEST_F(EditorTest, PickerClicksSetTheEyesAndOnlyOKKeepsThem) {
    const std::pair<bool, std::function<void(frmSelCenter&)>> ways[] = {
        // (keeps, closes)
        {false, [](frmSelCenter& p) { QTest::mouseClick(p.cmdCancel, Qt::LeftButton); }},
        {false, [](frmSelCenter& p) { p.close(); }},
        {true, [](frmSelCenter& p) { QTest::mouseClick(p.cmdOK, Qt::LeftButton); }}};
    for (const auto& [keeps, close] : ways) {
        CloseCharacters();
        frmPic* w = AddWindow();
        frmSelCenter picker;
        Open(picker);
        QTest::mouseClick(picker.picImg, Qt::LeftButton, {}, QPoint(11, 12));
        QTest::mouseClick(picker.picImg, Qt::RightButton, {}, QPoint(13, 14));
        QTest::mouseClick(picker.picImg, Qt::LeftButton, {}, QPoint(120, 86));
        EXPECT_EQ(picker.lblEye[0]->text() + picker.lblEye[1]->text(),
                  "Eye 1 (left mouse click)  X:120  Y:86Eye 2 (right mouse click)  X:13  Y:14");
        // The marker's circle is drawn on the picture around the new centre; the centre stays free.
        const QImage shown = picker.picImg->grab().toImage();
        EXPECT_EQ(QColor(shown.pixel(120, 84)), RgbValueColor(picker.MarkerColor(0)));
        EXPECT_EQ(QColor(shown.pixel(120, 86)), QColor(255, 220, 0));
        close(picker);
        EXPECT_FALSE(picker.isVisible());
        EXPECT_EQ((std::array{w->mEye1X, w->mEye1Y, w->mEye2X, w->mEye2Y}),
                  (keeps ? std::array{120, 86, 13, 14} : std::array{50, 58, 82, 58}));
    }
}

TEST_F(EditorTest, PickerLensFollowsThePointerAndShowsItsSurroundingsThreeTimesEnlarged) {
    QImage spotted = Face(160, 120, QColor(255, 220, 0));
    QPainter(&spotted).fillRect(59, 49, 3, 3, QColor(20, 20, 20)); // a dark 3 x 3 spot around (60, 50)
    Save(spotted, QStringLiteral("face.bmp"));
    frmPic* w = AddWindow();
    frmSelCenter picker;
    Open(picker);
    MoveOver(picker.picImg, QPoint(60, 50));
    EXPECT_EQ(picker.picLens->pos(), QPoint(80, 70)); // 20 pixels right of and below the pointer
    // The 3 x 3 spot under the pointer fills the middle 9 x 9 of the 74 x 74 lens.
    const QImage lens = picker.picLens->grab().toImage();
    for (const auto& [x, spot] : {std::pair{41, true}, {37, true}, {30, false}, {45, false}})
        EXPECT_EQ(QColor(lens.pixel(x, 37)) == QColor(20, 20, 20), spot) << x;
    // Moving with the right button held places eye 2; without a button only the lens moves.
    MoveOver(picker.picImg, QPoint(70, 60), Qt::RightButton);
    MoveOver(picker.picImg, QPoint(5, 5));
    EXPECT_EQ(std::tuple(w->mEye1X, w->mEye2X, w->mEye2Y), std::tuple(50, 70, 60));
    // The buttons keep to the lower right corner, 120 twips in, when the window is resized.
    picker.resize(700, 500);
    QApplication::processEvents();
    EXPECT_EQ(picker.cmdOK->geometry().bottomRight(), QPoint(700 - 9, 500 - 9));
    EXPECT_EQ(picker.picImg->geometry(), QRect(0, 0, 700, picker.cmdOK->y() - 8));
}

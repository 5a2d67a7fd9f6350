// Every caption of the panel and its rows, the editor, the picker and the help window fits its control in
// the fonts present. The end-to-end run repeats this test on an X server with the DejaVu fonts alone.
#include "widgets/FitCaptions.h"
#include "character/CharacterTestSupport.h"
#include "editor/frmAdvSet.h"
#include "editor/frmSelCenter.h"
#include "help/frmHelp.h"
#include "help/HelpTexts.h"
#include "panel/frmSettings.h"

#include <QLabel>

namespace {

void ExpectCaptionsFit(const QWidget& window) {
    int captions = 0;
    for (const QWidget* control : window.findChildren<const QWidget*>()) {
        const CaptionRoom room = MeasureCaption(*control);
        if (room.text.isEmpty())
            continue;
        ++captions;
        EXPECT_TRUE(room.Fits()) << room.text.toStdString() << ", font " << control->font().toString().toStdString();
        // The label's own count of its wrapped lines, too.
        if (const auto* label = qobject_cast<const QLabel*>(control); label && label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << room.text.toStdString();
        }
    }
    EXPECT_GT(captions, 3) << window.windowTitle().toStdString();
}

} // namespace

using CaptionsFit = ProgramFolderTest;

TEST_F(CaptionsFit, InEveryWindowInTheFontsPresent) {
    Save(Face(160, 120, QColor(255, 220, 0)), QStringLiteral("face.bmp"));
    for (const char* name : {"Sunny, the very long named one of them all", "Look to Mouse and don't run"})
        AddCharacter(name).MakeWindowRegion();
    frmSettings panel;
    panel.OnEndProgram = [] {};
    panel.ShowForm();
    frmAdvSet editor;
    ASSERT_TRUE(editor.FillForm(1));
    frmSelCenter picker;
    ASSERT_TRUE(picker.FillForm(1));
    frmHelp help;
    help.InitText(AdvancedHelpText);
    for (const QWidget* window : std::initializer_list<const QWidget*>{&panel, &editor, &picker, &help})
        ExpectCaptionsFit(*window);
}

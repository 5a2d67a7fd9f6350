// The help window: the texts it shows, the option buttons, its keys, its layout and the shared
// instance's life.
#include "help/frmHelp.h"

#include "help/HelpTexts.h"
#include "settings/ProgramState.h"
#include "widgets/GradShape.h"

#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString Shown(int ID) {
    return QString::fromStdString(HelpText(ID)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

class HelpWindowForm : public ::testing::Test {
protected:
    void SetUp() override {
        help.OnEndProgram = [this] { ++ends; };
        help.resize(500, 400);
        help.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    }
    void TearDown() override { AdvancedEditing = false; }

    frmHelp help;
    int ends = 0;
};

TEST_F(HelpWindowForm, OptionsOnlyWithAdvancedEditingAndTheySwitchTheTextInTheWholeWindow) {
    AdvancedEditing = false;
    help.InitText(0);
    EXPECT_EQ(help.lblText->text(), Shown(0));
    EXPECT_TRUE(help.optHelp[0]->isHidden() && help.optHelp[1]->isHidden());
    AdvancedEditing = true;
    help.InitText(1);
    EXPECT_EQ(help.lblText->text(), Shown(1));
    EXPECT_TRUE(help.optHelp[0]->isVisible() && help.optHelp[1]->isChecked());
    QTest::mouseClick(help.optHelp[0], Qt::LeftButton);
    EXPECT_EQ(help.lblText->text(), Shown(0));
    // The longer general text is not cut off at the height of the advanced one.
    EXPECT_GE(help.lblText->height(), help.lblText->heightForWidth(help.lblText->width()));
    const int m = help.lblTitle->y();
    EXPECT_EQ(help.lblTitle->geometry(), QRect(m, m, 500 - 2 * m, help.lblTitle->heightForWidth(500 - 2 * m)));
    EXPECT_EQ(help.gsBack->geometry(), help.rect());
}

TEST_F(HelpWindowForm, OnlyAltQXF4EndTheProgram) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int ends;
    } cases[] = {{Qt::Key_F4, Qt::AltModifier, 1},
                 {Qt::Key_Q, Qt::AltModifier | Qt::ControlModifier, 0},
                 {Qt::Key_Escape, Qt::NoModifier, 0}};
    for (const auto& c : cases) {
        ends = 0;
        QTest::keyClick(&help, c.key, c.modifiers);
        EXPECT_EQ(ends, c.ends) << c.key;
    }
    EXPECT_TRUE(help.isVisible()); // Escape does not close it either
}

TEST(HelpWindowShared, CreatedOnFirstUseAndDiscardedWhenClosed) {
    // A visible modeless window gives way to a new modal one; a closed one is gone.
    AdvancedEditing = true;
    ShowHelpModeless(0);
    const frmHelp* modeless = &HelpWindow();
    EXPECT_TRUE(modeless->isVisible());
    const frmHelp* modal = nullptr;
    QString text;
    QTimer::singleShot(0, [&] {
        modal = HelpWindow().isModal() ? &HelpWindow() : nullptr;
        text = HelpWindow().lblText->text();
        HelpWindow().close();
    });
    ShowHelpModal(1);
    AdvancedEditing = false;
    EXPECT_NE(modal, nullptr);
    EXPECT_NE(modal, modeless);
    EXPECT_EQ(text, Shown(1));
    EXPECT_FALSE(HelpWindowExists());
}

} // namespace

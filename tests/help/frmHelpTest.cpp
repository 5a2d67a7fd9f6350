// The help window: the texts it shows, the option buttons, and its keys.
#include "help/frmHelp.h"

#include "help/HelpTexts.h"
#include "settings/ProgramState.h"

#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString Shown(int ID) {
    return QString::fromStdString(HelpText(ID)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

TEST(HelpWindowForm, OptionsOnlyWithAdvancedEditingTheySwitchTheTextAndOnlyAltQXF4EndTheProgram) {
    frmHelp help;
    int ends = 0;
    help.OnEndProgram = [&] { ++ends; };
    help.resize(500, 400);
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
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
    AdvancedEditing = false;

    QTest::keyClick(&help, Qt::Key_Q, Qt::AltModifier | Qt::ControlModifier);
    QTest::keyClick(&help, Qt::Key_Escape); // which does not close it either
    EXPECT_EQ(ends, 0);
    QTest::keyClick(&help, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(help.isVisible());
}

} // namespace

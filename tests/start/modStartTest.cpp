// Saving every character at the end: the windows closed, and a failure reported once, naming the file
// and the reason (a good save runs end to end). One running program per folder, however its name is spelled;
// other folders are free (the panel coming forward, and a killed program's lock, run end to end).
#include "start/modStart.h"
#include "character/frmPic.h"
#include "settings/ProgramState.h"
#include "start/SingleInstance.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>

TEST(SavingAll, AFailedSaveSaysSoOnceNamingTheFileAndTheReason) {
    QTemporaryDir dir;
    SetProgramDirectory(dir.path());
    QStringList boxes; // closes every message box that opens, remembering its text
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                boxes << box->text();
                box->accept();
            }
    });
    timer.start(20);
    IniFilePath = (dir.path() + "/gone/Lookabout.ini").toStdString(); // a folder that does not exist
    for (int k = 1; k <= 2; ++k) {
        auto* w = new frmPic();
        w->mMyIndex = k;
        w->mINISectionName = "CHARACTER_" + std::to_string(k);
        CharacterWindows.push_back(w);
    }
    EXPECT_FALSE(SaveAndCloseAll());
    EXPECT_EQ(CharacterWindows.size(), 1u) << "the windows are closed all the same";
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QString::fromStdString(IniFilePath)));
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("No such file or directory")));
    SetProgramDirectory({});
}

TEST(SingleInstance, ALaterStartFromTheSameFolderIsRefusedAndAsksForThePanel) {
    QTemporaryDir dir, elsewhere;
    SingleInstance first(dir.path());
    QSignalSpy shown(&first, &SingleInstance::ShowRequested);
    ASSERT_TRUE(first.Claim());
    SingleInstance later(dir.path() + QStringLiteral("/.")); // the same folder, spelled otherwise
    EXPECT_FALSE(later.Claim());
    EXPECT_TRUE(shown.wait(3000));
    SingleInstance other(elsewhere.path());
    EXPECT_TRUE(other.Claim());
}

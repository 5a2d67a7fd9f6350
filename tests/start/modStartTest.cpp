// Saving every character at the end: written and the windows closed, or a failure reported once,
// naming the file and the reason. One running program per folder, however its name is spelled;
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

#include <fstream>
#include <utility>

TEST(SavingAll, AFailedSaveSaysSoOnceAndAGoodOneWritesEveryCharacter) {
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
    ProgramTitle = "My faces";
    // A folder that does not exist cannot take the file; the folder itself can.
    for (const auto& [name, saves] : {std::pair{"/gone/Lookabout.ini", false}, {"/Lookabout.ini", true}}) {
        IniFilePath = (dir.path() + name).toStdString();
        for (int k = 1; k <= 2; ++k) {
            auto* w = new frmPic();
            w->mMyIndex = k;
            w->mINISectionName = "CHARACTER_" + std::to_string(k);
            w->mTitle = "Face " + std::to_string(k);
            w->mPicFileName = "face.bmp";
            CharacterWindows.push_back(w);
        }
        EXPECT_EQ(SaveAndCloseAll(), saves) << name;
        EXPECT_EQ(CharacterWindows.size(), 1u) << "the windows are closed either way";
    }
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QString::fromStdString(dir.path().toStdString() + "/gone/Lookabout.ini")));
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("No such file or directory")));
    std::ifstream in(IniFilePath);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* line : {"[CHARACTER_2]", "Name=Face 2", "Program_Title=My faces"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
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

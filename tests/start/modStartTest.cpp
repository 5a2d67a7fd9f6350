// Saving every character: a save that cannot reach the disk is reported once, naming the file.
#include "character/frmPic.h"
#include "start/modStart.h"
#include "settings/ProgramState.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>

namespace {

// Closes every message box that opens while it lives, remembering their texts.
struct MessageBoxWatcher {
    QStringList texts;
    QTimer timer;
    MessageBoxWatcher() {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    texts << box->text();
                    box->accept();
                }
        });
        timer.start();
    }
};

class SavingAll : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetProgramDirectory(dir.path());
        for (int k = 1; k <= 2; ++k) {
            auto* w = new frmPic();
            w->mMyIndex = k;
            w->mINISectionName = "CHARACTER_" + std::to_string(k);
            w->mTitle = "Face " + std::to_string(k);
            w->mPicFileName = "face.bmp";
            CharacterWindows.push_back(w);
        }
        ProgramTitle = "My faces";
    }
    void TearDown() override {
        for (CharacterWindowBase* w : CharacterWindows)
            delete w;
        CharacterWindows.assign(1, nullptr);
        SetProgramDirectory({});
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(SavingAll, WritesEveryCharacterAndTheTitleAndClosesTheWindows) {
    IniFilePath = (dir.path() + QStringLiteral("/Lookabout.ini")).toStdString();
    MessageBoxWatcher boxes;
    std::vector<QPointer<QWidget>> windows;
    for (std::size_t k = 1; k < CharacterWindows.size(); ++k)
        windows.emplace_back(static_cast<frmPic*>(CharacterWindows[k]));
    EXPECT_TRUE(SaveAndCloseAll());
    EXPECT_EQ(CharacterWindows.size(), 1u);
    EXPECT_TRUE(boxes.texts.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const auto& w : windows)
        EXPECT_TRUE(w.isNull());

    std::ifstream in(IniFilePath);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[CHARACTER_2]"), std::string::npos);
    EXPECT_NE(text.find("Name=Face 2"), std::string::npos);
    EXPECT_NE(text.find("Program_Title=My faces"), std::string::npos);
}

TEST_F(SavingAll, AFailedSaveSaysSoOnceNamingTheFileAndTheReason) {
    // A folder that does not exist cannot take the file.
    IniFilePath = (dir.path() + QStringLiteral("/gone/Lookabout.ini")).toStdString();
    MessageBoxWatcher boxes;
    EXPECT_FALSE(SaveAndCloseAll());
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].contains(QString::fromStdString(IniFilePath)));
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("No such file or directory")));
}

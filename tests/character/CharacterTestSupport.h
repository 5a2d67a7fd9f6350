// What the widget tests of the character, editor and panel windows share: a program folder of their
// own at 15 twips a pixel, face pictures in it, and characters that are closed when the test ends.
#pragma once

#include "character/frmPic.h"
#include "settings/ProgramState.h"
#include "start/modStart.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

constexpr QRgb kKeyColour = 0xFFFF00FF; // magenta, the colour a face's window leaves out

// A face of one colour on the key colour, `inset` pixels in from every edge.
inline QImage Face(int width, int height, QColor colour, int inset = 5) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kKeyColour);
    QPainter(&image).fillRect(inset, inset, width - 2 * inset, height - 2 * inset, colour);
    return image;
}

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetProgramDirectory(dir.path());
        TwipsPerPixelX = TwipsPerPixelY = 15.0f;
        IsWin2000OrLater = false;
        AdvancedEditing = true;
    }
    void TearDown() override {
        CloseCharacters();
        SetProgramDirectory({});
    }

    void Save(const QImage& image, const QString& name, const char* format = "BMP") {
        ASSERT_TRUE(image.save(dir.filePath(name), format)) << name.toStdString();
    }

    // The next character, in the next slot of CharacterWindows, showing face.bmp once loaded.
    template <class Character = frmPic> Character& AddCharacter(const std::string& title) {
        auto* c = new Character();
        c->mMyIndex = static_cast<int>(CharacterWindows.size());
        c->mINISectionName = "CHARACTER_" + std::to_string(c->mMyIndex);
        c->mTitle = title;
        c->mPicFileName = "face.bmp";
        CharacterWindows.push_back(c);
        return *c;
    }
    static void CloseCharacters() {
        for (CharacterWindowBase* w : CharacterWindows)
            delete w;
        CharacterWindows.assign(1, nullptr);
    }

    QTemporaryDir dir;
};

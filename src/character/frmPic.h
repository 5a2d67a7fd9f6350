// A character window: borderless, cut to the outline of its face, always in the topmost band,
// with no taskbar entry. It holds the character's record as public fields.
#pragma once

#include "start/ProgramState.h"

#include <QImage>
#include <QWidget>

class frmPic final : public QWidget, public CharacterWindowBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmPic)

public:
    frmPic();
    ~frmPic() override;

    void MakeWindowRegion() override;
    void SetCuriouSpeed() override;
    void SetWindowStyle() override;
    void RefreshImage() override;

    TwipsRect GeometryTwips() const override;
    bool IsShown() const override;
    bool IsMinimised() const override;

    // The face as loaded (the error picture when loading failed), and what the window shows.
    const QImage& Picture() const { return mPicture; }
    const QImage& Surface() const { return mSurface; }
    float FactorX() const { return mFactorX; }
    float FactorY() const { return mFactorY; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The picture file as a path on this system: the program's folder, then the name, whose
    // Windows separators are taken as folder separators.
    QString PicturePath() const;
    static QImage LoadPicture(const QString& path);

    QImage mPicture;
    QImage mSurface;
    float mFactorX = 0;
    float mFactorY = 0;
};

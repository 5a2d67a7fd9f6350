// The eye-centre picker: the character's picture, on which a left click or drag places the centre
// of eye 1 and a right click or drag the centre of eye 2. Two pulsing markers show the centres and
// a lens that follows the pointer shows the area around it three times enlarged. Modal above the
// character editor; it writes the live record and asks the editor for a repaint after each change.
// Cancel and every close but OK give back the centres the character had when the picker opened.
#pragma once

#include "editor/PickerRules.h"
#include "settings/ProgramState.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <array>
#include <cstdint>

class GradShape;
class QLabel;
class QPushButton;
class ctlShape;

class frmSelCenter final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSelCenter)

public:
    explicit frmSelCenter(QWidget* parent = nullptr);
    ~frmSelCenter() override;

    // Fills the picker from character FensterIndex and shows it modally; returns when it is closed.
    void ShowForm(int FensterIndex);
    // ShowForm without the showing. False when the slot holds no character.
    bool FillForm(int FensterIndex);

    static constexpr int kTimerMs = 40;
    // The lens's size on the screen and the width of its sunken border, in pixels.
    static constexpr int kLensSize = 74;
    static constexpr int kLensBorder = 2;

    // What the picker shows, in picture pixels.
    PixelPoint MarkerPosition(int Index) const;
    std::int32_t MarkerColor(int Index) const { return mMarkerColor[static_cast<std::size_t>(Index & 1)]; }
    int MouseX() const { return mMouseX; }
    int MouseY() const { return mMouseY; }
    // The part of the picture box the lens enlarges now.
    LensRect LensSourceRect() const;
    // The picture box's content (picture and markers) in a rectangle of it; parts beyond the
    // picture show the box's background.
    QImage PictureBoxImage(const LensRect& area) const;

    // The controls.
    QWidget* picImg = nullptr;
    QWidget* picLens = nullptr;
    GradShape* GradShp = nullptr;
    std::array<QLabel*, 2> lblEye{};
    std::array<ctlShape*, 2> shpBorder{};
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOK = nullptr;
    QTimer Timer;

public slots:
    // Every close but OK and Cancel gives the saved centres back.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateMarkers();
    void FrameLabels();
    void SetEyeCenter(int eye, int x, int y);
    void picImg_MouseDown(Qt::MouseButtons buttons, QPointF at);
    void picImg_MouseMove(Qt::MouseButtons buttons, QPointF at);
    void DrawLens();
    void Timer_Timer();
    void Form_Resize();
    void RestoreCenters();
    void cmdOK_Click();
    void cmdCancel_Click();
    void PaintPictureBox(QPainter& painter) const;
    void PaintLens(QPainter& painter) const;
    CharacterWindowBase* Character() const;

    CharacterWindowBase* mCharacter = nullptr;
    QImage mPicture;
    std::array<std::int32_t, 4> mSaved{}; // mEye1X, mEye1Y, mEye2X, mEye2Y when the picker opened
    std::array<std::int32_t, 2> mMarkerColor{};
    int mMouseX = 0;
    int mMouseY = 0;
    bool mClosingByCode = false;
};

// The open eye-centre picker, or nothing.
frmSelCenter* EyeCentrePicker();

// Opens the picker for character FensterIndex, modal above parent; returns when it is closed.
void ShowEyeCentrePicker(int FensterIndex, QWidget* parent);

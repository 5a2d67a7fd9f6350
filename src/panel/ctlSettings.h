// One settings row of the control panel, bound to one character: its name and face, what it follows
// or runs from, its two speeds, whether it is visible, its transparency, whether clicks reach it, and
// the button that opens the character editor. Every change goes at once into the character's record
// and the running window; the row never writes the settings file.
#pragma once

#include "settings/clsGlobal.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class CharacterWindowBase;
class ctlSlider;
class GradShape;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

class ctlSettings final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ctlSettings)

public:
    explicit ctlSettings(QWidget* parent = nullptr);
    ~ctlSettings() override;

    // Binds the row to character MyIndex (1-based), adapts it to the program's mode and fills it from
    // the record. Calling it again rebinds and refills the row.
    void Init(int MyIndex);
    int BoundIndex() const { return mMyIndex; }

    // Whether this is the panel's current row: shows or hides the blue frame.
    bool IsCurrent() const { return mIsCurrent; }
    void SetIsCurrent(bool New_IsCurrent);

    // The change hub: a character's name changed, or its picture has to be drawn again.
    void GlobCom_Refresh(int FensterIndex);
    void GlobCom_RepaintPic(int FensterIndex);

    // What a user's change does. The sliders' Change carries a single-precision value, which the
    // record stores rounded to the nearest whole number, halves to even.
    void cboFixed_Click(int ListIndex);
    void optBehaviour_Click(int Index);
    void sldSpeedX_Change(float NewValue);
    void sldSpeedY_Change(float NewValue);
    void sldAlpha_Change(float NewValue);
    void chkMoveable_Click();
    void chkVisible_Click();
    void cmdAdvanced_Click();

    // The face thumbnail as it is painted on the row, and where (pixels inside the row).
    const QImage& Thumbnail() const { return mThumbnail; }
    QRect ThumbnailRect() const { return mThumbnailRect; }

    // What the Advanced button opens for a character: the character editor unless replaced.
    std::function<void(int FensterIndex)> OnShowEditor;

    const std::array<QLabel*, 2> lblName; // 0 the name, 1 its white copy behind it
    GradShape* const gsUpper;
    GradShape* const gsLower;
    const std::array<QRadioButton*, 2> optBehaviour; // 0 "Curious about", 1 "Scared of"
    QComboBox* const cboFixed;
    ctlSlider* const sldSpeedX;
    ctlSlider* const sldSpeedY;
    QCheckBox* const chkVisible;
    QCheckBox* const chkMoveable;
    ctlSlider* const sldAlpha;
    QPushButton* const cmdAdvanced;
    QFrame* const shpBorder;

signals:
    // The input focus entered the row: a click on it or on one of its controls, or tabbing into it.
    void EnterFocus();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The bound character's window, or none while the characters are being reloaded.
    CharacterWindowBase* Bound() const;
    void FillFromRecord();
    void PaintThumbnail();
    bool Contains(const QWidget* widget) const;

    int mMyIndex = 0;
    bool mIsCurrent = false;
    QImage mThumbnail;
    QRect mThumbnailRect;
    clsGlobal::Subscription mGlobComRefresh;
    clsGlobal::Subscription mGlobComRepaintPic;
};

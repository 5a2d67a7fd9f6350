// The program's horizontal slider: edits one whole number between Min and Max. Shows a caption with
// the value above a thin track, an 8 x 8 pixel round thumb and a text at each end. The user drags
// the thumb, clicks or drags on the track, or presses Left and Right; each user change is reported
// by Change. Setting a property from code never raises Change. The height is fixed by the design.
#pragma once

#include "widgets/SliderMath.h"

#include <QImage>
#include <QWidget>

class ctlSlider final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ctlSlider)

public:
    explicit ctlSlider(QWidget* parent = nullptr);

    int Min() const { return mMin; }
    void SetMin(int New_Min);
    int Max() const { return mMax; }
    void SetMax(int New_Max);
    int Value() const { return mValue; }
    void SetValue(int New_Value);
    QString Caption() const { return mCaption; }
    void SetCaption(const QString& New_Caption);
    QString MinText() const { return mMinText; }
    void SetMinText(const QString& New_MinText);
    QString MaxText() const { return mMaxText; }
    void SetMaxText(const QString& New_MaxText);
    // One tooltip over the whole control: caption, track, thumb and end texts.
    void SetTooltip(const QString& TipText);

    // What the control shows, in pixels inside it.
    QString CaptionText() const { return mCaptionText; }
    double ThumbLeft() const { return mThumbLeft; }
    SliderTrack Track() const;
    static constexpr int ThumbSize = 8;

    QSize sizeHint() const override;

signals:
    // The value after a change by the user (mouse or keyboard).
    void Change(int NewValue);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Grip { None, Thumb, Track };

    void ClampValue();
    void PlaceThumb();
    void ShowCaption();
    void ValueFromThumb();
    void MoveThumbTo(double x);
    void Relayout();
    void StepBy(int step);
    int LabelWidth(const QString& text) const;
    QRectF ThumbRect() const;
    QRectF TrackHitRect() const;

    int mMin = 0;
    int mMax = 100;
    int mValue = 20;
    QString mCaption = QStringLiteral("Caption");
    QString mMinText = QStringLiteral("Min");
    QString mMaxText = QStringLiteral("Max");
    float mGrabX = 0; // where inside the thumb the pointer took hold of it

    QString mCaptionText;
    SliderLayout mLayout;
    double mThumbLeft = 0;
    Grip mGrip = Grip::None;
    QImage mThumbPicture;
};

// The program's horizontal slider.
#include "widgets/ctlSlider.h"

#include "settings/Rounding.h"
#include "widgets/GradientColors.h"
#include "widgets/SystemColors.h"
#include "widgets/Twips.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <climits>
#include <cmath>

namespace {

// The design's vertical geometry, in twips: caption, end labels, track hit area, track line, thumb.
constexpr double kCaptionTop = -15, kCaptionHeight = 255;
constexpr double kLabelTop = 120, kLabelHeight = 195;
constexpr double kTrackTop = 135, kTrackHeight = 180;
constexpr double kLineTop = 210;
constexpr double kThumbTop = 165;
// The design's width: the right end of the right-hand label.
constexpr double kDesignWidth = 1920;
constexpr int kLineHeight = 2; // pixels

int ThumbTop() {
    return TwipsToPixelsY(kThumbTop);
}

// A round knob, light at the upper left and dark at the lower right, its corners transparent.
QImage MakeThumbPicture() {
    const int n = ctlSlider::ThumbSize;
    QImage picture(n, n, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    const double centre = n / 2.0;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const double distance = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            if (distance > centre)
                continue;
            const int diagonal = x + y; // 0 at the upper left .. 2n - 2 at the lower right
            int grey = 225 - 110 * diagonal / (2 * n - 2);
            if (distance > centre - 1) // the rim: a highlight on the lit side, a shadow on the other
                grey = diagonal < n - 1 ? 250 : 80;
            picture.setPixelColor(x, y, QColor(grey, grey, grey));
        }
    }
    return picture;
}

} // namespace

ctlSlider::ctlSlider(QWidget* parent) : QWidget(parent), mThumbPicture(MakeThumbPicture()) {
    setFocusPolicy(Qt::StrongFocus);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    setFixedHeight(ThumbTop() + ThumbSize);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // The design's place of the track until the first layout.
    mLayout = {double(TwipsToPixelsX(360)), double(TwipsToPixelsX(1215)), double(TwipsToPixelsX(1620))};
    Relayout();
}

QSize ctlSlider::sizeHint() const {
    return QSize(TwipsToPixelsX(kDesignWidth), ThumbTop() + ThumbSize);
}

SliderTrack ctlSlider::Track() const {
    return {mLayout.trackLeft, mLayout.trackWidth, double(ThumbSize)};
}

void ctlSlider::SetMin(int New_Min) {
    mMin = New_Min;
    ClampValue();
}

void ctlSlider::SetMax(int New_Max) {
    mMax = New_Max;
    ClampValue();
}

void ctlSlider::SetValue(int New_Value) {
    mValue = New_Value;
    ClampValue();
}

void ctlSlider::SetCaption(const QString& New_Caption) {
    mCaption = New_Caption;
    Relayout();
}

void ctlSlider::SetMinText(const QString& New_MinText) {
    mMinText = New_MinText;
    Relayout();
}

void ctlSlider::SetMaxText(const QString& New_MaxText) {
    mMaxText = New_MaxText;
    Relayout();
}

void ctlSlider::SetTooltip(const QString& TipText) {
    setToolTip(TipText);
}

void ctlSlider::ClampValue() {
    mValue = ClampSliderValue(mValue, mMin, mMax);
    PlaceThumb();
}

void ctlSlider::PlaceThumb() {
    mThumbLeft = ThumbLeftForValue(Track(), mMin, mMax, mValue);
    ShowCaption();
}

void ctlSlider::ShowCaption() {
    mCaptionText = mCaption + QStringLiteral(": ") + QString::number(mValue);
    update();
}

void ctlSlider::ValueFromThumb() {
    mValue = ValueForThumbLeft(Track(), mThumbLeft, mMin, mMax, mValue);
    ShowCaption();
}

void ctlSlider::MoveThumbTo(double x) {
    const int old = mValue;
    x = LimitThumbLeft(Track(), x, mMin, mMax);
    if (x != mThumbLeft) {
        mThumbLeft = x;
        update();
    }
    ValueFromThumb();
    if (mValue != old)
        emit Change(mValue);
}

int ctlSlider::LabelWidth(const QString& text) const {
    return text.isEmpty() ? 0 : fontMetrics().horizontalAdvance(text);
}

void ctlSlider::Relayout() {
    mLayout = LayOutSlider(width(), LabelWidth(mMinText), LabelWidth(mMaxText), 1, mLayout);
    PlaceThumb();
}

QRectF ctlSlider::ThumbRect() const {
    return QRectF(mThumbLeft, ThumbTop(), ThumbSize, ThumbSize);
}

QRectF ctlSlider::TrackHitRect() const {
    return QRectF(mLayout.trackLeft, TwipsToPixelsY(kTrackTop), mLayout.trackWidth, TwipsToPixelsY(kTrackHeight));
}

void ctlSlider::StepBy(int step) {
    const bool room = step < 0 ? mValue > INT_MIN : mValue < INT_MAX;
    SetValue(room ? mValue + step : mValue);
    ClampValue();
    // Reported even at an end of the range, where the value stays as it was.
    emit Change(mValue);
}

void ctlSlider::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
}

void ctlSlider::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Relayout();
}

void ctlSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPointF at = event->position();
    if (ThumbRect().contains(at)) {
        mGrip = Grip::Thumb;
        mGrabX = static_cast<float>(at.x() - mThumbLeft);
    } else if (TrackHitRect().contains(at)) {
        mGrip = Grip::Track;
        MoveThumbTo(at.x() - ThumbSize / 2.0);
    } else {
        mGrip = Grip::None;
    }
}

void ctlSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const double x = event->position().x();
    if (mGrip == Grip::Thumb)
        MoveThumbTo(x - mGrabX); // the grabbed point stays under the pointer
    else if (mGrip == Grip::Track)
        MoveThumbTo(x - ThumbSize / 2.0);
}

void ctlSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        mGrip = Grip::None;
}

void ctlSlider::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left)
        StepBy(-1);
    else if (event->key() == Qt::Key_Right)
        StepBy(1);
    else
        event->ignore(); // other keys belong to the window, e.g. F1
}

void ctlSlider::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void ctlSlider::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void ctlSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));

    const double captionTop = TwipsToPixelsY(kCaptionTop);
    painter.drawText(QRectF(mLayout.trackLeft, captionTop, mLayout.trackWidth, TwipsToPixelsY(kCaptionHeight)),
                     Qt::AlignHCenter | Qt::AlignTop, mCaptionText);

    const double labelTop = TwipsToPixelsY(kLabelTop);
    const double labelHeight = TwipsToPixelsY(kLabelHeight);
    painter.drawText(QRectF(0, labelTop, LabelWidth(mMinText), labelHeight), Qt::AlignLeft | Qt::AlignTop, mMinText);
    painter.drawText(QRectF(mLayout.maxLabelLeft, labelTop, LabelWidth(mMaxText), labelHeight),
                     Qt::AlignRight | Qt::AlignTop, mMaxText);

    // The track line's colour shows the focus: black with it, the button shadow without.
    const QColor line = hasFocus() ? QColor(Qt::black) : ToQColor(ColorButtonShadow, palette());
    painter.fillRect(QRectF(mLayout.trackLeft, TwipsToPixelsY(kLineTop), mLayout.trackWidth, kLineHeight), line);

    painter.drawImage(QPoint(NearestInt(mThumbLeft), ThumbTop()), mThumbPicture);
}

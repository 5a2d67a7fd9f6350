// A plain shape on a window.
#include "editor/ctlShape.h"

#include <QPainter>

QColor RgbValueColor(std::int32_t colour) {
    return QColor(colour & 255, (colour >> 8) & 255, (colour >> 16) & 255);
}

ctlShape::ctlShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ctlShape::SetBorderColor(std::int32_t colour) {
    mBorderColor = colour;
    update();
}

void ctlShape::SetFillColor(std::optional<std::int32_t> colour) {
    mFillColor = colour;
    update();
}

void ctlShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (mFillColor)
        p.fillRect(rect(), RgbValueColor(*mFillColor));
    // A one-pixel outline on the outermost pixels.
    p.setPen(RgbValueColor(mBorderColor));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, width() - 1, height() - 1));
}

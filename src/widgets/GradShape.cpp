// The gradient band.
#include "widgets/GradShape.h"

#include "widgets/SystemColors.h"

#include <QPainter>

GradShape::GradShape(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted by the lines, so nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradShape::SetColorTopLeft(std::int32_t colour) {
    mColorTopLeft = colour;
    Refresh();
}

void GradShape::SetColorBottomRight(std::int32_t colour) {
    mColorBottomRight = colour;
    Refresh();
}

void GradShape::SetOrientation(int orientation) {
    mOrientation = orientation;
    Refresh();
}

void GradShape::SetReduce(int reduce) {
    mReduce = reduce;
    Refresh();
}

void GradShape::Refresh() {
    repaint();
}

void GradShape::paintEvent(QPaintEvent*) {
    // System colours come from the palette of this paint, so a new colour scheme shows at once.
    const QPalette colours = palette();
    const SystemColorLookup lookup = [&colours](int index) { return ToRgbValue(SysColor(index, colours)); };
    QPainter painter(this);
    for (const GradientLine& line :
         GradientLines(width(), height(), mOrientation, mColorTopLeft, mColorBottomRight, mReduce, lookup)) {
        const QColor colour = ToQColor(line.colour, colours);
        // A one-pixel line is a one-pixel-wide rectangle; the painter clips the one past the edge.
        painter.fillRect(QRect(QPoint(line.x1, line.y1), QPoint(line.x2, line.y2)), colour);
    }
}

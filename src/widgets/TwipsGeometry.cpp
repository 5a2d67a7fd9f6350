// Twips geometry for Qt widgets.
#include "widgets/TwipsGeometry.h"

#include "widgets/Twips.h"

#include <QWidget>

QRect TwipsToRect(double left, double top, double width, double height) {
    const PixelRect r = TwipsToPixels(left, top, width, height);
    return QRect(r.x, r.y, r.width, r.height);
}

void SetTwipsGeometry(QWidget& widget, double left, double top, double width, double height) {
    widget.setGeometry(TwipsToRect(left, top, width, height));
}

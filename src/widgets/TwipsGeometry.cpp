// Twips geometry for Qt widgets.
#include "widgets/TwipsGeometry.h"
#include <QScreen>
#include <QGuiApplication>

#include "widgets/Twips.h"

#include <QWidget>

QRect TwipsToRect(double left, double top, double width, double height) {
    const PixelRect r = TwipsToPixels(left, top, width, height);
    return QRect(r.x, r.y, r.width, r.height);
}

void SetTwipsGeometry(QWidget& widget, double left, double top, double width, double height) {
    widget.setGeometry(TwipsToRect(left, top, width, height));
}

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect place(QPoint(0, 0), window.size());
        place.moveCenter(screen->availableGeometry().center());
        window.move(place.topLeft());
    }
}

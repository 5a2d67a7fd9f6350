// The button pictures.
#include "editor/ButtonPictures.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace {

QPixmap Blank() {
    QPixmap picture(kButtonPictureSize, kButtonPictureSize);
    picture.fill(Qt::transparent);
    return picture;
}

} // namespace

QIcon OkButtonPicture() {
    QPixmap picture = Blank();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 140, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF tick[] = {{1.5, 5.5}, {4, 8}, {8.5, 1.5}};
    p.drawPolyline(tick, 3);
    p.end();
    return QIcon(picture);
}

QIcon CancelButtonPicture() {
    QPixmap picture = Blank();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 0, 0), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 2), QPointF(8, 8));
    p.drawLine(QPointF(8, 2), QPointF(2, 8));
    p.end();
    return QIcon(picture);
}

QIcon HelpButtonPicture() {
    QPixmap picture = Blank();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 70, 190));
    p.drawEllipse(QRectF(0, 0, 10, 10));
    p.setPen(Qt::white);
    QFont font;
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(0, 0, 10, 10), Qt::AlignCenter, QStringLiteral("?"));
    p.end();
    return QIcon(picture);
}

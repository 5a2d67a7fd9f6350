// The error picture, drawn anew for every failure so each shows its own file name.
#include "character/ErrorPicture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

QImage MakeErrorPicture(const QString& fileName) {
    QImage image(200, 88, QImage::Format_RGB32);
    image.fill(QColor(0, 255, 242));
    QPainter p(&image);

    // The word, with hard edges against the key colour so the outline cuts cleanly.
    QFont big(QStringLiteral("Sans Serif"));
    big.setPixelSize(40);
    big.setBold(true);
    QPainterPath word;
    const QFontMetrics bigMetrics(big);
    const QString text = QStringLiteral("ERROR");
    word.addText((200 - bigMetrics.horizontalAdvance(text)) / 2.0, 40, big, text);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(QColor(220, 20, 60));
    p.drawPath(word);
    p.setPen(Qt::NoPen);
    p.drawPath(word);

    // The white box with its black frame, and the two lines of text inside it.
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(0, 46, 199, 41);
    QFont small(QStringLiteral("Sans Serif"));
    small.setPixelSize(11);
    p.setFont(small);
    const QFontMetrics m(small);
    p.setPen(Qt::black);
    p.drawText(4, 50 + m.ascent(), QStringLiteral("Image file not found or not valid:"));
    p.drawText(4, 50 + m.height() + m.ascent(), m.elidedText(fileName, Qt::ElideMiddle, 192));
    return image;
}

// The control panel's fonts, button glyphs and icon.
#include "panel/PanelLook.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QFont WithFamilies(const QStringList& families, double pointSize, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

QFont PanelFont(double pointSize, bool bold) {
    return WithFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                         QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")},
                        pointSize, bold);
}

QFont TitleFont() {
    return WithFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")},
                        11.25, true);
}

QPixmap ButtonGlyph(PanelGlyph glyph) {
    QPixmap pixmap(10, 10);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (glyph) {
    case PanelGlyph::Help: {
        // A white question mark on a blue disc.
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 80, 200));
        p.drawEllipse(QRectF(0, 0, 10, 10));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(3, 2, 4, 1, Qt::white);
        p.fillRect(6, 3, 1, 2, Qt::white);
        p.fillRect(5, 5, 1, 1, Qt::white);
        p.fillRect(4, 5, 1, 2, Qt::white);
        p.fillRect(4, 8, 1, 1, Qt::white);
        break;
    }
    case PanelGlyph::Add:
        // A green plus with a dark edge.
        p.fillRect(3, 0, 4, 10, QColor(20, 100, 20));
        p.fillRect(0, 3, 10, 4, QColor(20, 100, 20));
        p.fillRect(4, 1, 2, 8, QColor(60, 190, 60));
        p.fillRect(1, 4, 8, 2, QColor(60, 190, 60));
        break;
    case PanelGlyph::Delete: {
        // A red cross.
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(1.5, 1.5), QPointF(8.5, 8.5));
        p.drawLine(QPointF(8.5, 1.5), QPointF(1.5, 8.5));
        break;
    }
    case PanelGlyph::Rename: {
        // A pencil writing on a line.
        p.fillRect(0, 9, 10, 1, QColor(90, 90, 90));
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath body;
        body.moveTo(8.8, 0.6);
        body.lineTo(9.6, 1.4);
        body.lineTo(3.2, 7.8);
        body.lineTo(2.4, 7.0);
        body.closeSubpath();
        p.setPen(QPen(QColor(120, 80, 0), 1.0));
        p.setBrush(QColor(240, 190, 40));
        p.drawPath(body);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        p.drawPolygon(QPolygonF({QPointF(2.0, 6.6), QPointF(3.6, 8.2), QPointF(1.0, 8.8)}));
        break;
    }
    case PanelGlyph::Minimize:
        // A small window sinking onto the task bar.
        p.fillRect(1, 8, 8, 2, QColor(30, 30, 30));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 80, 200));
        p.drawPolygon(QPolygon({QPoint(2, 2), QPoint(8, 2), QPoint(5, 6)}));
        p.fillRect(4, 0, 2, 2, QColor(30, 80, 200));
        break;
    }
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        p.setPen(QPen(QColor(150, 100, 0), 1.5));
        p.setBrush(QColor(250, 200, 40));
        p.drawEllipse(QRectF(1, 1, 30, 30));
        for (double x : {9.0, 19.0}) {
            p.setPen(QPen(Qt::black, 1.0));
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(x, 8, 6, 9));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 90, 220));
            p.drawEllipse(QRectF(x + 2.5, 11, 3.5, 4.5));
        }
        p.setPen(QPen(QColor(120, 60, 0), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9, 14, 14, 10), 200 * 16, 140 * 16);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

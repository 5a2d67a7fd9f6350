// Draws Lookabout's icon for the desktop's application menu: a round face whose two big eyes look up to one
// side. One list of shapes is both painted to PNG files and written out as an SVG file, so the sizes agree.
//
//   icongen <output folder>    writes <folder>/hicolor/<n>x<n>/apps/lookabout.png for n = 16 ... 256 and
//                              <folder>/hicolor/scalable/apps/lookabout.svg

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <optional>
#include <vector>

namespace {

// The icon is designed on a 256 x 256 canvas.
constexpr double Canvas = 256.0;

struct Fill {
    QColor inner;
    QColor outer;
    QPointF focus; // where the inner colour is, for a soft light from the upper left
    double radius;
};

// An ellipse, filled with a radial gradient (or one colour when inner == outer) and outlined; or, with a curve,
// a quadratic stroke from start through control to end.
struct Shape {
    QPointF centre;
    double rx = 0;
    double ry = 0;
    std::optional<Fill> fill;
    QColor stroke;
    double strokeWidth = 0;
    std::optional<QPointF> curveStart, curveControl, curveEnd;
};

Shape ellipse(QPointF c, double rx, double ry, std::optional<Fill> fill, QColor stroke = {}, double width = 0) {
    Shape s;
    s.centre = c;
    s.rx = rx;
    s.ry = ry;
    s.fill = fill;
    s.stroke = stroke;
    s.strokeWidth = width;
    return s;
}

Fill plain(QColor c) {
    return {c, c, {}, 1};
}

std::vector<Shape> iconShapes() {
    const QColor ink(70, 45, 20);
    std::vector<Shape> shapes;
    // The face.
    shapes.push_back(ellipse({128, 128}, 118, 118, Fill{QColor(255, 236, 130), QColor(250, 165, 35), {96, 80}, 170},
                             QColor(205, 110, 20), 7));
    // Eye whites, then irises and pupils looking up to the right, each with a spot of light.
    for (double x : {86.0, 170.0}) {
        shapes.push_back(ellipse({x, 108}, 40, 52, Fill{Qt::white, QColor(220, 226, 238), {x - 12, 88}, 60}, ink, 6));
        shapes.push_back(ellipse({x + 14, 92}, 22, 24,
                                 Fill{QColor(110, 170, 250), QColor(25, 70, 190), {x + 10, 86}, 26},
                                 QColor(20, 40, 110), 3));
        shapes.push_back(ellipse({x + 17, 89}, 11, 12, plain(QColor(15, 15, 25))));
        shapes.push_back(ellipse({x + 9, 81}, 5, 5, plain(Qt::white)));
    }
    // A smile.
    Shape smile;
    smile.stroke = ink;
    smile.strokeWidth = 9;
    smile.curveStart = QPointF(84, 190);
    smile.curveControl = QPointF(128, 226);
    smile.curveEnd = QPointF(172, 190);
    shapes.push_back(smile);
    return shapes;
}

QPen strokePen(const Shape& s) {
    QPen pen(s.stroke, s.strokeWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QImage paint(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / Canvas, size / Canvas);
    for (const Shape& s : iconShapes()) {
        if (s.curveStart) {
            QPainterPath path(*s.curveStart);
            path.quadTo(*s.curveControl, *s.curveEnd);
            p.setPen(strokePen(s));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
            continue;
        }
        if (s.fill) {
            QRadialGradient g(s.fill->focus, s.fill->radius);
            g.setColorAt(0, s.fill->inner);
            g.setColorAt(1, s.fill->outer);
            p.setBrush(g);
        } else {
            p.setBrush(Qt::NoBrush);
        }
        p.setPen(s.strokeWidth > 0 ? strokePen(s) : QPen(Qt::NoPen));
        p.drawEllipse(s.centre, s.rx, s.ry);
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QString svg() {
    QString defs, body;
    int gradient = 0;
    const auto num = [](double v) { return QString::number(v, 'g', 6); };
    for (const Shape& s : iconShapes()) {
        const QString stroke = s.strokeWidth > 0
                                   ? QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linecap=\"round\"")
                                         .arg(s.stroke.name(), num(s.strokeWidth))
                                   : QString();
        if (s.curveStart) {
            body += QStringLiteral("  <path d=\"M %1 %2 Q %3 %4 %5 %6\" fill=\"none\"%7/>\n")
                        .arg(num(s.curveStart->x()), num(s.curveStart->y()), num(s.curveControl->x()),
                             num(s.curveControl->y()), num(s.curveEnd->x()), num(s.curveEnd->y()), stroke);
            continue;
        }
        QString fill = QStringLiteral("none");
        if (s.fill && s.fill->inner == s.fill->outer) {
            fill = s.fill->inner.name();
        } else if (s.fill) {
            const QString id = QStringLiteral("g%1").arg(++gradient);
            defs += QStringLiteral("    <radialGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" cx=\"%2\" cy=\"%3\" "
                                   "r=\"%4\"><stop offset=\"0\" stop-color=\"%5\"/><stop offset=\"1\" "
                                   "stop-color=\"%6\"/></radialGradient>\n")
                        .arg(id, num(s.fill->focus.x()), num(s.fill->focus.y()), num(s.fill->radius),
                             s.fill->inner.name(), s.fill->outer.name());
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        body += QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"%5\"%6/>\n")
                    .arg(num(s.centre.x()), num(s.centre.y()), num(s.rx), num(s.ry), fill, stroke);
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                          "viewBox=\"0 0 256 256\">\n  <defs>\n%1  </defs>\n%2</svg>\n")
        .arg(defs, body);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        const QString path = out.filePath(folder + QStringLiteral("/lookabout.png"));
        if (!out.mkpath(folder) || !paint(size).save(path, "PNG")) {
            std::fprintf(stderr, "icongen: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString path = out.filePath(QStringLiteral("hicolor/scalable/apps/lookabout.svg"));
    QFile file(path);
    if (!out.mkpath(QStringLiteral("hicolor/scalable/apps")) || !file.open(QIODevice::WriteOnly) ||
        file.write(svg().toUtf8()) < 0) {
        std::fprintf(stderr, "icongen: cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}

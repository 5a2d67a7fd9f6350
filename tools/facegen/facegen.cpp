// Draws the four bundled face pictures of data/ and prints the eye keys that Lookabout.ini must carry for them.
//
//   facegen <output folder> [<reference folder>]   write the pictures (and, if asked, PNG copies of exactly what
//                                                  each file holds, for checking other decoders against)
//   facegen --selftest [<folder>]                  check the GIF writer against Qt's GIF reader; with a folder,
//                                                  also leave the test GIFs and PNGs of their pixels there
//
// The program cuts a face out by exact match with the colour of its upper-left pixel, so the edge between face
// and key colour must be hard: each face is drawn antialiased on a transparent layer and the layer's alpha is
// then cut at one half. Inside the face antialiasing stays. The eye whites are left empty; the program paints
// the irises.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <numbers>
#include <random>
#include <unordered_map>
#include <vector>

namespace {

const QRgb KeyColour = qRgb(255, 0, 255);
const QRgb White = qRgb(255, 255, 255);
// Iris diameter as a share of the eye diameter, the ellipse on which the iris centre travels.
const double IrisShare = 0.5;

// The white of one eye: an ellipse of size w x h centred on the pixel corner (cx, cy), which is where the program
// centres an even-sized iris drawn at the eye centre (cx, cy).
struct EyeWhite {
    int cx;
    int cy;
    int w;
    int h;
};

// What the INI keys Eye*_ and Iris*_ hold for one eye.
struct EyeKeys {
    int centreX;
    int centreY;
    int eyeDiamX;
    int eyeDiamY;
    int irisDiamX;
    int irisDiamY;
};

struct Face {
    const char* fileName;
    const char* format; // "BMP" or "GIF"
    QSize size;
    int irisWidth;    // the Iris_Width the INI gives this face; the fit check draws with it
    EyeWhite eyes[2]; // eye 1 is the one on the left
    std::function<void(QPainter&)> drawBody;
};

QRectF whiteRect(const EyeWhite& e) {
    return {e.cx - e.w / 2.0, e.cy - e.h / 2.0, double(e.w), double(e.h)};
}

QPen roundPen(const QColor& colour, qreal width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// ---------------------------------------------------------------------------------------------------------------
// The faces

void drawSunny(QPainter& p) {
    const QPointF c(66, 66);
    const QColor rim(205, 115, 20);

    // Rays first; the disc covers their bases.
    p.setPen(roundPen(rim, 2));
    p.setBrush(QColor(255, 165, 30));
    for (int i = 0; i < 12; ++i) {
        const double a = (i * 30.0 + 15.0) * std::numbers::pi / 180.0;
        const double half = 10.0 * std::numbers::pi / 180.0;
        QPolygonF ray;
        ray << c + QPointF(std::cos(a) * 62, std::sin(a) * 62)
            << c + QPointF(std::cos(a - half) * 42, std::sin(a - half) * 42)
            << c + QPointF(std::cos(a + half) * 42, std::sin(a + half) * 42);
        p.drawPolygon(ray);
    }

    QRadialGradient disc(QPointF(56, 50), 62);
    disc.setColorAt(0, QColor(255, 242, 130));
    disc.setColorAt(1, QColor(255, 198, 40));
    p.setPen(roundPen(rim, 2.5));
    p.setBrush(disc);
    p.drawEllipse(c, 47, 47);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 140, 70, 140));
    p.drawEllipse(QRectF(27, 72, 18, 11));
    p.drawEllipse(QRectF(87, 72, 18, 11));

    // An open smile with a tongue.
    QPainterPath mouth;
    mouth.moveTo(48, 82);
    mouth.quadTo(66, 108, 84, 82);
    mouth.quadTo(66, 90, 48, 82);
    p.setBrush(QColor(150, 45, 35));
    p.setPen(roundPen(QColor(120, 60, 10), 2));
    p.drawPath(mouth);
    p.save();
    p.setClipPath(mouth);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 120, 120));
    p.drawEllipse(QRectF(57, 89, 18, 12));
    p.restore();
}

void drawFroggy(QPainter& p) {
    const QColor rim(40, 110, 40);

    QPainterPath body;
    body.addEllipse(QRectF(6, 34, 124, 68));
    QPainterPath bumps;
    bumps.addEllipse(QPointF(42, 30), 22, 22);
    bumps.addEllipse(QPointF(94, 30), 22, 22);
    bumps.addEllipse(QRectF(16, 90, 28, 15));
    bumps.addEllipse(QRectF(92, 90, 28, 15));
    const QPainterPath outline = body.united(bumps);

    QLinearGradient skin(0, 8, 0, 104);
    skin.setColorAt(0, QColor(160, 220, 95));
    skin.setColorAt(1, QColor(85, 165, 60));
    p.setPen(roundPen(rim, 2.5));
    p.setBrush(skin);
    p.drawPath(outline);

    p.save();
    p.setClipPath(outline);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(215, 238, 160));
    p.drawEllipse(QRectF(36, 74, 64, 34));
    p.setBrush(QColor(70, 145, 55));
    p.drawEllipse(QRectF(12, 50, 8, 7));
    p.drawEllipse(QRectF(19, 62, 6, 5));
    p.drawEllipse(QRectF(115, 50, 8, 7));
    p.drawEllipse(QRectF(110, 62, 6, 5));
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawEllipse(QRectF(60, 51, 4, 3));
    p.drawEllipse(QRectF(72, 51, 4, 3));

    QPainterPath mouth;
    mouth.moveTo(34, 64);
    mouth.cubicTo(50, 80, 86, 80, 102, 64);
    p.setPen(roundPen(rim, 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
}

void drawWhiskers(QPainter& p) {
    const QColor rim(70, 70, 82);

    QPainterPath head;
    head.addEllipse(QRectF(8, 30, 108, 82));
    QPainterPath ears;
    ears.addPolygon(QPolygonF({QPointF(14, 62), QPointF(20, 6), QPointF(56, 34)}));
    ears.closeSubpath();
    ears.addPolygon(QPolygonF({QPointF(110, 62), QPointF(104, 6), QPointF(68, 34)}));
    ears.closeSubpath();
    const QPainterPath outline = head.united(ears);

    QLinearGradient fur(0, 6, 0, 112);
    fur.setColorAt(0, QColor(175, 175, 188));
    fur.setColorAt(1, QColor(140, 140, 152));
    p.setPen(roundPen(rim, 2.5));
    p.setBrush(fur);
    p.drawPath(outline);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 170, 182));
    p.drawPolygon(QPolygonF({QPointF(25, 45), QPointF(25, 18), QPointF(46, 34)}));
    p.drawPolygon(QPolygonF({QPointF(99, 45), QPointF(99, 18), QPointF(78, 34)}));

    p.setPen(roundPen(QColor(110, 110, 126), 3));
    p.drawLine(QPointF(62, 34), QPointF(62, 44));
    p.drawLine(QPointF(53, 36), QPointF(55, 44));
    p.drawLine(QPointF(71, 36), QPointF(69, 44));

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 236, 242));
    p.drawEllipse(QRectF(46, 82, 17, 15));
    p.drawEllipse(QRectF(61, 82, 17, 15));

    p.setPen(roundPen(QColor(150, 70, 90), 1));
    p.setBrush(QColor(235, 120, 140));
    p.drawPolygon(QPolygonF({QPointF(57, 80), QPointF(67, 80), QPointF(62, 86)}));

    QPainterPath mouth;
    mouth.moveTo(62, 86);
    mouth.lineTo(62, 90);
    mouth.moveTo(55, 91);
    mouth.quadTo(58.5, 95, 62, 90);
    mouth.quadTo(65.5, 95, 69, 91);
    p.setPen(roundPen(rim, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);

    p.setPen(roundPen(rim, 1.2));
    p.drawLine(QPointF(44, 87), QPointF(18, 83));
    p.drawLine(QPointF(44, 91), QPointF(20, 96));
    p.drawLine(QPointF(80, 87), QPointF(106, 83));
    p.drawLine(QPointF(80, 91), QPointF(104, 96));
}

void drawBouncy(QPainter& p) {
    const QColor rim(180, 60, 70);

    // Feet and tuft first; the body covers where they join it.
    p.setPen(roundPen(rim, 2));
    p.setBrush(QColor(240, 125, 65));
    p.drawEllipse(QRectF(20, 102, 30, 17));
    p.drawEllipse(QRectF(62, 102, 30, 17));

    p.setBrush(QColor(255, 110, 150));
    for (const double angle : {-38.0, 0.0, 38.0}) {
        p.save();
        p.translate(56, 24);
        p.rotate(angle);
        p.drawEllipse(QRectF(-5, -20, 10, 22));
        p.restore();
    }

    QRadialGradient skin(QPointF(40, 44), 70);
    skin.setColorAt(0, QColor(255, 222, 185));
    skin.setColorAt(0.45, QColor(255, 165, 115));
    skin.setColorAt(1, QColor(245, 105, 125));
    p.setPen(roundPen(rim, 2.5));
    p.setBrush(skin);
    p.drawEllipse(QPointF(56, 64), 48, 48);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.save();
    p.translate(28, 36);
    p.rotate(-40);
    p.drawEllipse(QRectF(-8, -4, 16, 8));
    p.restore();

    p.setBrush(QColor(255, 95, 120, 130));
    p.drawEllipse(QRectF(18, 74, 16, 9));
    p.drawEllipse(QRectF(80, 74, 16, 9));

    QPainterPath mouth;
    mouth.addEllipse(QRectF(49, 80, 14, 13));
    p.setPen(roundPen(QColor(110, 30, 40), 1.5));
    p.setBrush(QColor(140, 30, 50));
    p.drawPath(mouth);
    p.save();
    p.setClipPath(mouth);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 125, 145));
    p.drawEllipse(QRectF(50, 87, 12, 8));
    p.restore();
}

std::vector<Face> faces() {
    return {
        {"sunny.bmp", "BMP", QSize(132, 132), 2, {{50, 58, 26, 30}, {82, 58, 26, 30}}, drawSunny},
        {"froggy.gif", "GIF", QSize(136, 108), 2, {{42, 30, 30, 30}, {94, 30, 30, 30}}, drawFroggy},
        {"whiskers.bmp", "BMP", QSize(124, 116), 2, {{42, 64, 28, 30}, {82, 64, 28, 30}}, drawWhiskers},
        {"bouncy.gif", "GIF", QSize(112, 124), 1, {{41, 58, 26, 32}, {71, 58, 26, 32}}, drawBouncy},
    };
}

// ---------------------------------------------------------------------------------------------------------------
// Drawing and checking

// Draws the face antialiased on a transparent layer, then makes every pixel either wholly face or key colour.
QImage render(const Face& face) {
    QImage layer(face.size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        face.drawBody(p);
        p.setPen(roundPen(QColor(60, 50, 50), 2));
        p.setBrush(QColor(White));
        for (const EyeWhite& e : face.eyes)
            p.drawEllipse(whiteRect(e));
    }
    layer = layer.convertToFormat(QImage::Format_ARGB32);

    QImage out(face.size, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const QRgb px = layer.pixel(x, y);
            out.setPixel(x, y, qAlpha(px) >= 128 ? qRgb(qRed(px), qGreen(px), qBlue(px)) : KeyColour);
        }
    }
    return out;
}

// Counts key-coloured pixels that the background cannot reach from the picture's border: holes in the face.
int enclosedKeyPixels(const QImage& img) {
    const int w = img.width();
    const int h = img.height();
    std::vector<char> seen(size_t(w) * h, 0);
    std::vector<QPoint> todo;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || seen[size_t(y) * w + x] ||
            (img.pixel(x, y) & 0xFFFFFF) != (KeyColour & 0xFFFFFF))
            return;
        seen[size_t(y) * w + x] = 1;
        todo.emplace_back(x, y);
    };
    for (int x = 0; x < w; ++x) {
        visit(x, 0);
        visit(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        visit(0, y);
        visit(w - 1, y);
    }
    while (!todo.empty()) {
        const QPoint q = todo.back();
        todo.pop_back();
        visit(q.x() + 1, q.y());
        visit(q.x() - 1, q.y());
        visit(q.x(), q.y() + 1);
        visit(q.x(), q.y() - 1);
    }
    int holes = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            holes += !seen[size_t(y) * w + x] && (img.pixel(x, y) & 0xFFFFFF) == (KeyColour & 0xFFFFFF);
    return holes;
}

// Number of 4-connected pieces of face (non-key pixels); one piece means no stray dots around the outline.
int facePieces(const QImage& img) {
    const int w = img.width();
    const int h = img.height();
    std::vector<char> seen(size_t(w) * h, 0);
    int pieces = 0;
    for (int sy = 0; sy < h; ++sy) {
        for (int sx = 0; sx < w; ++sx) {
            if (seen[size_t(sy) * w + sx] || (img.pixel(sx, sy) & 0xFFFFFF) == (KeyColour & 0xFFFFFF))
                continue;
            ++pieces;
            std::vector<QPoint> todo{QPoint(sx, sy)};
            seen[size_t(sy) * w + sx] = 1;
            while (!todo.empty()) {
                const QPoint q = todo.back();
                todo.pop_back();
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint n = q + d;
                    if (n.x() < 0 || n.y() < 0 || n.x() >= w || n.y() >= h || seen[size_t(n.y()) * w + n.x()] ||
                        (img.pixel(n) & 0xFFFFFF) == (KeyColour & 0xFFFFFF))
                        continue;
                    seen[size_t(n.y()) * w + n.x()] = 1;
                    todo.push_back(n);
                }
            }
        }
    }
    return pieces;
}

// Draws the iris the way the program does when the target lies far away in direction angle (twips of 15 per
// pixel, window at the origin), and tells whether every pixel of it lands on pure eye white.
bool irisFits(const QImage& face, const EyeKeys& k, int irisWidth, double angle) {
    const double tpp = 15.0;
    const double ex = std::nearbyint(k.centreX * tpp);
    const double ey = std::nearbyint(k.centreY * tpp);
    const double x = std::nearbyint(ex + std::cos(angle) * k.eyeDiamX / 2.0 * tpp);
    const double y = std::nearbyint(ey + std::sin(angle) * k.eyeDiamY / 2.0 * tpp);
    const double px = std::nearbyint(x / tpp);
    const double py = std::nearbyint(y / tpp);
    const double left = std::floor(px - k.irisDiamX / 2.0);
    const double top = std::floor(py - k.irisDiamY / 2.0);

    QImage mask(face.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter p(&mask);
        p.setPen(QPen(Qt::white, std::max(irisWidth, 1)));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(left, top, k.irisDiamX, k.irisDiamY));
    }
    for (int yy = 0; yy < mask.height(); ++yy)
        for (int xx = 0; xx < mask.width(); ++xx)
            if (mask.pixel(xx, yy) != qRgb(0, 0, 0) && (face.pixel(xx, yy) & 0xFFFFFF) != (White & 0xFFFFFF))
                return false;
    return true;
}

EyeKeys keysFor(const EyeWhite& e, int margin) {
    const int edx = e.w - margin;
    const int edy = e.h - margin;
    return {e.cx, e.cy, edx, edy, int(std::lround(IrisShare * edx)), int(std::lround(IrisShare * edy))};
}

bool eyeFits(const QImage& img, const EyeKeys& k, int irisWidth) {
    for (int deg = 0; deg < 360; ++deg)
        if (!irisFits(img, k, irisWidth, deg * std::numbers::pi / 180.0))
            return false;
    return true;
}

// The eye diameter is the white's size less the smallest margin at which the iris, travelling round the eye at
// every angle, stays on pure white; two more pixels keep it off the white's rim.
bool chooseEyes(const QImage& img, const Face& face, EyeKeys out[2]) {
    for (int margin = 0; margin < std::min(face.eyes[0].w, face.eyes[0].h); ++margin) {
        const EyeKeys a = keysFor(face.eyes[0], margin + 2);
        const EyeKeys b = keysFor(face.eyes[1], margin + 2);
        if (eyeFits(img, keysFor(face.eyes[0], margin), face.irisWidth) &&
            eyeFits(img, keysFor(face.eyes[1], margin), face.irisWidth) && eyeFits(img, a, face.irisWidth) &&
            eyeFits(img, b, face.irisWidth)) {
            out[0] = a;
            out[1] = b;
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------------------------
// GIF89a writer

// Picks at most 256 colours. With more, the upper-left (key) colour and the 255 most frequent other colours are
// kept exactly and every other colour goes to its nearest kept colour other than the key, so that no face pixel
// turns transparent. Returns the palette and one index per pixel.
void quantise(const QImage& img, std::vector<QRgb>& palette, std::vector<uint8_t>& indices) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ++counts[img.pixel(x, y) & 0xFFFFFF];

    const QRgb corner = img.pixel(0, 0) & 0xFFFFFF;
    std::vector<std::pair<int, QRgb>> byCount;
    for (const auto& [colour, count] : counts)
        if (colour != corner)
            byCount.emplace_back(count, colour);
    std::stable_sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) { return a.first > b.first; });

    // The upper-left colour goes first, so that it is also the GIF's background colour.
    palette.assign(1, corner);
    for (size_t i = 0; i < byCount.size() && palette.size() < 256; ++i)
        palette.push_back(byCount[i].second);

    std::unordered_map<QRgb, uint8_t> lookup;
    for (size_t i = 0; i < palette.size(); ++i)
        lookup[palette[i]] = uint8_t(i);
    auto nearest = [&](QRgb c) {
        size_t best = 0;
        long bestDistance = -1;
        for (size_t i = 0; i < palette.size(); ++i) {
            if (i == 0)
                continue;
            const long dr = qRed(c) - qRed(palette[i]);
            const long dg = qGreen(c) - qGreen(palette[i]);
            const long db = qBlue(c) - qBlue(palette[i]);
            const long d = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return uint8_t(best);
    };
    for (const auto& [count, colour] : byCount)
        if (!lookup.count(colour))
            lookup[colour] = nearest(colour);

    indices.clear();
    indices.reserve(size_t(img.width()) * img.height());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            indices.push_back(lookup.at(img.pixel(x, y) & 0xFFFFFF));
}

// Packs variable-width codes least significant bit first into GIF data sub-blocks of at most 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(QByteArray& out) : mOut(out) {}

    void write(int code, int width) {
        mBits |= uint32_t(code) << mCount;
        mCount += width;
        while (mCount >= 8) {
            pushByte(uint8_t(mBits & 0xFF));
            mBits >>= 8;
            mCount -= 8;
        }
    }

    void finish() {
        if (mCount > 0)
            pushByte(uint8_t(mBits & 0xFF));
        mBits = 0;
        mCount = 0;
        flushBlock();
        mOut.append(char(0)); // block terminator
    }

private:
    void pushByte(uint8_t b) {
        mBlock.push_back(b);
        if (mBlock.size() == 255)
            flushBlock();
    }

    void flushBlock() {
        if (mBlock.empty())
            return;
        mOut.append(char(mBlock.size()));
        mOut.append(reinterpret_cast<const char*>(mBlock.data()), qsizetype(mBlock.size()));
        mBlock.clear();
    }

    QByteArray& mOut;
    std::vector<uint8_t> mBlock;
    uint32_t mBits = 0;
    int mCount = 0;
};

void lzwEncode(const std::vector<uint8_t>& indices, int minCodeSize, QByteArray& out) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    std::unordered_map<uint32_t, int> dictionary; // (prefix code << 8 | next index) -> code
    int codeSize = minCodeSize + 1;
    int lastCode = endCode;

    CodeWriter writer(out);
    writer.write(clearCode, codeSize);
    if (indices.empty()) {
        writer.write(endCode, codeSize);
        writer.finish();
        return;
    }
    int current = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const uint32_t entry = uint32_t(current) << 8 | indices[i];
        const auto found = dictionary.find(entry);
        if (found != dictionary.end()) {
            current = found->second;
            continue;
        }
        writer.write(current, codeSize);
        dictionary.emplace(entry, ++lastCode);
        // The decoder adds its entry one code later, so it widens exactly when the next code needs it.
        if (lastCode >= (1 << codeSize))
            ++codeSize;
        if (lastCode == 4095) {
            writer.write(clearCode, codeSize);
            dictionary.clear();
            codeSize = minCodeSize + 1;
            lastCode = endCode;
        }
        current = indices[i];
    }
    writer.write(current, codeSize);
    writer.write(endCode, codeSize);
    writer.finish();
}

void appendWord(QByteArray& out, int value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Encodes the image as a GIF89a with one global colour table; *quantised receives the picture the file holds.
QByteArray encodeGif(const QImage& img, QImage* quantised) {
    std::vector<QRgb> palette;
    std::vector<uint8_t> indices;
    quantise(img, palette, indices);

    int bits = 1;
    while ((1 << bits) < int(palette.size()))
        ++bits;

    QByteArray out("GIF89a");
    appendWord(out, img.width());
    appendWord(out, img.height());
    out.append(char(0x80 | ((bits - 1) << 4) | (bits - 1))); // global table, colour resolution, table size
    out.append(char(0));                                     // background colour index: the upper-left colour
    out.append(char(0));                                     // no aspect ratio
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb c = i < int(palette.size()) ? palette[size_t(i)] : 0;
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }

    out.append(char(0x2C)); // image descriptor: whole screen, no local table, not interlaced
    appendWord(out, 0);
    appendWord(out, 0);
    appendWord(out, img.width());
    appendWord(out, img.height());
    out.append(char(0));

    const int minCodeSize = std::max(2, bits);
    out.append(char(minCodeSize));
    lzwEncode(indices, minCodeSize, out);
    out.append(char(0x3B)); // trailer

    if (quantised) {
        *quantised = QImage(img.size(), QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                quantised->setPixel(x, y, 0xFF000000 | palette[indices[size_t(y) * img.width() + x]]);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------------------------

int countDifferences(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    int diff = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            diff += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return diff;
}

int countColours(const QImage& img) {
    std::map<QRgb, int> seen;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            seen[img.pixel(x, y) & 0xFFFFFF] = 1;
    return int(seen.size());
}

// Round trip of pictures that stress the writer: tiny palettes (minimum code size 2), a single colour (long
// strings), noise of 256 and of more colours (many dictionary resets, the quantiser's nearest-colour path).
int selfTest(const QString& dumpDir) {
    if (!dumpDir.isEmpty())
        QDir().mkpath(dumpDir);
    std::mt19937 random(12345);
    struct Case {
        const char* name;
        int w;
        int h;
        int colours; // 0: a smooth gradient of many colours
    };
    const Case cases[] = {{"one colour", 300, 200, 1}, {"two colours", 97, 61, 2},     {"three colours", 64, 64, 3},
                          {"16 colours", 128, 99, 16}, {"256 colours", 211, 173, 256}, {"gradient", 255, 255, 0},
                          {"1 x 1", 1, 1, 5}};
    int failures = 0;
    for (const Case& c : cases) {
        QImage img(c.w, c.h, QImage::Format_RGB32);
        std::vector<QRgb> colours;
        for (int i = 0; i < std::max(c.colours, 1); ++i)
            colours.push_back(qRgb(int(random() % 256), int(random() % 256), int(random() % 256)));
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                img.setPixel(x, y, c.colours ? colours[random() % colours.size()] : qRgb(x, y, (x * y) % 256));
        img.setPixel(0, 0, KeyColour);

        QImage expected;
        const QByteArray gif = encodeGif(img, &expected);
        const QImage decoded = QImage::fromData(gif, "GIF");
        const int diff = decoded.isNull() ? -1 : countDifferences(decoded, expected);
        std::printf("%-14s %4d x %-4d %5d colours -> %3d in file, %6lld bytes: %s\n", c.name, c.w, c.h,
                    countColours(img), countColours(expected), static_cast<long long>(gif.size()),
                    diff == 0 ? "ok" : "FAILED");
        failures += diff != 0;
        if (!dumpDir.isEmpty()) {
            const QString base =
                QDir(dumpDir).filePath(QString::fromLatin1(c.name).replace(QLatin1Char(' '), QLatin1Char('_')));
            QFile file(base + QLatin1String(".gif"));
            if (!file.open(QIODevice::WriteOnly) || file.write(gif) != gif.size() ||
                !expected.save(base + QLatin1String(".png"), "PNG"))
                ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

int writeFaces(const QString& outDir, const QString& referenceDir) {
    QDir().mkpath(outDir);
    if (!referenceDir.isEmpty())
        QDir().mkpath(referenceDir);

    int failures = 0;
    for (const Face& face : faces()) {
        const QImage drawn = render(face);
        const QString path = QDir(outDir).filePath(QString::fromLatin1(face.fileName));

        QImage held = drawn;
        bool saved = false;
        if (QByteArray(face.format) == "GIF") {
            const QByteArray gif = encodeGif(drawn, &held);
            QFile file(path);
            saved = file.open(QIODevice::WriteOnly) && file.write(gif) == gif.size();
        } else {
            saved = drawn.save(path, face.format);
        }
        const QImage reloaded(path);
        const int diff = reloaded.isNull() ? -1 : countDifferences(reloaded, held);
        if (!referenceDir.isEmpty())
            held.save(QDir(referenceDir).filePath(QString::fromLatin1(face.fileName) + ".png"), "PNG");

        const int holes = enclosedKeyPixels(held);
        const int pieces = facePieces(held);
        EyeKeys eyes[2];
        const bool eyesFit = chooseEyes(held, face, eyes);
        const bool ok =
            saved && diff == 0 && held.pixel(0, 0) == (KeyColour | 0xFF000000) && holes == 0 && pieces == 1 && eyesFit;
        failures += !ok;

        std::printf("; %s: %d x %d, %d colours, reloaded %s, enclosed key pixels %d, face pieces %d%s\n", face.fileName,
                    drawn.width(), drawn.height(), countColours(held), diff == 0 ? "identical" : "DIFFERENT", holes,
                    pieces, ok ? "" : "  <-- FAILED");
        for (int i = 0; i < 2; ++i)
            std::printf(";   eye white %d: %d x %d centred on (%d, %d)\n", i + 1, face.eyes[i].w, face.eyes[i].h,
                        face.eyes[i].cx, face.eyes[i].cy);
        if (!eyesFit) {
            std::printf(";   the irises do not fit into the eye whites\n");
            continue;
        }
        std::printf("Iris_Width=%d\n", face.irisWidth);
        for (int i = 0; i < 2; ++i) {
            const EyeKeys& k = eyes[i];
            std::printf("Eye%d_Center_X=%d\nEye%d_Center_Y=%d\nEye%d_Diameter_X=%d\nEye%d_Diameter_Y=%d\n"
                        "Iris%d_Diameter_X=%d\nIris%d_Diameter_Y=%d\n",
                        i + 1, k.centreX, i + 1, k.centreY, i + 1, k.eyeDiamX, i + 1, k.eyeDiamY, i + 1, k.irisDiamX,
                        i + 1, k.irisDiamY);
        }
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv); // image format plugins (the GIF reader) are found through it
    const QStringList args = app.arguments();
    if ((args.size() == 2 || args.size() == 3) && args[1] == QLatin1String("--selftest"))
        return selfTest(args.size() == 3 ? args[2] : QString());
    if (args.size() == 2 || args.size() == 3)
        return writeFaces(args[1], args.size() == 3 ? args[2] : QString());
    std::fprintf(stderr, "usage: facegen <output folder> [<reference folder>]\n       facegen --selftest [<folder>]\n");
    return 2;
}

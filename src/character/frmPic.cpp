// A character window.
#include "character/frmPic.h"

#include "character/ErrorPicture.h"
#include "character/Motion.h"
#include "character/Shape.h"
#include "character/WindowSystem.h"
#include "start/modStart.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPaintEvent>
#include <QRegion>
#include <QScreen>
#include <QWindow>

frmPic::frmPic()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint) {
    setWindowTitle(QStringLiteral("Character"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

frmPic::~frmPic() = default;

QString frmPic::PicturePath() const {
    QString name = QString::fromLocal8Bit(mPicFileName.data(), static_cast<qsizetype>(mPicFileName.size()));
#ifndef Q_OS_WIN
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return ProgramDirectory() + QLatin1Char('/') + name;
}

QImage frmPic::LoadPicture(const QString& path) {
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    // A header that claims a huge picture must not cost gigabytes before it fails.
    reader.setAllocationLimit(64);
    QImage image = reader.read();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

void frmPic::MakeWindowRegion() {
    QImage picture = LoadPicture(PicturePath());
    if (picture.isNull())
        picture = MakeErrorPicture(QString::fromLocal8Bit(mPicFileName.data(), qsizetype(mPicFileName.size())));
    mPicture = picture;
    mSurface = picture.copy();

    setFixedSize(mPicture.size());
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(mPicture.constBits());
    const std::ptrdiff_t stride = mPicture.bytesPerLine() / 4;
    QRegion region;
    const std::vector<PixelRect> rects = OpaqueRegion(pixels, mPicture.width(), mPicture.height(), stride);
    QList<QRect> qrects;
    qrects.reserve(static_cast<qsizetype>(rects.size()));
    for (const PixelRect& r : rects)
        qrects.append(QRect(r.x, r.y, r.width, r.height));
    region.setRects(qrects.constData(), static_cast<int>(qrects.size()));
    // The outline is cut in both modes: on X11 a translucent window would otherwise still take
    // clicks on its transparent pixels.
    setMask(region);
    if (IsWin2000OrLater)
        SetWindowStyle();

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenPx = screen ? screen->geometry().size() : QSize(1024, 768);
    const int x = ClampStartPosition(mStartPosX, mPicture.width() * double(TwipsPerPixelX),
                                     screenPx.width() * double(TwipsPerPixelX), TwipsPerPixelX);
    const int y = ClampStartPosition(mStartPosY, mPicture.height() * double(TwipsPerPixelY),
                                     screenPx.height() * double(TwipsPerPixelY), TwipsPerPixelY);
    move(x, y);
    update();
    SetCuriouSpeed();
}

void frmPic::SetCuriouSpeed() {
    mFactorX = FollowDivisor(mSpeedX);
    mFactorY = FollowDivisor(mSpeedY);
}

void frmPic::SetWindowStyle() {
    if (!IsWin2000OrLater)
        return;
    setWindowOpacity((255 - (mAlpha & 255)) / 255.0);
    // Set on the native window, so a visible character is not hidden and re-created.
    if (QWindow* w = windowHandle())
        w->setFlag(Qt::WindowTransparentForInput, mNoClick);
    else
        setWindowFlag(Qt::WindowTransparentForInput, mNoClick);
}

void frmPic::RefreshImage() {
    mSurface = mPicture.copy();
    update();
}

TwipsRect frmPic::GeometryTwips() const {
    const QRect g = geometry();
    return {g.x() * double(TwipsPerPixelX), g.y() * double(TwipsPerPixelY), g.width() * double(TwipsPerPixelX),
            g.height() * double(TwipsPerPixelY)};
}

bool frmPic::IsShown() const { return isVisible(); }

bool frmPic::IsMinimised() const { return isMinimized(); }

void frmPic::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect(), mSurface, event->rect());
}

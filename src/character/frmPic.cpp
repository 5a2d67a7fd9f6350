// A character window.
#include "character/frmPic.h"

#include "character/CharacterClock.h"
#include "character/ErrorPicture.h"
#include "character/KeyCommands.h"
#include "character/Motion.h"
#include "character/PictureFile.h"
#include "character/Shape.h"
#include "character/WindowSystem.h"
#include "settings/Rounding.h"
#include "widgets/KeyEvents.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPaintEvent>
#include <QRegion>
#include <QScreen>
#include <QWindow>

frmPic::frmPic()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint) {
    setWindowTitle(QStringLiteral("Character"));
    // A character starts behind the other windows; it joins the topmost band once the user
    // activates it, so showing it must not activate it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // With a compositor the window shows the soft edges of a picture with an alpha channel. The
    // choice must be made before the native window exists, which picks its visual by it.
    if (IsWin2000OrLater)
        setAttribute(Qt::WA_TranslucentBackground);
    CharacterClock::Instance().Add(this);
}

frmPic::~frmPic() { CharacterClock::Instance().Remove(this); }

QString frmPic::PicturePath() const {
    QString name = QString::fromLocal8Bit(mPicFileName.data(), static_cast<qsizetype>(mPicFileName.size()));
#ifndef Q_OS_WIN
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return QString::fromStdString(ProgramFolder) + QLatin1Char('/') + name;
}

QImage frmPic::LoadPicture(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kPictureFileByteLimit)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Read once and decode those very bytes, so the file checked is the file shown.
    const QByteArray bytes = file.readAll();
    if (!PictureDataComplete(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // The content decides the format, so a picture saved under the wrong extension still loads.
    QImageReader reader(&buffer);
    // A header that claims a huge picture must not cost gigabytes before it fails. Qt counts
    // 32 bits a pixel whatever the format, so the conversion below stays within it too.
    reader.setAllocationLimit(64);
    QImage image = reader.read();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return {};
    // The file's own transparency (a GIF's transparent index, a PNG's alpha) is kept for the outline.
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

QImage frmPic::SurfaceOf(const QImage& picture) const {
    // Without a translucent window the outline alone cuts the face: the pixels inside it show
    // their colour at full strength.
    return testAttribute(Qt::WA_TranslucentBackground) ? picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                                       : picture.convertToFormat(QImage::Format_RGB32);
}

namespace {

std::vector<PixelRect> Outline(const QImage& picture, bool* tooComplex) {
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(picture.constBits());
    return OpaqueRegion(pixels, picture.width(), picture.height(), picture.bytesPerLine() / 4, tooComplex);
}

} // namespace

void frmPic::MakeWindowRegion() {
    QImage picture = LoadPicture(PicturePath());
    bool tooComplex = false;
    std::vector<PixelRect> rects;
    if (!picture.isNull())
        rects = Outline(picture, &tooComplex);
    // A picture whose outline the window system cannot take is as unusable as a damaged one, and so
    // is one with no face pixel left: an empty outline would leave the window uncut.
    if (picture.isNull() || tooComplex || rects.empty()) {
        picture = MakeErrorPicture(QString::fromLocal8Bit(mPicFileName.data(), qsizetype(mPicFileName.size())));
        rects = Outline(picture, nullptr);
    }
    mPicture = picture;
    mBare = SurfaceOf(picture);
    mSurface = mBare.copy();
    mLastDrawn.reset();

    setFixedSize(mPicture.size());
    QRegion region;
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
    window_system::SetClickThrough(this, mNoClick);
    setWindowOpacity((255 - (mAlpha & 255)) / 255.0);
}

void frmPic::RefreshImage() {
    mSurface = mBare.copy();
    mLastEye = {};
    mLastDrawn.reset();
    update();
    Timer1_Timer();
}

void frmPic::Unload() {
    CharacterClock::Instance().Remove(this);
    hide();
    deleteLater();
}

bool frmPic::Tick(QPoint pointer) { return mTimer1Enabled && Timer1_Timer(pointer); }

void frmPic::Timer1_Timer() { Timer1_Timer(QCursor::pos()); }

bool frmPic::Timer1_Timer(QPoint pointer) {
    const TargetPoint target =
        FindTarget(*this, CharacterWindows, pointer.x(), pointer.y(), TwipsPerPixelX, TwipsPerPixelY);

    MotionInput motion;
    motion.window = GeometryTwips();
    motion.target = target;
    motion.standsStill = mFixed == mMyIndex;
    motion.flee = mFlee;
    motion.dragging = mDragging;
    motion.minimised = isMinimized();
    motion.factorX = mFactorX;
    motion.factorY = mFactorY;
    motion.speedX = mSpeedX;
    motion.speedY = mSpeedY;
    motion.tppx = TwipsPerPixelX;
    motion.tppy = TwipsPerPixelY;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenPx = screen ? screen->geometry().size() : QSize(1024, 768);
    motion.screenWidth = screenPx.width() * double(TwipsPerPixelX);
    motion.screenHeight = screenPx.height() * double(TwipsPerPixelY);
    const MotionStep step = StepCharacter(motion);
    bool moved = false;
    if (step.moves) {
        const QPoint to(TwipsToPixel(step.left, TwipsPerPixelX), TwipsToPixel(step.top, TwipsPerPixelY));
        moved = to != pos();
        if (moved)
            move(to);
    }

    GazeInput gaze;
    gaze.eyes = EyesOf(*this);
    gaze.irisWidth = mIrisWidth;
    gaze.target = target;
    const TwipsRect now = GeometryTwips();
    gaze.left = now.left;
    gaze.top = now.top;
    gaze.windowWidthPx = mSurface.width();
    gaze.windowHeightPx = mSurface.height();
    gaze.tppx = TwipsPerPixelX;
    gaze.tppy = TwipsPerPixelY;
    gaze.last = mLastEye;
    const GazeFrame frame = ComputeGaze(gaze);
    if (frame.repaint)
        DrawEyes(frame);
    return moved;
}

namespace {

QColor FromRgbValue(std::int32_t c) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

// An iris's outline and pupil drawn into a box whose right and bottom edges are exclusive.
void DrawIris(QPainter& p, const QRectF& box, int pen, std::int32_t iris, std::int32_t pupil) {
    QPen outline(FromRgbValue(iris), pen);
    outline.setJoinStyle(Qt::MiterJoin);
    p.setPen(outline);
    p.setBrush(FromRgbValue(pupil));
    p.drawEllipse(box);
}

} // namespace

void frmPic::DrawEyes(const GazeFrame& frame) {
    mLastEye = frame.offsets;
    if (mSurface.isNull())
        return;
    // A small change of gaze often puts the irises on the same pixels: then the surface would
    // come out the same, and copying it to the screen is the costly part.
    const auto drawn = std::make_pair(frame.iris, frame.eraseRect);
    if (mLastDrawn == drawn)
        return;
    mLastDrawn = drawn;
    QPainter p(&mSurface);
    // Both eyes are restored before either iris is drawn, so overlapping eyes keep both irises.
    // Copied, not drawn over: a half transparent pixel would keep some of the old iris.
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (std::size_t i = 0; i < 2; ++i) {
        if (!frame.erase[i])
            continue;
        const PixelRect& r = frame.eraseRect[i];
        p.drawImage(QPoint(r.x, r.y), mBare, QRect(r.x, r.y, r.width, r.height));
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const int pen = IrisPen();
    for (std::size_t i = 0; i < 2; ++i) {
        const EllipseBox& box = frame.iris[i];
        const double width = box.right - box.left, height = box.bottom - box.top;
        const QRectF outer(box.left - pen, box.top - pen, width + 2.0 * pen, height + 2.0 * pen);
        if (width < 1 || height < 1 || !outer.intersects(QRectF(mSurface.rect())))
            continue;
        // An iris whose picture would be larger than the face (only a hostile settings file makes
        // one) is drawn where it shows instead.
        if (width + 2.0 * pen > mSurface.width() || height + 2.0 * pen > mSurface.height()) {
            const QRectF inside(box.left + 0.5, box.top + 0.5, width - 1, height - 1);
            DrawIris(p, inside, pen, mIrisColor, mPupilColor);
            continue;
        }
        p.drawImage(QPointF(box.left - pen, box.top - pen), IrisPicture(i, int(width), int(height)));
    }
    p.end();
    for (std::size_t i = 0; i < 2; ++i)
        if (frame.erase[i]) {
            const PixelRect& r = frame.eraseRect[i];
            update(QRect(r.x, r.y, r.width, r.height));
        }
}

const QImage& frmPic::IrisPicture(std::size_t eye, int width, int height) {
    IrisCache& cache = mIris[eye];
    const int pen = IrisPen();
    if (cache.width == width && cache.height == height && cache.pen == pen && cache.iris == mIrisColor &&
        cache.pupil == mPupilColor)
        return cache.picture;
    cache = {width, height, pen, mIrisColor, mPupilColor, {}};
    // Room for the outline, which lies half outside the box.
    cache.picture = QImage(width + 2 * pen, height + 2 * pen, QImage::Format_ARGB32_Premultiplied);
    cache.picture.fill(Qt::transparent);
    QPainter p(&cache.picture);
    // Right and bottom edges are exclusive: the outline runs through the centres of the first and the
    // last pixel of the box.
    DrawIris(p, QRectF(pen + 0.5, pen + 0.5, width - 1, height - 1), pen, mIrisColor, mPupilColor);
    return cache.picture;
}

void frmPic::mousePressEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::LeftButton) {
        mDragging = true;
        mDragX = NearestInt(event->position().x());
        mDragY = NearestInt(event->position().y());
    }
}

void frmPic::mouseMoveEvent(QMouseEvent* event) {
    if (mDragging)
        move(pos() + QPoint(NearestInt(event->position().x()) - mDragX, NearestInt(event->position().y()) - mDragY));
}

void frmPic::mouseReleaseEvent(QMouseEvent*) {
    if (mDragging && mFlee) {
        // A fleeing character is never left off the screen.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QSize s = screen ? screen->geometry().size() : QSize(1024, 768);
        QPoint p = pos();
        if (p.x() < 0)
            p.setX(0);
        if (s.width() - width() < p.x())
            p.setX(s.width() - width());
        if (p.y() < 0)
            p.setY(0);
        if (s.height() - height() < p.y())
            p.setY(s.height() - height());
        move(p);
    }
    mDragging = false;
}

void frmPic::mouseDoubleClickEvent(QMouseEvent*) { GetGlobal().ShowControlPanel(); }

void frmPic::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        window_system::PutInTopmostBand(this);
    if (event->type() == QEvent::WindowStateChange)
        CharacterClock::Instance().Wake();
    QWidget::changeEvent(event);
}

void frmPic::moveEvent(QMoveEvent*) { CharacterClock::Instance().Wake(); }

void frmPic::resizeEvent(QResizeEvent*) { CharacterClock::Instance().Wake(); }

void frmPic::showEvent(QShowEvent*) { CharacterClock::Instance().Wake(); }

void frmPic::setVisible(bool visible) {
    // Before the window manager first sees it. This makes the native window, so it is done here
    // and not when the window is made: the first face need not wait for the others'.
    if (visible && !mNativeWindow)
        window_system::KeepOutOfTaskbar(this);
    QWidget::setVisible(visible);
    // A window whose band changed since Qt made its native window is shown in a new native window,
    // which knows nothing of what was asked of the old one.
    const WId native = visible && windowHandle() ? windowHandle()->winId() : 0;
    if (!native || native == mNativeWindow)
        return;
    if (mNativeWindow)
        window_system::KeepOutOfTaskbar(this);
    mNativeWindow = native;
    window_system::SkipOwnMoveConfirmations(this);
}

void frmPic::hideEvent(QHideEvent*) { CharacterClock::Instance().Wake(); }


void frmPic::keyPressEvent(QKeyEvent* event) {
    switch (CharacterKeyCommand(VirtualKeyOf(*event), ShiftStateOf(*event))) {
    case CharacterCommand::EndProgram:
        GetGlobal().EndProgram();
        return;
    case CharacterCommand::ToggleFlee:
        mFlee = !mFlee;
        break;
    case CharacterCommand::ShowHelp:
        GetGlobal().ShowHelp(0);
        break;
    case CharacterCommand::ToggleMinimised:
        if (isMinimized())
            showNormal();
        else
            showMinimized();
        break;
    case CharacterCommand::None:
        break;
    }
    mFixed = ClampTargetAfterKey(mFixed, CharacterCount());
}

void frmPic::closeEvent(QCloseEvent* event) {
    // The window manager's close (its Alt+F4) ends the program like the program's own keys.
    event->ignore();
    GetGlobal().EndProgram();
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
    // The surface replaces what the window held: its alpha is the window's own.
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(event->rect(), mSurface, event->rect());
}

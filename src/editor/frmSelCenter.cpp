// The eye-centre picker.
#include "editor/frmSelCenter.h"

#include "character/frmPic.h"
#include "editor/ButtonPictures.h"
#include "editor/ctlShape.h"
#include "help/frmHelp.h"
#include "settings/Rounding.h"
#include "widgets/FitCaptions.h"
#include "widgets/GradShape.h"
#include "widgets/GradientColors.h"
#include "widgets/KeyEvents.h"
#include "widgets/SystemColors.h"
#include "widgets/TwipsGeometry.h"
#include "widgets/VirtualKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <memory>

namespace {

frmSelCenter* gPicker = nullptr;

// The markers' brightness step; it goes on where it stopped when the picker opens again.
int gPulse = 0;

// Twips and pixels; the usual 96 dots per inch before the screen was read.
double Tppx() {
    return TwipsPerPixelX > 0 ? double(TwipsPerPixelX) : 15.0;
}
double Tppy() {
    return TwipsPerPixelY > 0 ? double(TwipsPerPixelY) : 15.0;
}
double PixelsToTwipsX(double pixels) {
    return pixels * Tppx();
}
double PixelsToTwipsY(double pixels) {
    return pixels * Tppy();
}
int TwipsToPixelsX(double twips) {
    return NearestInt(twips / Tppx());
}
int TwipsToPixelsY(double twips) {
    return NearestInt(twips / Tppy());
}

// The design's colours of the two markers and the frames around their labels.
constexpr std::int32_t kRed = 255;
constexpr std::int32_t kBlue = 255 * 65536;

} // namespace

frmSelCenter::frmSelCenter(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    if (!gPicker)
        gPicker = this;
    setWindowTitle(QStringLiteral("Lookabout  -  Select eye centers"));
    // Arial at 8 points, or the sans-serif that stands in for it; a caption too wide for its place in it
    // is narrowed or made smaller once the controls stand (FitCaptions).
    QFont plain(QStringLiteral("Arial"), 8);
    setFont(plain);
    resize(TwipsToRect(0, 0, 6870, 5130).size());

    picImg = new QWidget(this);
    picImg->setMouseTracking(true);
    picImg->setAttribute(Qt::WA_OpaquePaintEvent);
    SetTwipsGeometry(*picImg, 0, 0, 6855, 4455);
    picLens = new QWidget(picImg);
    picLens->setAttribute(Qt::WA_OpaquePaintEvent);
    // The lens stands beside the pointer; a quick move must not let it catch the mouse.
    picLens->setAttribute(Qt::WA_TransparentForMouseEvents);
    picLens->setGeometry(QRect(TwipsToRect(2760, 2760, 0, 0).topLeft(), QSize(kLensSize, kLensSize)));
    mMarkerColor = {kRed, kBlue};

    GradShp = new GradShape(this);
    SetTwipsGeometry(*GradShp, 0, 4440, 6855, 735);
    for (std::size_t i = 0; i < 2; ++i) {
        shpBorder[i] = new ctlShape(this);
        shpBorder[i]->SetBorderColor(i == 0 ? kRed : kBlue);
        SetTwipsGeometry(*shpBorder[i], 120, i == 0 ? 4560 : 4800, 1935, 255);
        lblEye[i] = new QLabel(this);
        lblEye[i]->move(TwipsToRect(120, i == 0 ? 4560 : 4800, 0, 0).topLeft());
        QPalette colours = lblEye[i]->palette();
        colours.setColor(QPalette::WindowText, i == 0 ? QColor(128, 0, 0) : QColor(0, 0, 128));
        lblEye[i]->setPalette(colours);
    }
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setToolTip(QStringLiteral("Discard all changes"));
    cmdCancel->setIcon(CancelButtonPicture());
    SetTwipsGeometry(*cmdCancel, 4800, 4560, 800, 495);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    QFont bold = plain;
    bold.setBold(true);
    cmdOK->setFont(bold);
    cmdOK->setIcon(OkButtonPicture());
    SetTwipsGeometry(*cmdOK, 6000, 4560, 800, 495);
    for (QPushButton* b : {cmdCancel, cmdOK}) {
        b->setAutoDefault(false);
        b->setIconSize(QSize(kButtonPictureSize, kButtonPictureSize));
    }
    connect(cmdOK, &QPushButton::clicked, this, &frmSelCenter::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelCenter::cmdCancel_Click);

    Timer.setInterval(kTimerMs);
    connect(&Timer, &QTimer::timeout, this, &frmSelCenter::Timer_Timer);

    // The window sees every key before its controls (F1 anywhere); the picture box and the lens
    // are painted and handled here.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    FitCaptions(*this);
    Timer.start();
}

frmSelCenter::~frmSelCenter() {
    if (gPicker == this)
        gPicker = nullptr;
}

CharacterWindowBase* frmSelCenter::Character() const {
    if (!mCharacter)
        return nullptr;
    return std::find(CharacterWindows.begin(), CharacterWindows.end(), mCharacter) != CharacterWindows.end()
               ? mCharacter
               : nullptr;
}

bool frmSelCenter::FillForm(int FensterIndex) {
    if (FensterIndex < 1 || FensterIndex >= static_cast<int>(CharacterWindows.size()))
        return false;
    CharacterWindowBase* character = CharacterWindows[static_cast<std::size_t>(FensterIndex)];
    if (!character)
        return false;
    mCharacter = character;
    mSaved = {character->mEye1X, character->mEye1Y, character->mEye2X, character->mEye2Y};
    const auto* pic = dynamic_cast<const frmPic*>(character);
    mPicture = pic ? pic->Picture() : QImage();
    mClosingByCode = false;
    UpdateMarkers();
    Form_Resize();
    picImg->update();
    return true;
}

void frmSelCenter::ShowForm(int FensterIndex) {
    if (!FillForm(FensterIndex))
        return;
    CentreOnScreen(*this);
    setWindowModality(Qt::ApplicationModal);
    exec();
}

PixelPoint frmSelCenter::MarkerPosition(int Index) const {
    const CharacterWindowBase* character = Character();
    if (!character)
        return {};
    return Index == 0 ? MarkerTopLeft(character->mEye1X, character->mEye1Y)
                      : MarkerTopLeft(character->mEye2X, character->mEye2Y);
}

void frmSelCenter::UpdateMarkers() {
    const CharacterWindowBase* character = Character();
    if (!character)
        return;
    lblEye[0]->setText(QString::fromStdString(EyeLabelText(1, character->mEye1X, character->mEye1Y)));
    lblEye[1]->setText(QString::fromStdString(EyeLabelText(2, character->mEye2X, character->mEye2Y)));
    for (QLabel* label : lblEye)
        label->adjustSize();
    picImg->update();
    FrameLabels();
}

void frmSelCenter::FrameLabels() {
    for (std::size_t i = 0; i < 2; ++i) {
        const QRect g = lblEye[i]->geometry();
        const TwipsRect label{PixelsToTwipsX(g.x()), PixelsToTwipsY(g.y()), PixelsToTwipsX(g.width()),
                              PixelsToTwipsY(g.height())};
        const TwipsRect frame = LabelFrame(label, TwipsPerPixelX, TwipsPerPixelY);
        SetTwipsGeometry(*shpBorder[i], frame.left, frame.top, frame.width, frame.height);
    }
}

void frmSelCenter::SetEyeCenter(int eye, int x, int y) {
    CharacterWindowBase* character = Character();
    if (!character)
        return;
    if (eye == 1) {
        character->mEye1X = x;
        character->mEye1Y = y;
    } else {
        character->mEye2X = x;
        character->mEye2Y = y;
    }
    GetGlobal().EyeCentrePicked(character->mMyIndex);
    UpdateMarkers();
}

void frmSelCenter::picImg_MouseDown(Qt::MouseButtons buttons, QPointF at) {
    if (buttons == Qt::LeftButton)
        SetEyeCenter(1, NearestInt(at.x()), NearestInt(at.y()));
    else if (buttons == Qt::RightButton)
        SetEyeCenter(2, NearestInt(at.x()), NearestInt(at.y()));
}

void frmSelCenter::picImg_MouseMove(Qt::MouseButtons buttons, QPointF at) {
    picImg_MouseDown(buttons, at);
    picLens->move(NearestInt(at.x() + kLensOffset), NearestInt(at.y() + kLensOffset));
    mMouseX = NearestInt(at.x());
    mMouseY = NearestInt(at.y());
    DrawLens();
}

LensRect frmSelCenter::LensSourceRect() const {
    const int inner = kLensSize - 2 * kLensBorder;
    return LensSource(mMouseX, mMouseY, inner, inner);
}

void frmSelCenter::DrawLens() {
    picLens->update();
}

void frmSelCenter::Timer_Timer() {
    gPulse = NextPulse(gPulse);
    mMarkerColor = {MarkerColour(1, gPulse), MarkerColour(2, gPulse)};
    picImg->update();
    DrawLens();
}

QImage frmSelCenter::PictureBoxImage(const LensRect& area) const {
    QImage image(std::max(area.width, 0), std::max(area.height, 0), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    painter.translate(-area.left, -area.top);
    painter.fillRect(QRect(area.left, area.top, area.width, area.height), ToQColor(ColorButtonFace, palette()));
    PaintPictureBox(painter);
    return image;
}

void frmSelCenter::PaintPictureBox(QPainter& painter) const {
    if (!mPicture.isNull())
        painter.drawImage(QPoint(0, 0), mPicture);
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        const PixelPoint at = MarkerPosition(i);
        painter.setPen(RgbValueColor(mMarkerColor[static_cast<std::size_t>(i)]));
        // A circle of 5 x 5 pixels whose outline runs through the outermost pixels.
        painter.drawEllipse(QRectF(at.x + 0.5, at.y + 0.5, 4, 4));
    }
}

void frmSelCenter::PaintLens(QPainter& painter) const {
    const int inner = kLensSize - 2 * kLensBorder;
    const QRect view(kLensBorder, kLensBorder, inner, inner);
    painter.fillRect(picLens->rect(), palette().color(QPalette::Base));
    const QImage source = PictureBoxImage(LensSourceRect());
    if (!source.isNull())
        painter.drawImage(view, source); // no smoothing: each picture pixel becomes a block
    // A sunken border, so the enlarged view stands apart from the picture around it.
    const int n = kLensSize - 1;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, 0, n, 0);
    painter.drawLine(0, 0, 0, n);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(1, 1, n - 1, 1);
    painter.drawLine(1, 1, 1, n - 1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, n, n, n);
    painter.drawLine(n, 0, n, n);
    painter.setPen(palette().color(QPalette::Midlight));
    painter.drawLine(1, n - 1, n - 1, n - 1);
    painter.drawLine(n - 1, 1, n - 1, n - 1);
}

void frmSelCenter::Form_Resize() {
    PickerLayoutInput in;
    in.innerWidth = PixelsToTwipsX(width());
    in.innerHeight = PixelsToTwipsY(height());
    in.okWidth = PixelsToTwipsX(cmdOK->width());
    in.okHeight = PixelsToTwipsY(cmdOK->height());
    in.cancelWidth = PixelsToTwipsX(cmdCancel->width());
    in.eye2LabelHeight = PixelsToTwipsY(lblEye[1]->height());
    in.pictureHeightNow = PixelsToTwipsY(picImg->height());
    const PickerLayout layout = LayOutPicker(in);

    cmdOK->move(TwipsToPixelsX(layout.ok.left), TwipsToPixelsY(layout.ok.top));
    cmdCancel->move(TwipsToPixelsX(layout.cancel.left), TwipsToPixelsY(layout.cancel.top));
    if (layout.picture)
        SetTwipsGeometry(*picImg, layout.picture->left, layout.picture->top, layout.picture->width,
                         layout.picture->height);
    GradShp->setGeometry(GradShp->x(), TwipsToPixelsY(layout.gradientTop), TwipsToPixelsX(layout.gradientWidth),
                         GradShp->height());
    lblEye[0]->move(lblEye[0]->x(), TwipsToPixelsY(layout.eye1LabelTop));
    lblEye[1]->move(lblEye[1]->x(), TwipsToPixelsY(layout.eye2LabelTop));
    FrameLabels();
}

void frmSelCenter::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmSelCenter::RestoreCenters() {
    CharacterWindowBase* character = Character();
    if (!character)
        return;
    const bool changed = character->mEye1X != mSaved[0] || character->mEye1Y != mSaved[1] ||
                         character->mEye2X != mSaved[2] || character->mEye2Y != mSaved[3];
    character->mEye1X = mSaved[0];
    character->mEye1Y = mSaved[1];
    character->mEye2X = mSaved[2];
    character->mEye2Y = mSaved[3];
    // The face still shows the irises at the discarded centres; have it repainted.
    if (changed)
        GetGlobal().EyeCentrePicked(character->mMyIndex);
}

void frmSelCenter::cmdOK_Click() {
    mClosingByCode = true;
    accept();
}

void frmSelCenter::cmdCancel_Click() {
    RestoreCenters();
    mClosingByCode = true;
    QDialog::reject();
}

void frmSelCenter::reject() {
    if (!mClosingByCode)
        RestoreCenters();
    mClosingByCode = true;
    QDialog::reject();
}

bool frmSelCenter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && VirtualKeyOf(*static_cast<QKeyEvent*>(event)) == kKeyF1) {
        ShowHelpModal(1);
        return true;
    }
    if (watched == picImg) {
        switch (event->type()) {
        case QEvent::Paint: {
            QPainter painter(picImg);
            painter.fillRect(picImg->rect(), ToQColor(ColorButtonFace, palette()));
            PaintPictureBox(painter);
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            picImg_MouseDown(mouse->buttons(), mouse->position());
            return true;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            picImg_MouseMove(mouse->buttons(), mouse->position());
            return true;
        }
        default:
            break;
        }
    } else if (watched == picLens && event->type() == QEvent::Paint) {
        QPainter painter(picLens);
        PaintLens(painter);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmSelCenter::keyPressEvent(QKeyEvent* event) {
    // F1 is the only key of the window; Escape and Enter do not close it as in other dialogs.
    if (VirtualKeyOf(*event) == kKeyF1)
        ShowHelpModal(1);
}

frmSelCenter* EyeCentrePicker() {
    return gPicker;
}

void ShowEyeCentrePicker(int FensterIndex, QWidget* parent) {
    if (gPicker) {
        if (gPicker->isVisible()) {
            gPicker->raise();
            gPicker->activateWindow();
            return;
        }
        delete gPicker;
    }
    std::unique_ptr<frmSelCenter> picker(new frmSelCenter(parent));
    picker->ShowForm(FensterIndex);
}

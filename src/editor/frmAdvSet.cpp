// The character editor.
#include "editor/frmAdvSet.h"

#include "character/frmPic.h"
#include "editor/ButtonPictures.h"
#include "editor/ctlShape.h"
#include "editor/frmSelCenter.h"
#include "help/frmHelp.h"
#include "settings/Rounding.h"
#include "widgets/FitCaptions.h"
#include "widgets/GradShape.h"
#include "widgets/KeyEvents.h"
#include "widgets/TwipsGeometry.h"
#include "widgets/VirtualKeys.h"
#include "widgets/ctlSlider.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QGroupBox>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <memory>

namespace {

frmAdvSet* gEditor = nullptr;

// Record texts are held in the system's 8-bit encoding, as the character window reads them.
QString FromRecord(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToRecord(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

// A pasted text may hold line breaks or NULs, which the file cannot keep in a name: the live edit
// and OK store the same name, with blanks in their place.
std::string NameOfField(QString text) {
    for (const QChar c : {QChar(u'\r'), QChar(u'\n'), QChar(0)})
        text.replace(c, QLatin1Char(' '));
    return ToRecord(text);
}

// The diameter sliders of one eye frame: caption, tooltip per element, the record field per
// element, design value and place in the frame.
struct DiameterSlider {
    const char* caption;
    const char* tip[2];
    std::int32_t CharacterRecord::*field[2];
    int design;
    double left, top;
};

constexpr const char* kEyeXTip = "Horizontal diameter of the eye (pixels)";
constexpr const char* kEyeYTip = "Vertical diameter of the eye (pixels)";
constexpr const char* kIrisXTip = "Horizontal diameter of the iris (pixels)";
constexpr const char* kIrisYTip = "Vertical diameter of the iris (pixels)";

const DiameterSlider kEyeDiamX{
    "Eye size X", {kEyeXTip, kEyeXTip}, {&CharacterRecord::mEye1DiamX, &CharacterRecord::mEye2DiamX}, 10, 75, 300};
const DiameterSlider kEyeDiamY{
    "Eye size Y", {kEyeYTip, kEyeYTip}, {&CharacterRecord::mEye1DiamY, &CharacterRecord::mEye2DiamY}, 20, 75, 660};
// Element 0 of the horizontal iris slider carries no tooltip, as designed.
const DiameterSlider kIrisDiamX{
    "Iris size X", {"", kIrisXTip}, {&CharacterRecord::mIris1DiamX, &CharacterRecord::mIris2DiamX}, 10, 1710, 300};
const DiameterSlider kIrisDiamY{"Iris size Y",
                                {kIrisYTip, kIrisYTip},
                                {&CharacterRecord::mIris1DiamY, &CharacterRecord::mIris2DiamY},
                                20,
                                1710,
                                660};

// Twips to pixels; the usual 96 dots per inch before the screen was read.
int TwipsToPixelsX(double twips) {
    return NearestInt(twips / (TwipsPerPixelX > 0 ? double(TwipsPerPixelX) : 15.0));
}
int TwipsToPixelsY(double twips) {
    return NearestInt(twips / (TwipsPerPixelY > 0 ? double(TwipsPerPixelY) : 15.0));
}

constexpr double kSliderWidth = 1575, kSliderHeight = 285;

QImage LoadPreview(const QString& path) {
    QImageReader reader(path);
    // A header that claims a huge picture must not cost gigabytes before it fails.
    reader.setAllocationLimit(64);
    return reader.read();
}

} // namespace

frmAdvSet::frmAdvSet(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    if (!gEditor)
        gEditor = this;
    setWindowTitle(QStringLiteral("Lookabout  -  Advanced settings"));
    // Arial at 8 points, or the sans-serif that stands in for it; a caption too wide for its place in it
    // is narrowed or made smaller once the controls stand (FitCaptions).
    QFont plain(QStringLiteral("Arial"), 8);
    setFont(plain);
    setFixedSize(TwipsToRect(0, 0, 9375, 5415).size());

    tmrRefresh.setInterval(kRefreshDelayMs);
    // Never early: the repaint comes a full 300 ms after the last change.
    tmrRefresh.setTimerType(Qt::PreciseTimer);
    connect(&tmrRefresh, &QTimer::timeout, this, &frmAdvSet::tmrRefresh_Timer);

    // The picker moved an eye of the face being edited: repaint it once the moves pause.
    mCentrePicked = GetGlobal().OnEyeCentrePicked([this](int FensterIndex) {
        if (const CharacterWindowBase* character = Character(); character && character->mMyIndex == FensterIndex)
            NeedRefresh();
    });

    BuildControls();
    FitCaptions(*this);
    // The window sees every key before its controls do (F1 anywhere, the number filter).
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    Form_Load();
}

frmAdvSet::~frmAdvSet() {
    if (mDragging)
        cmdCurPos_MouseUp();
    if (gEditor == this)
        gEditor = nullptr;
}

void frmAdvSet::BuildControls() {
    QFont plain = font();
    plain.setBold(false);
    QFont bold = plain;
    bold.setBold(true);

    const auto place = [](QWidget* w, double l, double t, double wd, double h) { SetTwipsGeometry(*w, l, t, wd, h); };
    const auto frame = [&](QWidget* parent, const QString& caption, bool isBold, double l, double t, double w, double h,
                           const QString& tip) {
        auto* box = new QGroupBox(caption, parent);
        box->setFont(isBold ? bold : plain);
        place(box, l, t, w, h);
        box->setToolTip(tip);
        return box;
    };
    const auto slider = [&](QWidget* parent, const QString& caption, const QString& tip, int min, int max, int value,
                            double l, double t, double w) {
        auto* s = new ctlSlider(parent);
        s->setFont(plain);
        s->SetMin(min);
        s->SetMax(max);
        s->SetValue(value);
        s->SetCaption(caption);
        s->SetMinText({});
        s->SetMaxText({});
        place(s, l, t, w, kSliderHeight);
        s->setProperty("tip", tip);
        return s;
    };
    const auto button = [&](QWidget* parent, const QString& caption, const QString& tip, double l, double t, double w,
                            double h) {
        auto* b = new QPushButton(caption, parent);
        b->setFont(plain);
        b->setToolTip(tip);
        b->setAutoDefault(false);
        place(b, l, t, w, h);
        return b;
    };

    GradShape2 = new GradShape(this);
    GradShape2->SetColorBottomRight(ColorButtonFace);
    place(GradShape2, 0, 0, 9375, 120);
    GradShape1 = new GradShape(this);
    GradShape1->SetColorTopLeft(ColorButtonFace);
    place(GradShape1, 0, 4620, 9375, 195);
    GradShape3 = new GradShape(this);
    GradShape3->SetColorTopLeft(ColorButtonShadow);
    GradShape3->SetColorBottomRight(ColorButtonFace);
    place(GradShape3, 0, 4800, 9375, 615);

    lblTitle = new QLabel(QStringLiteral("Name of the character"), this);
    lblTitle->setFont(bold);
    place(lblTitle, 120, 165, 1935, 255);
    txtTitle = new QLineEdit(this);
    txtTitle->setFont(plain);
    place(txtTitle, 2160, 120, 4935, 285);

    frFile = frame(this, QStringLiteral("Image file"), true, 120, 480, 6975, 2895, {});
    Files = new QListWidget(frFile);
    Files->setFont(plain);
    Files->setSelectionMode(QAbstractItemView::SingleSelection);
    Files->setToolTip(QStringLiteral("Only BMP or GIF allowed"));
    place(Files, 120, 240, 4110, 2040);
    picPre = new QFrame(frFile);
    picPre->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    picPre->setToolTip(QStringLiteral("Image preview"));
    place(picPre, 4320, 240, 2535, 2535);
    mPreviewArea = new QWidget(picPre);
    mPreviewArea->setGeometry(picPre->contentsRect());
    mPreviewArea->setToolTip(QStringLiteral("Image preview"));
    imgPre = new QLabel(mPreviewArea);
    imgPre->setToolTip(QStringLiteral("Image preview"));
    place(imgPre, 0, 0, 1575, 1095);
    cmdApply = button(frFile, QStringLiteral("Apply"), QStringLiteral("Assign the selected image to the character"),
                      120, 2400, 1695, 375);
    chkFit = new QCheckBox(QStringLiteral("Fit larger images"), frFile);
    chkFit->setFont(plain);
    chkFit->setToolTip(QStringLiteral("Downscaling of the image preview"));
    chkFit->setChecked(true);
    place(chkFit, 2760, 2550, 1455, 255);

    for (std::size_t i = 0; i < 2; ++i) {
        frEye1[i] = frame(this, i == 0 ? QStringLiteral("Eye 1") : QStringLiteral("Eye 2"), true, i == 0 ? 120 : 3720,
                          3480, 3375, 1095, {});
        const auto make = [&](const DiameterSlider& d) {
            return slider(frEye1[i], QString::fromLatin1(d.caption), QString::fromLatin1(d.tip[i]), 1, 100, d.design,
                          d.left, d.top, kSliderWidth);
        };
        sldEyeDiamX[i] = make(kEyeDiamX);
        sldEyeDiamY[i] = make(kEyeDiamY);
        sldIrisDiamX[i] = make(kIrisDiamX);
        sldIrisDiamY[i] = make(kIrisDiamY);
        const std::pair<ctlSlider*, const DiameterSlider*> diameters[] = {{sldEyeDiamX[i], &kEyeDiamX},
                                                                          {sldEyeDiamY[i], &kEyeDiamY},
                                                                          {sldIrisDiamX[i], &kIrisDiamX},
                                                                          {sldIrisDiamY[i], &kIrisDiamY}};
        for (const auto& [s, d] : diameters) {
            const auto field = d->field[i];
            connect(s, &ctlSlider::Change, this, [this, field](int NewValue) { DiameterChanged(field, NewValue); });
        }
    }

    fraBothEyes = frame(this, QStringLiteral("Both Eyes"), true, 7320, 120, 1935, 3255,
                        QStringLiteral("Settings that are applied to both eyes"));
    sldIrisWidth = slider(fraBothEyes, QStringLiteral("Iris width"), {}, 1, 100, 20, 105, 300, 1695);
    connect(sldIrisWidth, &ctlSlider::Change, this, &frmAdvSet::sldIrisWidth_Change);

    const QString rgbCaption[3] = {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    const QString rgbTip[3] = {QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue")};
    const int rgbDesign[3] = {127, 10, 50};
    frIris = frame(fraBothEyes, QStringLiteral("Iris"), false, 90, 720, 855, 1935, QStringLiteral("Color"));
    frPupil = frame(fraBothEyes, QStringLiteral("Pupil"), false, 990, 720, 855, 1935, QStringLiteral("Color"));
    for (int k = 0; k < 3; ++k) {
        const auto at = static_cast<std::size_t>(k);
        sldIrisRGB[at] = slider(frIris, rgbCaption[k], rgbTip[k], 0, 255, rgbDesign[k], 45, 300 + 360 * k, 735);
        connect(sldIrisRGB[at], &ctlSlider::Change, this, [this, k](int NewValue) { sldIrisRGB_Change(k, NewValue); });
        sldPupilRGB[at] = slider(frPupil, rgbCaption[k], rgbTip[k], 0, 255, rgbDesign[k], 45, 300 + 360 * k, 735);
        connect(sldPupilRGB[at], &ctlSlider::Change, this,
                [this, k](int NewValue) { sldPupilRGB_Change(k, NewValue); });
    }
    shpIrisColor = new ctlShape(frIris);
    place(shpIrisColor, 240, 1440, 375, 375);
    shpPupilColor = new ctlShape(frPupil);
    place(shpPupilColor, 240, 1440, 375, 375);
    cmdSelCenter = button(fraBothEyes, QStringLiteral("Select eye centers"),
                          QStringLiteral("Define where the eyes are located in the image"), 120, 2760, 1695, 375);

    fraStart = frame(this, QStringLiteral("Start position"), true, 7320, 3480, 1935, 1095,
                     QStringLiteral("Screen position of the character when the program starts"));
    lblStartX = new QLabel(QStringLiteral("X:"), fraStart);
    lblStartX->setFont(plain);
    lblStartX->setToolTip(QStringLiteral("Horizontal position"));
    place(lblStartX, 120, 285, 255, 195);
    txtStartX = new QLineEdit(fraStart);
    txtStartX->setFont(plain);
    txtStartX->setToolTip(QStringLiteral("Pixel"));
    place(txtStartX, 360, 240, 495, 285);
    lblStartY = new QLabel(QStringLiteral("Y:"), fraStart);
    lblStartY->setFont(plain);
    lblStartY->setToolTip(QStringLiteral("Vertical position"));
    place(lblStartY, 1080, 285, 255, 195);
    txtStartY = new QLineEdit(fraStart);
    txtStartY->setFont(plain);
    txtStartY->setToolTip(QStringLiteral("Pixel"));
    place(txtStartY, 1320, 240, 495, 285);
    cmdCurPos =
        button(fraStart, QStringLiteral("Start drag and..."),
               QStringLiteral("Drag and drop the character from here to a new start position"), 120, 600, 1695, 375);
    cmdCurPos->setProperty(kCaptionTexts, QStringList{cmdCurPos->text(), QStringLiteral("...drop at new pos.")});

    cmdHelp = button(this, QStringLiteral("Help"), QStringLiteral("Show help"), 120, 4800, 1935, 495);
    cmdHelp->setIcon(HelpButtonPicture());
    cmdCancel = button(this, QStringLiteral("Cancel"), QStringLiteral("Discard all changes"), 5160, 4800, 1935, 495);
    cmdCancel->setIcon(CancelButtonPicture());
    cmdOK = button(this, QStringLiteral("OK"), {}, 7320, 4800, 1935, 495);
    cmdOK->setFont(bold);
    cmdOK->setIcon(OkButtonPicture());
    for (QPushButton* b : {cmdHelp, cmdCancel, cmdOK})
        b->setIconSize(QSize(kButtonPictureSize, kButtonPictureSize));

    connect(txtTitle, &QLineEdit::textChanged, this, &frmAdvSet::txtTitle_Change);
    connect(txtStartX, &QLineEdit::textChanged, this,
            [this] { txtStart_Change(txtStartX, &CharacterRecord::mStartPosX); });
    connect(txtStartY, &QLineEdit::textChanged, this,
            [this] { txtStart_Change(txtStartY, &CharacterRecord::mStartPosY); });
    connect(Files, &QListWidget::currentRowChanged, this, &frmAdvSet::UpdatePreview);
    connect(chkFit, &QCheckBox::toggled, this, &frmAdvSet::UpdatePreview);
    connect(cmdApply, &QPushButton::clicked, this, &frmAdvSet::cmdApply_Click);
    connect(cmdSelCenter, &QPushButton::clicked, this, &frmAdvSet::cmdSelCenter_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAdvSet::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAdvSet::cmdCancel_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmAdvSet::cmdHelp_Click);
}

void frmAdvSet::Form_Load() {
    mHub = &GetGlobal();
    mUnloaded = false;
    mClosingByCode = false;
    // Each slider shows its tooltip over all of its parts.
    for (ctlSlider* s : findChildren<ctlSlider*>())
        s->SetTooltip(s->property("tip").toString());

    // The pictures that the character window can load are those in the program's folder, so the
    // list shows that folder, whatever the current folder of the process is.
    Files->clear();
    QDir folder(QString::fromStdString(ProgramFolder));
    folder.setNameFilters({QStringLiteral("*.bmp"), QStringLiteral("*.gif"), QStringLiteral("*.png")});
    folder.setFilter(QDir::Files);
    folder.setSorting(QDir::Name | QDir::IgnoreCase);
    Files->addItems(folder.entryList());

    // The character is repainted once shortly after the editor opens.
    tmrRefresh.start();
}

bool frmAdvSet::FillForm(int FensterIndex) {
    if (FensterIndex < 1 || FensterIndex >= static_cast<int>(CharacterWindows.size()))
        return false;
    CharacterWindowBase* character = CharacterWindows[static_cast<std::size_t>(FensterIndex)];
    if (!character)
        return false;
    if (mUnloaded)
        Form_Load();
    mCharacter = character;
    mEntry = TakeEntryCopy(*character);

    // Filling the controls runs their handlers, which would only write the same values back.
    mFilling = true;
    txtTitle->setText(FromRecord(mEntry.mTitle));

    const QString picture = FromRecord(mEntry.mPicFileName);
    Files->setCurrentRow(-1);
    for (int i = 0; i < Files->count(); ++i) {
        if (Files->item(i)->text() == picture) {
            Files->setCurrentRow(i);
            break;
        }
    }
    UpdatePreview();

    txtStartX->setText(QString::number(mEntry.mStartPosX));
    txtStartY->setText(QString::number(mEntry.mStartPosY));

    const ColourParts pupil = SplitColour(mEntry.mPupilColor);
    sldPupilRGB[0]->SetValue(pupil.red);
    sldPupilRGB[1]->SetValue(pupil.green);
    sldPupilRGB[2]->SetValue(pupil.blue);
    shpPupilColor->SetFillColor(mEntry.mPupilColor);
    const ColourParts iris = SplitColour(mEntry.mIrisColor);
    sldIrisRGB[0]->SetValue(iris.red);
    sldIrisRGB[1]->SetValue(iris.green);
    sldIrisRGB[2]->SetValue(iris.blue);
    shpIrisColor->SetFillColor(mEntry.mIrisColor);
    sldIrisWidth->SetValue(mEntry.mIrisWidth);

    sldEyeDiamX[0]->SetValue(mEntry.mEye1DiamX);
    sldEyeDiamY[0]->SetValue(mEntry.mEye1DiamY);
    sldEyeDiamX[1]->SetValue(mEntry.mEye2DiamX);
    sldEyeDiamY[1]->SetValue(mEntry.mEye2DiamY);
    sldIrisDiamX[0]->SetValue(mEntry.mIris1DiamX);
    sldIrisDiamY[0]->SetValue(mEntry.mIris1DiamY);
    sldIrisDiamX[1]->SetValue(mEntry.mIris2DiamX);
    sldIrisDiamY[1]->SetValue(mEntry.mIris2DiamY);
    mFilling = false;
    return true;
}

void frmAdvSet::ShowForm(int FensterIndex) {
    if (!FillForm(FensterIndex))
        return;
    CentreOnScreen(*this);
    setWindowModality(Qt::ApplicationModal);
    exec();
}

CharacterWindowBase* frmAdvSet::Character() const {
    // The character counts only while it is still one of the program's characters: the program's
    // end closes the character windows before it closes the editor.
    if (!mCharacter)
        return nullptr;
    return std::find(CharacterWindows.begin(), CharacterWindows.end(), mCharacter) != CharacterWindows.end()
               ? mCharacter
               : nullptr;
}

frmPic* frmAdvSet::CharacterPic() const {
    return dynamic_cast<frmPic*>(Character());
}

void frmAdvSet::NeedRefresh() {
    tmrRefresh.start();
}

void frmAdvSet::tmrRefresh_Timer() {
    tmrRefresh.stop();
    if (CharacterWindowBase* character = Character())
        character->RefreshImage();
}

void frmAdvSet::DiameterChanged(std::int32_t CharacterRecord::*field, int NewValue) {
    if (CharacterWindowBase* character = Character())
        character->*field = NewValue;
    NeedRefresh();
}

void frmAdvSet::sldIrisWidth_Change(int NewValue) {
    if (CharacterWindowBase* character = Character())
        character->mIrisWidth = static_cast<std::int16_t>(std::clamp(NewValue, -32768, 32767));
    NeedRefresh();
}

void frmAdvSet::sldIrisRGB_Change(int, int) {
    const std::int32_t c = JoinColour(sldIrisRGB[0]->Value(), sldIrisRGB[1]->Value(), sldIrisRGB[2]->Value());
    shpIrisColor->SetFillColor(c);
    if (CharacterWindowBase* character = Character())
        character->mIrisColor = *shpIrisColor->FillColor();
    NeedRefresh();
}

void frmAdvSet::sldPupilRGB_Change(int, int) {
    const std::int32_t c = JoinColour(sldPupilRGB[0]->Value(), sldPupilRGB[1]->Value(), sldPupilRGB[2]->Value());
    shpPupilColor->SetFillColor(c);
    if (CharacterWindowBase* character = Character())
        character->mPupilColor = *shpPupilColor->FillColor();
    NeedRefresh();
}

void frmAdvSet::txtTitle_Change() {
    if (mFilling)
        return;
    if (CharacterWindowBase* character = Character())
        character->mTitle = NameOfField(txtTitle->text());
    RefreshProps();
}

void frmAdvSet::txtStart_Change(QLineEdit* field, std::int32_t CharacterRecord::*position) {
    if (mFilling)
        return;
    // A text that is no number ("", "-", ".", "1.2.3") leaves the record as it is.
    const std::optional<std::int32_t> value = StartPositionFromText(field->text().toStdString());
    CharacterWindowBase* character = Character();
    if (value && character)
        character->*position = *value;
}

bool frmAdvSet::txtStart_KeyPress(QLineEdit* field, QKeyEvent* event) {
    // Keys that type nothing (arrows, Home, Delete) are the field's own business.
    const QString typed = event->text();
    if (typed.isEmpty() || event->key() == Qt::Key_Delete)
        return false;
    const NumberKeyResult result = FilterNumberKey(field->text().toStdString(), static_cast<int>(typed.at(0).unicode()),
                                                   static_cast<int>(field->selectedText().size()));
    if (result.text) {
        field->setText(QString::fromStdString(*result.text));
        return true;
    }
    return result.key == 0;
}

void frmAdvSet::UpdatePreview() {
    imgPre->setScaledContents(false);
    const QListWidgetItem* current = Files->currentRow() >= 0 ? Files->currentItem() : nullptr;
    const QString name = current ? current->text() : QString();
    // A file the list shows but that is no picture leaves the preview empty.
    const QImage picture =
        name.isEmpty() ? QImage() : LoadPreview(QString::fromStdString(ProgramFolder) + QLatin1Char('/') + name);
    if (picture.isNull()) {
        imgPre->clear();
        imgPre->resize(0, 0);
        return;
    }
    imgPre->setPixmap(QPixmap::fromImage(picture));
    imgPre->setGeometry(0, 0, picture.width(), picture.height());
    if (!chkFit->isChecked())
        return;
    const PreviewSize fit =
        FitPreview(picture.width(), picture.height(), mPreviewArea->width(), mPreviewArea->height(), true);
    imgPre->setScaledContents(fit.stretched);
    imgPre->setGeometry(0, 0, fit.width, fit.height);
}

void frmAdvSet::cmdApply_Click() {
    const QListWidgetItem* current = Files->currentRow() >= 0 ? Files->currentItem() : nullptr;
    if (Files->count() == 0 || !current || current->text().isEmpty())
        return;
    CharacterWindowBase* character = Character();
    if (!character)
        return;
    character->mPicFileName = ToRecord(current->text());
    character->MakeWindowRegion();
    // The new face gets its irises at once, not only when the pointer next moves.
    NeedRefresh();
    repaint();
}

void frmAdvSet::cmdSelCenter_Click() {
    if (CharacterWindowBase* character = Character())
        ShowEyeCentrePicker(character->mMyIndex, this);
}

void frmAdvSet::cmdCurPos_MouseDown() {
    mDragging = true;
    cmdCurPos->setText(QStringLiteral("...drop at new pos."));
    if (frmPic* pic = CharacterPic())
        pic->SetTimer1Enabled(false);
    cmdCurPos_MouseMove();
}

void frmAdvSet::cmdCurPos_MouseMove() {
    frmPic* pic = CharacterPic();
    if (!pic)
        return;
    const QPoint pointer = QCursor::pos();
    const TwipsRect now = pic->GeometryTwips();
    const TwipsPoint to =
        CentreOnPointer(pointer.x(), pointer.y(), now.width, now.height, TwipsPerPixelX, TwipsPerPixelY);
    pic->move(TwipsToPixelsX(to.left), TwipsToPixelsY(to.top));
    const TwipsRect moved = pic->GeometryTwips();
    txtStartX->setText(QString::number(StartPositionFromEdge(moved.left, TwipsPerPixelX)));
    txtStartY->setText(QString::number(StartPositionFromEdge(moved.top, TwipsPerPixelY)));
}

void frmAdvSet::cmdCurPos_MouseUp() {
    mDragging = false;
    if (frmPic* pic = CharacterPic())
        pic->SetTimer1Enabled(true);
    cmdCurPos->setText(QStringLiteral("Start drag and..."));
}

void frmAdvSet::RefreshProps() {
    CharacterWindowBase* character = Character();
    if (mHub && character)
        mHub->RefreshProps(character->mMyIndex);
}

void frmAdvSet::RestoreCharacter() {
    CharacterWindowBase* character = Character();
    if (!character)
        return;
    character->mPicFileName = mEntry.mPicFileName;
    character->MakeWindowRegion();
    RestoreAllButPicture(mEntry, *character);
    // Repainted at once with the restored values, so no iris of the discarded ones stays.
    tmrRefresh.stop();
    character->RefreshImage();
}

void frmAdvSet::cmdOK_Click() {
    CharacterWindowBase* character = Character();
    if (character)
        character->mTitle = NameOfField(txtTitle->text());
    if (mHub && character) {
        mHub->RefreshProps(character->mMyIndex);
        mHub->RepaintPicture(character->mMyIndex);
    }
    mClosingByCode = true;
    Form_Unload();
    accept();
}

void frmAdvSet::cmdCancel_Click() {
    RestoreCharacter();
    RefreshProps();
    mClosingByCode = true;
    Form_Unload();
    QDialog::reject();
}

void frmAdvSet::reject() {
    if (!mClosingByCode && !mUnloaded) {
        RestoreCharacter();
        RefreshProps();
    }
    Form_Unload();
    QDialog::reject();
}

void frmAdvSet::Form_Unload() {
    if (mUnloaded)
        return;
    if (mDragging)
        cmdCurPos_MouseUp();
    // A change made just before closing still reaches the face.
    if (tmrRefresh.isActive()) {
        tmrRefresh.stop();
        if (CharacterWindowBase* character = Character())
            character->RefreshImage();
    }
    mHub = nullptr;
    mUnloaded = true;
}

void frmAdvSet::cmdHelp_Click() {
    ShowHelpModal(1);
}

bool frmAdvSet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (VirtualKeyOf(*key) == kKeyF1) {
            cmdHelp_Click();
            return true;
        }
        if (watched == txtStartX || watched == txtStartY)
            return txtStart_KeyPress(static_cast<QLineEdit*>(watched), key);
    } else if (watched == cmdCurPos) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && !mDragging)
                cmdCurPos_MouseDown();
            break;
        case QEvent::MouseMove:
            if (mDragging && (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton))
                cmdCurPos_MouseMove();
            break;
        case QEvent::MouseButtonRelease:
            if (mDragging)
                cmdCurPos_MouseUp();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAdvSet::keyPressEvent(QKeyEvent* event) {
    // F1 is the only key of the window; Escape and Enter do not close it as in other dialogs.
    if (VirtualKeyOf(*event) == kKeyF1)
        cmdHelp_Click();
}

frmAdvSet* CharacterEditor() {
    return gEditor;
}

void ShowCharacterEditor(int FensterIndex) {
    if (gEditor) {
        // Modal, so this only happens when the editor was made but not shown (or it is open).
        if (gEditor->isVisible()) {
            gEditor->raise();
            gEditor->activateWindow();
            return;
        }
        delete gEditor;
    }
    std::unique_ptr<frmAdvSet> editor(new frmAdvSet);
    editor->ShowForm(FensterIndex);
}

void CloseCharacterEditor() {
    if (gEditor && gEditor->isVisible())
        gEditor->close();
}

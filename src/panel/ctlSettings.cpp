// One settings row of the control panel.
#include "panel/ctlSettings.h"

#include "character/Shape.h"
#include "character/frmPic.h"
#include "editor/frmAdvSet.h"
#include "panel/PanelLook.h"
#include "panel/SettingsRowRules.h"
#include "settings/ProgramState.h"
#include "settings/Rounding.h"
#include "widgets/FitCaptions.h"
#include "widgets/GradShape.h"
#include "widgets/TwipsGeometry.h"
#include "widgets/ctlSlider.h"

#include <algorithm>
#include <cmath>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Every row's target list holds every character's name, so the panel of N characters would shape
// N x N texts to size its lists; each name is measured once instead, per font.
int TextWidth(const QFont& font, const QString& text) {
    static QFont cachedFont;
    static QHash<QString, int> widths;
    if (font != cachedFont || widths.size() > 100000) {
        cachedFont = font;
        widths.clear();
    }
    auto found = widths.constFind(text);
    if (found == widths.constEnd())
        found = widths.insert(text, QFontMetrics(font).horizontalAdvance(text));
    return *found;
}

QString FromRecordText(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

// The face as it stands on the desktop: what lies outside the window's outline is transparent.
QImage WithoutBackground(const QImage& picture) {
    QImage face = picture.convertToFormat(QImage::Format_ARGB32);
    const auto key = OutlineKey(reinterpret_cast<const std::uint32_t*>(face.constBits()), face.width(), face.height());
    for (int y = 0; y < face.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(face.scanLine(y));
        for (int x = 0; x < face.width(); ++x)
            if (!InsideOutline(line[x], key))
                line[x] = 0;
    }
    return face;
}

} // namespace

ctlSettings::ctlSettings(QWidget* parent)
    : QWidget(parent),
      OnShowEditor([](int FensterIndex) { ShowCharacterEditor(FensterIndex); }), lblName{new QLabel(this),
                                                                                         new QLabel(this)},
      gsUpper(new GradShape(this)),
      gsLower(new GradShape(this)), optBehaviour{new QRadioButton(QStringLiteral("Curious about"), this),
                                                 new QRadioButton(QStringLiteral("Scared of"), this)},
      cboFixed(new QComboBox(this)), sldSpeedX(new ctlSlider(this)), sldSpeedY(new ctlSlider(this)),
      chkVisible(new QCheckBox(QStringLiteral("Visible"), this)),
      chkMoveable(new QCheckBox(QStringLiteral("Moveable with mouse"), this)), sldAlpha(new ctlSlider(this)),
      cmdAdvanced(new QPushButton(QStringLiteral("Advanced"), this)), shpBorder(new QFrame(this)) {
    setFont(PanelFont());
    setAutoFillBackground(true);
    // A click on the row's bare surface (name, face) makes it current as well.
    setFocusPolicy(Qt::ClickFocus);
    setFixedHeight(TwipsToRect(0, 0, 0, row_design::kHeight).height());

    // Names: transparent labels, the white copy one pixel right of and below the dark one, behind it.
    SetTwipsGeometry(*lblName[0], 45, 60, 1260, 615);
    SetTwipsGeometry(*lblName[1], 60, 75, 1260, 615);
    QPalette white = lblName[1]->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    lblName[1]->setPalette(white);
    for (QLabel* label : lblName) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    SetTwipsGeometry(*optBehaviour[0], 1320, 60, 1335, 255);
    optBehaviour[0]->setToolTip(QStringLiteral("Character moves towards the mouse or the other character"));
    optBehaviour[0]->setChecked(true);
    SetTwipsGeometry(*optBehaviour[1], 2760, 60, 1095, 255);
    optBehaviour[1]->setToolTip(QStringLiteral("Character moves away from the mouse or the other character"));

    SetTwipsGeometry(*cboFixed, 1320, 300, 2535, 315);
    cboFixed->setEditable(false);
    // The list's own entries must fit the closed box; a long name of the user's shows in full in the open list.
    cboFixed->setProperty(kCaptionTexts,
                          QStringList{QString::fromLatin1(kTargetPointer), QString::fromLatin1(kTargetSelf)});
    // The wheel scrolls the panel's list; it changes the target only once the list has the focus.
    cboFixed->installEventFilter(this);
    cboFixed->setToolTip(QStringLiteral("Select the other character or the mouse pointer"));

    const auto setUpSlider = [](ctlSlider* slider, const char* caption, int min, int max) {
        slider->SetMin(min);
        slider->SetMax(max);
        slider->SetCaption(QString::fromLatin1(caption));
        slider->SetMinText({});
        slider->SetMaxText({});
    };
    SetTwipsGeometry(*sldSpeedX, 3960, 60, 1695, 285);
    setUpSlider(sldSpeedX, "Speed X", 5, 200);
    SetTwipsGeometry(*sldSpeedY, 3960, 375, 1695, 285);
    setUpSlider(sldSpeedY, "Speed Y", 5, 200);

    SetTwipsGeometry(*chkVisible, 5760, 60, 855, 255);
    chkVisible->setToolTip(QStringLiteral("Show or hide the character"));
    SetTwipsGeometry(*chkMoveable, 6720, 60, 1935, 255);
    chkMoveable->setToolTip(QStringLiteral("If not checked, mouse clicks go through the character"));

    SetTwipsGeometry(*sldAlpha, 5760, 375, 1695, 285);
    setUpSlider(sldAlpha, "Transparency", 0, 255);

    SetTwipsGeometry(*cmdAdvanced, 7560, 390, 1095, 270);
    cmdAdvanced->setFont(PanelFont(8.25, true));
    cmdAdvanced->setToolTip(QStringLiteral("Advanced settings"));

    // The bands along the top and bottom edges give the row a sunken look between its neighbours.
    gsUpper->SetColorTopLeft(ColorButtonShadow);
    gsUpper->SetColorBottomRight(ColorButtonFace);
    gsLower->SetColorTopLeft(ColorButtonFace);
    gsLower->SetColorBottomRight(ColorButtonHighlight);

    shpBorder->setFrameStyle(QFrame::Box | QFrame::Plain);
    shpBorder->setLineWidth(3);
    QPalette blue = shpBorder->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    shpBorder->setPalette(blue);
    shpBorder->setAttribute(Qt::WA_TransparentForMouseEvents);
    shpBorder->hide();

    // Stacking: strips at the bottom, the white name behind the dark one, the frame over everything.
    gsUpper->lower();
    gsLower->lower();
    lblName[1]->stackUnder(lblName[0]);
    shpBorder->raise();
    // Fitted while the target list is empty: a new font lays out every entry of the open list again.
    FitCaptions(*this);

    connect(cboFixed, &QComboBox::activated, this, &ctlSettings::cboFixed_Click);
    for (int i = 0; i < 2; ++i)
        connect(optBehaviour[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optBehaviour_Click(i);
        });
    connect(sldSpeedX, &ctlSlider::Change, this, [this](int v) { sldSpeedX_Change(static_cast<float>(v)); });
    connect(sldSpeedY, &ctlSlider::Change, this, [this](int v) { sldSpeedY_Change(static_cast<float>(v)); });
    connect(sldAlpha, &ctlSlider::Change, this, [this](int v) { sldAlpha_Change(static_cast<float>(v)); });
    connect(chkMoveable, &QCheckBox::clicked, this, &ctlSettings::chkMoveable_Click);
    connect(chkVisible, &QCheckBox::clicked, this, &ctlSettings::chkVisible_Click);
    connect(cmdAdvanced, &QPushButton::clicked, this, &ctlSettings::cmdAdvanced_Click);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (Contains(now) && !Contains(old))
            emit EnterFocus();
    });

    clsGlobal& GlobCom = GetGlobal();
    mGlobComRefresh = GlobCom.OnRefresh([this](int FensterIndex) { GlobCom_Refresh(FensterIndex); });
    mGlobComRepaintPic = GlobCom.OnRepaintPic([this](int FensterIndex) { GlobCom_RepaintPic(FensterIndex); });
}

ctlSettings::~ctlSettings() = default;

CharacterWindowBase* ctlSettings::Bound() const {
    if (mMyIndex < 1 || mMyIndex >= static_cast<int>(CharacterWindows.size()))
        return nullptr;
    return CharacterWindows[static_cast<std::size_t>(mMyIndex)];
}

bool ctlSettings::Contains(const QWidget* widget) const {
    return widget && (widget == this || isAncestorOf(widget));
}

void ctlSettings::Init(int MyIndex) {
    sldSpeedX->SetTooltip(QStringLiteral("Horizontal speed"));
    sldSpeedY->SetTooltip(QStringLiteral("Vertical speed"));
    sldAlpha->SetTooltip({});
    if (AdvancedEditing) {
        chkMoveable->setToolTip(QStringLiteral("Always active in Windows 95/98/ME"));
        sldAlpha->SetTooltip(QStringLiteral("Only Windows 2000/XP or later"));
        cmdAdvanced->show();
        chkMoveable->show();
        sldAlpha->show();
    } else {
        chkMoveable->setToolTip(QStringLiteral("If not checked, mouse clicks go through the character"));
        cmdAdvanced->hide();
        chkMoveable->setVisible(IsWin2000OrLater);
        sldAlpha->setVisible(IsWin2000OrLater);
    }
    mMyIndex = MyIndex;
    FillFromRecord();
}

void ctlSettings::FillFromRecord() {
    const CharacterWindowBase* w = Bound();
    if (!w)
        return;
    // The controls raise no user signals while they are set from here (activated, clicked and the
    // sliders' Change come from the user only); the option buttons' handler stores the same value.
    std::vector<std::string> titles;
    for (std::size_t n = 1; n < CharacterWindows.size(); ++n)
        titles.push_back(CharacterWindows[n] ? CharacterWindows[n]->mTitle : std::string());
    QStringList entries;
    for (const std::string& entry : TargetListEntries(titles, w->mMyIndex))
        entries << FromRecordText(entry);
    // In one call: with a thousand characters, a thousand rows each fill a thousand entries.
    cboFixed->clear();
    cboFixed->addItems(entries);
    cboFixed->setCurrentIndex(w->mFixed >= 0 && w->mFixed < cboFixed->count() ? w->mFixed : -1);
    // The open list is as wide as its longest name needs, even where the closed box cuts it. The
    // widest name is found by its text alone and then laid out as the list lays it out; asking the
    // view for the whole column would lay out every entry of every row.
    const QFont listFont = cboFixed->view()->font();
    int widestRow = 0, widest = -1;
    for (int row = 0; row < entries.size(); ++row)
        if (const int width = TextWidth(listFont, entries[row]); width > widest) {
            widest = width;
            widestRow = row;
        }
    cboFixed->view()->setMinimumWidth(
        cboFixed->view()->sizeHintForIndex(cboFixed->model()->index(widestRow, 0)).width() + 8);
    for (QLabel* label : lblName)
        label->setText(FromRecordText(w->mTitle));
    optBehaviour[w->mFlee ? 1 : 0]->setChecked(true);
    sldSpeedX->SetValue(w->mSpeedX);
    sldSpeedY->SetValue(w->mSpeedY);
    sldAlpha->SetValue(w->mAlpha);
    chkMoveable->setChecked(!w->mNoClick);
    chkVisible->setChecked(!(w->IsMinimised() || !w->IsShown()));
    for (QLabel* label : lblName)
        FitCaptions(*label);
    PaintThumbnail();
}

void ctlSettings::PaintThumbnail() {
    mThumbnail = {};
    mThumbnailRect = {};
    if (const auto* window = dynamic_cast<const frmPic*>(Bound()); window && !window->Picture().isNull()) {
        const QImage& picture = window->Picture();
        const QRect full = TwipsToRect(row_design::kThumbLeft, row_design::kThumbTop,
                                       ThumbnailWidth(picture.width(), picture.height()), row_design::kThumbHeight);
        // Only what the row can show is scaled: a picture a million pixels wide and one high would
        // otherwise ask for a thumbnail of gigabytes.
        mThumbnailRect = full.intersected(rect());
        if (!mThumbnailRect.isEmpty()) {
            const int sourceWidth = std::clamp(
                static_cast<int>(std::ceil(double(picture.width()) * mThumbnailRect.width() / full.width())), 1,
                picture.width());
            mThumbnail = WithoutBackground(picture.copy(0, 0, sourceWidth, picture.height()))
                             .scaled(mThumbnailRect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    }
    update();
}

void ctlSettings::SetIsCurrent(bool New_IsCurrent) {
    mIsCurrent = New_IsCurrent;
    shpBorder->setVisible(New_IsCurrent);
}

void ctlSettings::GlobCom_Refresh(int FensterIndex) {
    const CharacterWindowBase* w = Bound();
    if (!w)
        return;
    if (FensterIndex != w->mMyIndex) {
        if (FensterIndex >= 1 && FensterIndex < cboFixed->count() &&
            FensterIndex < static_cast<int>(CharacterWindows.size()) && CharacterWindows[FensterIndex])
            cboFixed->setItemText(FensterIndex, FromRecordText(CharacterWindows[FensterIndex]->mTitle));
    } else {
        for (QLabel* label : lblName)
            label->setText(FromRecordText(w->mTitle));
        for (QLabel* label : lblName)
            FitCaptions(*label);
    }
}

void ctlSettings::GlobCom_RepaintPic(int) {
    PaintThumbnail();
}

void ctlSettings::cboFixed_Click(int ListIndex) {
    if (CharacterWindowBase* w = Bound())
        w->mFixed = ListIndex;
}

void ctlSettings::optBehaviour_Click(int Index) {
    if (CharacterWindowBase* w = Bound())
        w->mFlee = Index != 0;
}

void ctlSettings::sldSpeedX_Change(float NewValue) {
    if (CharacterWindowBase* w = Bound()) {
        w->mSpeedX = NearestInt(NewValue);
        w->SetCuriouSpeed();
    }
}

void ctlSettings::sldSpeedY_Change(float NewValue) {
    if (CharacterWindowBase* w = Bound()) {
        w->mSpeedY = NearestInt(NewValue);
        w->SetCuriouSpeed();
    }
}

void ctlSettings::sldAlpha_Change(float NewValue) {
    if (CharacterWindowBase* w = Bound()) {
        w->mAlpha = NearestInt(NewValue);
        w->SetWindowStyle();
    }
}

void ctlSettings::chkMoveable_Click() {
    if (CharacterWindowBase* w = Bound()) {
        w->mNoClick = !chkMoveable->isChecked();
        w->SetWindowStyle();
    }
}

void ctlSettings::chkVisible_Click() {
    auto* window = dynamic_cast<QWidget*>(Bound());
    if (!window)
        return;
    // A minimised character has no taskbar button and cannot take F12 while minimised; where the
    // window system shows no caption for it either, this box is the only way to bring it back.
    if (chkVisible->isChecked() && window->isMinimized())
        window->showNormal();
    else
        window->setVisible(chkVisible->isChecked());
}

void ctlSettings::cmdAdvanced_Click() {
    if (const CharacterWindowBase* w = Bound(); w && OnShowEditor)
        OnShowEditor(w->mMyIndex);
}

bool ctlSettings::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cboFixed && event->type() == QEvent::Wheel && !cboFixed->hasFocus()) {
        event->ignore(); // passed on to the row and the list that holds it
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ctlSettings::paintEvent(QPaintEvent*) {
    if (mThumbnail.isNull())
        return;
    QPainter p(this);
    p.drawImage(mThumbnailRect.topLeft(), mThumbnail);
}

void ctlSettings::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int strip = TwipsToRect(0, 0, 0, row_design::kStripHeight).height();
    shpBorder->setGeometry(0, 0, width(), height());
    gsUpper->setGeometry(0, 0, width(), strip);
    gsLower->setGeometry(0, height() - strip, width(), strip);
}

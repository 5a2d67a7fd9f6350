// The control panel.
#include "panel/frmSettings.h"

#include "help/frmHelp.h"
#include "panel/PanelEdits.h"
#include "panel/PanelLook.h"
#include "panel/SettingsRowRules.h"
#include "panel/ctlSettings.h"
#include "settings/Configuration.h"
#include "settings/ProgramState.h"
#include "widgets/FitCaptions.h"
#include "widgets/GradShape.h"
#include "widgets/SystemColors.h"
#include "widgets/Twips.h"
#include "widgets/TwipsGeometry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>

namespace {

frmSettings* gPanel = nullptr;

using namespace panel_design;

QToolButton* MakeButton(QWidget* parent, const char* caption, const char* tip, PanelGlyph glyph, double left) {
    auto* button = new QToolButton(parent);
    button->setText(QString::fromLatin1(caption));
    button->setToolTip(QString::fromLatin1(tip));
    button->setIcon(QIcon(ButtonGlyph(glyph)));
    button->setIconSize(QSize(10, 10));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // A click takes the focus, as on a push button, so the current row keeps its frame only.
    button->setFocusPolicy(Qt::StrongFocus);
    SetTwipsGeometry(*button, left, kButtonTop, kButtonWidth, kButtonHeight);
    return button;
}

GradShape* MakeBand(QWidget* parent, double left, double top, double width, double height) {
    auto* band = new GradShape(parent);
    SetTwipsGeometry(*band, left, top, width, height);
    return band;
}

double TwipsX(int pixels) {
    return PixelsToTwipsX(pixels);
}
double TwipsY(int pixels) {
    return PixelsToTwipsY(pixels);
}

std::vector<const CharacterRecord*> LiveRecords() {
    std::vector<const CharacterRecord*> records;
    for (const CharacterWindowBase* window : CharacterWindows)
        if (window)
            records.push_back(window);
    return records;
}

std::optional<QString> AskTitleInDialog(QWidget* parent, const QString& current) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, QStringLiteral("Edit program title"),
                              QStringLiteral("Enter a new title for this program"), QLineEdit::Normal, current, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

} // namespace

frmSettings::frmSettings(QWidget* parent)
    : QWidget(parent, Qt::Window), OnEndProgram([] { GetGlobal().EndProgram(); }),
      OnAskTitle([this](const QString& current) { return AskTitleInDialog(this, current); }),
      cmdHelp(MakeButton(this, "Help", "Show help", PanelGlyph::Help, kHelpLeft)),
      cmdAdd(MakeButton(this, "Add", "Create a new character", PanelGlyph::Add, kAddLeft)),
      cmdDelete(MakeButton(this, "Delete", "Delete the current character", PanelGlyph::Delete, kDeleteLeft)),
      cmdRename(MakeButton(this, "Rename", "Change the program title", PanelGlyph::Rename, kRenameLeft)),
      cmdMini(MakeButton(this, "Minimize", "Minimize this window to taskbar", PanelGlyph::Minimize, kMiniLeft)),
      gsTop(MakeBand(this, 0, 0, kClientWidth, kOuterTop)), gsLeft(MakeBand(this, 0, kOuterTop, kSideStripWidth, 4695)),
      gsRight(MakeBand(this, 9240, kOuterTop, kSideStripWidth, 4695)),
      gsBottom(MakeBand(this, 0, 5280, kClientWidth, kBottomStripHeight)), lblProgTitle{new QLabel(this),
                                                                                        new QLabel(this)},
      picOuter(new QWidget(this)), picInner(new QWidget(picOuter)), scrInner(new QScrollBar(Qt::Vertical, picOuter)) {
    setWindowTitle(QStringLiteral("Lookabout"));
    setWindowIcon(ProgramIcon());
    setFont(PanelFont());

    gsTop->SetColorTopLeft(ColorButtonShadow);
    gsTop->SetColorBottomRight(ColorButtonHighlight);
    gsBottom->SetColorTopLeft(ColorButtonShadow);
    gsBottom->SetColorBottomRight(ColorButtonFace);
    for (GradShape* band : {gsBottom, gsRight, gsLeft, gsTop})
        band->lower();

    // The raised title: the light text in front, its shadow two pixels right of and below it.
    SetTwipsGeometry(*lblProgTitle[1], kTitleLeft, kTitleTop, kTitleWidth, kTitleHeight);
    SetTwipsGeometry(*lblProgTitle[0], kTitleLeft + 30, kTitleTop + 30, kTitleWidth, kTitleHeight);
    for (int i = 0; i < 2; ++i) {
        QLabel* label = lblProgTitle[i];
        label->setFont(TitleFont());
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setText(QStringLiteral("Title of this program"));
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, SysColor(i == 1 ? 20 : 16, colours));
        label->setPalette(colours);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    lblProgTitle[0]->stackUnder(lblProgTitle[1]);

    SetTwipsGeometry(*picOuter, kOuterLeft, kOuterTop, kOuterWidth, kOuterHeight);
    SetTwipsGeometry(*picInner, 0, 0, kInnerWidth, kInnerHeight);
    SetTwipsGeometry(*scrInner, kScrollLeft, 0, kScrollWidth, kInnerHeight);
    scrInner->setMinimum(0);
    scrInner->setMaximum(0);
    // An arrow moves the list by one row.
    scrInner->setSingleStep(TwipsToPixelsY(row_design::kHeight));
    scrInner->setEnabled(false);
    connect(scrInner, &QScrollBar::valueChanged, this, &frmSettings::scrInner_Change);

    auto* first = new ctlSettings(picInner);
    first->setGeometry(0, 0, picInner->width(), first->height());
    ctlSet.push_back(first);
    ConnectRow(0);

    picOuter->installEventFilter(this);
    picInner->installEventFilter(this);

    // F1 anywhere in the panel, whichever control has the focus.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, &frmSettings::cmdHelp_Click);

    connect(cmdHelp, &QToolButton::clicked, this, &frmSettings::cmdHelp_Click);
    connect(cmdAdd, &QToolButton::clicked, this, &frmSettings::cmdAdd_Click);
    connect(cmdDelete, &QToolButton::clicked, this, &frmSettings::cmdDelete_Click);
    connect(cmdRename, &QToolButton::clicked, this, &frmSettings::cmdRename_Click);
    connect(cmdMini, &QToolButton::clicked, this, &frmSettings::cmdMini_Click);

    // The design size, placed a third of the way across the screen and centred vertically.
    resize(TwipsToRect(0, 0, kClientWidth, kClientHeight).size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const PanelPlace place =
            FirstPlacement(TwipsX(area.width()), TwipsY(area.height()), TwipsX(width()), TwipsY(height()));
        move(area.x() + TwipsToPixelsX(place.x), area.y() + TwipsToPixelsY(place.y));
    }
    Form_Resize();
    FitCaptions(*this);
}

frmSettings::~frmSettings() {
    if (gPanel == this)
        gPanel = nullptr;
}

void frmSettings::ConnectRow(int Index) {
    connect(ctlSet[static_cast<std::size_t>(Index)], &ctlSettings::EnterFocus, this,
            [this, Index] { ctlSet_EnterFocus(Index); });
}

void frmSettings::ShowForm() {
    BuildRows();
    show();
}

void frmSettings::ShowPanel() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void frmSettings::BuildRows() {
    // Rows that go away or come may move the focus; that is no choice of the user's.
    mBuilding = true;
    while (ctlSet.size() > 1) {
        delete ctlSet.back();
        ctlSet.pop_back();
    }
    ctlSet[0]->Init(1);
    const int count = CharacterCount();
    for (int i = 1; i < count; ++i) {
        const ctlSettings* above = ctlSet.back();
        auto* row = new ctlSettings(picInner);
        row->setGeometry(0, above->y() + above->height(), ctlSet[0]->width(), row->height());
        ctlSet.push_back(row);
        ConnectRow(i);
        const CharacterWindowBase* character = CharacterWindows[static_cast<std::size_t>(i) + 1];
        row->Init(character ? character->mMyIndex : i + 1);
        row->show();
    }
    const int last = static_cast<int>(ctlSet.size()) - 1;
    if (CurIndex > last)
        CurIndex = last;
    for (int i = 0; i <= last; ++i)
        ctlSet[static_cast<std::size_t>(i)]->SetIsCurrent(i == CurIndex);
    cmdDelete->setEnabled(ctlSet.size() > 1);
    cmdAdd->setVisible(AdvancedEditing);
    cmdDelete->setVisible(AdvancedEditing);
    cmdRename->setVisible(AdvancedEditing);
    picInner->move(0, 0);
    scrInner->setValue(0);
    UpdateScrollBar(true);
    mBuilding = false;
}

FrameExtents frmSettings::Frame() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return {std::max(0, client.top() - frame.top()), std::max(0, frame.bottom() - client.bottom())};
}

void frmSettings::UpdateScrollBar(bool FitHeight) {
    const double tppY = PixelsToTwipsY(1);
    if (FitHeight) {
        const ctlSettings* last = ctlSet.back();
        picInner->resize(picInner->width(), last->y() + last->height());
        const FrameExtents frame = Frame();
        const double windowHeight =
            FittedWindowHeight(TwipsY(picOuter->y()), TwipsX(picOuter->x()), TwipsY(picInner->height()), frame, tppY);
        mFittedFrame = frame;
        mFittedClientHeight = ClientHeightForWindowHeight(windowHeight, frame, tppY);
        resize(width(), mFittedClientHeight);
        // A hidden window gets its resize event only when shown; the layout must be right now.
        Form_Resize();
    }
    const ScrollBarSetting setting = ScrollBarFor(TwipsY(picOuter->height()), TwipsY(picInner->height()), tppY);
    if (!setting.enabled) {
        scrInner->setEnabled(false);
        // Everything fits: a list left scrolled up would hide its first rows out of reach.
        scrInner->setValue(0);
        picInner->move(0, 0);
        return;
    }
    scrInner->setEnabled(true);
    // Qt's scroll bar counts up from its top, the design's value down from 0 to a negative
    // maximum: the bar holds the negated value, the pixels the list is scrolled up by.
    scrInner->setRange(0, -setting.maximum);
    scrInner->setPageStep(setting.largeChange);
}

void frmSettings::scrInner_Change(int Value) {
    picInner->move(0, -Value);
}

void frmSettings::ScrollIntoView(int Index) {
    if (Index < 0 || Index >= static_cast<int>(ctlSet.size()))
        return;
    const ctlSettings* row = ctlSet[static_cast<std::size_t>(Index)];
    const std::optional<double> top =
        ScrollIntoViewTop(TwipsY(picInner->y()), TwipsY(row->y()), TwipsY(row->height()), TwipsY(picOuter->height()));
    if (!top)
        return;
    scrInner->setValue(-ScrollValueForTop(*top, PixelsToTwipsY(1)));
    // The list stands on the whole pixel the bar shows, also when the value did not change.
    scrInner_Change(scrInner->value());
}

void frmSettings::ctlSet_EnterFocus(int Index) {
    if (mBuilding)
        return;
    if (CurIndex >= 0 && CurIndex < static_cast<int>(ctlSet.size()))
        ctlSet[static_cast<std::size_t>(CurIndex)]->SetIsCurrent(false);
    CurIndex = Index;
    ctlSet[static_cast<std::size_t>(CurIndex)]->SetIsCurrent(true);
    ScrollIntoView(CurIndex);
}

void frmSettings::ShowTitle() {
    const QString title = QString::fromLocal8Bit(ProgramTitle.data(), static_cast<qsizetype>(ProgramTitle.size()));
    for (QLabel* label : lblProgTitle)
        label->setText(title);
    const QToolButton* anchor = AdvancedEditing ? cmdRename : cmdHelp;
    QLabel* front = lblProgTitle[1];
    const auto heightForWidth = [front](double width) {
        const int px = front->heightForWidth(TwipsToPixelsX(width));
        return TwipsY(px > 0 ? px : front->fontMetrics().height());
    };
    const std::optional<TitlePlace> place =
        PlaceTitle(TwipsX(anchor->x()), TwipsX(anchor->width()), TwipsX(cmdMini->x()), TwipsY(picOuter->y()),
                   heightForWidth, PixelsToTwipsX(1), PixelsToTwipsY(1));
    if (!place)
        return;
    SetTwipsGeometry(*front, place->left, place->top, place->width, place->height);
    SetTwipsGeometry(*lblProgTitle[0], place->shadowLeft, place->shadowTop, place->width, place->height);
}

void frmSettings::Form_Resize() {
    // Each step on its own: one that would need a negative size (a tiny window) is left out.
    const int W = width();
    const int H = height();
    const int margin = picOuter->x();
    if (const int h = H - picOuter->y() - margin; h >= 0)
        picOuter->resize(picOuter->width(), h);
    if (const int w = W - 2 * margin; w >= 0)
        picOuter->resize(w, picOuter->height());
    cmdMini->move(W - cmdMini->width() - margin, cmdMini->y());
    gsTop->setGeometry(0, 0, W, picOuter->y());
    gsLeft->resize(gsLeft->width(), picOuter->height());
    gsRight->setGeometry(picOuter->x() + picOuter->width(), gsRight->y(), gsRight->width(), picOuter->height());
    gsBottom->setGeometry(gsBottom->x(), picOuter->y() + picOuter->height(), W, gsBottom->height());
    ShowTitle();
    UpdateScrollBar(false);
}

void frmSettings::picOuter_Resize() {
    const int left = picOuter->width() - scrInner->width();
    if (left >= 0)
        scrInner->setGeometry(left, 0, scrInner->width(), picOuter->height());
    if (scrInner->x() >= 0)
        picInner->resize(scrInner->x(), picInner->height());
}

void frmSettings::picInner_Resize() {
    for (ctlSettings* row : ctlSet)
        row->resize(scrInner->x(), row->height());
}

void frmSettings::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool frmSettings::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // Under X11 the window manager's frame is known only once the window is shown; refit a height
    // that was reckoned without it, unless the user has changed the height since.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Show) && !isMinimized() &&
        height() == mFittedClientHeight && Frame() != mFittedFrame)
        UpdateScrollBar(true);
    return handled;
}

bool frmSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == picOuter)
            picOuter_Resize();
        else if (watched == picInner)
            picInner_Resize();
    } else if (event->type() == QEvent::Wheel && watched == picOuter && scrInner->isEnabled()) {
        // The wheel over the list scrolls it, as over its scroll bar.
        QCoreApplication::sendEvent(scrInner, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmSettings::closeEvent(QCloseEvent* event) {
    event->accept();
    if (OnEndProgram)
        OnEndProgram();
}

void frmSettings::cmdHelp_Click() {
    ShowHelpModeless(0);
}

void frmSettings::cmdMini_Click() {
    showMinimized();
}

void frmSettings::cmdRename_Click() {
    const QString current = QString::fromLocal8Bit(ProgramTitle.data(), static_cast<qsizetype>(ProgramTitle.size()));
    const std::optional<QString> answer = OnAskTitle ? OnAskTitle(current) : std::nullopt;
    const std::u32string title =
        RenamedTitle(answer.value_or(QString()).toStdU32String(), answer.has_value(), current.toStdU32String());
    ProgramTitle = QString::fromStdU32String(title).toLocal8Bit().toStdString();
    ShowTitle();
}

void frmSettings::cmdAdd_Click() {
    const int count = CharacterCount();
    const int current = CurIndex + 1;
    if (current < 1 || current > count || !CharacterWindows[static_cast<std::size_t>(current)])
        return;
    const QRect frame = frameGeometry();
    const StartPositionPx at = AddStartPosition(TwipsX(frame.x()), TwipsX(frame.width()), TwipsY(frame.y()),
                                                PixelsToTwipsX(1), PixelsToTwipsY(1));
    const CharacterRecord added =
        AddedCharacter(*CharacterWindows[static_cast<std::size_t>(current)], count, at.x, at.y);
    const std::vector<const CharacterRecord*> records = LiveRecords();
    // The reload creates every window anew and shows this panel again with a row for the new one.
    clsGlobal& program = GetGlobal();
    if (program.SaveChangeAndCloseAll(
            [&] { return SaveWithAddedCharacter(records, added, ProgramTitle, IniFilePath); }))
        program.LoadAll();
}

void frmSettings::cmdDelete_Click() {
    const int rows = static_cast<int>(ctlSet.size());
    if (rows < 2)
        return;
    const DeletePlan plan = PlanDelete(LiveRecords(), CurIndex + 1);
    if (plan.remaining.empty())
        return;
    clsGlobal& program = GetGlobal();
    if (program.SaveChangeAndCloseAll([&] { return SaveAfterDelete(plan, ProgramTitle, IniFilePath); })) {
        CurIndex = CurIndexAfterDelete(CurIndex, rows);
        program.LoadAll();
    }
}

frmSettings& SettingsWindow() {
    if (!gPanel)
        gPanel = new frmSettings();
    return *gPanel;
}

bool SettingsWindowExists() {
    return gPanel != nullptr;
}

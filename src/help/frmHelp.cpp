// The help window.
#include "help/frmHelp.h"

#include "widgets/KeyEvents.h"
#include "widgets/VirtualKeys.h"
#include "help/HelpLayout.h"
#include "help/HelpTexts.h"
#include "settings/ProgramState.h"
#include "widgets/FitCaptions.h"
#include "widgets/GradShape.h"
#include "widgets/TwipsGeometry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>

namespace {

frmHelp* gHelp = nullptr;

// The design: the title's top is the margin all round; the text starts this far below the title.
constexpr double kMarginTwips = 120;
constexpr double kGapTwips = 4;

QString Displayed(const QString& stored) {
    QString text = stored;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

frmHelp::frmHelp(QWidget* parent)
    : QDialog(parent, Qt::Window), OnEndProgram([] { GetGlobal().EndProgram(); }), gsBack(new GradShape(this)),
      lblTitle(new QLabel(QStringLiteral("LOOKABOUT   1.0"), this)),
      lblText(new QLabel(this)), optHelp{new QRadioButton(QStringLiteral("General help"), this),
                                         new QRadioButton(QStringLiteral("Advanced help"), this)},
      txtHelp{QString::fromStdString(HelpText(GeneralHelpText)), QString::fromStdString(HelpText(AdvancedHelpText))} {
    setWindowTitle(QStringLiteral("Help - Lookabout"));
    gsBack->lower();

    QFont titleFont(QStringLiteral("Arial"), 16, QFont::Bold);
    lblTitle->setFont(titleFont);
    lblTitle->setWordWrap(true);
    lblTitle->setTextFormat(Qt::PlainText);
    QPalette titleColours = lblTitle->palette();
    titleColours.setColor(QPalette::WindowText, QColor(0, 0, 128));
    lblTitle->setPalette(titleColours);
    // A little air below the title: part of the label, so its height still follows its text.
    lblTitle->setContentsMargins(0, 0, 0, TwipsToRect(0, 0, 0, 90).height());
    SetTwipsGeometry(*lblTitle, kMarginTwips, kMarginTwips, 6000, 375);

    lblText->setFont(QFont(QStringLiteral("Arial"), 9));
    lblText->setWordWrap(true);
    lblText->setTextFormat(Qt::PlainText);
    lblText->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The option buttons keep their design place beside the title.
    SetTwipsGeometry(*optHelp[0], 4320, 180, 1575, 285);
    SetTwipsGeometry(*optHelp[1], 5940, 180, 1800, 285);
    for (int i = 0; i < 2; ++i) {
        optHelp[i]->setFont(QFont(QStringLiteral("Arial"), 9));
        // The labels' heights follow their texts; the option buttons have fixed places.
        FitCaptions(*optHelp[i]);
        connect(optHelp[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optHelp_Click(i);
        });
    }

    resize(TwipsToRect(0, 0, 9000, 9300).size());
    CentreOnScreen(*this);
}

frmHelp::~frmHelp() {
    if (gHelp == this)
        gHelp = nullptr;
}

void frmHelp::InitText(int ID) {
    if (ID != AdvancedHelpText)
        ID = GeneralHelpText;
    lblText->setText(Displayed(txtHelp[ID]));
    if (!AdvancedEditing) {
        optHelp[0]->hide();
        optHelp[1]->hide();
    } else {
        optHelp[0]->show();
        optHelp[1]->show();
        optHelp[ID]->setChecked(true);
        optHelp_Click(ID);
    }
    // The text's height follows the new text, so a longer one is not cut off.
    Form_Resize();
}

void frmHelp::optHelp_Click(int Index) {
    lblText->setText(Displayed(txtHelp[Index]));
    Form_Resize();
}

void frmHelp::ShowModeless() {
    if (!isVisible())
        setWindowModality(Qt::NonModal);
    show();
    raise();
    activateWindow();
}

void frmHelp::ShowModal() {
    exec();
}

void frmHelp::Form_Resize() {
    const auto heightOf = [](QLabel* label) { return [label](int width) { return label->heightForWidth(width); }; };
    const HelpLayout layout = LayOutHelp(width(), height(), lblTitle->y(), TwipsToRect(0, 0, 0, kGapTwips).height(),
                                         lblTitle->height(), heightOf(lblTitle), heightOf(lblText));
    const auto place = [](QWidget* widget, const PixelRect& r) {
        widget->setGeometry(r.x, r.y, r.width, r.height);
    };
    if (layout.title)
        place(lblTitle, *layout.title);
    if (layout.text)
        place(lblText, *layout.text);
    place(gsBack, layout.back);
}

void frmHelp::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmHelp::keyPressEvent(QKeyEvent* event) {
    // Only the end-of-program keys; no Escape or Enter handling as a dialog would have.
    if (IsEndProgramKey(VirtualKeyOf(*event), ShiftStateOf(*event)))
        OnEndProgram();
}

void frmHelp::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    // Closing the shared window discards it; the next caller gets a new one.
    if (event->isAccepted() && gHelp == this)
        UnloadHelpWindow();
}

frmHelp& HelpWindow() {
    if (!gHelp)
        gHelp = new frmHelp;
    return *gHelp;
}

bool HelpWindowExists() {
    return gHelp != nullptr;
}

void UnloadHelpWindow() {
    frmHelp* window = gHelp;
    if (!window)
        return;
    gHelp = nullptr;
    window->hide();
    // Later, as this may run inside one of the window's own handlers.
    window->deleteLater();
}

void ShowHelpModeless(int ID) {
    HelpWindow().InitText(ID);
    HelpWindow().ShowModeless();
}

void ShowHelpModal(int ID) {
    if (HelpWindowExists() && HelpWindow().isVisible())
        UnloadHelpWindow();
    HelpWindow().InitText(ID);
    HelpWindow().ShowModal();
}

// The help window: one of the two help texts over a gradient background, with option buttons to
// switch between them when advanced editing is on. One shared instance, created on first use and
// discarded when the user closes it. Alt+Q, Alt+X and Alt+F4 in it end the program.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

class GradShape;
class QLabel;
class QRadioButton;

class frmHelp final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmHelp)

public:
    explicit frmHelp(QWidget* parent = nullptr);
    ~frmHelp() override;

    // Shows text ID (0 general help, 1 advanced help; any other number counts as 0). With advanced
    // editing on, both option buttons are shown and the one for ID is selected; otherwise they are
    // hidden.
    void InitText(int ID);

    // Without an owner: shows the window, or brings it forward when it is open already.
    void ShowModeless();
    // Modal: returns when the user closes the window.
    void ShowModal();

    // What ends the program; the hub's EndProgram unless replaced (tests replace it).
    std::function<void()> OnEndProgram;

    GradShape* const gsBack;
    QLabel* const lblTitle;
    QLabel* const lblText;
    const std::array<QRadioButton*, 2> optHelp;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void optHelp_Click(int Index);
    void Form_Resize();

    std::array<QString, 2> txtHelp; // the two texts as stored, lines joined by CR LF
};

// The shared help window, created on first use.
frmHelp& HelpWindow();
// Whether the shared help window exists (it may be hidden).
bool HelpWindowExists();
// Discards the shared help window; the next HelpWindow() creates a new one. Safe to call from
// inside the window's own handlers.
void UnloadHelpWindow();

// What the callers do. The character window and the control panel show a text modeless; the
// editor and the eye-centre picker, themselves modal, close a visible help window first and then
// show it modal.
void ShowHelpModeless(int ID);
void ShowHelpModal(int ID);

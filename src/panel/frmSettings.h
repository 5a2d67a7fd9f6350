// The control panel, the program's main window: the program title between the buttons Help, Add,
// Delete, Rename and Minimize, and below them a scrolling list of settings rows, one per character.
// Add, Delete and Rename are there only with advanced editing. Closing the panel ends the program.
#pragma once

#include "panel/PanelLayout.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class ctlSettings;
class GradShape;
class QLabel;
class QScrollBar;
class QToolButton;

class frmSettings final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSettings)

public:
    explicit frmSettings(QWidget* parent = nullptr);
    ~frmSettings() override;

    // Builds one row per loaded character and shows the window (not modal, without an owner).
    void ShowForm();
    // Brings the window up for the user: restored when minimised, in front.
    void ShowPanel();

    void BuildRows();
    // FitHeight: first make the window as tall as the rows need (at most 5820 twips).
    void UpdateScrollBar(bool FitHeight);
    void ScrollIntoView(int Index);
    void ShowTitle();

    // The buttons; and the input focus entering row Index.
    void cmdHelp_Click();
    void cmdMini_Click();
    void cmdRename_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void ctlSet_EnterFocus(int Index);

    // The current row; row i shows character i + 1. Kept across rebuilds of the list.
    int CurIndex = 0;

    // What ends the program; the hub's EndProgram unless replaced (tests replace it).
    std::function<void()> OnEndProgram;
    // What Rename asks: the new title, or nothing when the user cancelled. An input dialog unless
    // replaced.
    std::function<std::optional<QString>(const QString& current)> OnAskTitle;

    QToolButton* const cmdHelp;
    QToolButton* const cmdAdd;
    QToolButton* const cmdDelete;
    QToolButton* const cmdRename;
    QToolButton* const cmdMini;
    GradShape* const gsTop;
    GradShape* const gsLeft;
    GradShape* const gsRight;
    GradShape* const gsBottom;
    const std::array<QLabel*, 2> lblProgTitle; // 0 the shadow, 1 the light title in front of it
    QWidget* const picOuter;
    QWidget* const picInner;
    QScrollBar* const scrInner;
    std::vector<ctlSettings*> ctlSet; // row 0 always exists

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Resize();
    void picOuter_Resize();
    void picInner_Resize();
    void scrInner_Change(int Value);
    void ConnectRow(int Index);
    FrameExtents Frame() const;

    bool mBuilding = false;
    // The frame that the last height fit reckoned with, and the client height it chose.
    FrameExtents mFittedFrame;
    int mFittedClientHeight = -1;
};

// The one control panel, created on first use.
frmSettings& SettingsWindow();
bool SettingsWindowExists();

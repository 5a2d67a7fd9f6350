// The character editor: the modal window in which the user edits one character's name, picture,
// eye and iris sizes, iris width, colours and start position, and opens the eye-centre picker.
// It edits the live record, so the character shows each change; it keeps an entry copy and gives
// it back unless the user confirms with OK. One editor exists at most, made for each opening and
// discarded when it closes.
#pragma once

#include "editor/EditorRules.h"
#include "settings/ProgramState.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <cstdint>

class GradShape;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class ctlShape;
class ctlSlider;
class frmPic;
class clsGlobal;

class frmAdvSet final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAdvSet)

public:
    explicit frmAdvSet(QWidget* parent = nullptr);
    ~frmAdvSet() override;

    // Fills the editor from character FensterIndex (its slot in CharacterWindows) and shows it
    // modally; returns when the editor has been closed. An index without a character does nothing.
    void ShowForm(int FensterIndex);
    // ShowForm without the showing: takes the entry copy and fills every control. False when the
    // slot holds no character.
    bool FillForm(int FensterIndex);

    // Asks for one repaint of the character 300 ms after the last request.
    void NeedRefresh();
    bool RefreshPending() const { return tmrRefresh.isActive(); }
    static constexpr int kRefreshDelayMs = 300;

    // The character being edited, while it is still one of the program's characters.
    CharacterWindowBase* Character() const;
    const EditorEntryCopy& EntryCopy() const { return mEntry; }

    // The controls, in the order of the design.
    GradShape* GradShape2 = nullptr;
    QLabel* lblTitle = nullptr;
    QLineEdit* txtTitle = nullptr;
    QGroupBox* frFile = nullptr;
    QListWidget* Files = nullptr;
    QFrame* picPre = nullptr;
    QLabel* imgPre = nullptr;
    QPushButton* cmdApply = nullptr;
    QCheckBox* chkFit = nullptr;
    std::array<QGroupBox*, 2> frEye1{};
    std::array<ctlSlider*, 2> sldEyeDiamX{};
    std::array<ctlSlider*, 2> sldEyeDiamY{};
    std::array<ctlSlider*, 2> sldIrisDiamX{};
    std::array<ctlSlider*, 2> sldIrisDiamY{};
    QGroupBox* fraBothEyes = nullptr;
    ctlSlider* sldIrisWidth = nullptr;
    QGroupBox* frIris = nullptr;
    std::array<ctlSlider*, 3> sldIrisRGB{};
    ctlShape* shpIrisColor = nullptr;
    QGroupBox* frPupil = nullptr;
    std::array<ctlSlider*, 3> sldPupilRGB{};
    ctlShape* shpPupilColor = nullptr;
    QPushButton* cmdSelCenter = nullptr;
    QGroupBox* fraStart = nullptr;
    QLabel* lblStartX = nullptr;
    QLineEdit* txtStartX = nullptr;
    QLabel* lblStartY = nullptr;
    QLineEdit* txtStartY = nullptr;
    QPushButton* cmdCurPos = nullptr;
    GradShape* GradShape1 = nullptr;
    GradShape* GradShape3 = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOK = nullptr;

    // The preview's inner area, in which imgPre stands; it clips the picture.
    QWidget* PreviewArea() const { return mPreviewArea; }

public slots:
    // Every close that is not OK or Cancel (the close box, the window menu, Alt+F4, the program
    // ending) gives the entry copy back first.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void Form_Unload();

    void DiameterChanged(std::int32_t CharacterRecord::*field, int NewValue);
    void sldIrisWidth_Change(int NewValue);
    void sldIrisRGB_Change(int Index, int NewValue);
    void sldPupilRGB_Change(int Index, int NewValue);
    void txtTitle_Change();
    void txtStart_Change(QLineEdit* field, std::int32_t CharacterRecord::*position);
    bool txtStart_KeyPress(QLineEdit* field, QKeyEvent* event);
    void UpdatePreview();
    void cmdApply_Click();
    void cmdSelCenter_Click();
    void cmdCurPos_MouseDown();
    void cmdCurPos_MouseMove();
    void cmdCurPos_MouseUp();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void tmrRefresh_Timer();
    void RestoreCharacter();
    void RefreshProps();
    frmPic* CharacterPic() const;

    QTimer tmrRefresh;
    QWidget* mPreviewArea = nullptr;
    CharacterWindowBase* mCharacter = nullptr;
    clsGlobal* mHub = nullptr;
    EditorEntryCopy mEntry;
    bool mFilling = false;       // the controls are being filled; their handlers write nothing
    bool mClosingByCode = false; // OK or Cancel closes; the close itself restores nothing more
    bool mUnloaded = false;
    bool mDragging = false;
    clsGlobal::Subscription mCentrePicked; // last, so it ends first
};

// The open character editor, or nothing.
frmAdvSet* CharacterEditor();

// Opens the editor of character FensterIndex (its slot in CharacterWindows), modal; returns when
// the user has closed it. Called by the "Advanced" button of a settings row.
void ShowCharacterEditor(int FensterIndex);

// Closes an open editor as its close box does (the entry copy is given back). For the end of the
// program.
void CloseCharacterEditor();

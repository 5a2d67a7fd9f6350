// Start-up and shutdown.
#include "start/modStart.h"

#include "character/WindowSystem.h"
#include "character/frmPic.h"
#include "editor/frmAdvSet.h"
#include "help/frmHelp.h"
#include "panel/frmSettings.h"
#include "settings/AtomicFile.h"
#include "settings/Configuration.h"
#include "settings/PrivateProfile.h"
#include "settings/ProgramState.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>

#include <cstdlib>

namespace {

// Whether the characters in memory are the ones loaded from the file. Ending the program saves
// them only then: not before the first load, not while the fatal message is up (the file is
// missing or damaged, and saving would create or overwrite it), not between an Add or Delete and
// the reload that follows it (the file already holds everything).
bool CharactersLoaded = false;

[[noreturn]] void FatalError(const QString& firstLine) {
    QGuiApplication::restoreOverrideCursor();
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Lookabout - Fatal Error"),
                    firstLine + QStringLiteral("\n") + QStringLiteral("This program cannot be started."),
                    QMessageBox::Ok);
    box.exec();
    std::exit(EXIT_FAILURE);
}

void ReportSaveFailure() {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Lookabout"),
                    QStringLiteral("The settings could not be saved to the file\n%1\n\nReason: %2")
                        .arg(QString::fromStdString(IniFilePath), QString::fromUtf8(profile::LastError())),
                    QMessageBox::Ok);
    box.exec();
}

void CloseAllCharacters() {
    for (CharacterWindowBase* window : CharacterWindows)
        if (window)
            window->Unload();
    CharacterWindows.assign(1, nullptr);
    CharacterSections.clear();
    CharactersLoaded = false;
}

void ReadScreenUnits() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
    TwipsPerPixelX = static_cast<float>(1440.0 / (dpiX > 0 ? dpiX : 96.0));
    TwipsPerPixelY = static_cast<float>(1440.0 / (dpiY > 0 ? dpiY : 96.0));
}

} // namespace

QString ProgramDirectory() {
    return ProgramFolder.empty() ? QCoreApplication::applicationDirPath() : QString::fromStdString(ProgramFolder);
}

void SetProgramDirectory(const QString& directory) { ProgramFolder = directory.toStdString(); }

namespace {

// The program's answers to what its windows ask through the hub.
class TopLevelActions final : public ProgramActions {
public:
    void EndProgram() override { ::EndProgram(); }
    void ShowControlPanel() override { ::ShowControlPanel(); }
    void ShowHelp(int textId) override { ShowHelpModeless(textId); }
    bool SaveChangeAndCloseAll(const std::function<bool()>& saveChange) override {
        return ::SaveChangeAndCloseAll(saveChange);
    }
    void LoadAll() override { ::LoadAll(); }
};

TopLevelActions topLevelActions;

} // namespace

void LoadAll() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // The windows made below ask the program for things through the hub, and find the pictures in
    // the program's folder.
    GetGlobal().SetProgramActions(&topLevelActions);
    ProgramFolder = ProgramDirectory().toStdString();
    ReadScreenUnits();
    // The flag is never set back: once layered windows were seen, they stay in use.
    if (window_system::HasLayeredWindows())
        IsWin2000OrLater = true;
    IniFilePath = (ProgramDirectory() + QStringLiteral("/Lookabout.ini")).toStdString();
    if (!QFileInfo(QString::fromStdString(IniFilePath)).isFile())
        FatalError(QStringLiteral("The file 'Lookabout.ini' is missing."));
    // A save cut short by a kill or a power cut leaves its hidden temporary file; this program holds
    // the folder, so none of them belongs to a save still going on.
    atomic_file::RemoveLeftovers(IniFilePath);

    {
        // Every key of every character is read from one copy of the file.
        profile::Session reading(IniFilePath);
        const GeneralSettings general = ReadGeneralSettings(IniFilePath);
        AdvancedEditing = general.advancedEditing;
        ProgramTitle = general.programTitle;
        if (!FindCharacterSections())
            FatalError(QStringLiteral("The file 'Lookabout.ini' is damaged."));

        const int count = static_cast<int>(CharacterSections.size());
        CharacterWindows.assign(static_cast<std::size_t>(count) + 1, nullptr);
        for (int i = 0; i < count; ++i) {
            auto* window = new frmPic();
            CharacterWindows[static_cast<std::size_t>(i) + 1] = window;
            window->mMyIndex = i + 1;
            window->mINISectionName = CharacterSections[static_cast<std::size_t>(i)];
            ReadCharacterSection(i);
        }
    }
    CharactersLoaded = true;
    for (std::size_t k = 1; k < CharacterWindows.size(); ++k) {
        auto* window = static_cast<frmPic*>(CharacterWindows[k]);
        window->MakeWindowRegion();
        window->show();
        window_system::SendToBottom(window);
    }
    // Let the characters map and paint before the panel's rows are built: they are what the user
    // waits to see.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    SettingsWindow().ShowForm();
    QGuiApplication::restoreOverrideCursor();
}

bool SaveAndCloseAll() {
    std::vector<const CharacterRecord*> records;
    for (const CharacterWindowBase* window : CharacterWindows)
        if (window)
            records.push_back(window);
    const bool saved = SaveAllCharacters(records, ProgramTitle, IniFilePath);
    if (!saved)
        ReportSaveFailure();
    CloseAllCharacters();
    return saved;
}

bool SaveChangeAndCloseAll(const std::function<bool()>& saveChange) {
    if (!saveChange()) {
        ReportSaveFailure();
        return false;
    }
    CloseAllCharacters();
    return true;
}

void ShowControlPanel() {
    if (SettingsWindowExists())
        SettingsWindow().ShowPanel();
}

void EndProgram() {
    static bool ending = false;
    if (ending)
        return;
    ending = true;
    // An editor still open (the session ends under it) holds changes the user never confirmed:
    // it gives back the entry values, as its Cancel does, before everything is saved.
    if (CharacterEditor())
        CloseCharacterEditor();
    if (CharactersLoaded)
        SaveAndCloseAll();
    if (HelpWindowExists())
        UnloadHelpWindow();
    // When the panel's own closing started the end, this is part of that closing.
    if (SettingsWindowExists())
        SettingsWindow().close();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

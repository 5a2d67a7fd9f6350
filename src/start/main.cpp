// Lookabout's entry: make sure there is a display and that no other program runs from this
// folder, then load every character.
#include "start/DisplayCheck.h"
#include "start/EndSignals.h"
#include "start/SingleInstance.h"
#include "start/modStart.h"

#include <QApplication>
#include <QTimer>

#include <cstdlib>

int main(int argc, char* argv[]) {
    if (!PrepareDisplay())
        return EXIT_FAILURE;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lookabout"));
    // A second program on the same settings file would save over the first one's characters.
    SingleInstance instance(ProgramDirectory());
    if (!instance.Claim())
        return EXIT_SUCCESS;
    QObject::connect(&instance, &SingleInstance::ShowRequested, &app, [] { ShowControlPanel(); });
    // Character windows come and go on Add and Delete; only EndProgram ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallEndSignals(&app);
    QTimer::singleShot(0, &app, [] { LoadAll(); });
    return QApplication::exec();
}

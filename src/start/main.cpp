// Lookabout's entry: choose the X11 platform where needed, then load every character.
#include "start/EndSignals.h"
#include "start/modStart.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    // The characters need the global pointer and window positions, which Wayland does not
    // give to clients; run through XWayland instead.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland")
            qputenv("QT_QPA_PLATFORM", "xcb");
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            std::fprintf(stderr, "Lookabout: no X display to show the characters on (DISPLAY is not set).\n");
            return EXIT_FAILURE;
        }
    }
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lookabout"));
    // Character windows come and go on Add and Delete; only EndProgram ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallEndSignals(&app);
    QTimer::singleShot(0, &app, [] { LoadAll(); });
    return QApplication::exec();
}

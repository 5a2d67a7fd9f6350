// The display check on X11, and on Wayland sessions through XWayland (macOS needs none).
#include "start/DisplayCheck.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define LOOKABOUT_HAVE_XCB 1
#endif

bool PrepareDisplay() {
#ifndef Q_OS_MACOS
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty()) {
        // The characters need the global pointer and window positions, which Wayland does not
        // give to clients; run through XWayland instead.
        if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland")
            qputenv("QT_QPA_PLATFORM", "xcb");
    } else if (!platform.startsWith("xcb")) {
        // A platform chosen on purpose (offscreen, vnc, ...) finds its own display.
        return true;
    }
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        std::fprintf(stderr, "Lookabout: no X display to show the characters on (DISPLAY is not set).\n");
        return false;
    }
#ifdef LOOKABOUT_HAVE_XCB
    // The same connection Qt's xcb platform would make; Qt only learns of a failure after it has
    // committed to the platform, and then aborts.
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error != 0) {
        std::fprintf(stderr, "Lookabout: cannot open the X display \"%s\" to show the characters on.\n",
                     display.constData());
        return false;
    }
#endif
    // Without shared memory Qt keeps each window's finished picture in the X server: a character
    // uncovered by another is copied there from it, with no upload, and painting the eyes need not
    // wait for the server to finish reading the last picture first. Only the changed eye rectangles
    // travel, which are small.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
#endif
    return true;
}

// Window-system facts on X11 (and any other non-Windows platform Qt runs on).
#include "character/WindowSystem.h"

#include <QWidget>
#include <QWindow>

#include <QByteArray>
#include <cstring>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#if __has_include(<xcb/xcb.h>) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#define LOOKABOUT_HAVE_XCB 1
#endif

namespace window_system {

#ifdef LOOKABOUT_HAVE_XCB
namespace {

// The program's own connection to the X server; none on another platform plugin (offscreen).
xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace
#endif

bool HasLayeredWindows() {
#ifdef LOOKABOUT_HAVE_XCB
    xcb_connection_t* c = Connection();
    if (!c)
        return false;
    // The screen number is the part after the dot of the display name (":0.1"); 0 by default.
    int screen = 0;
    const QByteArray display = qgetenv("DISPLAY");
    const int dot = display.lastIndexOf('.');
    if (dot > display.lastIndexOf(':'))
        screen = display.mid(dot + 1).toInt();
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.constData()), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
    const bool running = owner && owner->owner != XCB_NONE;
    free(owner);
    free(atom);
    return running;
#else
    return false;
#endif
}

void KeepOutOfTaskbar(QWidget* window) {
#ifdef LOOKABOUT_HAVE_XCB
    xcb_connection_t* c = Connection();
    if (!c)
        return;
    auto intern = [c](const char* name) {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
        free(reply);
        return atom;
    };
    // Qt keeps the states it finds on an unmapped window and adds its own when it shows it.
    const xcb_atom_t states[] = {intern("_NET_WM_STATE_SKIP_TASKBAR"), intern("_NET_WM_STATE_SKIP_PAGER")};
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, intern("_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, states);
    xcb_flush(c);
#else
    Q_UNUSED(window);
#endif
}

void SetClickThrough(QWidget* window, bool clickThrough) {
    const bool unmanaged = window->windowFlags().testFlag(Qt::X11BypassWindowManagerHint);
    if (unmanaged == clickThrough && window->windowHandle()) {
        window->windowHandle()->setFlag(Qt::WindowTransparentForInput, clickThrough);
        return;
    }
    // Changing whether the window is managed re-creates it; show it again if it was shown.
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::X11BypassWindowManagerHint, clickThrough);
    window->setWindowFlag(Qt::WindowTransparentForInput, clickThrough);
    if (!clickThrough)
        KeepOutOfTaskbar(window);
    if (shown)
        window->show();
}

namespace {

// An EWMH window manager announces itself on the root window. Without one there are no bands:
// the bottom of the stack lies below every desktop window.
bool WindowManagerRunning() {
#ifdef LOOKABOUT_HAVE_XCB
    xcb_connection_t* c = Connection();
    if (!c)
        return false;
    static const char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr);
    if (!atom || atom->atom == XCB_NONE) {
        free(atom);
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool running = property && xcb_get_property_value_length(property) == 4;
    free(property);
    free(atom);
    return running;
#else
    return false;
#endif
}

} // namespace

void SendToBottom(QWidget* window) {
    if (!window->windowFlags().testFlag(Qt::X11BypassWindowManagerHint) && WindowManagerRunning())
        window->lower();
}

void PutInTopmostBand(QWidget* window) {
    // Tell the widget without re-creating its window, then the window manager (_NET_WM_STATE_ABOVE).
    window->overrideWindowFlags(window->windowFlags() | Qt::WindowStaysOnTopHint);
    if (QWindow* w = window->windowHandle())
        w->setFlag(Qt::WindowStaysOnTopHint, true);
    // Without a window manager there is no band: on top of the stack is the nearest to it.
    window->raise();
}

} // namespace window_system

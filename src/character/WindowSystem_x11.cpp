// Window-system facts on X11 (and any other non-Windows platform Qt runs on).
#include "character/WindowSystem.h"

#include <QWidget>
#include <QWindow>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QPointer>
#include <cstring>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

#if __has_include(<xcb/xcb.h>) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#include <xcb/xinput.h>
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

// The input extension as the server has it (xcb asks once per connection); null without one.
const xcb_query_extension_reply_t* XInput() {
    xcb_connection_t* c = Connection();
    const xcb_query_extension_reply_t* xinput = c ? xcb_get_extension_data(c, &xcb_input_id) : nullptr;
    return xinput && xinput->present ? xinput : nullptr;
}

// The connection where the server has the input extension, whose events and selections follow.
xcb_connection_t* XInputConnection() { return XInput() ? Connection() : nullptr; }

xcb_window_t Root(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

// The window's native window now. The widget's own id is the first one Qt made: Qt shows a window
// whose band changed in a new one.
xcb_window_t NativeWindow(QWidget* window) {
    window->winId(); // makes one if there is none yet
    return static_cast<xcb_window_t>(window->windowHandle()->winId());
}

// The events the program reads before Qt: the pointer's raw motion, which Qt does not use, and
// the confirmations of the character windows' own moves.
class EventFilter final : public QAbstractNativeEventFilter {
public:
    static EventFilter& Instance() {
        static EventFilter* filter = [] {
            auto* f = new EventFilter(); // lives as long as the program, like the application's filters
            qGuiApp->installNativeEventFilter(f);
            return f;
        }();
        return *filter;
    }

    std::function<void()> wake;
    // Character windows by native window, and whether a window manager has put each in a frame.
    struct Shown {
        QPointer<QWidget> widget;
        bool framed = false;
    };
    std::unordered_map<xcb_window_t, Shown> windows;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        auto* event = static_cast<xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case XCB_GE_GENERIC:
            return RawMotion(reinterpret_cast<xcb_ge_generic_event_t*>(event));
        case XCB_CONFIGURE_NOTIFY:
            // One sent by a window manager (the top bit) reports a frame's move: Qt needs it.
            return !(event->response_type & 0x80) &&
                   OwnMoveConfirmed(reinterpret_cast<xcb_configure_notify_event_t*>(event));
        case XCB_REPARENT_NOTIFY: {
            auto* r = reinterpret_cast<xcb_reparent_notify_event_t*>(event);
            const auto found = windows.find(r->window);
            if (found != windows.end())
                found->second.framed = r->parent != Root(Connection());
            return false;
        }
        default:
            return false;
        }
    }

private:
    bool RawMotion(const xcb_ge_generic_event_t* event) const {
        const xcb_query_extension_reply_t* xinput = XInput();
        if (!xinput || event->extension != xinput->major_opcode ||
            event->event_type != XCB_INPUT_RAW_MOTION)
            return false;
        // Motion queued before the watch ended is no news to an awake clock; waking it again is harmless.
        if (wake)
            wake();
        return true;
    }

    bool OwnMoveConfirmed(const xcb_configure_notify_event_t* event) {
        const auto found = windows.find(event->window);
        if (found == windows.end() || event->event != event->window)
            return false;
        const Shown& shown = found->second;
        if (!shown.widget) {
            windows.erase(found);
            return false;
        }
        // In a frame the position is the frame's; such windows are left to Qt.
        QWindow* w = shown.widget->windowHandle();
        if (shown.framed || !w)
            return false;
        const qreal ratio = w->devicePixelRatio();
        const QRect g = w->geometry();
        const QRect held(qRound(g.x() * ratio), qRound(g.y() * ratio), qRound(g.width() * ratio),
                         qRound(g.height() * ratio));
        return held == QRect(event->x, event->y, event->width, event->height);
    }
};

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
    // Asked once for all windows: each question waits for the server, before the first face shows.
    static const std::array<xcb_atom_t, 3> atoms = [c] {
        const char* names[] = {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"};
        xcb_intern_atom_cookie_t cookies[3];
        for (int i = 0; i < 3; ++i)
            cookies[i] = xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(names[i])), names[i]);
        std::array<xcb_atom_t, 3> found{};
        for (int i = 0; i < 3; ++i) {
            xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookies[i], nullptr);
            found[static_cast<std::size_t>(i)] = reply ? reply->atom : XCB_NONE;
            free(reply);
        }
        return found;
    }();
    const xcb_window_t id = NativeWindow(window);
    // Qt keeps the states it finds on an unmapped window and adds its own when it shows it.
    std::vector<xcb_atom_t> states;
    if (window->isVisible()) {
        // A shown window has its states already, Qt's and the window manager's.
        xcb_get_property_reply_t* held =
            xcb_get_property_reply(c, xcb_get_property(c, 0, id, atoms[0], XCB_ATOM_ATOM, 0, 64), nullptr);
        if (held && held->format == 32) {
            const auto* first = static_cast<const xcb_atom_t*>(xcb_get_property_value(held));
            states.assign(first, first + xcb_get_property_value_length(held) / 4);
        }
        free(held);
    }
    for (const xcb_atom_t skip : {atoms[1], atoms[2]})
        if (std::find(states.begin(), states.end(), skip) == states.end())
            states.push_back(skip);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atoms[0], XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    if (window->isVisible()) {
        // A window manager that holds the window already reads no property but this request.
        xcb_client_message_event_t add{};
        add.response_type = XCB_CLIENT_MESSAGE;
        add.format = 32;
        add.window = id;
        add.type = atoms[0];
        add.data.data32[0] = 1; // add
        add.data.data32[1] = atoms[1];
        add.data.data32[2] = atoms[2];
        add.data.data32[3] = 1; // asked by an application
        xcb_send_event(c, 0, Root(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&add));
    }
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

bool WatchPointerMotion(bool watch, const std::function<void()>& wake) {
#ifdef LOOKABOUT_HAVE_XCB
    xcb_connection_t* c = XInputConnection();
    if (!c)
        return false;
    // Kept when the watch ends: a stopped watch may be ended from within the call itself.
    EventFilter& filter = EventFilter::Instance();
    if (watch)
        filter.wake = wake;
    // Raw motion comes only to the root window, from every pointer device, wherever the pointer is.
    struct {
        xcb_input_event_mask_t head;
        uint32_t mask;
    } selection = {{XCB_INPUT_DEVICE_ALL_MASTER, 1}, watch ? uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_MOTION) : 0u};
    // The first selection is checked: a server whose input extension is too old refuses it.
    static std::optional<bool> accepted;
    if (!accepted) {
        xcb_generic_error_t* error =
            xcb_request_check(c, xcb_input_xi_select_events_checked(c, Root(c), 1, &selection.head));
        free(error);
        accepted = !error;
        return *accepted;
    }
    if (!*accepted)
        return false;
    xcb_input_xi_select_events(c, Root(c), 1, &selection.head);
    xcb_flush(c);
    return true;
#else
    Q_UNUSED(watch);
    Q_UNUSED(wake);
    return false;
#endif
}

void SkipOwnMoveConfirmations(QWidget* window) {
#ifdef LOOKABOUT_HAVE_XCB
    if (!Connection())
        return;
    EventFilter::Instance().windows[NativeWindow(window)].widget = window;
#else
    Q_UNUSED(window);
#endif
}

} // namespace window_system

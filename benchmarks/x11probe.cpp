// The X11 side of the motion benchmark (motion-benchmark.sh): watches the character windows
// appear and get painted, moves the pointer through the X test extension (real device motion,
// no warps), and times how fast windows react to a pointer jump. Every mode ends by printing one
// JSON line with its figures; times are milliseconds on the monotonic clock.
//
//   lookabout_x11probe startup --count N       prints "ready", reads the start time (monotonic
//                                              nanoseconds) from standard input, reports when
//                                              the first character window was mapped and when
//                                              all N were painted; --aside X,Y lowers another
//                                              window of the same owner (the control panel)
//                                              below the characters and moves it to X,Y
//   lookabout_x11probe quiet                   waits until no window moves or is painted
//   lookabout_x11probe circle --seconds S      moves the pointer on a circle every 10 ms;
//                                              prints "start" when the first step was sent
//   lookabout_x11probe jumps --count N         jumps the pointer back and forth by 500 pixels
//                                              and times the first move and the first redraw
//   lookabout_x11probe requests --seconds S    counts, per second, the requests the owner of
//                                              the character windows sends and the events it
//                                              receives (RECORD extension), for diagnosis
//
// Common options: --title T (the character windows' title, "Character"), --other T (a second
// window to time beside them, e.g. "xeyes"). DISPLAY names the display.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/record.h>

#include <poll.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::int64_t NowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Every client's resource ids share the server's mask; without it an id names its owner.
constexpr XID kResourceMask = 0x1fffff;

double Ms(std::int64_t ns) {
    return double(ns) / 1e6;
}

struct Options {
    std::string mode;
    std::string title = "Character";
    std::string other;
    int count = 1;
    double seconds = 20;
    int cx = 512, cy = 384, radius = 200;
    int periodMs = 2000;
    int stepMs = 10;
    int distance = 500;
    int ax = 262, ay = 384;
    int quietMs = 300;
    int timeoutMs = 30000;
    bool aside = false;
    int asideX = 0, asideY = 0;
    bool verbose = false;
};

// Windows are told apart by title; an X error on a window that vanished meanwhile is harmless.
int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

std::string WindowTitle(Display* d, Window w) {
    static const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    for (Atom prop : {netName, Atom(XA_WM_NAME)}) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, w, prop, 0, 256, False, AnyPropertyType, &type, &format, &items, &after, &data) ==
                Success &&
            data) {
            std::string s = format == 8 ? std::string(reinterpret_cast<char*>(data), items) : std::string();
            XFree(data);
            if (!s.empty())
                return s;
        }
    }
    return {};
}

enum class Kind { Unwatched, Character, Other };

class Probe {
public:
    Probe(Display* d, const Options& o) : mD(d), mOpt(o), mRoot(DefaultRootWindow(d)) {}

    bool Init() {
        int major = 0, minor = 0, err = 0;
        if (!XTestQueryExtension(mD, &mXTestEvent, &err, &major, &minor)) {
            std::fprintf(stderr, "x11probe: the X test extension is missing\n");
            return false;
        }
        if (!XFixesQueryExtension(mD, &err, &err) || !XDamageQueryExtension(mD, &mDamageEvent, &err)) {
            std::fprintf(stderr, "x11probe: the XFIXES or DAMAGE extension is missing\n");
            return false;
        }
        // Damage needs the XFIXES version negotiated first.
        major = 5, minor = 0;
        XFixesQueryVersion(mD, &major, &minor);
        major = 1, minor = 1;
        XDamageQueryVersion(mD, &major, &minor);
        XSelectInput(mD, mRoot, SubstructureNotifyMask);
        XSync(mD, False);
        return true;
    }

    Kind KindOf(Window w) const {
        const auto it = mKinds.find(w);
        return it == mKinds.end() ? Kind::Unwatched : it->second;
    }

    Kind Classify(Window w) {
        const std::string t = WindowTitle(mD, w);
        Kind k = Kind::Unwatched;
        if (t == mOpt.title)
            k = Kind::Character;
        else if (!mOpt.other.empty() && t == mOpt.other)
            k = Kind::Other;
        mKinds[w] = k;
        return k;
    }

    void Watch(Window w) {
        if (mDamages.count(w))
            return;
        // Raw rectangles: one event per painted box, no subtract round trips.
        mDamages[w] = XDamageCreate(mD, w, XDamageReportRawRectangles);
    }

    // Every viewable top-level window with one of the two titles, watched for painting.
    void FindWindows() {
        Window rootRet = 0, parent = 0;
        Window* children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(mD, mRoot, &rootRet, &parent, &children, &n))
            return;
        for (unsigned int i = 0; i < n; ++i) {
            XWindowAttributes a{};
            if (!XGetWindowAttributes(mD, children[i], &a) || a.map_state != IsViewable)
                continue;
            if (Classify(children[i]) != Kind::Unwatched)
                Watch(children[i]);
        }
        if (children)
            XFree(children);
        XSync(mD, False);
    }

    int Count(Kind k) const {
        int n = 0;
        for (const auto& [w, kind] : mKinds)
            n += kind == k && mDamages.count(w) ? 1 : 0;
        return n;
    }

    // The next event, or nothing when the deadline passed first.
    bool Next(XEvent& ev, std::int64_t deadlineNs) {
        while (!XPending(mD)) {
            const std::int64_t left = deadlineNs - NowNs();
            if (left <= 0)
                return false;
            pollfd p{ConnectionNumber(mD), POLLIN, 0};
            poll(&p, 1, int(std::min<std::int64_t>(left / 1000000 + 1, 1000)));
        }
        XNextEvent(mD, &ev);
        return true;
    }

    bool IsDamage(const XEvent& ev) const { return ev.type == mDamageEvent + XDamageNotify; }

    std::pair<int, int> Pointer() {
        Window r = 0, c = 0;
        int x = 0, y = 0, wx = 0, wy = 0;
        unsigned int mask = 0;
        XQueryPointer(mD, mRoot, &r, &c, &x, &y, &wx, &wy, &mask);
        return {x, y};
    }

    void MoveBy(int dx, int dy) {
        if (dx == 0 && dy == 0)
            return;
        XTestFakeRelativeMotionEvent(mD, dx, dy, CurrentTime);
        XFlush(mD);
    }

    // Relative steps until the pointer is there (relative motion could be accelerated).
    bool MoveTo(int x, int y) {
        for (int i = 0; i < 8; ++i) {
            const auto [px, py] = Pointer();
            if (px == x && py == y)
                return true;
            MoveBy(x - px, y - py);
            XSync(mD, False);
        }
        return false;
    }

    // Waits until no watched window moved or was painted for quietMs; false on timeout.
    bool WaitQuiet(int quietMs, std::int64_t deadlineNs) {
        std::int64_t last = NowNs();
        for (;;) {
            const std::int64_t quietEnd = last + std::int64_t(quietMs) * 1000000;
            XEvent ev;
            if (!Next(ev, std::min(quietEnd, deadlineNs)))
                return NowNs() >= quietEnd;
            if (Relevant(ev))
                last = NowNs();
        }
    }

    bool Relevant(const XEvent& ev) {
        if (IsDamage(ev))
            return KindOf(reinterpret_cast<const XDamageNotifyEvent&>(ev).drawable) != Kind::Unwatched;
        if (ev.type == ConfigureNotify)
            return KindOf(ev.xconfigure.window) != Kind::Unwatched;
        return false;
    }

    int RunStartup();
    int RunQuiet();
    int RunCircle();
    int RunJumps();
    int RunRequests();

private:
    Display* mD;
    const Options& mOpt;
    Window mRoot;
    int mXTestEvent = 0;
    int mDamageEvent = 0;
    std::map<Window, Kind> mKinds;
    std::map<Window, Damage> mDamages;
};

std::optional<std::int64_t> ReadStartLine(std::string& buffer) {
    const auto nl = buffer.find('\n');
    if (nl == std::string::npos)
        return std::nullopt;
    return std::strtoll(buffer.substr(0, nl).c_str(), nullptr, 10);
}

int Probe::RunStartup() {
    std::printf("ready\n");
    std::fflush(stdout);
    std::optional<std::int64_t> start;
    std::string input;
    std::map<Window, std::int64_t> mapped, painted;
    int movedAside = 0;
    const std::int64_t deadline = NowNs() + std::int64_t(mOpt.timeoutMs) * 1000000;
    // With --aside, a second more after all were painted for a control panel to come and go aside.
    auto done = [&] {
        if (!start || int(painted.size()) < mOpt.count)
            return false;
        if (!mOpt.aside || movedAside > 0)
            return true;
        std::int64_t last = 0;
        for (const auto& [w, time] : painted)
            last = std::max(last, time);
        return NowNs() > last + 1000000000;
    };
    while (NowNs() < deadline && !done()) {
        if (!start) {
            pollfd p{0, POLLIN, 0};
            if (poll(&p, 1, 0) > 0) {
                char buf[64];
                const ssize_t n = read(0, buf, sizeof buf);
                if (n > 0)
                    input.append(buf, std::size_t(n));
                start = ReadStartLine(input);
            }
        }
        XEvent ev;
        if (!Next(ev, std::min(deadline, NowNs() + 5000000)))
            continue;
        const std::int64_t t = NowNs();
        if (ev.type == CreateNotify && ev.xcreatewindow.parent == mRoot) {
            // Watched before it can be mapped, so its first paint cannot slip by.
            Watch(ev.xcreatewindow.window);
        } else if (ev.type == MapNotify && ev.xmap.event == mRoot) {
            const Window w = ev.xmap.window;
            const Kind k = Classify(w);
            if (k == Kind::Character && !mapped.count(w))
                mapped[w] = t;
            // Another window of the characters' owner (its control panel) goes below them and
            // out of their way, as a window manager's topmost band and the user would have it.
            const bool sameOwner = !mapped.empty() && (mapped.begin()->first & ~kResourceMask) == (w & ~kResourceMask);
            if (mOpt.aside && k == Kind::Unwatched && sameOwner && !WindowTitle(mD, w).empty()) {
                XLowerWindow(mD, w);
                XMoveWindow(mD, w, mOpt.asideX, mOpt.asideY);
                XFlush(mD);
                ++movedAside;
            }
        } else if (IsDamage(ev)) {
            const Window w = reinterpret_cast<const XDamageNotifyEvent&>(ev).drawable;
            if (mapped.count(w) && !painted.count(w))
                painted[w] = t;
        }
    }
    if (!start) {
        std::fprintf(stderr, "x11probe: no start time on standard input\n");
        return 2;
    }
    auto span = [&](const std::map<Window, std::int64_t>& m, bool last) -> std::string {
        if (m.empty())
            return "null";
        std::int64_t v = m.begin()->second;
        for (const auto& [w, time] : m)
            v = last ? std::max(v, time) : std::min(v, time);
        char s[32];
        std::snprintf(s, sizeof s, "%.2f", Ms(v - *start));
        return s;
    };
    const bool complete = int(painted.size()) >= mOpt.count;
    std::printf("{\"mode\":\"startup\",\"windows\":%zu,\"painted\":%zu,\"moved_aside\":%d,\"first_mapped_ms\":%s,\"all_"
                "mapped_ms\":%s,"
                "\"first_painted_ms\":%s,\"all_painted_ms\":%s}\n",
                mapped.size(), painted.size(), movedAside, span(mapped, false).c_str(),
                complete ? span(mapped, true).c_str() : "null", span(painted, false).c_str(),
                complete ? span(painted, true).c_str() : "null");
    return complete ? 0 : 1;
}

int Probe::RunQuiet() {
    FindWindows();
    const std::int64_t start = NowNs();
    const bool quiet = WaitQuiet(mOpt.quietMs, start + std::int64_t(mOpt.timeoutMs) * 1000000);
    std::printf("{\"mode\":\"quiet\",\"characters\":%d,\"quiet\":%s,\"waited_ms\":%.1f}\n", Count(Kind::Character),
                quiet ? "true" : "false", Ms(NowNs() - start));
    return quiet ? 0 : 1;
}

int Probe::RunCircle() {
    const double twoPi = 6.283185307179586;
    auto at = [&](long k) {
        const double a = twoPi * double(k) * mOpt.stepMs / mOpt.periodMs;
        return std::pair<int, int>{int(std::lround(mOpt.cx + mOpt.radius * std::cos(a))),
                                   int(std::lround(mOpt.cy + mOpt.radius * std::sin(a)))};
    };
    const auto [x0, y0] = at(0);
    const bool placed = MoveTo(x0, y0);
    int curX = x0, curY = y0;
    const long steps = std::lround(mOpt.seconds * 1000.0 / mOpt.stepMs);
    long late = 0;
    std::int64_t next = NowNs();
    std::printf("start\n");
    std::fflush(stdout);
    for (long k = 1; k <= steps; ++k) {
        next += std::int64_t(mOpt.stepMs) * 1000000;
        timespec ts{time_t(next / 1000000000), long(next % 1000000000)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
        }
        if (NowNs() - next > std::int64_t(mOpt.stepMs) * 1000000)
            ++late;
        const auto [x, y] = at(k);
        MoveBy(x - curX, y - curY);
        curX = x, curY = y;
        // Events are not needed here; keep the queue from growing.
        while (XPending(mD)) {
            XEvent ev;
            XNextEvent(mD, &ev);
        }
    }
    XSync(mD, False);
    const auto [px, py] = Pointer();
    std::printf("{\"mode\":\"circle\",\"steps\":%ld,\"late_steps\":%ld,\"placed\":%s,\"drift_px\":%d}\n", steps, late,
                placed ? "true" : "false", std::abs(px - curX) + std::abs(py - curY));
    return 0;
}

void PrintList(const char* name, const std::vector<double>& v) {
    std::printf("\"%s\":[", name);
    for (std::size_t i = 0; i < v.size(); ++i)
        std::printf("%s%.2f", i ? "," : "", v[i]);
    std::printf("]");
}

int Probe::RunJumps() {
    FindWindows();
    if (Count(Kind::Character) == 0) {
        std::fprintf(stderr, "x11probe: no window titled \"%s\"\n", mOpt.title.c_str());
        return 2;
    }
    const std::int64_t settleNs = std::int64_t(mOpt.timeoutMs) * 1000000;
    MoveTo(mOpt.ax, mOpt.ay);
    WaitQuiet(mOpt.quietMs, NowNs() + settleNs);

    std::vector<double> moveMs, eyesMs, otherMs;
    std::mt19937_64 random(20240601); // the same pauses in every run
    int unsettled = 0, missedMove = 0, missedEyes = 0, missedOther = 0, offTarget = 0;
    for (int i = 0; i < mOpt.count; ++i) {
        // Quiet ends a fixed time after the last tick; a random pause keeps the jumps from
        // falling always at the same point of the program's timer period.
        const std::int64_t pauseNs = std::uniform_int_distribution<std::int64_t>(0, 50000000)(random);
        const std::int64_t pauseEnd = NowNs() + pauseNs;
        timespec ts{time_t(pauseEnd / 1000000000), long(pauseEnd % 1000000000)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
        }
        const int dx = i % 2 == 0 ? mOpt.distance : -mOpt.distance;
        const auto [px, py] = Pointer();
        const std::int64_t t0 = NowNs();
        MoveBy(dx, 0);
        std::optional<std::int64_t> move, eyes, other;
        // The X server reports a window's move as a ConfigureNotify followed at once by the
        // damage of the copied contents; that damage is the move, not a redraw by the program.
        Window copying = None;
        std::int64_t last = NowNs();
        const std::int64_t deadline = t0 + settleNs;
        bool quiet = false;
        for (;;) {
            const std::int64_t quietEnd = last + std::int64_t(mOpt.quietMs) * 1000000;
            XEvent ev;
            if (!Next(ev, std::min(quietEnd, deadline))) {
                quiet = NowNs() >= quietEnd;
                break;
            }
            const std::int64_t t = NowNs();
            if (ev.type == ConfigureNotify) {
                const Kind k = KindOf(ev.xconfigure.window);
                copying = k != Kind::Unwatched ? ev.xconfigure.window : None;
                if (k == Kind::Character && !move)
                    move = t;
                if (k != Kind::Unwatched)
                    last = t;
                if (mOpt.verbose)
                    std::fprintf(stderr, "%8.2f configure %lx %d,%d\n", Ms(t - t0), ev.xconfigure.window,
                                 ev.xconfigure.x, ev.xconfigure.y);
                continue;
            }
            if (!IsDamage(ev)) {
                copying = None;
                continue;
            }
            const auto& de = reinterpret_cast<const XDamageNotifyEvent&>(ev);
            const Kind k = KindOf(de.drawable);
            if (k == Kind::Unwatched)
                continue;
            last = t;
            const bool isCopy = de.drawable == copying;
            if (mOpt.verbose)
                std::fprintf(stderr, "%8.2f damage %lx %d,%d %dx%d%s\n", Ms(t - t0), de.drawable, de.area.x, de.area.y,
                             de.area.width, de.area.height, isCopy ? " (move)" : "");
            if (isCopy) {
                // The last box of the copy ends the series; the next damage is a redraw.
                if (!de.more)
                    copying = None;
                continue;
            }
            copying = None;
            if (k == Kind::Character && !eyes)
                eyes = t;
            if (k == Kind::Other && !other)
                other = t;
        }
        const auto [qx, qy] = Pointer();
        if (qx - px != dx || qy != py)
            ++offTarget;
        unsettled += quiet ? 0 : 1;
        if (move)
            moveMs.push_back(Ms(*move - t0));
        else
            ++missedMove;
        if (eyes)
            eyesMs.push_back(Ms(*eyes - t0));
        else
            ++missedEyes;
        if (!mOpt.other.empty()) {
            if (other)
                otherMs.push_back(Ms(*other - t0));
            else
                ++missedOther;
        }
        if (!quiet)
            WaitQuiet(mOpt.quietMs, NowNs() + settleNs);
    }
    std::printf("{\"mode\":\"jumps\",\"characters\":%d,\"jumps\":%d,\"unsettled\":%d,\"off_target\":%d,"
                "\"missed_move\":%d,\"missed_eyes\":%d,\"missed_other\":%d,",
                Count(Kind::Character), mOpt.count, unsettled, offTarget, missedMove, missedEyes, missedOther);
    PrintList("move_ms", moveMs);
    std::printf(",");
    PrintList("eyes_ms", eyesMs);
    std::printf(",");
    PrintList("other_ms", otherMs);
    std::printf("}\n");
    return 0;
}

// Names of the core requests and events a character window's owner uses most; others by number.
const char* CoreRequestName(int op) {
    static const std::map<int, const char*> names = {{2, "ChangeWindowAttributes"},
                                                     {3, "GetWindowAttributes"},
                                                     {8, "MapWindow"},
                                                     {12, "ConfigureWindow"},
                                                     {14, "GetGeometry"},
                                                     {15, "QueryTree"},
                                                     {16, "InternAtom"},
                                                     {18, "ChangeProperty"},
                                                     {20, "GetProperty"},
                                                     {38, "QueryPointer"},
                                                     {40, "TranslateCoordinates"},
                                                     {43, "GetInputFocus"},
                                                     {53, "CreatePixmap"},
                                                     {55, "CreateGC"},
                                                     {56, "ChangeGC"},
                                                     {59, "SetClipRectangles"},
                                                     {62, "CopyArea"},
                                                     {70, "PolyFillRectangle"},
                                                     {72, "PutImage"}};
    const auto it = names.find(op);
    return it == names.end() ? nullptr : it->second;
}

const char* EventName(int type) {
    static const char* names[] = {"Error",          "Reply",          "KeyPress",         "KeyRelease",
                                  "ButtonPress",    "ButtonRelease",  "MotionNotify",     "EnterNotify",
                                  "LeaveNotify",    "FocusIn",        "FocusOut",         "KeymapNotify",
                                  "Expose",         "GraphicsExpose", "NoExpose",         "VisibilityNotify",
                                  "CreateNotify",   "DestroyNotify",  "UnmapNotify",      "MapNotify",
                                  "MapRequest",     "ReparentNotify", "ConfigureNotify",  "ConfigureRequest",
                                  "GravityNotify",  "ResizeRequest",  "CirculateNotify",  "CirculateRequest",
                                  "PropertyNotify", "SelectionClear", "SelectionRequest", "SelectionNotify",
                                  "ColormapNotify", "ClientMessage",  "MappingNotify",    "GenericEvent"};
    return type >= 0 && type <= 35 ? names[type] : nullptr;
}

struct RecordState {
    XID base = 0;
    XID mask = 0;
    std::map<std::string, long> counts;
    std::map<int, std::string> extensions; // major opcode to name
};

void OnRecord(XPointer closure, XRecordInterceptData* d) {
    auto* st = reinterpret_cast<RecordState*>(closure);
    if (d->category != XRecordFromClient && d->category != XRecordFromServer) {
        XRecordFreeData(d);
        return;
    }
    if ((d->id_base & ~st->mask) != st->base || !d->data || d->data_len == 0) {
        XRecordFreeData(d);
        return;
    }
    const unsigned char* b = d->data;
    std::string key;
    if (d->category == XRecordFromClient) {
        const int major = b[0];
        if (major >= 128) {
            const auto it = st->extensions.find(major);
            key = "request " + (it != st->extensions.end() ? it->second : std::to_string(major)) + ":" +
                  std::to_string(b[1]);
        } else {
            const char* n = CoreRequestName(major);
            key = std::string("request ") + (n ? n : std::to_string(major).c_str());
        }
    } else {
        const int type = b[0] & 0x7f;
        const char* n = EventName(type);
        key = std::string(type == 1 ? "reply" : "event ") + (type == 1 ? "" : (n ? n : std::to_string(type).c_str()));
    }
    ++st->counts[key];
    XRecordFreeData(d);
}

int Probe::RunRequests() {
    FindWindows();
    Window any = None;
    for (const auto& [w, kind] : mKinds)
        if (kind == Kind::Character)
            any = w;
    if (any == None) {
        std::fprintf(stderr, "x11probe: no window titled \"%s\"\n", mOpt.title.c_str());
        return 2;
    }
    int major = 0, minor = 0;
    if (!XRecordQueryVersion(mD, &major, &minor)) {
        std::fprintf(stderr, "x11probe: the RECORD extension is missing\n");
        return 2;
    }
    RecordState st;
    st.mask = kResourceMask;
    st.base = any & ~st.mask;
    int n = 0;
    char** names = XListExtensions(mD, &n);
    for (int i = 0; i < n; ++i) {
        int op = 0, ev = 0, er = 0;
        if (XQueryExtension(mD, names[i], &op, &ev, &er))
            st.extensions[op] = names[i];
    }
    XFreeExtensionList(names);

    XRecordRange* range = XRecordAllocRange();
    range->core_requests.first = 1;
    range->core_requests.last = 127;
    range->ext_requests.ext_major.first = 128;
    range->ext_requests.ext_major.last = 255;
    range->ext_requests.ext_minor.first = 0;
    range->ext_requests.ext_minor.last = 65535;
    range->delivered_events.first = KeyPress; // 0 and 1 are errors and replies, not events
    range->delivered_events.last = 35;
    range->core_replies.first = 1;
    range->core_replies.last = 127;
    range->ext_replies.ext_major.first = 128;
    range->ext_replies.ext_major.last = 255;
    range->ext_replies.ext_minor.first = 0;
    range->ext_replies.ext_minor.last = 65535;
    XRecordClientSpec client = st.base;
    XRecordContext ctx = XRecordCreateContext(mD, 0, &client, 1, &range, 1);
    XFree(range);
    XSync(mD, False);
    // Recording needs a connection of its own.
    Display* data = XOpenDisplay(nullptr);
    if (!ctx || !data || !XRecordEnableContextAsync(data, ctx, OnRecord, reinterpret_cast<XPointer>(&st))) {
        std::fprintf(stderr, "x11probe: cannot record (context %lu)\n", ctx);
        return 2;
    }
    const std::int64_t end = NowNs() + std::int64_t(mOpt.seconds * 1e9);
    while (NowNs() < end) {
        XRecordProcessReplies(data);
        pollfd p{ConnectionNumber(data), POLLIN, 0};
        poll(&p, 1, 10);
    }
    XRecordDisableContext(mD, ctx);
    XSync(mD, False);
    XRecordProcessReplies(data);
    XRecordFreeContext(mD, ctx);
    XCloseDisplay(data);
    std::printf("{\"mode\":\"requests\",\"seconds\":%.1f,\"per_second\":{", mOpt.seconds);
    bool first = true;
    for (const auto& [k, v] : st.counts) {
        std::printf("%s\"%s\":%.1f", first ? "" : ",", k.c_str(), double(v) / mOpt.seconds);
        first = false;
    }
    std::printf("}}\n");
    return 0;
}

bool ParseOptions(int argc, char** argv, Options& o) {
    if (argc < 2)
        return false;
    o.mode = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--verbose") {
            o.verbose = true;
            continue;
        }
        if (a == "--aside" && i + 1 < argc) {
            o.aside = std::sscanf(argv[++i], "%d,%d", &o.asideX, &o.asideY) == 2;
            if (!o.aside)
                return false;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const char* v = argv[++i];
        if (a == "--title")
            o.title = v;
        else if (a == "--other")
            o.other = v;
        else if (a == "--count")
            o.count = std::atoi(v);
        else if (a == "--seconds")
            o.seconds = std::atof(v);
        else if (a == "--cx")
            o.cx = std::atoi(v);
        else if (a == "--cy")
            o.cy = std::atoi(v);
        else if (a == "--radius")
            o.radius = std::atoi(v);
        else if (a == "--period-ms")
            o.periodMs = std::max(1, std::atoi(v));
        else if (a == "--step-ms")
            o.stepMs = std::max(1, std::atoi(v));
        else if (a == "--distance")
            o.distance = std::atoi(v);
        else if (a == "--ax")
            o.ax = std::atoi(v);
        else if (a == "--ay")
            o.ay = std::atoi(v);
        else if (a == "--quiet-ms")
            o.quietMs = std::atoi(v);
        else if (a == "--timeout-ms")
            o.timeoutMs = std::atoi(v);
        else
            return false;
    }
    return o.mode == "startup" || o.mode == "quiet" || o.mode == "circle" || o.mode == "jumps" || o.mode == "requests";
}

} // namespace

int main(int argc, char** argv) {
    Options opt;
    if (!ParseOptions(argc, argv, opt)) {
        std::fprintf(stderr, "usage: %s startup|quiet|circle|jumps|requests [options] (see the top of x11probe.cpp)\n",
                     argv[0]);
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "x11probe: cannot open display %s\n", XDisplayName(nullptr));
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    Probe probe(d, opt);
    if (!probe.Init())
        return 2;
    int rc = 2;
    if (opt.mode == "startup")
        rc = probe.RunStartup();
    else if (opt.mode == "quiet")
        rc = probe.RunQuiet();
    else if (opt.mode == "circle")
        rc = probe.RunCircle();
    else if (opt.mode == "requests")
        rc = probe.RunRequests();
    else
        rc = probe.RunJumps();
    std::fflush(stdout);
    XCloseDisplay(d);
    return rc;
}

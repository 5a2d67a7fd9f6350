// The clock of the character windows.
#include "character/CharacterClock.h"

#include "character/WindowSystem.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

CharacterClock& CharacterClock::Instance() {
    static CharacterClock* clock = new CharacterClock(); // lives as long as the program
    return *clock;
}

CharacterClock::CharacterClock() {
    mTimer.setInterval(kIntervalMs);
    mTimer.setTimerType(Qt::PreciseTimer);
    connect(&mTimer, &QTimer::timeout, this, &CharacterClock::Tick);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
    auto watchScreen = [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, &CharacterClock::Wake);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watchScreen(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, watchScreen);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &CharacterClock::Wake);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &CharacterClock::Wake);
}

void CharacterClock::Add(Tickable* window) {
    mWindows.push_back(window);
    Wake();
}

void CharacterClock::Remove(Tickable* window) {
    mWindows.erase(std::remove(mWindows.begin(), mWindows.end(), window), mWindows.end());
    if (mWindows.empty()) {
        mTimer.stop();
        window_system::WatchPointerMotion(false, {});
    }
}

void CharacterClock::Tick() {
    const QPoint pointer = QCursor::pos();
    const bool pointerMoved = pointer != mLastPointer;
    // A window that moved in the last round may move on, towards a pointer at rest or another window.
    if (mPolling && !mWoken && !pointerMoved && !mMoved)
        return;
    mLastPointer = pointer;
    mWoken = false;
    mTicking = true;
    bool moved = false;
    // In the order of the characters; a window may be removed by a tick (the program ending).
    const std::vector<Tickable*> windows = mWindows;
    for (Tickable* w : windows)
        if (std::find(mWindows.begin(), mWindows.end(), w) != mWindows.end())
            moved = w->Tick(pointer) || moved;
    mTicking = false;
    mMoved = moved;
    // A pointer that moved in this round is likely to move on: the clock sleeps once it rests.
    if (!moved && !pointerMoved && !mPolling)
        Sleep();
}

void CharacterClock::Sleep() {
    if (!window_system::WatchPointerMotion(true, [this] { Wake(); })) {
        mPolling = true;
        return;
    }
    // A motion between this round's reading and the start of the watch would not wake the clock.
    if (QCursor::pos() != mLastPointer) {
        window_system::WatchPointerMotion(false, {});
        return;
    }
    mTimer.stop();
}

void CharacterClock::Wake() {
    // A tick's own moves are no news.
    if (mTicking || mWindows.empty())
        return;
    mWoken = true;
    if (mTimer.isActive())
        return;
    // While awake the pointer is read on every tick anyway.
    window_system::WatchPointerMotion(false, {});
    mTimer.start();
    QMetaObject::invokeMethod(this, &CharacterClock::Tick, Qt::QueuedConnection);
}

bool CharacterClock::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        Wake();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

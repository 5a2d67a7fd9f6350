// The clock of the character windows.
#include "character/CharacterClock.h"

#include <QCursor>

#include <algorithm>

CharacterClock& CharacterClock::Instance() {
    static CharacterClock* clock = new CharacterClock(); // lives as long as the program
    return *clock;
}

CharacterClock::CharacterClock() {
    mTimer.setInterval(kIntervalMs);
    mTimer.setTimerType(Qt::PreciseTimer);
    connect(&mTimer, &QTimer::timeout, this, &CharacterClock::Tick);
}

void CharacterClock::Add(Tickable* window) {
    mWindows.push_back(window);
    if (!mTimer.isActive())
        mTimer.start();
}

void CharacterClock::Remove(Tickable* window) {
    mWindows.erase(std::remove(mWindows.begin(), mWindows.end(), window), mWindows.end());
    if (mWindows.empty())
        mTimer.stop();
}

void CharacterClock::Tick() {
    const QPoint pointer = QCursor::pos();
    // In the order of the characters; a window may be removed by a tick (the program ending).
    const std::vector<Tickable*> windows = mWindows;
    for (Tickable* w : windows)
        if (std::find(mWindows.begin(), mWindows.end(), w) != mWindows.end())
            w->Tick(pointer);
}

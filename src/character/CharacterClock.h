// The clock of the character windows: every 22 ms it reads the pointer once and runs the tick
// of each character window in the order of the characters. One timer for all windows costs
// less than one per window and keeps the ticks of a round together.
//
// A tick depends only on the pointer, the windows' places and the records. When a round moved no
// window, the next one would do exactly the same; once the pointer has also rested for a round,
// the clock sleeps until something that can change the outcome happens: the pointer moves (told by
// the window system where it can, polled where it cannot), a character window moves, changes size
// or is shown, the user presses a key or a button or turns the wheel anywhere in the program (which
// may change a record), or the screen changes.
#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <optional>
#include <vector>

// What the clock ticks: a character window, seen no further than this.
class Tickable {
public:
    // One tick, with the pointer read once for the whole round; a paused window does nothing.
    // Returns whether the window moved.
    virtual bool Tick(QPoint pointer) = 0;

protected:
    ~Tickable() = default;
};

class CharacterClock final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CharacterClock)

public:
    static CharacterClock& Instance();
    static constexpr int kIntervalMs = 22;

    void Add(Tickable* window);
    void Remove(Tickable* window);
    // One round of ticks at once; the timer calls it, and so may tests.
    void Tick();
    // Something that may change a tick's outcome happened: a round follows at once, then the rhythm.
    void Wake();
    bool Asleep() const { return !mTimer.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CharacterClock();
    void Sleep();

    QTimer mTimer;
    std::vector<Tickable*> mWindows;
    std::optional<QPoint> mLastPointer;
    bool mTicking = false;
    // Where the window system cannot tell the pointer's motion, the timer keeps running while the
    // clock sleeps, and a round runs only when the pointer or a window moved or something woke the
    // clock.
    bool mPolling = false;
    bool mWoken = false;
    bool mMoved = false; // in the last round
};

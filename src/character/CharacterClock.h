// The clock of the character windows: every 22 ms it reads the pointer once and runs the tick
// of each character window in the order of the characters. One timer for all windows costs
// less than one per window and keeps the ticks of a round together.
#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <vector>

// What the clock ticks: a character window, seen no further than this.
class Tickable {
public:
    // One tick, with the pointer read once for the whole round; a paused window does nothing.
    virtual void Tick(QPoint pointer) = 0;

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

private:
    CharacterClock();
    QTimer mTimer;
    std::vector<Tickable*> mWindows;
};

// The clock of the character windows: every 22 ms it reads the pointer once and runs the tick
// of each character window in the order of the characters. One timer for all windows costs
// less than one per window and keeps the ticks of a round together.
#pragma once

#include <QObject>
#include <QTimer>

#include <vector>

class frmPic;

class CharacterClock final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CharacterClock)

public:
    static CharacterClock& Instance();
    static constexpr int kIntervalMs = 22;

    void Add(frmPic* window);
    void Remove(frmPic* window);
    // One round of ticks at once; the timer calls it, and so may tests.
    void Tick();

private:
    CharacterClock();
    QTimer mTimer;
    std::vector<frmPic*> mWindows;
};

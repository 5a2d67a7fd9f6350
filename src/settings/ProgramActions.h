// What a window asks of the program as a whole: to end it, to show the control panel or the help,
// to save a change and load everything again. The top level answers and hands its answers to the
// hub at start-up; a window asks the hub and never knows who answers.
#pragma once

#include <functional>

class ProgramActions {
public:
    virtual ~ProgramActions() = default;

    // Saves, closes every window and ends the program.
    virtual void EndProgram() = 0;
    // Shows the control panel, restored and in front.
    virtual void ShowControlPanel() = 0;
    // Shows the help window with the general (0) or the advanced (1) text, not modal.
    virtual void ShowHelp(int textId) = 0;
    // Writes `saveChange`'s change with every character; only when it reached the disk are the
    // character windows closed. Returns whether it did.
    virtual bool SaveChangeAndCloseAll(const std::function<bool()>& saveChange) = 0;
    // Loads every character from the file again and shows them with the control panel.
    virtual void LoadAll() = 0;
};

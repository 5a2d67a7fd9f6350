// Start-up and shutdown: loading every character from the settings file, saving them back,
// and the one way the program ends.
#pragma once

#include <QString>

// Loads the settings file, creates and shows one character window per character and then the
// control panel; ends the program with the fatal message when the file is missing or damaged.
void LoadAll();

// Writes every character and the title to the file in one replacement, then closes every
// character window. A failed write is reported in a message box and the program goes on.
// Returns false when the file could not be written.
bool SaveAndCloseAll();

// Saves, closes every window and ends the program. Safe to call more than once.
void EndProgram();

// The folder of the executable, where the settings file and the pictures live.
QString ProgramDirectory();
// Tests point the program at a folder of their own.
void SetProgramDirectory(const QString& directory);

// Shows the control panel (a double click on a character).
void ShowControlPanel();
// Shows the help window with the general (0) or the advanced (1) text, not modal.
void ShowHelpWindow(int textId);

// Start-up and shutdown: loading every character from the settings file, saving them back,
// and the one way the program ends.
#pragma once

#include <QString>

#include <functional>

// Loads the settings file, creates and shows one character window per character and then the
// control panel; ends the program with the fatal message when the file is missing or damaged.
void LoadAll();

// Writes every character and the title to the file in one replacement, then closes every
// character window. A failed write is reported in a message box and the program goes on.
// Returns false when the file could not be written.
bool SaveAndCloseAll();

// The save of the control panel's Add and Delete: `saveChange` writes their change, every character
// and the title to the file in one replacement. Only when that reached the disk are the character
// windows closed, ready for LoadAll. Otherwise the failure is reported and nothing is closed: the
// program goes on with the characters as they are in memory, and the file stays as it was.
bool SaveChangeAndCloseAll(const std::function<bool()>& saveChange);

// Saves, closes every window and ends the program. Safe to call more than once.
void EndProgram();

// The folder of the executable, where the settings file and the pictures live: ProgramFolder once
// set, the executable's own folder before.
QString ProgramDirectory();
// Tests point the program at a folder of their own.
void SetProgramDirectory(const QString& directory);

// Shows the control panel, restored and in front (a double click on a character).
void ShowControlPanel();

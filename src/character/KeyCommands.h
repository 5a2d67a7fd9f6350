// What a key press in a character window does.
#pragma once

#include "widgets/VirtualKeys.h"

enum class CharacterCommand { None, EndProgram, ToggleFlee, ShowHelp, ToggleMinimised };

// Alt alone with F4, X or Q ends the program; Space and Enter switch follow and run away
// whatever the shift state; F1 shows the help; F12 minimises and restores.
CharacterCommand CharacterKeyCommand(int keyCode, int shift);

// After every key press a target beyond the last character becomes the last character.
int ClampTargetAfterKey(int fixed, int count);

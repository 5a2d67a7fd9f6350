// What a key press in a character window does.
#pragma once

// Shift state bits, as the keyboard reports them: 1 Shift, 2 Ctrl, 4 Alt.
inline constexpr int kShiftBit = 1, kCtrlBit = 2, kAltBit = 4;

// Key codes of the keys that matter here (Windows virtual-key codes).
inline constexpr int kKeyEnter = 13, kKeySpace = 32, kKeyQ = 81, kKeyX = 88, kKeyF1 = 112, kKeyF4 = 115,
                     kKeyF12 = 123;

enum class CharacterCommand { None, EndProgram, ToggleFlee, ShowHelp, ToggleMinimised };

// Alt alone with F4, X or Q ends the program; Space and Enter switch follow and run away
// whatever the shift state; F1 shows the help; F12 minimises and restores.
CharacterCommand CharacterKeyCommand(int keyCode, int shift);

// After every key press a target beyond the last character becomes the last character.
int ClampTargetAfterKey(int fixed, int count);

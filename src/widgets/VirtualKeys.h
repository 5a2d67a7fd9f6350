// Keys as every window's key handler sees them: Windows virtual-key codes and the shift state
// bits (1 Shift, 2 Ctrl, 4 Alt), so key rules read the same on every platform.
#pragma once

inline constexpr int kShiftBit = 1, kCtrlBit = 2, kAltBit = 4;

inline constexpr int kKeyBack = 8, kKeyEnter = 13, kKeySpace = 32, kKeyLeft = 37, kKeyRight = 39, kKeyQ = 81,
                     kKeyX = 88, kKeyF1 = 112, kKeyF4 = 115, kKeyF12 = 123;

// Alt alone with F4, X or Q: the keys that end the program in a character or help window.
bool IsEndProgramKey(int keyCode, int shift);

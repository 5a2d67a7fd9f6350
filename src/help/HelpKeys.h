// The keys of the help window: Alt+Q, Alt+X and Alt+F4 end the program; with any other modifier
// held besides Alt they do nothing.
#pragma once

// Key codes and the modifier mask as the windows' key handlers receive them.
inline constexpr int KeyCodeQ = 81;
inline constexpr int KeyCodeX = 88;
inline constexpr int KeyCodeF4 = 115;
inline constexpr int ShiftMaskShift = 1;
inline constexpr int ShiftMaskCtrl = 2;
inline constexpr int ShiftMaskAlt = 4;

bool IsEndProgramKey(int KeyCode, int Shift);

// The keys of the help window.
#include "help/HelpKeys.h"

bool IsEndProgramKey(int KeyCode, int Shift) {
    if (Shift != ShiftMaskAlt)
        return false;
    return KeyCode == KeyCodeQ || KeyCode == KeyCodeX || KeyCode == KeyCodeF4;
}

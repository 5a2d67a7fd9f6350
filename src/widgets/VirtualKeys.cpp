// Keys as every window's key handler sees them.
#include "widgets/VirtualKeys.h"

bool IsEndProgramKey(int keyCode, int shift) {
    return shift == kAltBit && (keyCode == kKeyF4 || keyCode == kKeyX || keyCode == kKeyQ);
}

// The display check on Windows: the desktop is always there for a program the user started.
#include "start/DisplayCheck.h"

bool PrepareDisplay() {
    return true;
}

// Window-system facts on Windows: every supported version has layered windows.
#include "character/WindowSystem.h"

namespace window_system {

bool HasLayeredWindows() { return true; }

} // namespace window_system

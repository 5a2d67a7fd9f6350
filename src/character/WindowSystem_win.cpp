// Window-system facts on Windows: every supported version has layered windows.
#include "character/WindowSystem.h"

#include <QWidget>
#include <QWindow>

namespace window_system {

bool HasLayeredWindows() { return true; }

// A tool window has no taskbar button on Windows.
void KeepOutOfTaskbar(QWidget*) {}

void SetClickThrough(QWidget* window, bool clickThrough) {
    if (QWindow* w = window->windowHandle())
        w->setFlag(Qt::WindowTransparentForInput, clickThrough);
    else
        window->setWindowFlag(Qt::WindowTransparentForInput, clickThrough);
}

} // namespace window_system

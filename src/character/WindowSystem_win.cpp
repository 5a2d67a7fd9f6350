// Window-system facts on Windows: every supported version has layered windows.
#include "character/WindowSystem.h"

#include <QWidget>
#include <QWindow>

#include <windows.h>

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

void SendToBottom(QWidget* window) {
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void PutInTopmostBand(QWidget* window) {
    window->overrideWindowFlags(window->windowFlags() | Qt::WindowStaysOnTopHint);
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// The pointer is read from the process's own input state, which costs no more than a function
// call: polling it is the cheap way here.
bool WatchPointerMotion(bool, const std::function<void()>&) { return false; }

// Moves take no round trip on Windows.
void SkipOwnMoveConfirmations(QWidget*) {}

} // namespace window_system

// The few window-system facts and calls that Qt does not give the same way everywhere.
// One file per platform implements this header.
#pragma once

#include <functional>

class QWidget;

namespace window_system {

// True when windows can have a whole-window alpha and let clicks through: on Windows always,
// on X11 while a compositing manager runs (the _NET_WM_CM_S<screen> selection has an owner).
bool HasLayeredWindows();

// Keeps a character window out of the taskbar and the pager. Call before the window is shown, and
// again when a shown window has a new native window.
void KeepOutOfTaskbar(QWidget* window);

// Makes a window transparent to the mouse, or takes it back. On X11 a managed window sits in a
// frame of the window manager that would still take the clicks, so a click-through window is
// left unmanaged there.
void SetClickThrough(QWidget* window, bool clickThrough);

// Sends a shown window to the bottom of the stacking order, out of the topmost band. Where no
// window manager keeps the desktop's own window below the others (none runs, or it does not manage
// this window), the window is left where it is: at the bottom it would vanish under the desktop.
void SendToBottom(QWidget* window);

// Puts a window into the topmost band, above every ordinary window, without moving or
// activating anything.
void PutInTopmostBand(QWidget* window);

// While watching, calls wake at each motion of the pointer anywhere on the screen, as the window
// system tells it, without polling. Returns false where it cannot tell: then the caller polls.
bool WatchPointerMotion(bool watch, const std::function<void()>& wake);

// After each move of a shown window that Qt asked for, the window system confirms the new place;
// Qt would then ask the server again where the window and its frame are, a wait for replies on
// every step of a moving character. A confirmation of the place Qt already holds tells it nothing,
// so it is dropped. Call when the window is shown (a shown window may have a new native window).
void SkipOwnMoveConfirmations(QWidget* window);

} // namespace window_system

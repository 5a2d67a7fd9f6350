// A Qt key event as a virtual-key code and shift state (widgets/VirtualKeys.h).
#pragma once

class QKeyEvent;

// The virtual-key code of the event's key, or 0 for a key no window of the program handles.
int VirtualKeyOf(const QKeyEvent& event);
// 1 Shift, 2 Ctrl, 4 Alt, added up.
int ShiftStateOf(const QKeyEvent& event);

// A Qt key event as a virtual-key code and shift state.
#include "widgets/KeyEvents.h"

#include "widgets/VirtualKeys.h"

#include <QKeyEvent>

int VirtualKeyOf(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return kKeyBack;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kKeyEnter;
    case Qt::Key_Space:
        return kKeySpace;
    case Qt::Key_Left:
        return kKeyLeft;
    case Qt::Key_Right:
        return kKeyRight;
    case Qt::Key_Q:
        return kKeyQ;
    case Qt::Key_X:
        return kKeyX;
    case Qt::Key_F1:
        return kKeyF1;
    case Qt::Key_F4:
        return kKeyF4;
    case Qt::Key_F12:
        return kKeyF12;
    default:
        return 0;
    }
}

int ShiftStateOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers m = event.modifiers();
    return (m & Qt::ShiftModifier ? kShiftBit : 0) | (m & Qt::ControlModifier ? kCtrlBit : 0) |
           (m & Qt::AltModifier ? kAltBit : 0);
}

// Qt key events become the virtual-key codes and shift bits that every window's key rules use.
#include "widgets/KeyEvents.h"
#include "widgets/VirtualKeys.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

#include <tuple>

TEST(KeyEvents, KeysAndModifiersBecomeCodesAndShiftBits) {
    const std::tuple<int, Qt::KeyboardModifiers, int, int> cases[] = { // Qt key, modifiers, code, shift bits
        {Qt::Key_F4, Qt::AltModifier, kKeyF4, kAltBit},
        {Qt::Key_X, Qt::AltModifier | Qt::ShiftModifier, kKeyX, kAltBit | kShiftBit},
        {Qt::Key_Q, Qt::AltModifier | Qt::ControlModifier, kKeyQ, kAltBit | kCtrlBit},
        {Qt::Key_Enter, Qt::KeypadModifier, kKeyEnter, 0}, // the keypad's Enter counts as Enter
        {Qt::Key_Return, Qt::NoModifier, kKeyEnter, 0},
        {Qt::Key_Space, Qt::ShiftModifier, kKeySpace, kShiftBit},
        {Qt::Key_F12, Qt::MetaModifier, kKeyF12, 0}, // the logo key is no shift state
        {Qt::Key_A, Qt::NoModifier, 0, 0},
    };
    for (const auto& [key, modifiers, code, shift] : cases) {
        const QKeyEvent event(QEvent::KeyPress, key, modifiers);
        EXPECT_EQ(std::pair(VirtualKeyOf(event), ShiftStateOf(event)), std::pair(code, shift)) << key;
    }
}

// The keys of a character window: which press does what, and the target clamp after every press.
#include "character/KeyCommands.h"

#include <gtest/gtest.h>

#include <climits>

TEST(CharacterKeyCommand, EndKeysNeedAltAloneTheOthersIgnoreTheShiftState) {
    using C = CharacterCommand;
    const int alt = kAltBit, shift = kShiftBit, ctrl = kCtrlBit;
    const struct {
        int key, shift;
        C want;
    } cases[] = {{kKeyF4, alt, C::EndProgram},   {kKeyX, alt, C::EndProgram},  {kKeyQ, alt, C::EndProgram},
                 {kKeyF4, alt | shift, C::None}, {kKeyQ, alt | ctrl, C::None}, {kKeyX, 0, C::None},
                 {kKeyF4, ctrl, C::None},        {65, alt, C::None},           {65, 0, C::None},
                 {kKeySpace, alt | ctrl | shift, C::ToggleFlee}, {kKeyEnter, shift, C::ToggleFlee},
                 {kKeyF1, ctrl, C::ShowHelp},    {kKeyF12, alt, C::ToggleMinimised}};
    for (const auto& c : cases)
        EXPECT_EQ(CharacterKeyCommand(c.key, c.shift), c.want) << "key " << c.key << " shift " << c.shift;
}

TEST(ClampTargetAfterKey, ATargetBeyondTheLastCharacterBecomesTheLast) {
    const int cases[][3] = {{5, 2, 2}, {2, 2, 2}, {1, 2, 1}, {0, 1, 0}, {INT_MAX, 4, 4}}; // target, count, result
    for (const auto& [fixed, count, want] : cases)
        EXPECT_EQ(ClampTargetAfterKey(fixed, count), want) << fixed << " of " << count;
}

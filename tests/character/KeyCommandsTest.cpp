// The keys of a character window: which press does what, and the target clamp after every press.
#include "character/KeyCommands.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

TEST(CharacterKeyCommand, EndKeysNeedAltAloneTheOthersIgnoreTheShiftState) {
    using C = CharacterCommand;
    const int alt = kAltBit, shift = kShiftBit, ctrl = kCtrlBit;
    const struct {
        int key, shift;
        C want;
    } ends[] = {{kKeyF4, alt, C::EndProgram},   {kKeyX, alt, C::EndProgram},  {kKeyQ, alt, C::EndProgram},
                {kKeyF4, alt | shift, C::None}, {kKeyQ, alt | ctrl, C::None}, {kKeyX, alt | ctrl | shift, C::None},
                {kKeyF4, ctrl, C::None},        {kKeyX, 0, C::None},          {65, alt, C::None}};
    for (const auto& c : ends)
        EXPECT_EQ(CharacterKeyCommand(c.key, c.shift), c.want) << "key " << c.key << " shift " << c.shift;

    const std::pair<int, C> anyShift[] = {{kKeySpace, C::ToggleFlee},
                                          {kKeyEnter, C::ToggleFlee},
                                          {kKeyF1, C::ShowHelp},
                                          {kKeyF12, C::ToggleMinimised},
                                          {65, C::None},
                                          {kKeyF4 - 1, C::None}};
    for (const auto& [key, want] : anyShift)
        for (int s = 0; s < 8; ++s)
            EXPECT_EQ(CharacterKeyCommand(key, s), want) << "key " << key << " shift " << s;
}

TEST(ClampTargetAfterKey, ATargetBeyondTheLastCharacterBecomesTheLast) {
    const struct {
        int fixed, count, want;
    } cases[] = {{5, 2, 2}, {3, 2, 2}, {2, 2, 2}, {1, 2, 1}, {0, 1, 0}, {INT_MAX, 4, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(ClampTargetAfterKey(c.fixed, c.count), c.want) << c.fixed << " of " << c.count;
}

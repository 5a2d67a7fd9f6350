// The keys of a character window: which press does what, and the target clamp after every press.
#include "character/KeyCommands.h"

#include <gtest/gtest.h>

namespace {

const char* Name(CharacterCommand c) {
    switch (c) {
    case CharacterCommand::None:
        return "None";
    case CharacterCommand::EndProgram:
        return "EndProgram";
    case CharacterCommand::ToggleFlee:
        return "ToggleFlee";
    case CharacterCommand::ShowHelp:
        return "ShowHelp";
    case CharacterCommand::ToggleMinimised:
        return "ToggleMinimised";
    }
    return "?";
}

} // namespace

TEST(CharacterKeyCommand, EndKeysNeedAltAlone) {
    const int alt = kAltBit, shift = kShiftBit, ctrl = kCtrlBit;
    const struct {
        int key, shift;
        CharacterCommand want;
        const char* what;
    } cases[] = {
        {kKeyF4, alt, CharacterCommand::EndProgram, "Alt+F4"},
        {kKeyX, alt, CharacterCommand::EndProgram, "Alt+X"},
        {kKeyQ, alt, CharacterCommand::EndProgram, "Alt+Q"},
        {kKeyF4, alt | shift, CharacterCommand::None, "Alt+Shift+F4"},
        {kKeyQ, alt | ctrl, CharacterCommand::None, "Ctrl+Alt+Q"},
        {kKeyX, alt | ctrl | shift, CharacterCommand::None, "Ctrl+Alt+Shift+X"},
        {kKeyF4, ctrl, CharacterCommand::None, "Ctrl+F4"},
        {kKeyF4, 0, CharacterCommand::None, "F4"},
        {kKeyX, 0, CharacterCommand::None, "X"},
        {kKeyQ, shift, CharacterCommand::None, "Shift+Q"},
        {65, alt, CharacterCommand::None, "Alt+A"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(Name(CharacterKeyCommand(c.key, c.shift)), Name(c.want)) << c.what;
}

TEST(CharacterKeyCommand, OtherKeysIgnoreTheShiftState) {
    const struct {
        int key;
        CharacterCommand want;
    } cases[] = {
        {kKeySpace, CharacterCommand::ToggleFlee},
        {kKeyEnter, CharacterCommand::ToggleFlee},
        {kKeyF1, CharacterCommand::ShowHelp},
        {kKeyF12, CharacterCommand::ToggleMinimised},
        {65, CharacterCommand::None},
        {0, CharacterCommand::None},
        {kKeyF4 - 1, CharacterCommand::None},
    };
    for (const auto& c : cases)
        for (int shift = 0; shift < 8; ++shift)
            EXPECT_STREQ(Name(CharacterKeyCommand(c.key, shift)), Name(c.want))
                << "key " << c.key << " shift " << shift;
}

TEST(ClampTargetAfterKey, ATargetBeyondTheLastCharacterBecomesTheLast) {
    const struct {
        int fixed, count, want;
    } cases[] = {{5, 2, 2}, {3, 2, 2}, {2, 2, 2}, {1, 2, 1}, {0, 2, 0}, {0, 1, 0}, {2147483647, 4, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(ClampTargetAfterKey(c.fixed, c.count), c.want) << c.fixed << " of " << c.count;
}

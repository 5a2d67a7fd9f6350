// What a key press in a character window does.
#include "character/KeyCommands.h"

CharacterCommand CharacterKeyCommand(int keyCode, int shift) {
    if (IsEndProgramKey(keyCode, shift))
        return CharacterCommand::EndProgram;
    switch (keyCode) {
    case kKeySpace:
    case kKeyEnter:
        return CharacterCommand::ToggleFlee;
    case kKeyF1:
        return CharacterCommand::ShowHelp;
    case kKeyF12:
        return CharacterCommand::ToggleMinimised;
    default:
        return CharacterCommand::None;
    }
}

int ClampTargetAfterKey(int fixed, int count) { return fixed > count ? count : fixed; }

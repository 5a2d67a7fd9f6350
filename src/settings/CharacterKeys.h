// The one table of character keys of the settings file: name, kind, default and the rule
// applied when read. Loading and saving walk this table; nothing else knows the key names.
#pragma once

#include "settings/CharacterRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <variant>

enum class KeyRule {
    None,        // taken as read
    Trim,        // text: blanks at both ends removed
    Speed,       // clamped to 5..200
    Byte,        // clamped to 0..255
    Target,      // -1 (or any value outside 0..N) becomes the character's own index
    Flag,        // not 0 means true; written "1" or "0"
    Colour,      // "R,G,B" text
};

struct CharacterKey {
    const char* name;
    std::variant<std::string CharacterRecord::*, std::int32_t CharacterRecord::*, bool CharacterRecord::*,
                 std::int16_t CharacterRecord::*>
        field;
    const char* defaultText; // for texts and colours
    std::int32_t defaultNumber;
    KeyRule rule;
};

// In the order the keys are written; a new section has its keys in exactly this order.
extern const std::array<CharacterKey, 25> kCharacterKeys;

inline constexpr const char* kGeneralSection = "General_Settings";
inline constexpr const char* kAdvancedEditingKey = "Advanced_Editing";
inline constexpr const char* kProgramTitleKey = "Program_Title";
inline constexpr const char* kDefaultProgramTitle = "Lookabout";
inline constexpr const char* kImageFileKey = "Image_File";
inline constexpr const char* kSectionPrefix = "CHARACTER_";

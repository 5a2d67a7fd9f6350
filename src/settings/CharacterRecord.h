// The settings of one character, as the settings file holds them.
#pragma once

#include <cstdint>
#include <string>

struct CharacterRecord {
    std::int32_t mMyIndex = 0;    // 1..N, the character's slot in CharacterWindows
    std::string mINISectionName;  // the section that holds the character
    std::int32_t mFixed = 0;      // target: 0 the pointer, k character k, own index: stand and look
    bool mFlee = false;           // false: "Curious about" the target, true: "Scared of" it
    std::string mTitle;           // the character's name
    std::string mPicFileName;     // picture, relative to the program's folder
    std::int32_t mEye1X = -100, mEye1Y = -100;
    std::int32_t mEye2X = -100, mEye2Y = -100;
    std::int32_t mEye1DiamX = 8, mEye1DiamY = 8;
    std::int32_t mEye2DiamX = 8, mEye2DiamY = 8;
    std::int32_t mIris1DiamX = 4, mIris1DiamY = 4;
    std::int32_t mIris2DiamX = 4, mIris2DiamY = 4;
    std::int32_t mSpeedX = 30, mSpeedY = 20;
    std::int32_t mStartPosX = 0, mStartPosY = 0; // screen pixels
    std::int32_t mAlpha = 0;                     // 0 opaque .. 255 invisible
    bool mNoClick = false;                       // clicks pass through the window
    // Drawing attributes of the character window, stored with the record.
    std::int32_t mIrisColor = 40 + 256 * 90 + 65536 * 220; // R + 256 G + 65536 B
    std::int32_t mPupilColor = 0;
    std::int16_t mIrisWidth = 1;

    bool operator==(const CharacterRecord&) const = default;
};

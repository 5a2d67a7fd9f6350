// The table of character keys.
#include "settings/CharacterKeys.h"

using R = CharacterRecord;

const std::array<CharacterKey, 25> kCharacterKeys{{
    {"Name", &R::mTitle, "Character", 0, KeyRule::Trim},
    {"Image_File", &R::mPicFileName, "", 0, KeyRule::Trim},
    {"Fixed_To", &R::mFixed, nullptr, -1, KeyRule::Target},
    {"Flee", &R::mFlee, nullptr, 0, KeyRule::Flag},
    {"Speed_X", &R::mSpeedX, nullptr, 30, KeyRule::Speed},
    {"Speed_Y", &R::mSpeedY, nullptr, 20, KeyRule::None},
    {"Start_Position_X", &R::mStartPosX, nullptr, 0, KeyRule::None},
    {"Start_Position_Y", &R::mStartPosY, nullptr, 0, KeyRule::None},
    {"Transparency", &R::mAlpha, nullptr, 0, KeyRule::Byte},
    {"No_Mouseclick", &R::mNoClick, nullptr, 0, KeyRule::Flag},
    {"Iris_Color", &R::mIrisColor, "40,90,220", 0, KeyRule::Colour},
    {"Pupil_Color", &R::mPupilColor, "0,0,0", 0, KeyRule::Colour},
    {"Iris_Width", &R::mIrisWidth, nullptr, 1, KeyRule::Byte},
    {"Eye1_Center_X", &R::mEye1X, nullptr, -100, KeyRule::None},
    {"Eye1_Center_Y", &R::mEye1Y, nullptr, -100, KeyRule::None},
    {"Eye1_Diameter_X", &R::mEye1DiamX, nullptr, 8, KeyRule::None},
    {"Eye1_Diameter_Y", &R::mEye1DiamY, nullptr, 8, KeyRule::None},
    {"Iris1_Diameter_X", &R::mIris1DiamX, nullptr, 4, KeyRule::None},
    {"Iris1_Diameter_Y", &R::mIris1DiamY, nullptr, 4, KeyRule::None},
    {"Eye2_Center_X", &R::mEye2X, nullptr, -100, KeyRule::None},
    {"Eye2_Center_Y", &R::mEye2Y, nullptr, -100, KeyRule::None},
    {"Eye2_Diameter_X", &R::mEye2DiamX, nullptr, 8, KeyRule::None},
    {"Eye2_Diameter_Y", &R::mEye2DiamY, nullptr, 8, KeyRule::None},
    {"Iris2_Diameter_X", &R::mIris2DiamX, nullptr, 4, KeyRule::None},
    {"Iris2_Diameter_Y", &R::mIris2DiamY, nullptr, 4, KeyRule::None},
}};

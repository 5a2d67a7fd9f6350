// The 10 x 10 pictures on the push buttons of the editor and the picker, drawn in code.
#pragma once

#include <QIcon>

QIcon OkButtonPicture();     // a green tick
QIcon CancelButtonPicture(); // a red cross
QIcon HelpButtonPicture();   // a blue question mark

inline constexpr int kButtonPictureSize = 10;

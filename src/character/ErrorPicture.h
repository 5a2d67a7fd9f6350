// The picture a character shows when its own picture cannot be loaded.
#pragma once

#include <QImage>
#include <QString>

// 200 x 88 pixels; the cyan key colour RGB(0, 255, 242) in the upper-left pixel, so the cyan
// parts are cut away; "ERROR" in crimson with a black outline above a white box that holds
// "Image file not found or not valid:" and the file name.
QImage MakeErrorPicture(const QString& fileName);

inline constexpr unsigned kErrorKeyColour = 0x00FFF2; // RGB(0, 255, 242)

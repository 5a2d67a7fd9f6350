// The window system's named colours (button face, shadow, highlight, ...), taken from a Qt palette
// at the moment they are needed, so that they follow a change of the desktop's colour scheme.
#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

// The colour a system colour index stands for under this palette; black for an unknown index.
QColor SysColor(int index, const QPalette& palette);

// A colour value as a QColor: RGB as it is, a system colour (high bit set) through SysColor.
QColor ToQColor(std::int32_t colour, const QPalette& palette);

// A QColor as an RGB value, R + 256 G + 65536 B.
std::int32_t ToRgbValue(const QColor& colour);

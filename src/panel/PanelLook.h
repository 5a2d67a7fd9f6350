// The control panel's look: the fonts of its design and the small pictures on its buttons and in its
// title bar, all drawn here, so the program needs no picture files of its own for them.
#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>

// The design's dialog font (8.25 point "MS Sans Serif"), or the nearest sans-serif with the same
// metrics where that font is missing.
QFont PanelFont(double pointSize = 8.25, bool bold = false);
// The program title's font: bold 11.25 point Arial, or its stand-in.
QFont TitleFont();

enum class PanelGlyph { Help, Add, Delete, Rename, Minimize };
// A 10 x 10 pixel picture for one of the panel's buttons.
QPixmap ButtonGlyph(PanelGlyph glyph);

// The program's icon: a round face with two eyes looking aside.
QIcon ProgramIcon();

// Placing Qt widgets: by the twips geometry the windows' designs give, converted to pixels once,
// here, with the screen's factors; and windows on the screen.
#pragma once

#include <QRect>

class QWidget;

QRect TwipsToRect(double left, double top, double width, double height);

// Moves and sizes a widget to a twips rectangle inside its parent.
void SetTwipsGeometry(QWidget& widget, double left, double top, double width, double height);

// Centres a window on the primary screen's available area.
void CentreOnScreen(QWidget& window);

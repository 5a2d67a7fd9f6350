// Window geometry is given in twips (1/1440 inch); the screen works in pixels. These helpers convert
// with the screen factors TwipsPerPixelX and TwipsPerPixelY, rounding to the nearest pixel.
#pragma once

#include "settings/PixelRect.h"


int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(double pixels);
double PixelsToTwipsY(double pixels);

// Each of the four values is converted on its own, as a window places a control by its four twips.
PixelRect TwipsToPixels(double left, double top, double width, double height);

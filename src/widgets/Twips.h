// Window geometry is given in twips (1/1440 inch); the screen works in pixels. These helpers convert
// with the screen factors TwipsPerPixelX and TwipsPerPixelY, rounding to the nearest pixel.
#pragma once

// A rectangle in whole pixels.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect&) const = default;
};

int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(double pixels);
double PixelsToTwipsY(double pixels);

// Each of the four values is converted on its own, as a window places a control by its four twips.
PixelRect TwipsToPixels(double left, double top, double width, double height);

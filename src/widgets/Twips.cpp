// Twips to pixels and back.
#include "widgets/Twips.h"

#include "settings/ProgramState.h"
#include "settings/Rounding.h"

namespace {

// The factors are read from the screen at every load; before that, or if a screen reported
// nonsense, the usual 96 dots per inch keep every conversion finite.
double Factor(float twipsPerPixel) {
    return twipsPerPixel > 0 ? twipsPerPixel : 15.0;
}

} // namespace

int TwipsToPixelsX(double twips) {
    return NearestInt(twips / Factor(TwipsPerPixelX));
}

int TwipsToPixelsY(double twips) {
    return NearestInt(twips / Factor(TwipsPerPixelY));
}

double PixelsToTwipsX(double pixels) {
    return pixels * Factor(TwipsPerPixelX);
}

double PixelsToTwipsY(double pixels) {
    return pixels * Factor(TwipsPerPixelY);
}

PixelRect TwipsToPixels(double left, double top, double width, double height) {
    return {TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height)};
}

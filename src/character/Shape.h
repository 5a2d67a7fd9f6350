// The outline of a character window: every pixel of the key colour (the picture's upper-left
// pixel) is cut away, wherever it lies in the picture.
#pragma once

#include "start/PixelRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>


// The rectangles that together cover every pixel whose colour is not the key colour.
// `pixels` holds 0xAARRGGBB values; only the colour (the low 24 bits) is compared.
// Runs of equal columns on consecutive rows are merged into one rectangle.
std::vector<PixelRect> OpaqueRegion(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride);

// The start position on one axis, in screen pixels: a negative position becomes 0, and one that
// would put the window's far edge beyond the screen's puts it on the screen's edge. Both tests
// look at the wished position; a window larger than the screen thus gets a negative position.
int ClampStartPosition(int wishedPx, double windowTwips, double screenTwips, float twipsPerPixel);

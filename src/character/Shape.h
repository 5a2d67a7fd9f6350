// The outline of a character window: every pixel that the picture file makes transparent, and
// every pixel of the key colour (the picture's upper-left pixel) wherever it lies, is cut away.
#pragma once

#include "settings/PixelRect.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>


// More rectangles than a window outline may have. The window system takes the outline in one
// request, which a picture of scattered key-colour pixels would make too large for the X server
// (it drops the connection, and the program with it); real faces need a few per row.
constexpr std::size_t kMostOutlineRects = 250000;

// The key colour of a picture of 0xAARRGGBB pixels: the colour of its upper-left pixel, unless the
// file makes that pixel transparent; then the file's transparency alone shapes the window.
std::optional<std::uint32_t> OutlineKey(const std::uint32_t* pixels, int width, int height);

// Whether a pixel is part of the face: at least half opaque, and not of the key colour.
inline bool InsideOutline(std::uint32_t pixel, std::optional<std::uint32_t> key) {
    return (pixel >> 24) >= 128 && !(key && (pixel & 0xFFFFFFu) == *key);
}

// The rectangles that together cover every pixel inside the outline (InsideOutline with the
// picture's OutlineKey). `pixels` holds 0xAARRGGBB values, not premultiplied.
// The rectangles come in bands, as window-system regions want them: sorted by top, then left,
// every rectangle of a band as high as the band; consecutive rows with the same runs share a band.
// An outline that would need more than `mostRects` rectangles gives none, and `tooComplex` is set.
std::vector<PixelRect> OpaqueRegion(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                                    bool* tooComplex = nullptr, std::size_t mostRects = kMostOutlineRects);

// The start position on one axis, in screen pixels: a negative position becomes 0, and one that
// would put the window's far edge beyond the screen's puts it on the screen's edge. Both tests
// look at the wished position; a window larger than the screen thus gets a negative position.
int ClampStartPosition(int wishedPx, double windowTwips, double screenTwips, float twipsPerPixel);

// The colour arithmetic of the gradient band: splitting a colour into channels, the colour at one
// line of the band, and the list of lines that fill a band of a given size.
//
// A colour is R + 256 G + 65536 B in a 32-bit integer. A value with the high bit set (negative)
// names a system colour, whose index is the low byte; it is looked up when the band is drawn, so
// the band follows the desktop's colour scheme.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Turns a system colour index into an RGB colour at the moment of drawing.
using SystemColorLookup = std::function<std::int32_t(int index)>;

constexpr std::int32_t SystemColor(int index) {
    return static_cast<std::int32_t>(0x80000000u | static_cast<std::uint32_t>(index & 255));
}

// The system colours the windows of the program use.
inline constexpr std::int32_t ColorButtonFace = SystemColor(15);
inline constexpr std::int32_t ColorButtonShadow = SystemColor(16);
inline constexpr std::int32_t ColorButtonHighlight = SystemColor(20);

constexpr bool IsSystemColor(std::int32_t colour) {
    return colour < 0;
}
constexpr int SystemColorIndex(std::int32_t colour) {
    return static_cast<int>(colour & 255);
}
constexpr std::int32_t RgbColor(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

struct RgbChannels {
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const RgbChannels&) const = default;
};

// The three channels of a colour; a system colour is first looked up (black without a lookup).
RgbChannels SplitColor(std::int32_t colour, const SystemColorLookup& lookup = {});

// The colour at position pos of a band size lines long, running from first to second. reduce is a
// contrast in percent: 100 keeps both colours, less brightens the first and darkens the second,
// more does the opposite, 0 drives them to the extremes. Channels end in 0..255.
std::int32_t GradientColorAt(int pos, int size, std::int32_t first, std::int32_t second, int reduce,
                             const SystemColorLookup& lookup = {});

// One line of the band, from (x1, y1) to (x2, y2), both ends on the line.
struct GradientLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::int32_t colour = 0;
};

// The lines that fill a band width x height pixels: horizontal lines from top to bottom when
// orientation is 1, otherwise vertical lines from left to right. The last line lies just past the
// band and is clipped away when drawn.
std::vector<GradientLine> GradientLines(int width, int height, int orientation, std::int32_t colorTopLeft,
                                        std::int32_t colorBottomRight, int reduce,
                                        const SystemColorLookup& lookup = {});

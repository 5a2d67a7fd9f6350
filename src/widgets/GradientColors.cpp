// The colour arithmetic of the gradient band.
#include "widgets/GradientColors.h"

#include "settings/Rounding.h"

#include <algorithm>

RgbChannels SplitColor(std::int32_t colour, const SystemColorLookup& lookup) {
    if (IsSystemColor(colour))
        colour = lookup ? lookup(SystemColorIndex(colour)) : 0;
    // A looked-up colour is RGB; anything odd that comes back is read by the same rule.
    const std::int64_t value = colour;
    return {static_cast<int>(value & 255), static_cast<int>((value & 65280) / 256),
            static_cast<int>(value >= 0 ? value / 65536 : (value - 65535) / 65536)};
}

std::int32_t GradientColorAt(int pos, int size, std::int32_t first, std::int32_t second, int reduce,
                             const SystemColorLookup& lookup) {
    // The factor is a single-precision float, as is the fraction along the band below.
    const float factor = reduce == 0 ? 1000000.0f : 1.0f / (static_cast<float>(reduce) / 100.0f);
    int span = size - 1;
    if (span == 0)
        span = 1;
    const int p = std::min(pos, span);

    const RgbChannels a = SplitColor(first, lookup);
    const RgbChannels b = SplitColor(second, lookup);
    const double f = factor;
    const int from[3] = {NearestInt(a.red * f), NearestInt(a.green * f), NearestInt(a.blue * f)};
    const int to[3] = {NearestInt(b.red / f), NearestInt(b.green / f), NearestInt(b.blue / f)};

    const float t = static_cast<float>(p) / static_cast<float>(span);
    int channel[3];
    for (int i = 0; i < 3; ++i) {
        const double c = (static_cast<double>(to[i]) - from[i]) * static_cast<double>(t) + from[i];
        // Above 255 is taken as 255; a negative contrast gives negative channels, taken as 0.
        channel[i] = std::clamp(NearestInt(c), 0, 255);
    }
    return RgbColor(channel[0], channel[1], channel[2]);
}

std::vector<GradientLine> GradientLines(int width, int height, int orientation, std::int32_t colorTopLeft,
                                        std::int32_t colorBottomRight, int reduce, const SystemColorLookup& lookup) {
    std::vector<GradientLine> lines;
    const bool topToBottom = orientation == 1;
    const int size = topToBottom ? height : width;
    if (size < 0)
        return lines;
    lines.reserve(static_cast<std::size_t>(size) + 1);
    for (int i = 0; i <= size; ++i) {
        const std::int32_t colour = GradientColorAt(i, size, colorTopLeft, colorBottomRight, reduce, lookup);
        if (topToBottom)
            lines.push_back({0, i, width, i, colour});
        else
            lines.push_back({i, 0, i, height, colour});
    }
    return lines;
}

// The outline of a character window.
#include "character/Shape.h"

#include "settings/Rounding.h"

std::optional<std::uint32_t> OutlineKey(const std::uint32_t* pixels, int width, int height) {
    if (!pixels || width <= 0 || height <= 0 || (pixels[0] >> 24) < 128)
        return std::nullopt;
    return pixels[0] & 0xFFFFFFu;
}

std::vector<PixelRect> OpaqueRegion(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                                    bool* tooComplex, std::size_t mostRects) {
    std::vector<PixelRect> rects;
    if (tooComplex)
        *tooComplex = false;
    if (!pixels || width <= 0 || height <= 0)
        return rects;
    const std::optional<std::uint32_t> key = OutlineKey(pixels, width, height);
    std::size_t bandStart = 0; // the current band's rectangles are rects[bandStart..]
    std::vector<PixelRect> runs;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + y * stride;
        runs.clear();
        for (int x = 0; x < width;) {
            if (!InsideOutline(row[x], key)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && InsideOutline(row[x], key))
                ++x;
            runs.push_back({start, y, x - start, 1});
        }
        const std::size_t bandSize = rects.size() - bandStart;
        bool sameRuns = bandSize == runs.size() && bandSize > 0 && rects[bandStart].y + rects[bandStart].height == y;
        for (std::size_t i = 0; sameRuns && i < runs.size(); ++i)
            sameRuns = rects[bandStart + i].x == runs[i].x && rects[bandStart + i].width == runs[i].width;
        if (sameRuns) {
            for (std::size_t i = bandStart; i < rects.size(); ++i)
                ++rects[i].height;
            continue;
        }
        if (runs.empty())
            continue;
        if (rects.size() + runs.size() > mostRects) {
            if (tooComplex)
                *tooComplex = true;
            return {};
        }
        bandStart = rects.size();
        rects.insert(rects.end(), runs.begin(), runs.end());
    }
    return rects;
}

int ClampStartPosition(int wishedPx, double windowTwips, double screenTwips, float twipsPerPixel) {
    const double room = (screenTwips - windowTwips) / twipsPerPixel;
    int pos = wishedPx;
    if (wishedPx < 0)
        pos = 0;
    if (wishedPx > room)
        pos = NearestInt(room);
    return pos;
}

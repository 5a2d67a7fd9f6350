// The outline of a character window.
#include "character/Shape.h"

#include "start/Rounding.h"

std::vector<PixelRect> OpaqueRegion(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride) {
    std::vector<PixelRect> rects;
    if (!pixels || width <= 0 || height <= 0)
        return rects;
    const std::uint32_t key = pixels[0] & 0xFFFFFFu;
    std::vector<PixelRect> open; // rectangles still growing downwards, from the row above
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + y * stride;
        std::vector<PixelRect> runs;
        for (int x = 0; x < width;) {
            if ((row[x] & 0xFFFFFFu) == key) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && (row[x] & 0xFFFFFFu) != key)
                ++x;
            runs.push_back({start, y, x - start, 1});
        }
        std::vector<PixelRect> next;
        std::size_t o = 0;
        for (PixelRect& run : runs) {
            while (o < open.size() && open[o].x < run.x)
                rects.push_back(open[o++]);
            if (o < open.size() && open[o].x == run.x && open[o].width == run.width) {
                PixelRect grown = open[o++];
                ++grown.height;
                next.push_back(grown);
            } else {
                next.push_back(run);
            }
        }
        while (o < open.size())
            rects.push_back(open[o++]);
        open = std::move(next);
    }
    rects.insert(rects.end(), open.begin(), open.end());
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

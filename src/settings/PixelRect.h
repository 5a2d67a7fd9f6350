// A rectangle in whole pixels, shared by every part that places or cuts things on the screen.
#pragma once

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

// The eye-centre picker's rules that need no window: the part of the picture the lens enlarges,
// where the pulsing markers and the frames around the coordinate labels go, what the labels say,
// the markers' colours, and the layout of the resizable window.
#pragma once

#include "editor/EditorRules.h"
#include "settings/ProgramState.h"

#include <cstdint>
#include <optional>
#include <string>

// The lens stands this many picture pixels right of and below the pointer.
inline constexpr int kLensOffset = 20;

// A rectangle in whole pixels.
struct LensRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const LensRect&) const = default;
};

// The rectangle of the picture box (picture pixels) that the lens shows, for the pointer at
// (mouseX, mouseY) and a lens whose inner area is lensWidth x lensHeight pixels: a third of the
// lens's size, centred on the pointer, so the lens enlarges it three times.
LensRect LensSource(int mouseX, int mouseY, double lensWidth, double lensHeight);

struct PixelPoint {
    int x = 0;
    int y = 0;

    bool operator==(const PixelPoint&) const = default;
};

// The upper-left corner of a 5 x 5 marker centred on the eye centre (eyeX, eyeY).
PixelPoint MarkerTopLeft(int eyeX, int eyeY);

// The frame around a coordinate label (twips): 2 pixels left of the text, 1 above it, 3 right of
// and below it.
TwipsRect LabelFrame(const TwipsRect& label, float twipsPerPixelX, float twipsPerPixelY);

// "Eye 1 (left mouse click)  X:120  Y:86" for eye 1, "Eye 2 (right mouse click)  X:..  Y:.." for 2.
std::string EyeLabelText(int eye, std::int32_t x, std::int32_t y);

// The markers' brightness runs 255, 245, ..., 5 and starts again: one step per tick.
int NextPulse(int pulse);
// The outline of marker eye (1 or 2) at a pulse: white to red for eye 1, white to blue for eye 2,
// as R + 256 G + 65536 B.
std::int32_t MarkerColour(int eye, int pulse);

// The layout of the picker for its inner size (twips), the buttons' sizes and the height of the
// eye-2 label. Twips throughout.
struct PickerLayoutInput {
    double innerWidth = 0;
    double innerHeight = 0;
    double okWidth = 0, okHeight = 0;
    double cancelWidth = 0;
    double eye2LabelHeight = 0;
    double pictureHeightNow = 0; // the picture box's height before this layout
};

struct PickerLayout {
    TwipsPoint ok;
    TwipsPoint cancel;
    // Nothing when the window is too low for the picture box; it keeps its place then.
    std::optional<TwipsRect> picture;
    double gradientTop = 0;
    double gradientWidth = 0;
    double eye1LabelTop = 0;
    double eye2LabelTop = 0;
};

PickerLayout LayOutPicker(const PickerLayoutInput& in);

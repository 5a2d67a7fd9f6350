// The arithmetic of the painted eyes: where each iris sits so that it looks at the target, and
// which rectangles must be restored from the bare picture before the irises are drawn again.
#pragma once

#include "character/Motion.h"
#include "character/Shape.h"

#include <array>

struct EyeGeometry {
    int centerX = -100, centerY = -100; // picture pixels
    int diamX = 8, diamY = 8;           // the ellipse the iris centre travels on
    int irisDiamX = 4, irisDiamY = 4;
};

// The eyes of a record: negative diameters read from a file count as 0, so an iris never turns
// away from its target and a target on the eye centre never divides 0 by 0.
std::array<EyeGeometry, 2> EyesOf(const CharacterRecord& record);

// Each eye's centre offset from the target, in twips, as of the last repaint.
struct EyeOffsets {
    float dx[2] = {0, 0};
    float dy[2] = {0, 0};
    bool operator==(const EyeOffsets&) const = default;
};

// An ellipse inscribed in the rectangle (left, top) to (right, bottom), right and bottom
// exclusive, in window pixels.
struct EllipseBox {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const EllipseBox&) const = default;
};

struct GazeFrame {
    bool repaint = false;       // false: the offsets did not change; nothing is drawn
    EyeOffsets offsets;         // to remember for the next tick
    std::array<bool, 2> erase{};          // whether each eye's rectangle touches the window
    std::array<PixelRect, 2> eraseRect{}; // the rectangle to restore, clipped to the window
    std::array<EllipseBox, 2> iris{};     // iris 1, then iris 2 (drawn on top)
};

struct GazeInput {
    std::array<EyeGeometry, 2> eyes;
    int irisWidth = 1;
    TargetPoint target;           // whole twips
    double left = 0, top = 0;     // the window, twips, after the tick's move
    int windowWidthPx = 0, windowHeightPx = 0;
    float tppx = 15, tppy = 15;
    EyeOffsets last;
};

GazeFrame ComputeGaze(const GazeInput& in);

// The ellipse for an iris centred at (x, y) whole twips relative to the window.
EllipseBox IrisBox(double x, double y, int diamX, int diamY, float tppx, float tppy);

// The arithmetic of a character's motion: where its target is and where one tick moves it.
// Positions and sizes are in twips (1/1440 inch), screen coordinates.
#pragma once

#include "settings/ProgramState.h"

// The follow divisor for a speed: (10 ^ (1 / s²) − 1) × 50000. Larger speeds give smaller
// divisors and so larger steps; a speed of 0 gives an infinite divisor (no follow motion on
// that axis), a negative speed the divisor of its absolute value. The divisor is at least 1, so
// a step never overshoots the target.
float FollowDivisor(int speed);

struct TargetPoint {
    double tx = 0, ty = 0; // whole twips
};

// The pointer, in screen pixels, as a target in whole twips.
TargetPoint PointerTarget(int pointerXPx, int pointerYPx, float tppx, float tppy);

// The target of character `self`: the pointer when it targets the pointer or itself, or when
// its target character is hidden or minimised (or, in a damaged table, missing); otherwise
// the centre of the target character's window.
TargetPoint FindTarget(const CharacterWindowBase& self, const std::vector<CharacterWindowBase*>& windows,
                       int pointerXPx, int pointerYPx, float tppx, float tppy);

struct MotionInput {
    TwipsRect window;          // the character's own window
    TargetPoint target;
    bool standsStill = false;  // its target is itself
    bool flee = false;
    bool dragging = false;
    bool minimised = false;
    float factorX = 0, factorY = 0; // follow divisors
    int speedX = 30, speedY = 20;
    float tppx = 15, tppy = 15;
    double screenWidth = 0, screenHeight = 0; // the primary screen, twips
};

struct MotionStep {
    bool moves = false;
    double left = 0, top = 0; // the new position in twips, when it moves
};

// One tick of motion: follow (stopping once the target is inside the window's extent, never
// clamped) or run away (a step that shrinks with the square of the distance in speed units,
// held on the primary screen). Nothing moves while dragged or minimised, or standing still.
MotionStep StepCharacter(const MotionInput& in);

// A position in twips as a whole window pixel: to the nearest pixel, so a step of less than
// half a pixel leaves the window where it is.
int TwipsToPixel(double twips, float twipsPerPixel);

// The arithmetic of a character's motion.
#include "character/Motion.h"

#include "settings/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

float FollowDivisor(int speed) {
    if (speed == 0)
        return std::numeric_limits<float>::infinity();
    const double s = static_cast<double>(speed);
    // Below 1 a step would overshoot the target (and at 0 divide by it); speeds above 339, which
    // only a hand-edited file can hold, therefore reach the target in one step.
    return static_cast<float>(std::max((std::pow(10.0, 1.0 / (s * s)) - 1.0) * 50000.0, 1.0));
}

TargetPoint PointerTarget(int pointerXPx, int pointerYPx, float tppx, float tppy) {
    return {NearestEven(static_cast<float>(pointerXPx * tppx)), NearestEven(static_cast<float>(pointerYPx * tppy))};
}

TargetPoint FindTarget(const CharacterWindowBase& self, const std::vector<CharacterWindowBase*>& windows,
                       int pointerXPx, int pointerYPx, float tppx, float tppy) {
    const int k = self.mFixed;
    if (k > 0 && k != self.mMyIndex && static_cast<std::size_t>(k) < windows.size() && windows[k]) {
        const CharacterWindowBase& w = *windows[k];
        if (w.IsShown() && !w.IsMinimised()) {
            const TwipsRect g = w.GeometryTwips();
            return {NearestEven(static_cast<float>(g.width / 2 + g.left)),
                    NearestEven(static_cast<float>(g.height / 2 + g.top))};
        }
    }
    return PointerTarget(pointerXPx, pointerYPx, tppx, tppy);
}

MotionStep StepCharacter(const MotionInput& in) {
    MotionStep step;
    if (in.dragging || in.standsStill || in.minimised)
        return step;
    const float left = static_cast<float>(in.window.left);
    const float top = static_cast<float>(in.window.top);
    const float width = static_cast<float>(in.window.width);
    const float height = static_cast<float>(in.window.height);
    const float dx = (width / 2 + left) - static_cast<float>(in.target.tx);
    const float dy = (height / 2 + top) - static_cast<float>(in.target.ty);
    float dist = std::sqrt(dx * dx + dy * dy);
    if (dist == 0)
        dist = 1;

    if (!in.flee) {
        // A target on the window's own extent counts as inside: no motion.
        if (!(std::fabs(dx) > width / 2 || std::fabs(dy) > height / 2))
            return step;
        step.moves = true;
        step.left = left - dx / in.factorX;
        step.top = top - dy / in.factorY;
        return step;
    }

    // Run away. A speed of 0 gives no step on that axis; a negative speed acts as its absolute
    // value, as it does for following, so no divisor becomes 0.
    auto runStep = [&](float offset, float tpp, int speed) -> float {
        if (speed == 0)
            return 0;
        const float unit = static_cast<float>(std::abs(static_cast<long long>(speed))) / 1.5f;
        const float k = std::floor(dist / tpp / unit + 1);
        return offset / (k * k);
    };
    float newLeft = left + runStep(dx, in.tppx, in.speedX);
    float newTop = top + runStep(dy, in.tppy, in.speedY);
    if (newLeft < 0)
        newLeft = 0;
    if (static_cast<float>(in.screenWidth) - width < newLeft)
        newLeft = static_cast<float>(in.screenWidth) - width;
    if (newTop < 0)
        newTop = 0;
    if (static_cast<float>(in.screenHeight) - height < newTop)
        newTop = static_cast<float>(in.screenHeight) - height;
    step.moves = true;
    step.left = newLeft;
    step.top = newTop;
    return step;
}

int TwipsToPixel(double twips, float twipsPerPixel) { return NearestInt(twips / twipsPerPixel); }

// The arithmetic of a character's motion.
#include "character/Motion.h"

#include <cmath>
#include <limits>

float FollowDivisor(int speed) {
    if (speed == 0)
        return std::numeric_limits<float>::infinity();
    const double s = static_cast<double>(speed);
    return static_cast<float>((std::pow(10.0, 1.0 / (s * s)) - 1.0) * 50000.0);
}

// How fractional values become whole ones everywhere in the program: to the nearest whole
// number with halves to the even neighbour, unless a rule says floor.
#pragma once

#include <cmath>

inline double NearestEven(double v) {
    const double f = std::floor(v);
    const double d = v - f;
    if (d > 0.5)
        return f + 1;
    if (d < 0.5)
        return f;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

// NearestEven as an int, held to the int range so a wild value cannot overflow.
inline int NearestInt(double v) {
    if (std::isnan(v))
        return 0;
    const double r = NearestEven(v);
    if (r >= 2147483647.0)
        return 2147483647;
    if (r <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(r);
}

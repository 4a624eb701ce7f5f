#pragma once
#include <algorithm>
#include <cmath>

// Drawing coordinates are rounded to the nearest integer with halves going to the
// even neighbour; std::nearbyint does exactly that under the default rounding mode,
// which nothing in the program changes.
inline double nearest(double x) { return std::nearbyint(x); }

// nearest(x) as a whole pixel. Whole pixels end up in 16.16 fixed point, which holds
// ±32767 pixels, so a coordinate beyond that is pinned to the limit instead of wrapping.
inline int nearestPixel(double x)
{
    constexpr double limit = 32767;
    const double r = nearest(x);
    if (std::isnan(r))
        return 0;
    return static_cast<int>(std::clamp(r, -limit, limit));
}

#pragma once

#include <cmath>
#include <limits>

namespace vardel {

// n / d with the IEEE result also for d = 0 (an infinity with the quotient's sign, or NaN for
// 0 / 0), computed without dividing by zero: a point at the camera's depth or a zero focal
// length legitimately projects to infinity, while the sanitizer build treats a division by
// zero as a fault.
inline double quotient(double n, double d) {
    if (d != 0.0) { // NaN included
        return n / d;
    }
    if (n == 0.0 || std::isnan(n)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double infinity = std::numeric_limits<double>::infinity();
    return std::signbit(n) != std::signbit(d) ? -infinity : infinity;
}

} // namespace vardel

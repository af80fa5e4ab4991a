#include "math/Rotation.h"

#include <cmath>

namespace vardel {

// Both turns are written out term by term rather than multiplied from the elementary
// matrices, so that every entry is formed by the same products in the same order each time.

Matrix3 objectRotation(double pitch, double heading, double bank) {
    const double p = pitch * kRadiansPerDegree;
    const double h = heading * kRadiansPerDegree;
    const double b = bank * kRadiansPerDegree;
    const double sP = std::sin(p), cP = std::cos(p);
    const double sH = std::sin(h), cH = std::cos(h);
    const double sB = std::sin(b), cB = std::cos(b);
    return {{
        {sH * sP * sB + cH * cB, cP * sB, cH * sP * sB - cB * sH},
        {cB * sP * sH - cH * sB, cP * cB, cB * sP * cH + sH * sB},
        {cP * sH, -sP, cP * cH},
    }};
}

Matrix3 cameraRotation(double pitch, double heading, double bank) {
    const double p = pitch * -kRadiansPerDegree;
    const double h = heading * -kRadiansPerDegree;
    const double c = bank * -kRadiansPerDegree;
    const double sp = std::sin(p), cp = std::cos(p);
    const double sh = std::sin(h), ch = std::cos(h);
    const double sc = std::sin(c), cc = std::cos(c);
    return {{
        {cc * ch - sc * sh * sp, sh * sp * cc + sc * ch, -cp * sh},
        {-cp * sc, cp * cc, sp},
        {sp * ch * sc + sh * cc, sc * sh - sp * ch * cc, cp * ch},
    }};
}

} // namespace vardel

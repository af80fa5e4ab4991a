#pragma once

namespace vardel {

// A point or vector of three doubles; points are row vectors (point x matrix).
struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

} // namespace vardel

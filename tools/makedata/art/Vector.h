#pragma once

#include <algorithm>
#include <cmath>

#include "math/Vec3.h"

namespace vardel::makedata {

// Vector arithmetic for building shapes and paths (the core keeps Vec3 a bare record).
inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, double k) {
    return {a.x * k, a.y * k, a.z * k};
}
inline double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3 a) {
    return std::sqrt(dot(a, a));
}
inline Vec3 lerp(Vec3 a, Vec3 b, double t) {
    return a + (b - a) * t;
}

constexpr double kPi = 3.14159265358979323846;
inline double radians(double degrees) {
    return degrees * kPi / 180.0;
}
inline double degrees(double radians) {
    return radians * 180.0 / kPi;
}

// 0 below e0, 1 above e1, a cubic S-curve between (e0 may be larger than e1 for a falling
// edge).
inline double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

} // namespace vardel::makedata

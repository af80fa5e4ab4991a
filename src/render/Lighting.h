#pragma once

#include <array>
#include <cmath>

#include "math/Vec3.h"
#include "scene/Light.h"
#include "scene/SceneObject.h"
#include "scene/Shade.h"

namespace vardel {

// Computes every light's camera-space position for this frame into its viewPosition. The
// world position (posX, posY, posZ) is left as the motion evaluation set it, so a light whose
// track wrote nothing this frame is not transformed twice.
void prepareLights(Light* lights);

// Adds one light's contribution at camera-space point p with normal n (any length) to shade:
// the cosine between n and the direction to the light, times the light's colour, with no
// attenuation; a zero-length vector or a light behind the surface adds nothing. The sum is
// clamped to 1 after the light. With grey set only the red channel is lit.
void lightPoint(bool grey, const Vec3& p, const Vec3& n, VertexShade& shade, const Light& light);

// A normal with its length, for lighting several points with one normal: the length is
// found once instead of for every point and light.
struct SurfaceNormal {
    Vec3 n;
    double length = 0.0;

    explicit SurfaceNormal(const Vec3& normal)
        : n(normal),
          length(std::sqrt(normal.x * normal.x + normal.y * normal.y + normal.z * normal.z)) {}
};

// lightPoint with the normal's length known; the same result to the last bit.
inline void lightPoint(bool grey, const Vec3& p, const SurfaceNormal& normal, VertexShade& shade,
                       const Light& light) {
    const Vec3& n = normal.n;
    const Vec3 toLight{light.viewPosition.x - p.x, light.viewPosition.y - p.y,
                       light.viewPosition.z - p.z};
    // The cosine has the sign of the dot product: a surface turned away from the light (or a
    // product that is not a number) gets nothing, without the square root and the division.
    const double dot = n.x * toLight.x + n.y * toLight.y + n.z * toLight.z;
    double cosine = 0.0;
    if (dot > 0.0) {
        const double lengths =
            normal.length *
            std::sqrt(toLight.x * toLight.x + toLight.y * toLight.y + toLight.z * toLight.z);
        if (lengths != 0.0) {
            cosine = dot / lengths;
        }
    }
    shade.r += cosine * light.colorR;
    if (shade.r > 1.0) {
        shade.r = 1.0;
    }
    if (!grey) {
        shade.g += cosine * light.colorG;
        shade.b += cosine * light.colorB;
        if (shade.g > 1.0) {
            shade.g = 1.0;
        }
        if (shade.b > 1.0) {
            shade.b = 1.0;
        }
    }
}

// The shades of three points lit with one normal: `ambient` plus every light of the list in
// turn, as lightPoint adds them, the same to the last bit. Where SSE2 is there the first two
// points go side by side (the lanes' sums and products are lightPoint's); `wide` (AVX2, see
// avx2Usable) puts all three side by side.
std::array<VertexShade, 3> lightThreePoints(bool grey, const std::array<const Vec3*, 3>& points,
                                            const SurfaceNormal& normal, const VertexShade& ambient,
                                            const Light* lights, bool wide = false);

// Sums, per point, the face normals of the object's triangles that use it (not normalised,
// so larger faces weigh more). Lines add nothing.
void computeVertexNormals(SceneObject& object);

} // namespace vardel

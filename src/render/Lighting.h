#pragma once

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

// Sums, per point, the face normals of the object's triangles that use it (not normalised,
// so larger faces weigh more). Lines add nothing.
void computeVertexNormals(SceneObject& object);

} // namespace vardel

#pragma once

#include "math/Matrix.h"
#include "math/Vec3.h"

namespace vardel {

// Model space to camera space. The 4 x 3 matrix of the object's turn (rows 0..2) and its
// position relative to the camera (row 3) is multiplied by the camera's turn; then rows 0..2
// are scaled by the scale's x, y and z, so that scaling acts on the model axes before any
// turn. Row 3 (the object's origin in camera space) is not scaled.
Matrix43 modelViewMatrix(const Matrix3& rotation, const Vec3& relativePosition,
                         const Matrix3& cameraRotation, const Vec3& scale);

// Camera space to screen for a view centre (centreX, centreY) in pixels and a focal length
// in pixels. Rows are the inputs x, y, z, 1; columns the outputs X, Y, depth, W. The depth
// column stays 0: projection carries the camera-space depth through unchanged.
Matrix44 projectionMatrix(double centreX, double centreY, double focal);

} // namespace vardel

#pragma once

#include "math/Matrix.h"

namespace vardel {

// Degrees to radians; angles stay in degrees everywhere else.
inline constexpr double kRadiansPerDegree = 0.017453292519943295;

// Turn of an object with the given angles in degrees, for row vectors: bank about z first,
// then pitch about x, then heading about y (Rz x Rx x Ry). Heading +90 takes +x to -z,
// pitch +90 takes +y to +z, bank +90 takes +x to +y.
Matrix3 objectRotation(double pitch, double heading, double bank);

// World-to-camera turn for a camera with the given angles in degrees: the inverse
// (transpose) of objectRotation with the same angles, built as Ry x Rx x Rz of the negated
// angles.
Matrix3 cameraRotation(double pitch, double heading, double bank);

} // namespace vardel

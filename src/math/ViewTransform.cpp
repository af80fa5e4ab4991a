#include "math/ViewTransform.h"

#include "math/MatrixMultiply.h"
#include "math/Quotient.h"

namespace vardel {

Matrix43 modelViewMatrix(const Matrix3& rotation, const Vec3& relativePosition,
                         const Matrix3& cameraRotation, const Vec3& scale) {
    const Matrix43 placed = {{rotation[0],
                              rotation[1],
                              rotation[2],
                              {relativePosition.x, relativePosition.y, relativePosition.z}}};
    Matrix43 modelView;
    multiplyMatrices(placed, cameraRotation, modelView);
    const double rowScale[3] = {scale.x, scale.y, scale.z};
    for (int row = 0; row < 3; ++row) {
        for (double& entry : modelView[static_cast<std::size_t>(row)]) {
            entry *= rowScale[row];
        }
    }
    return modelView;
}

/*
 * With f the focal length and (a, b) the view centre:
 *   W = z / f, X = x + z a / f, Y = -y + z b / f,
 * so X / W = a + f x / z and Y / W = b - f y / z: screen y grows downward while camera y
 * points up. A focal length of 0 gives infinite entries.
 */
Matrix44 projectionMatrix(double centreX, double centreY, double focal) {
    Matrix44 projection{};
    projection[0][0] = 1.0;
    projection[1][1] = -1.0;
    projection[2][0] = quotient(centreX, focal);
    projection[2][1] = quotient(centreY, focal);
    projection[2][3] = quotient(1.0, focal);
    return projection;
}

} // namespace vardel

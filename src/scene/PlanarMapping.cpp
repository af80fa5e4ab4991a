#include <array>

#include "math/Quotient.h"
#include "scene/SceneObject.h"
#include "scene/Texture.h"

namespace vardel {

namespace {

// The nine pose values of an object or the camera that a mapping borrows and gives back.
template <class Pose>
struct SavedPose {
    explicit SavedPose(Pose& pose)
        : pose(pose), position{pose.posX, pose.posY, pose.posZ},
          angles{pose.pitch, pose.heading, pose.bank},
          scale{pose.scaleX, pose.scaleY, pose.scaleZ} {}
    ~SavedPose() {
        pose.posX = position[0];
        pose.posY = position[1];
        pose.posZ = position[2];
        pose.pitch = angles[0];
        pose.heading = angles[1];
        pose.bank = angles[2];
        pose.scaleX = scale[0];
        pose.scaleY = scale[1];
        pose.scaleZ = scale[2];
    }
    SavedPose(const SavedPose&) = delete;
    SavedPose& operator=(const SavedPose&) = delete;

    Pose& pose;
    std::array<double, 3> position;
    std::array<double, 3> angles;
    std::array<double, 3> scale;
};

void setPose(auto& pose, double pitch, double heading, double bank) {
    pose.posX = pose.posY = pose.posZ = 0.0;
    pose.pitch = pitch;
    pose.heading = heading;
    pose.bank = bank;
}

} // namespace

void SceneObject::applyPlanarMapping(const Texture& texture, const std::array<double, 3>& rotation,
                                     const std::array<double, 2>& scale) {
    // The texel centre of the image: 127.5, 159.5 for 256 x 320.
    const double width = texture.width;
    const double height = texture.height;
    const double centreU = (width + 1.0) * 0.5 - 1.0;
    const double centreV = (height + 1.0) * 0.5 - 1.0;

    // Turn the points by the negated angles, with no translation, scale or camera turn; the
    // object's and the camera's poses are restored afterwards (the scale is part of the saved
    // pose; the camera's scale has no effect on the matrices).
    {
        SavedPose<SceneObject> savedObject(*this);
        CameraState still{};
        CameraState& view = camera != nullptr ? *camera : still;
        SavedPose<CameraState> savedCamera(view);
        setPose(*this, -rotation[0], -rotation[1], -rotation[2]);
        scaleX = scaleY = scaleZ = 1.0;
        setPose(view, 0.0, 0.0, 0.0);
        buildMatrices();
        transformPoints();
    }

    for (Polygon& polygon : polygons) {
        if (polygon.isLine()) {
            continue;
        }
        // Faces edge-on to the projection direction (normal not normalised) stay as they are.
        const Vec3 normal = faceNormal(polygon);
        if (normal.z > -0.01 && normal.z < 0.01) {
            continue;
        }
        std::array<double*, 3> u{&polygon.texU0, &polygon.texU1, &polygon.texU2};
        std::array<double*, 3> v{&polygon.texV0, &polygon.texV1, &polygon.texV2};
        bool inside = true;
        for (std::size_t k = 0; k < 3 && inside; ++k) {
            const Vec3& point = viewPoints[static_cast<std::size_t>(polygon.vertex[k])];
            // A coordinate is written before it is tested, so a polygon that fails keeps the
            // coordinates written up to the failing test (and its previous texture).
            *u[k] = centreU + quotient(point.x, scale[0]);
            inside = *u[k] > 0.0 && *u[k] < width - 1.0;
            if (inside) {
                *v[k] = centreV - quotient(point.y, scale[1]);
                inside = *v[k] > 0.0 && *v[k] < height - 1.0;
            }
        }
        if (inside) {
            polygon.texture = &texture;
        }
    }
}

} // namespace vardel

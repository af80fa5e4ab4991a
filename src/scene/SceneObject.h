#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "math/Matrix.h"
#include "math/Vec3.h"
#include "scene/CameraState.h"
#include "scene/Key.h"
#include "scene/Polygon.h"
#include "scene/Shade.h"

namespace vardel {

struct Texture;

// Object files are small; this bounds the memory a wrong file name can claim.
inline constexpr std::size_t maxObjectFileBytes = std::size_t{64} << 20;

// One loaded object with its motion keys and per-frame work data.
struct SceneObject {
    int viewWidth = 0; // render target size, set by the render driver
    int viewHeight = 0;
    CameraState* camera = nullptr; // the owning Scene's camera block

    double posX = 0.0, posY = 0.0, posZ = 0.0;     // world units
    double pitch = 0.0, heading = 0.0, bank = 0.0; // degrees
    double scaleX = 1.0, scaleY = 1.0, scaleZ = 1.0;
    double extentX = 0.0, extentY = 0.0, extentZ = 0.0; // see computeExtents

    int pointCount = 0;
    int polygonCount = 0;
    std::vector<Vec3> points; // model space, world units
    std::vector<Polygon> polygons;
    SceneObject* next = nullptr; // object list link

    // Per-point work arrays, pointCount entries each, overwritten every frame.
    std::vector<Vec3> viewPoints;         // camera space
    std::vector<Vec3> screenPoints;       // screen x, y in pixels and camera-space depth
    std::vector<Vec3> vertexNormals;      // summed face normals
    std::vector<VertexShade> vertexLight; // red, green, blue light sums

    Matrix3 rotation{};
    Vec3 relativePosition;    // object position minus camera position
    Matrix3 cameraRotation{}; // world to camera
    Matrix43 modelView{};     // model space to camera space
    Matrix44 projection{};    // camera space to screen

    int keyCount = 0;
    KeyArray keys;
    std::uint8_t greyLighting = 1;

    // Reads an object file (IFF chunks with big-endian numbers): points, polygons and one
    // surface colour. On failure returns false, leaves the object unchanged and puts a
    // one-line reason naming the file in *reason.
    bool loadObject(const std::filesystem::path& path, std::string* reason = nullptr);
    bool loadObjectBytes(std::span<const std::uint8_t> bytes, const std::string& fileName,
                         std::string* reason = nullptr);

    // Sets the extents to twice the largest absolute coordinate on each axis.
    void computeExtents();

    // Per-frame transforms (ObjectTransforms.cpp). buildMatrices reads the pose, the
    // camera's pose and focal, and viewWidth / viewHeight; the other three use its matrices.
    void buildMatrices();
    void transformPoints(); // viewPoints = points through modelView
    void projectPoints();   // screenPoints = viewPoints through projection
    // Replaces x and y of a camera-space point by its screen position; z stays.
    void projectPoint(Vec3& point) const;
    // Unnormalised normal of a polygon from the current viewPoints; zero for a line.
    Vec3 faceNormal(const Polygon& polygon) const;

    // Projects a texture flat onto the object along the z axis of a frame turned by rotation
    // (pitch, heading, bank in degrees), centred on the object's origin, with scale world units
    // per texel along u and v. Triangles not edge-on whose corners all land strictly inside the
    // texture get coordinates and the texture; the others keep their previous texture. The
    // object's and the camera's poses are left as they were.
    void applyPlanarMapping(const Texture& texture, const std::array<double, 3>& rotation,
                            const std::array<double, 2>& scale);
};

} // namespace vardel

// Object and camera matrices, point transformation and projection.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "math/MatrixMultiply.h"
#include "math/PointTransform.h"
#include "math/Quotient.h"
#include "math/Rotation.h"
#include "math/ViewTransform.h"
#include "scene/ObjectTransforms.h"
#include "scene/SceneObject.h"

namespace vardel {
namespace {

template <std::size_t R, std::size_t C> using Mat = std::array<std::array<double, C>, R>;

// The textbook product, for comparison.
template <std::size_t R, std::size_t K, std::size_t C>
Mat<R, C> reference(const Mat<R, K>& a, const Mat<K, C>& b) {
    Mat<R, C> c{};
    for (std::size_t i = 0; i < R; ++i)
        for (std::size_t j = 0; j < C; ++j)
            for (std::size_t k = 0; k < K; ++k)
                c[i][j] += a[i][k] * b[k][j];
    return c;
}

template <std::size_t R, std::size_t C>
void expectNear(const Mat<R, C>& a, const Mat<R, C>& b, double tolerance) {
    for (std::size_t i = 0; i < R; ++i)
        for (std::size_t j = 0; j < C; ++j)
            EXPECT_NEAR(a[i][j], b[i][j], tolerance) << i << "," << j;
}

void expectVec(const Vec3& v, double x, double y, double z) {
    expectNear(Mat<1, 3>{{{v.x, v.y, v.z}}}, Mat<1, 3>{{{x, y, z}}}, 1e-9);
}

// Products match the textbook one, also when the result overwrites an operand, and the
// camera's turn undoes the object's turn of the same angles.
TEST(Transform, ProductsAgreeWithTheReferenceAndTheCameraTurnUndoesTheObjectTurn) {
    std::mt19937 random(4);
    std::uniform_real_distribution<double> value(-2, 2), angle(-360, 360);
    for (int round = 0; round < 50; ++round) {
        Matrix43 a, c;
        Matrix3 b;
        for (auto& row : a)
            for (double& v : row)
                v = value(random);
        for (auto& row : b)
            for (double& v : row)
                v = value(random);
        multiplyMatrices(a, b, c);
        expectNear(c, reference(a, b), 1e-12);
        Matrix3 square = b;
        multiplyMatrices(square, square, square);
        expectNear(square, reference(b, b), 1e-12);
        const double p = angle(random), h = angle(random), k = angle(random);
        expectNear(reference(objectRotation(p, h, k), cameraRotation(p, h, k)),
                   Matrix3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 1e-12);
    }
}

// An object at the origin seen by a camera at rest at (0, 0, -1000), focal 320, on 320 x 240.
struct Viewed {
    CameraState camera{.focal = 320, .posZ = -1000};
    SceneObject object;
    RenderContext context;

    explicit Viewed(std::vector<Vec3> points) {
        object.camera = &camera;
        object.points = std::move(points);
        context.objects = &object;
        context.width = 320;
        context.height = 240;
    }
    const Vec3& view(std::size_t i) const { return object.viewPoints[i]; }
    const Vec3& screen(std::size_t i) const { return object.screenPoints[i]; }
};

// A point at the camera's depth projects to infinity (or NaN) without a division by zero.
TEST(Transform, ProjectsWithYUpAndZIntoTheScreenAndToInfinityWithoutTrapping) {
    Viewed scene({{100, 0, 0}, {0, 100, 0}, {0, 0, 0}, {100, 50, 1000}});
    prepareObjects(scene.context);
    EXPECT_EQ(scene.object.viewWidth, 320);
    expectVec(scene.screen(0), 191, 119, 1000);
    expectVec(scene.screen(1), 159, 87, 1000);
    expectVec(scene.screen(2), 159, 119, 1000);
    expectVec(scene.screen(3), 175, 111, 2000); // 159 + 320 / 20, 119 - 320 / 40
    Vec3 point = scene.view(3);
    scene.object.projectPoint(point);
    expectVec(point, 175, 111, 2000);
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(quotient(1, -0.0), -inf);
    scene.object.points = {{100, 50, 0}, {0, 0, 0}};
    scene.camera.posZ = 0;
    prepareObjects(scene.context);
    EXPECT_EQ(scene.screen(0).x, inf);
    EXPECT_EQ(scene.screen(0).y, -inf);
    EXPECT_TRUE(std::isnan(scene.screen(1).x));
    scene.camera.focal = 0;
    prepareObjects(scene.context);
    EXPECT_FALSE(std::isfinite(scene.object.projection[2][3]));
}

// The array form projects every point exactly as projectPoint does, to the last bit, also at
// the camera's depth (W = 0, infinities and NaN) and with a general matrix.
TEST(Transform, ArrayProjectionIsPointProjectionToTheBit) {
    std::mt19937 random(77);
    std::uniform_real_distribution<double> any(-500.0, 500.0);
    Matrix44 q = projectionMatrix(160.0, 120.0, 277.0);
    std::vector<Vec3> points(500);
    for (Vec3& p : points)
        p = {any(random), any(random), any(random)};
    points[7].z = 0.0;           // W = 0 for the projection matrix: infinities
    points[8] = {0.0, 0.0, 0.0}; // and NaN
    for (int round = 0; round < 2; ++round) {
        std::vector<Vec3> out(points.size());
        projectPoints(q, points, out);
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Vec3 one = projectPoint(q, points[i]);
            EXPECT_EQ(std::memcmp(&one, &out[i], sizeof(Vec3)), 0) << round << ": point " << i;
        }
        for (auto& row : q)
            for (double& e : row)
                e = any(random);
    }
}

// Each axis turns its own way, scale applies on the model axes before the turn, and bank
// comes before pitch before heading.
TEST(Transform, AxisTurnsTheirOrderScaleAndCameraHeading) {
    struct Case {
        double pitch, heading, bank, scaleX;
        Vec3 model, turned; // relative to the object's origin
    } const cases[] = {
        {0, 90, 0, 1, {100, 0, 0}, {0, 0, -100}}, {90, 0, 0, 1, {0, 100, 0}, {0, 0, 100}},
        {0, 0, 90, 1, {100, 0, 0}, {0, 100, 0}},  {0, 90, 0, 2, {100, 0, 0}, {0, 0, -200}},
        {0, 90, 0, 2, {0, 0, 100}, {100, 0, 0}},  {90, 90, 0, 1, {0, 100, 0}, {100, 0, 0}},
        {90, 0, 90, 1, {100, 0, 0}, {0, 0, 100}},
    };
    for (const Case& c : cases) {
        Viewed scene({c.model});
        scene.object.pitch = c.pitch, scene.object.heading = c.heading;
        scene.object.bank = c.bank, scene.object.scaleX = c.scaleX;
        prepareObjects(scene.context);
        expectVec(scene.view(0), c.turned.x, c.turned.y, c.turned.z + 1000);
    }
    // A camera at the origin turned 90 degrees right looks along +x.
    Viewed scene({{0, 0, 0}});
    scene.camera.posZ = 0;
    scene.camera.heading = 90;
    scene.object.posX = 1000;
    prepareObjects(scene.context);
    expectVec(scene.screen(0), 159, 119, 1000);
}

// Scale on the model axes, turn, move; undoing the camera's turn gives that back.
TEST(Transform, PosedObjectMatchesTheStepByStepPath) {
    std::mt19937 random(9);
    std::uniform_real_distribution<double> v(-500, 500), a(-180, 180), s(0.5, 3);
    Viewed scene({{v(random), v(random), v(random)}});
    SceneObject& o = scene.object;
    CameraState& camera = scene.camera;
    o.posX = v(random), o.posY = v(random), o.posZ = v(random);
    o.pitch = a(random), o.heading = a(random), o.bank = a(random);
    o.scaleX = s(random), o.scaleY = s(random), o.scaleZ = s(random);
    camera.posX = v(random), camera.posY = v(random);
    camera.pitch = a(random), camera.heading = a(random), camera.bank = a(random);
    prepareObjects(scene.context);
    const Vec3& p = o.points[0];
    auto world = reference(Mat<1, 3>{{{p.x * o.scaleX, p.y * o.scaleY, p.z * o.scaleZ}}},
                           objectRotation(o.pitch, o.heading, o.bank));
    world[0][0] += o.posX - camera.posX;
    world[0][1] += o.posY - camera.posY;
    world[0][2] += o.posZ - camera.posZ;
    const Mat<1, 3> view = {{{scene.view(0).x, scene.view(0).y, scene.view(0).z}}};
    expectNear(reference(view, objectRotation(camera.pitch, camera.heading, camera.bank)), world,
               1e-9);
}

} // namespace
} // namespace vardel

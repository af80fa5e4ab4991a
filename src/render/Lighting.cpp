#include "render/Lighting.h"

#include "math/MatrixMultiply.h"
#include "math/PointTransform.h"
#include "math/Rotation.h"
#include "math/Sse2Support.h"
#include "render/Avx2.h"

namespace vardel {

void prepareLights(Light* lights) {
    for (Light* light = lights; light != nullptr; light = light->next) {
        const CameraState rest{};
        const CameraState& camera = light->camera != nullptr ? *light->camera : rest;
        // World to camera: move by minus the camera position, then turn as the camera sees.
        light->workTransform = {
            {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-camera.posX, -camera.posY, -camera.posZ}}};
        light->workRotation = cameraRotation(camera.pitch, camera.heading, camera.bank);
        multiplyMatrices(light->workTransform, light->workRotation, light->viewTransform);
        light->viewPosition =
            transformPoint(light->viewTransform, {light->posX, light->posY, light->posZ});
    }
}

void lightPoint(bool grey, const Vec3& p, const Vec3& n, VertexShade& shade, const Light& light) {
    lightPoint(grey, p, SurfaceNormal(n), shade, light);
}

#if VARDEL_SSE2
namespace {

// A lit shade stored as a copy of it reads it, red and green as a pair and blue alone (the low
// lanes of `redGreen` and `blue`): each read then finds one store holding its values and need
// not wait for several to finish (the polygon pass copies the shades right after lighting).
inline void storeShade(VertexShade& shade, __m128d redGreen, __m128d blue) {
    _mm_storeu_pd(&shade.r, redGreen);
    _mm_store_sd(&shade.b, blue);
}

} // namespace
#endif

#if VARDEL_AVX2
namespace {

/*
 * lightThreePoints with the three points in lanes 0 to 2 (lane 3 repeats the third and is
 * dropped): each lane's products, sums, comparisons and clamps are those of the two-lane code
 * below, so the shades are lightPoint's to the last bit.
 */
VARDEL_AVX2_FUNCTION std::array<VertexShade, 3>
lightThreePointsWide(bool grey, const std::array<const Vec3*, 3>& points,
                     const SurfaceNormal& normal, const VertexShade& ambient, const Light* lights) {
    const Vec3& p = *points[0];
    const Vec3& q = *points[1];
    const Vec3& r = *points[2];
    const __m256d x = _mm256_setr_pd(p.x, q.x, r.x, r.x);
    const __m256d y = _mm256_setr_pd(p.y, q.y, r.y, r.y);
    const __m256d z = _mm256_setr_pd(p.z, q.z, r.z, r.z);
    const __m256d nx = _mm256_set1_pd(normal.n.x);
    const __m256d ny = _mm256_set1_pd(normal.n.y);
    const __m256d nz = _mm256_set1_pd(normal.n.z);
    const __m256d length = _mm256_set1_pd(normal.length);
    const __m256d zero = _mm256_setzero_pd();
    const __m256d one = _mm256_set1_pd(1.0);
    __m256d red = _mm256_set1_pd(ambient.r);
    __m256d green = _mm256_set1_pd(ambient.g);
    __m256d blue = _mm256_set1_pd(ambient.b);
    for (const Light* light = lights; light != nullptr; light = light->next) {
        const __m256d tx = _mm256_sub_pd(_mm256_set1_pd(light->viewPosition.x), x);
        const __m256d ty = _mm256_sub_pd(_mm256_set1_pd(light->viewPosition.y), y);
        const __m256d tz = _mm256_sub_pd(_mm256_set1_pd(light->viewPosition.z), z);
        const __m256d dot = _mm256_add_pd(
            _mm256_add_pd(_mm256_mul_pd(nx, tx), _mm256_mul_pd(ny, ty)), _mm256_mul_pd(nz, tz));
        const __m256d lengths =
            _mm256_mul_pd(length, _mm256_sqrt_pd(_mm256_add_pd(
                                      _mm256_add_pd(_mm256_mul_pd(tx, tx), _mm256_mul_pd(ty, ty)),
                                      _mm256_mul_pd(tz, tz))));
        // cmpgt and cmpneq as SSE2 has them: false and true where a value is not a number.
        const __m256d lit = _mm256_and_pd(_mm256_cmp_pd(dot, zero, _CMP_GT_OS),
                                          _mm256_cmp_pd(lengths, zero, _CMP_NEQ_UQ));
        const __m256d cosine = _mm256_and_pd(lit, _mm256_div_pd(dot, lengths));
        red = _mm256_min_pd(
            one, _mm256_add_pd(red, _mm256_mul_pd(cosine, _mm256_set1_pd(light->colorR))));
        if (!grey) {
            green = _mm256_min_pd(
                one, _mm256_add_pd(green, _mm256_mul_pd(cosine, _mm256_set1_pd(light->colorG))));
            blue = _mm256_min_pd(
                one, _mm256_add_pd(blue, _mm256_mul_pd(cosine, _mm256_set1_pd(light->colorB))));
        }
    }
    const __m128d redLow = _mm256_castpd256_pd128(red);
    const __m128d greenLow = _mm256_castpd256_pd128(green);
    const __m128d blueLow = _mm256_castpd256_pd128(blue);
    std::array<VertexShade, 3> shade;
    storeShade(shade[0], _mm_unpacklo_pd(redLow, greenLow), blueLow);
    storeShade(shade[1], _mm_unpackhi_pd(redLow, greenLow), _mm_unpackhi_pd(blueLow, blueLow));
    storeShade(shade[2],
               _mm_unpacklo_pd(_mm256_extractf128_pd(red, 1), _mm256_extractf128_pd(green, 1)),
               _mm256_extractf128_pd(blue, 1));
    return shade;
}

} // namespace
#endif

std::array<VertexShade, 3> lightThreePoints(bool grey, const std::array<const Vec3*, 3>& points,
                                            const SurfaceNormal& normal, const VertexShade& ambient,
                                            const Light* lights, [[maybe_unused]] bool wide) {
#if VARDEL_AVX2
    if (wide) {
        return lightThreePointsWide(grey, points, normal, ambient, lights);
    }
#endif
    std::array<VertexShade, 3> shade{ambient, ambient, ambient};
    std::size_t k = 0;
#if VARDEL_SSE2
    /*
     * Points 0 and 1 in the two lanes, each light as lightPoint adds it: the same products and
     * sums in the same order. The cosine is worked out in both lanes and kept where the dot
     * product is positive and the lengths' product is not 0 (a lane where it is not a number
     * keeps it, as lightPoint does); elsewhere it is 0. The clamp to 1 keeps a sum that is not
     * a number, as lightPoint's does.
     */
    const Vec3& p = *points[0];
    const Vec3& q = *points[1];
    const __m128d x = _mm_setr_pd(p.x, q.x);
    const __m128d y = _mm_setr_pd(p.y, q.y);
    const __m128d z = _mm_setr_pd(p.z, q.z);
    const __m128d nx = _mm_set1_pd(normal.n.x);
    const __m128d ny = _mm_set1_pd(normal.n.y);
    const __m128d nz = _mm_set1_pd(normal.n.z);
    const __m128d length = _mm_set1_pd(normal.length);
    const __m128d zero = _mm_setzero_pd();
    const __m128d one = _mm_set1_pd(1.0);
    __m128d red = _mm_set1_pd(ambient.r);
    __m128d green = _mm_set1_pd(ambient.g);
    __m128d blue = _mm_set1_pd(ambient.b);
    const auto add = [&](__m128d sum, __m128d cosine, double colour) {
        return _mm_min_pd(one, _mm_add_pd(sum, _mm_mul_pd(cosine, _mm_set1_pd(colour))));
    };
    for (const Light* light = lights; light != nullptr; light = light->next) {
        const __m128d tx = _mm_sub_pd(_mm_set1_pd(light->viewPosition.x), x);
        const __m128d ty = _mm_sub_pd(_mm_set1_pd(light->viewPosition.y), y);
        const __m128d tz = _mm_sub_pd(_mm_set1_pd(light->viewPosition.z), z);
        const __m128d dot =
            _mm_add_pd(_mm_add_pd(_mm_mul_pd(nx, tx), _mm_mul_pd(ny, ty)), _mm_mul_pd(nz, tz));
        const __m128d lengths = _mm_mul_pd(
            length, _mm_sqrt_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(tx, tx), _mm_mul_pd(ty, ty)),
                                           _mm_mul_pd(tz, tz))));
        const __m128d lit = _mm_and_pd(_mm_cmpgt_pd(dot, zero), _mm_cmpneq_pd(lengths, zero));
        const __m128d cosine = _mm_and_pd(lit, _mm_div_pd(dot, lengths));
        red = add(red, cosine, light->colorR);
        if (!grey) {
            green = add(green, cosine, light->colorG);
            blue = add(blue, cosine, light->colorB);
        }
    }
    storeShade(shade[0], _mm_unpacklo_pd(red, green), blue);
    storeShade(shade[1], _mm_unpackhi_pd(red, green), _mm_unpackhi_pd(blue, blue));
    k = 2;
#endif
    for (; k < 3; ++k) {
        for (const Light* light = lights; light != nullptr; light = light->next) {
            lightPoint(grey, *points[k], normal, shade[k], *light);
        }
    }
    return shade;
}

void computeVertexNormals(SceneObject& object) {
    for (Vec3& normal : object.vertexNormals) {
        normal = {};
    }
    for (const Polygon& polygon : object.polygons) {
        if (polygon.isLine()) {
            continue;
        }
        const Vec3 n = object.faceNormal(polygon);
        for (std::int32_t index : polygon.vertex) {
            Vec3& sum = object.vertexNormals[static_cast<std::size_t>(index)];
            sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
        }
    }
}

} // namespace vardel

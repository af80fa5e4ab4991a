#include "math/PointTransform.h"

#include <algorithm>

#include "math/Sse2Support.h"

namespace vardel {

void transformPoints(const Matrix43& m, std::span<const Vec3> points, std::span<Vec3> out) {
    const std::size_t count = std::min(points.size(), out.size());
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = transformPoint(m, points[i]);
    }
}

void projectPoints(const Matrix44& q, std::span<const Vec3> points, std::span<Vec3> out) {
    const std::size_t count = std::min(points.size(), out.size());
#if VARDEL_SSE2
    // X and Y side by side, each with projectPoint's products and sums in its order, then one
    // division by W for both (the same quotients where W is not 0; there projectPoint).
    const __m128d column0 = _mm_setr_pd(q[0][0], q[0][1]);
    const __m128d column1 = _mm_setr_pd(q[1][0], q[1][1]);
    const __m128d column2 = _mm_setr_pd(q[2][0], q[2][1]);
    const __m128d column3 = _mm_setr_pd(q[3][0], q[3][1]);
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3& v = points[i];
        const double w = v.x * q[0][3] + v.y * q[1][3] + v.z * q[2][3] + q[3][3];
        if (w == 0.0) {
            out[i] = projectPoint(q, v);
            continue;
        }
        const __m128d xy = _mm_add_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(_mm_set1_pd(v.x), column0),
                                                            _mm_mul_pd(_mm_set1_pd(v.y), column1)),
                                                 _mm_mul_pd(_mm_set1_pd(v.z), column2)),
                                      column3);
        _mm_storeu_pd(&out[i].x, _mm_div_pd(xy, _mm_set1_pd(w)));
        out[i].z = v.z;
    }
#else
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = projectPoint(q, points[i]);
    }
#endif
}

} // namespace vardel

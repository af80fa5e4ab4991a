#include "render/ScreenClip.h"

#include <algorithm>
#include <cmath>

#include "render/RasterMath.h"

namespace vardel {
namespace {

// A corner made where a triangle edge crosses a screen edge.
struct ClipPoint {
    ScreenVertex position;
    VertexShade shade;
    TexCoord uv;
};

// The edges of the guard band around the target, in the order they are tested.
enum ScreenEdge { Left, Right, Top, Bottom, EdgeCount };

// s + (e - s) / d * t, the interpolation every new corner uses, held within s..e. Rounding (or
// an overflowing difference, which gives NaN) could otherwise put a new corner just outside an
// edge already clipped, and the pieces would be split again and again; within s..e every
// corner stays inside the edges its two ends are inside, so each level of splitting deals with
// a later edge and the recursion ends after at most four levels.
double alongClamped(double s, double e, double d, double t) {
    const double value = s + (e - s) / d * t;
    const double lo = std::min(s, e);
    const double hi = std::max(s, e);
    if (!(value >= lo)) {
        return lo;
    }
    return value > hi ? hi : value;
}

double along(double s, double e, double d, double t) {
    return s + (e - s) / d * t;
}

class Clipper {
public:
    Clipper(const RasterTriangle& t, bool perspectiveUv, TriangleFiller fill)
        : perspectiveUv(perspectiveUv), fill(fill), right(t.width + kGuardBand),
          bottom(t.height + kGuardBand) {}

    void draw(const RasterTriangle& t) const {
        for (int edge = Left; edge < EdgeCount; ++edge) {
            bool out[3];
            int outCount = 0;
            for (int k = 0; k < 3; ++k) {
                out[k] = outside(*t.screen[k], edge);
                outCount += out[k] ? 1 : 0;
            }
            if (outCount == 0) {
                continue;
            }
            if (outCount == 3) {
                return;
            }
            RasterTriangle piece = t;
            ClipPoint q1;
            ClipPoint q2;
            if (outCount == 1) {
                // The quadrilateral left by cutting off corner o is drawn as two pieces:
                // (q1, n, p) and (q1, q2, p).
                const int o = out[0] ? 0 : (out[1] ? 1 : 2);
                const int n = (o + 1) % 3;
                const int p = (o + 2) % 3;
                makePoint(t, o, n, edge, q1);
                makePoint(t, o, p, edge, q2);
                place(piece, o, q1);
                draw(piece);
                place(piece, n, q2);
                draw(piece);
            } else {
                const int i = !out[0] ? 0 : (!out[1] ? 1 : 2);
                const int n = (i + 1) % 3;
                const int p = (i + 2) % 3;
                makePoint(t, i, n, edge, q1);
                makePoint(t, i, p, edge, q2);
                place(piece, n, q1);
                place(piece, p, q2);
                draw(piece);
            }
            return;
        }
        fill(t);
    }

private:
    bool outside(const ScreenVertex& v, int edge) const {
        switch (edge) {
        case Left:
            return v.x < kLeft;
        case Right:
            return v.x > right;
        case Top:
            return v.y < kLeft;
        default:
            return v.y > bottom;
        }
    }

    void place(RasterTriangle& piece, int slot, const ClipPoint& q) const {
        piece.screen[slot] = &q.position;
        piece.shade[slot] = &q.shade;
        if (perspectiveUv) {
            piece.uv[slot] = &q.uv;
        }
    }

    // The corner on the edge from corner s towards corner e where it meets the band's edge.
    // One of s and e is outside that edge and the other inside, so d is never zero.
    void makePoint(const RasterTriangle& t, int s, int e, int edge, ClipPoint& q) const {
        const ScreenVertex& a = *t.screen[s];
        const ScreenVertex& b = *t.screen[e];
        double d = 0.0;
        double span = 0.0;
        if (edge == Left || edge == Right) {
            const double column = edge == Left ? kLeft : right;
            span = column - a.x;
            d = b.x - a.x;
            q.position.x = column;
            q.position.y = alongClamped(a.y, b.y, d, span);
        } else {
            const double row = edge == Top ? kLeft : bottom;
            span = row - a.y;
            d = b.y - a.y;
            q.position.y = row;
            q.position.x = alongClamped(a.x, b.x, d, span);
        }
        // 1/z is linear in screen space: the new corner lies on the plane the depth test uses.
        const double wa = 1.0 / a.z;
        const double wb = 1.0 / b.z;
        q.position.z = 1.0 / alongClamped(wa, wb, d, span);

        const VertexShade& sa = *t.shade[s];
        const VertexShade& sb = *t.shade[e];
        q.shade.r = along(sa.r, sb.r, d, span);
        if (t.mono == 0) {
            q.shade.g = along(sa.g, sb.g, d, span);
            q.shade.b = along(sa.b, sb.b, d, span);
        }
        if (perspectiveUv) {
            // u/z and v/z are linear in screen space; multiplying back by the new z gives the
            // texel the surface shows there.
            const TexCoord& ta = *t.uv[s];
            const TexCoord& tb = *t.uv[e];
            q.uv.u = along(ta.u / a.z, tb.u / b.z, d, span) * q.position.z;
            q.uv.v = along(ta.v / a.z, tb.v / b.z, d, span) * q.position.z;
        }
    }

    static constexpr double kLeft = -kGuardBand; // and top
    bool perspectiveUv;
    TriangleFiller fill;
    double right;
    double bottom;
};

} // namespace

void clipToScreen(const RasterTriangle& triangle, bool perspectiveUv, TriangleFiller fill) {
    if (cornersWithinBand(triangle, true)) { // the common case: nothing to cut
        fill(triangle);
        return;
    }
    if (!usableTarget(triangle)) {
        return;
    }
    for (const ScreenVertex* p : triangle.screen) {
        if (std::isnan(p->x) || std::isnan(p->y) || !usableDepth(p->z)) {
            return;
        }
    }
    Clipper(triangle, perspectiveUv, fill).draw(triangle);
}

} // namespace vardel

#include "render/EdgePass.h"

#include "render/PassRecord.h"

namespace vardel {

namespace {

void outlinePolygon(RasterTriangle& triangle, const SceneObject& object, const Polygon& polygon) {
    const auto point = [&](int k) -> std::size_t {
        return static_cast<std::size_t>(polygon.vertex[static_cast<std::size_t>(k)]);
    };
    if (polygon.isLine()) {
        drawLinePolygon(triangle, object, polygon);
        return;
    }
    const NearPlaneCut cut =
        cutAtNearPlane({object.viewPoints[point(0)].z, object.viewPoints[point(1)].z,
                        object.viewPoints[point(2)].z});
    if (cut.behind == 3) {
        return;
    }
    if (cut.behind == 0) {
        for (int k = 0; k < 3; ++k) {
            triangle.screen[static_cast<std::size_t>(k)] = &object.screenPoints[point(k)];
        }
        if (!isBackFacing(triangle)) {
            drawTriangleEdges(triangle);
        }
        return;
    }
    std::array<ClipCorner, 3> corner;
    for (int k = 0; k < 3; ++k) {
        corner[static_cast<std::size_t>(k)].view = object.viewPoints[point(k)];
    }
    const int m = cut.lone;
    const int p = (m + 1) % 3;
    const int q = (m + 2) % 3;
    const auto at = [](int k) { return static_cast<std::size_t>(k); };
    ClipCorner towardP = nearPlaneCorner(corner[at(m)], corner[at(p)]);
    ClipCorner towardQ = nearPlaneCorner(corner[at(m)], corner[at(q)]);
    std::array<Vec3, 3> screen;
    const auto place = [&](int slot, const ClipCorner& from) {
        screen[at(slot)] = from.view;
        object.projectPoint(screen[at(slot)]);
        triangle.screen[at(slot)] = &screen[at(slot)];
    };
    if (cut.behind == 1) {
        // (M1, p, q): the edges M1-p and p-q are visible parts of the polygon's own edges.
        place(m, towardP);
        place(p, corner[at(p)]);
        place(q, corner[at(q)]);
        if (!isBackFacing(triangle)) {
            drawEdge(triangle, m, p);
            drawEdge(triangle, p, q);
        }
        // (M1, M2, q) turns the opposite way to the visible part, so it counts as front
        // facing when the test says back facing; its edge M2-q is the rest of edge m-q.
        place(p, towardQ);
        if (isBackFacing(triangle)) {
            drawEdge(triangle, p, q);
        }
    } else {
        place(m, corner[at(m)]);
        place(p, towardP);
        place(q, towardQ);
        if (!isBackFacing(triangle)) {
            drawEdge(triangle, m, p);
            drawEdge(triangle, m, q);
        }
    }
}

} // namespace

void edgePass(RenderContext& context) {
    RasterTriangle triangle = passRecord(context);
    for (const Polygon* polygon : context.polygonTable) {
        triangle.color = polygon->color;
        outlinePolygon(triangle, *polygon->object, *polygon);
    }
}

} // namespace vardel

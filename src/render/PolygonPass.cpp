#include "render/PolygonPass.h"

#include <limits>

#include "math/FaceNormal.h"
#include "render/Avx2.h"
#include "render/DepthCull.h"
#include "render/Lighting.h"
#include "render/PassRecord.h"
#include "render/ScreenClip.h"

namespace vardel {

namespace {

/*
 * The polygons drawn on rows firstRow .. endRow - 1 of the target. A band (less than the whole
 * target) reads the scene and writes only its own rows, so that bands can be drawn side by side
 * on several threads: the depth cull reads the band's rows, and a face-lit triangle's corners
 * are lit into the pass's own storage. Drawing the whole target, the pass also writes those
 * shades into the objects' vertexLight, as a single render call does.
 */
template <bool FaceLit> class PolygonPass {
public:
    PolygonPass(const RenderContext& context, const Light* lights, const TriangleDrawer& drawer,
                int firstRow = 0, int endRow = std::numeric_limits<int>::max())
        : context(context), lights(lights), drawer(drawer),
          triangle(bandRecord(context, firstRow, endRow)), cullsByDepth(depthCullable(triangle)),
          banded(firstRow > 0 || endRow < context.height), bandTop(firstRow - 1.0),
          bandBottom(endRow + 1.0) {}

    void run() {
        for (Polygon* polygon : context.polygonTable) {
            drawPolygon(*polygon);
        }
    }

private:
    static RasterTriangle bandRecord(const RenderContext& context, int firstRow, int endRow) {
        RasterTriangle record = passRecord(context);
        record.firstRow = firstRow;
        record.endRow = endRow;
        return record;
    }

    // True when the triangle has no row in the band: it draws only on rows between its
    // corners' rows rounded, so a row's margin each way covers the rounding. The other band's
    // triangles, about half of them, are passed over first, before the tests that any
    // triangle needs. Not a number compares false: such a triangle goes on to those tests.
    bool outsideBand() const {
        const double top =
            lowest(triangle.screen[0]->y, triangle.screen[1]->y, triangle.screen[2]->y);
        const double bottom =
            highest(triangle.screen[0]->y, triangle.screen[1]->y, triangle.screen[2]->y);
        return bottom < bandTop || top > bandBottom;
    }

    // Face-lit: a corner's shade starts at the ambient colour and adds every light.
    VertexShade faceLight(const SceneObject& object, const Vec3& point) const {
        VertexShade shade{context.ambient[0], context.ambient[1], context.ambient[2]};
        const bool grey = object.greyLighting != 0;
        for (const Light* light = lights; light != nullptr; light = light->next) {
            lightPoint(grey, point, faceNormal, shade, *light);
        }
        return shade;
    }

    void drawPolygon(const Polygon& polygon) {
        SceneObject& object = *polygon.object;
        triangle.color = polygon.color;
        triangle.texture = polygon.texture;
        if (polygon.isLine()) {
            drawLinePolygon(triangle, object, polygon);
            return;
        }
        std::array<std::size_t, 3> index{};
        std::array<double, 3> depth{};
        for (std::size_t k = 0; k < 3; ++k) {
            index[k] = static_cast<std::size_t>(polygon.vertex[k]);
            depth[k] = object.viewPoints[index[k]].z;
        }
        const NearPlaneCut cut = cutAtNearPlane(depth);
        if (cut.behind == 3) {
            return;
        }
        if (cut.behind == 0) {
            drawWhole(object, polygon, index);
        } else {
            uv = texCoords(polygon);
            drawClipped(object, polygon, index, cut);
        }
    }

    static std::array<TexCoord, 3> texCoords(const Polygon& polygon) {
        return {TexCoord{polygon.texU0, polygon.texV0}, TexCoord{polygon.texU1, polygon.texV1},
                TexCoord{polygon.texU2, polygon.texV2}};
    }

    // No corner behind: the corners point straight into the object's arrays. A triangle
    // that would draw nothing (back-facing, off the target or behind what is already drawn)
    // is not lit either.
    void drawWhole(SceneObject& object, const Polygon& polygon,
                   const std::array<std::size_t, 3>& index) {
        for (std::size_t k = 0; k < 3; ++k) {
            triangle.screen[k] = &object.screenPoints[index[k]];
        }
        if ((banded && outsideBand()) || isBackFacing(triangle) || outsideTarget(triangle) ||
            (cullsByDepth && hiddenByUsableDepth(triangle))) {
            return;
        }
        // Shades and texel coordinates only for what is drawn: the tests read the corners.
        for (std::size_t k = 0; k < 3; ++k) {
            triangle.uv[k] = &uv[k];
        }
        uv = texCoords(polygon);
        if constexpr (FaceLit) {
            faceNormal = SurfaceNormal(vardel::faceNormal(object.viewPoints[index[0]],
                                                          object.viewPoints[index[1]],
                                                          object.viewPoints[index[2]]));
            // Lit in place: the shades are read as lightThreePoints stored them, shade by
            // shade. A copy of the whole array first was stored in other pieces, and a shade
            // read back across two of them waited for both stores to finish.
            const std::array<VertexShade, 3> lit = lightThreePoints(
                object.greyLighting != 0,
                {&object.viewPoints[index[0]], &object.viewPoints[index[1]],
                 &object.viewPoints[index[2]]},
                faceNormal, {context.ambient[0], context.ambient[1], context.ambient[2]}, lights,
                triangle.eightWide);
            for (std::size_t k = 0; k < 3; ++k) {
                triangle.shade[k] = &lit[k];
                if (!banded) {
                    object.vertexLight[index[k]] = lit[k];
                }
            }
            drawer.draw(triangle);
        } else {
            for (std::size_t k = 0; k < 3; ++k) {
                triangle.shade[k] = &object.vertexLight[index[k]];
            }
            drawer.draw(triangle);
        }
    }

    // One or two corners behind: work on copies; new corners lie on the near plane.
    void drawClipped(const SceneObject& object, const Polygon& polygon,
                     const std::array<std::size_t, 3>& index, const NearPlaneCut& cut) {
        if constexpr (FaceLit) {
            faceNormal = SurfaceNormal(object.faceNormal(polygon));
        }
        std::array<ClipCorner, 3> original;
        for (std::size_t k = 0; k < 3; ++k) {
            original[k].view = object.viewPoints[index[k]];
            original[k].uv = uv[k];
            if constexpr (!FaceLit) {
                original[k].shade = object.vertexLight[index[k]];
            }
        }
        const auto m = static_cast<std::size_t>(cut.lone);
        const std::size_t p = (m + 1) % 3;
        const std::size_t q = (m + 2) % 3;
        // Both new corners come from the corners as they were before clipping.
        ClipCorner towardP = nearPlaneCorner(original[m], original[p]);
        ClipCorner towardQ = nearPlaneCorner(original[m], original[q]);
        std::array<ClipCorner*, 3> slot{&original[0], &original[1], &original[2]};
        if (cut.behind == 1) {
            // (M1, p, q) in slot order, then slot p becomes M2 and the slots go over in the
            // order 1, 0, 2: (M1, q, M2) turning the same way as the first triangle.
            slot[m] = &towardP;
            finish(object, *slot[0]);
            finish(object, *slot[1]);
            finish(object, *slot[2]);
            handOver(*slot[0], *slot[1], *slot[2]);
            slot[p] = &towardQ;
            finish(object, towardQ);
            handOver(*slot[1], *slot[0], *slot[2]);
        } else {
            slot[p] = &towardP;
            slot[q] = &towardQ;
            finish(object, *slot[0]);
            finish(object, *slot[1]);
            finish(object, *slot[2]);
            handOver(*slot[0], *slot[1], *slot[2]);
        }
    }

    // Projects a clipped corner and, face-lit, lights it where it lies.
    void finish(const SceneObject& object, ClipCorner& corner) const {
        corner.screen = corner.view;
        object.projectPoint(corner.screen);
        if constexpr (FaceLit) {
            corner.shade = faceLight(object, corner.view);
        }
    }

    void handOver(const ClipCorner& a, const ClipCorner& b, const ClipCorner& c) {
        const std::array<const ClipCorner*, 3> corners{&a, &b, &c};
        for (std::size_t k = 0; k < 3; ++k) {
            triangle.screen[k] = &corners[k]->screen;
            triangle.shade[k] = &corners[k]->shade;
            triangle.uv[k] = &corners[k]->uv;
        }
        if (!isBackFacing(triangle)) {
            drawer.draw(triangle);
        }
    }

    const RenderContext& context;
    const Light* lights;
    const TriangleDrawer& drawer;
    RasterTriangle triangle;
    // With a depth buffer: the target the record holds for the pass was checked.
    const bool cullsByDepth;
    const bool banded;    // less than the whole target: writes nothing the objects hold
    const double bandTop; // the band's rows widened by one each way
    const double bandBottom;
    std::array<TexCoord, 3> uv{};
    SurfaceNormal faceNormal{Vec3{}};
};

#if VARDEL_AVX2
// The pass compiled for AVX2, where the processor has it: the same arithmetic (no FMA) in
// fewer instructions (three-operand forms, no register copies).
template <bool FaceLit>
VARDEL_INLINE_CALLS VARDEL_AVX2_FUNCTION void runWide(PolygonPass<FaceLit>& pass) {
    pass.run();
}
#endif

template <bool FaceLit> void runPass(PolygonPass<FaceLit>&& pass) {
#if VARDEL_AVX2
    if (avx2Usable()) {
        runWide(pass);
        return;
    }
#endif
    pass.run();
}

} // namespace

void faceLitPass(RenderContext& context, Light* lights, const TriangleDrawer& drawer) {
    preparePolygonPass(context, lights, true);
    runPass(PolygonPass<true>(context, lights, drawer));
}

void vertexLitPass(RenderContext& context, Light* lights, const TriangleDrawer& drawer) {
    preparePolygonPass(context, lights, false);
    runPass(PolygonPass<false>(context, lights, drawer));
}

// Vertex-lit, each point is lit once per light with its smoothed normal and no ambient term.
void preparePolygonPass(const RenderContext& context, Light* lights, bool faceLit) {
    prepareLights(lights);
    for (SceneObject* object = context.objects; object != nullptr; object = object->next) {
        object->greyLighting = context.greyLighting;
        if (faceLit) {
            continue;
        }
        computeVertexNormals(*object);
        for (VertexShade& shade : object->vertexLight) {
            shade = {};
        }
        for (const Light* light = lights; light != nullptr; light = light->next) {
            for (std::size_t i = 0; i < object->points.size(); ++i) {
                lightPoint(object->greyLighting != 0, object->viewPoints[i],
                           object->vertexNormals[i], object->vertexLight[i], *light);
            }
        }
    }
}

void polygonPassRows(const RenderContext& context, const Light* lights, bool faceLit, int firstRow,
                     int endRow) {
    if (faceLit) {
        runPass(PolygonPass<true>(context, lights, rasterizers(), firstRow, endRow));
    } else {
        runPass(PolygonPass<false>(context, lights, rasterizers(), firstRow, endRow));
    }
}

} // namespace vardel

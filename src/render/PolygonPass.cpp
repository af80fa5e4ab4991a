#include "render/PolygonPass.h"

#include "math/FaceNormal.h"
#include "render/DepthCull.h"
#include "render/Lighting.h"
#include "render/PassRecord.h"
#include "render/ScreenClip.h"

namespace vardel {

namespace {

template <bool FaceLit> class PolygonPass {
public:
    PolygonPass(RenderContext& context, Light* lights, const TriangleDrawer& drawer)
        : context(context), lights(lights), drawer(drawer), triangle(passRecord(context)),
          cullsByDepth(drawer.drawsNow() && depthCullable(triangle)) {}

    void run() {
        prepareLights(lights);
        if constexpr (!FaceLit) {
            lightEveryPoint();
        }
        for (Polygon* polygon : context.polygonTable) {
            drawPolygon(*polygon);
        }
    }

private:
    // Vertex-lit: each point once per light with its smoothed normal, no ambient term.
    void lightEveryPoint() {
        for (SceneObject* object = context.objects; object != nullptr; object = object->next) {
            computeVertexNormals(*object);
            object->greyLighting = context.greyLighting;
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
        if constexpr (FaceLit) {
            object.greyLighting = context.greyLighting;
        }
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
        if (isBackFacing(triangle) || outsideTarget(triangle) ||
            (cullsByDepth && hiddenByUsableDepth(triangle))) {
            return;
        }
        // Shades and texel coordinates only for what is drawn: the tests read the corners.
        for (std::size_t k = 0; k < 3; ++k) {
            triangle.shade[k] = &object.vertexLight[index[k]];
            triangle.uv[k] = &uv[k];
        }
        uv = texCoords(polygon);
        if constexpr (FaceLit) {
            faceNormal = SurfaceNormal(vardel::faceNormal(object.viewPoints[index[0]],
                                                          object.viewPoints[index[1]],
                                                          object.viewPoints[index[2]]));
            const std::array<VertexShade, 3> lit = lightThreePoints(
                object.greyLighting != 0,
                {&object.viewPoints[index[0]], &object.viewPoints[index[1]],
                 &object.viewPoints[index[2]]},
                faceNormal, {context.ambient[0], context.ambient[1], context.ambient[2]}, lights);
            for (std::size_t k = 0; k < 3; ++k) {
                object.vertexLight[index[k]] = lit[k];
            }
        }
        drawer.draw(triangle);
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

    RenderContext& context;
    Light* lights;
    const TriangleDrawer& drawer;
    RasterTriangle triangle;
    // Drawn now, into a depth buffer: the target the record holds for the pass was checked.
    const bool cullsByDepth;
    std::array<TexCoord, 3> uv{};
    SurfaceNormal faceNormal{Vec3{}};
};

} // namespace

void faceLitPass(RenderContext& context, Light* lights, const TriangleDrawer& drawer) {
    PolygonPass<true>(context, lights, drawer).run();
}

void vertexLitPass(RenderContext& context, Light* lights, const TriangleDrawer& drawer) {
    PolygonPass<false>(context, lights, drawer).run();
}

} // namespace vardel

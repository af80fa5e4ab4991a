// The generated scenes loaded as the demo loads them: the texture mappings land, the frames
// are full, the screen fills the picture where the finale needs it, and generating again
// gives the same bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <set>

#include "GeneratedData.h"
#include "Makedata.h"
#include "art/Vector.h"
#include "preview/DemoScenes.h"
#include "render/Render.h"
#include "scene/Motion.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

using makedata::cross;
using makedata::length;
using makedata::operator-;

using makedata::DemoScenes;
constexpr std::uint32_t kSentinel = 0x00FF00FFu;

std::unique_ptr<DemoScenes> loadDemo() {
    auto demo = std::make_unique<DemoScenes>();
    std::string reason;
    EXPECT_TRUE(demo->load(test::generatedRoot(), reason)) << reason;
    return demo;
}

struct Frame {
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(320 * 240, kSentinel);
    int covered() const {
        return static_cast<int>(std::count_if(pixels.begin(), pixels.end(),
                                              [](std::uint32_t p) { return p != kSentinel; }));
    }
};

Frame renderAt(Scene& scene, double time) {
    Frame frame;
    scene.target = frame.pixels.data();
    render(scene, time);
    return frame;
}

// The normal of a triangle in the frame a mapping projects along (the points turned by the
// negated angles), from the points as loaded.
Vec3 mappedNormal(const SceneObject& object, const Polygon& polygon,
                  const std::array<double, 3>& rotation) {
    std::array<Vec3, 3> p;
    for (int k = 0; k < 3; ++k) {
        Vec3 v = object.points[static_cast<std::size_t>(polygon.vertex[k])];
        // Only single-axis turns occur in the mappings: heading about y, bank about z.
        const double h = makedata::radians(-rotation[1]);
        const double b = makedata::radians(-rotation[2]);
        v = {v.x * std::cos(h) + v.z * std::sin(h), v.y, -v.x * std::sin(h) + v.z * std::cos(h)};
        v = {v.x * std::cos(b) - v.y * std::sin(b), v.x * std::sin(b) + v.y * std::cos(b), v.z};
        p[static_cast<std::size_t>(k)] = v;
    }
    return cross(p[1] - p[0], p[2] - p[0]);
}

TEST(Scenes, StartupMappingsTextureTheTrianglesFacingThem) {
    auto demo = loadDemo();
    for (const auto& row : makedata::startupMappings()) {
        const SceneObject& object = *demo->object(row.scene, row.object);
        const Texture& texture = demo->textures[row.texture];
        int facing = 0;
        int textured = 0;
        double lowU = 1e9, highU = -1e9, lowV = 1e9, highV = -1e9;
        for (const Polygon& polygon : object.polygons) {
            const Vec3 n = mappedNormal(object, polygon, row.rotation);
            if (std::abs(n.z) < 0.5 * length(n)) {
                continue;
            }
            ++facing;
            if (polygon.texture != &texture) {
                continue;
            }
            ++textured;
            for (double u : {polygon.texU0, polygon.texU1, polygon.texU2}) {
                lowU = std::min(lowU, u);
                highU = std::max(highU, u);
            }
            for (double v : {polygon.texV0, polygon.texV1, polygon.texV2}) {
                lowV = std::min(lowV, v);
                highV = std::max(highV, v);
            }
        }
        SCOPED_TRACE("scene " + std::to_string(row.scene) + " object " +
                     std::to_string(row.object));
        EXPECT_GE(facing, 8);
        EXPECT_GE(textured, facing * 9 / 10);
        // The object spans most of its texture (a smaller object mapped with another's
        // scale, as the second boat of the cloud scene, somewhat less).
        EXPECT_GT(highU - lowU, texture.width * 0.6);
        EXPECT_GT(highV - lowV, texture.height * 0.6);
    }
}

TEST(Scenes, EachGridAndTheCreditsCoverTheirWholeObject) {
    auto demo = loadDemo();
    const auto allWith = [](const SceneObject& object, const Texture& texture) {
        return std::all_of(object.polygons.begin(), object.polygons.end(),
                           [&](const Polygon& p) { return p.texture == &texture; });
    };
    for (TextureId grid : {Resetke22, Resetke222, Resetke2}) {
        demo->mapGrid(grid);
        EXPECT_TRUE(allWith(*demo->object(2, 3), demo->textures[grid])) << grid;
    }
    demo->mapCredits();
    EXPECT_TRUE(allWith(*demo->object(4, 1), demo->textures[Embora]));
}

TEST(Scenes, FramesAreFullAndVariedThroughoutTheirParts) {
    auto demo = loadDemo();
    const struct {
        int scene;
        std::vector<double> times;
        double minCovered;
    } cases[] = {
        {1, {0, 60, 120, 215}, 0.3},                 // the sea under a black sky
        {2, {0, 35, 70, 105}, 0.97},                 // the wall fills the background
        {3, {0, 80, 150, 230, 310, 390, 460}, 0.97}, // the sky fills the background
        {4, {0, 40}, 0.01},                          // the screen far off, then nearer
        {5, {60, 100}, 0.5},
    };
    for (const auto& c : cases) {
        for (double time : c.times) {
            const Frame frame = renderAt(demo->scene(c.scene), time);
            const std::set<std::uint32_t> colours(frame.pixels.begin(), frame.pixels.end());
            SCOPED_TRACE("scene " + std::to_string(c.scene) + " at " + std::to_string(time));
            EXPECT_GE(frame.covered(), static_cast<int>(c.minCovered * 320 * 240));
            EXPECT_GE(colours.size(), 100u);
        }
    }
}

TEST(Scenes, ScreenFillsThePictureFromTheEndOfItsMoveOn) {
    // The finale adds the credits screen over the whole frame from scene time 75 to about
    // 215; only the last column, which no triangle reaches, may stay uncovered.
    auto demo = loadDemo();
    for (double time : {90.0, 100.0, 117.3, 150.0, 183.9, 215.0, 260.0}) {
        const Frame frame = renderAt(demo->scene(4), time);
        EXPECT_GE(frame.covered(), 320 * 240 - 240) << time;
    }
}

TEST(Scenes, CreditsScreenAddsNothingButTheText) {
    auto demo = loadDemo();
    demo->mapCredits();
    Frame frame;
    std::fill(frame.pixels.begin(), frame.pixels.end(), 0u);
    demo->scene(4).target = frame.pixels.data();
    render(demo->scene(4), 150.0);
    const auto lit = [](const std::vector<std::uint32_t>& pixels) {
        return std::count_if(pixels.begin(), pixels.end(), [](std::uint32_t p) { return p != 0; });
    };
    const auto text = lit(demo->textures[Embora].pixels);
    EXPECT_GT(lit(frame.pixels), text / 2);
    EXPECT_LT(lit(frame.pixels), text * 6 / 5);
}

TEST(Scenes, TracksCoverTheSceneTimesTheDemoUses) {
    auto demo = loadDemo();
    const double ends[] = {215.0, 110.0, 470.0, 215.0};
    for (int s = 1; s <= 4; ++s) {
        Scene& scene = demo->scene(s);
        const auto check = [&](int count, const KeyArray& keys, const char* what) {
            if (count > 1) {
                EXPECT_LE(keys[0].frame, 0.0) << what << " of scene " << s;
                EXPECT_GE(keys[static_cast<std::size_t>(count - 1)].frame, ends[s - 1])
                    << what << " of scene " << s;
            }
            EXPECT_GE(count, 1) << what << " of scene " << s;
        };
        for (SceneObject* o = scene.context.objects; o != nullptr; o = o->next) {
            check(o->keyCount, o->keys, "object");
        }
        for (Light* l = scene.lights.head; l != nullptr; l = l->next) {
            check(l->keyCount, l->keys, "light");
        }
        check(scene.cameraKeyCount, scene.cameraKeys, "camera");
    }
}

// Between two keys the demo's interpolation (through up to four neighbouring keys) must stay
// close to them: keys placed too sparsely for a motion make it swing past them.
void expectNoOvershoot(const Key* keys, int count,
                       const std::function<std::array<double, 9>(double)>& at,
                       const std::string& what) {
    if (count < 4) {
        return;
    }
    for (std::size_t channel = 0; channel < 9; ++channel) {
        const auto value = [&](int i) { return keys[i].*Key::channels[channel]; };
        double low = value(0);
        double high = value(0);
        for (int i = 1; i < count; ++i) {
            low = std::min(low, value(i));
            high = std::max(high, value(i));
        }
        const double slack = 0.1 * (high - low) + 1e-9;
        for (int i = 0; i + 1 < count; ++i) {
            const double mid = at(0.5 * (keys[i].frame + keys[i + 1].frame))[channel];
            ASSERT_GE(mid, std::min(value(i), value(i + 1)) - slack)
                << what << " channel " << channel;
            ASSERT_LE(mid, std::max(value(i), value(i + 1)) + slack)
                << what << " channel " << channel;
        }
    }
}

TEST(Scenes, MotionPassesSmoothlyFromKeyToKey) {
    auto demo = loadDemo();
    for (int s = 1; s <= 4; ++s) {
        Scene& scene = demo->scene(s);
        int number = 1;
        for (SceneObject* o = scene.context.objects; o != nullptr; o = o->next, ++number) {
            expectNoOvershoot(
                o->keys.get(), o->keyCount,
                [&](double t) {
                    evaluateMotion(*o, t);
                    return std::array<double, 9>{o->posX / 100.0, o->posY / 100.0, o->posZ / 100.0,
                                                 o->heading,      o->pitch,        o->bank,
                                                 o->scaleX,       o->scaleY,       o->scaleZ};
                },
                "scene " + std::to_string(s) + " object " + std::to_string(number));
        }
        expectNoOvershoot(
            scene.cameraKeys.get(), scene.cameraKeyCount,
            [&](double t) {
                evaluateCameraMotion(scene, t);
                const CameraState& c = scene.camera;
                return std::array<double, 9>{c.posX / 100.0, c.posY / 100.0, c.posZ / 100.0,
                                             c.heading,      c.pitch,        c.bank,
                                             c.scaleX,       c.scaleY,       c.scaleZ};
            },
            "scene " + std::to_string(s) + " camera");
    }
}

TEST(Generation, WritesTheSameBytesEveryTime) {
    test::TempDir again;
    std::string reason;
    const auto data = again.path() / "data";
    ASSERT_TRUE(makedata::writeTextures(data, reason) && makedata::writeObjects(data, reason) &&
                makedata::writeScenes(data, reason))
        << reason;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data)) {
        const auto first =
            test::readBytes(test::generatedRoot() / "data" / entry.path().filename());
        EXPECT_EQ(first, test::readBytes(entry.path())) << entry.path().filename();
        ++files;
    }
    EXPECT_EQ(files, 9 + 11 + 4);
}

TEST(Generation, ReportsAFolderItCannotWrite) {
    test::TempDir folder;
    const auto blocked =
        folder.write("data", std::string_view("a file where the folder should be"));
    std::string reason;
    EXPECT_FALSE(makedata::writeScenes(blocked, reason));
    EXPECT_NE(reason.find("brodic1.lws"), std::string::npos) << reason;
}

} // namespace
} // namespace vardel

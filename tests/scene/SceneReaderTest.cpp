// The scene reader on scene files written here, with real object files beside them.

#include <gtest/gtest.h>

#include "formats/ObjectWriter.h"
#include "formats/SceneWriter.h"
#include "scene/DataPath.h"
#include "scene/Scene.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

using formats::SceneDescription;

Key key(double frame, double x = 0, double heading = 0, double scale = 1) {
    Key k;
    k.frame = frame;
    k.x = x;
    k.y = x + 1;
    k.z = x + 2;
    k.heading = heading;
    k.pitch = heading + 1;
    k.bank = heading + 2;
    k.scaleX = k.scaleY = k.scaleZ = scale;
    return k;
}

class SceneReader : public ::testing::Test {
protected:
    SceneReader() {
        formats::ObjectDescription boat;
        boat.points = {{1, -3, 0.5f}, {-2, 1, 0}, {0, 0, 0}};
        boat.polygons = {{0, 1, 2}, {2, 1}};
        boat.color = {10, 20, 30};
        dir.write("data/boat.lwo", formats::writeObject(boat));
        formats::ObjectDescription cloud;
        cloud.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        cloud.polygons = {{0, 1, 2}};
        dir.write("data/cloud.lwo", formats::writeObject(cloud));

        description.objects = {{"data\\boat.lwo", {key(0, 1, 10), key(30, 2, 20, 2)}},
                               {"data\\cloud.lwo", {}}};
        description.ambientColor = {255, 128, 0};
        description.ambientIntensity = 0.5;
        SceneDescription::Light first;
        first.keys = {key(0, 5)};
        first.color = {255, 255, 255};
        first.intensity = 0.8;
        first.falloff = 1.0; // makes the reader look for LightRange
        SceneDescription::Light second;
        second.keys = {key(0, 7), key(10, 8)};
        second.color = {0, 255, 51};
        second.intensity = 1.0;
        second.falloff = 0.5;
        description.lights = {first, second};
        description.cameraKeys = {key(0, -4), key(60, -5), key(90, -6)};
        description.zoomFactor = 3.2;
    }

    bool load(const std::string& text, std::string* reason = nullptr) {
        return scene.loadSceneText(text, "test.lws", dir.path(), reason);
    }

    test::TempDir dir;
    SceneDescription description;
    Scene scene;
};

TEST_F(SceneReader, ReadsEverySection) {
    ASSERT_TRUE(
        scene.loadScene(dir.write("data/test.lws", formats::writeScene(description)), dir.path()));

    const SceneObject* boat = scene.context.objects;
    ASSERT_NE(boat, nullptr);
    const SceneObject* cloud = boat->next;
    ASSERT_NE(cloud, nullptr);
    EXPECT_EQ(cloud->next, nullptr);
    EXPECT_EQ(scene.currentObject, cloud);
    EXPECT_EQ(boat->camera, &scene.camera);
    EXPECT_EQ(boat->polygons[0].color, 0x000A141Eu);
    EXPECT_EQ(boat->extentX, 400.0);
    EXPECT_EQ(boat->extentY, 600.0);
    EXPECT_EQ(boat->extentZ, 100.0);

    ASSERT_EQ(boat->keyCount, 2);
    const Key& second = boat->keys[1];
    // The ten values in file order: x, y, z, heading, pitch, bank, scale x, y, z, frame.
    EXPECT_EQ(second.z, 4.0);
    EXPECT_EQ(second.heading, 20.0);
    EXPECT_EQ(second.bank, 22.0);
    EXPECT_EQ(second.scaleZ, 2.0);
    EXPECT_EQ(second.frame, 30.0);
    // No keys: the reader's pose stays.
    EXPECT_EQ(cloud->keyCount, 0);
    EXPECT_EQ(cloud->scaleX, 1.0);
    EXPECT_EQ(cloud->posX, 0.0);

    EXPECT_EQ(scene.context.polygonTotal, 3);
    EXPECT_EQ(scene.context.polygonTable[2], &cloud->polygons[0]);

    EXPECT_DOUBLE_EQ(scene.ambientR, 0.5);
    EXPECT_NEAR(scene.ambientG, 0.25098, 1e-5);
    EXPECT_EQ(scene.ambientB, 0.0);

    const Light* light = scene.lights.head;
    ASSERT_NE(light, nullptr);
    EXPECT_DOUBLE_EQ(light->colorR, 0.8);
    EXPECT_EQ(light->keyCount, 1);
    EXPECT_EQ(light->keys[0].x, 5.0);
    EXPECT_EQ(light->camera, &scene.camera);
    light = light->next;
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light, scene.lights.tail);
    EXPECT_EQ(scene.currentLight, light);
    EXPECT_EQ(light->colorR, 0.0);
    EXPECT_DOUBLE_EQ(light->colorB, 0.2);
    EXPECT_EQ(light->keyCount, 2);
    EXPECT_EQ(light->keys[1].frame, 10.0);

    EXPECT_EQ(scene.cameraKeyCount, 3);
    EXPECT_EQ(scene.cameraKeys[2].x, -6.0);
    EXPECT_EQ(scene.zoomFactor, 3.2);
    EXPECT_TRUE(scene.savedLights.empty());
}

TEST_F(SceneReader, PathLinesKeepEverythingUpToTheLineEnd) {
    // CR LF ends the path; a second space after the keyword is part of the path.
    std::string text = formats::writeScene(description);
    std::string crlf;
    for (char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_TRUE(load(crlf));

    formats::ObjectDescription spaced;
    spaced.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    spaced.polygons = {{0, 1, 2}};
    dir.write(" data/spaced.lwo", formats::writeObject(spaced));
    description.objects = {{" data\\spaced.lwo", {}}};
    Scene spacedScene;
    EXPECT_TRUE(
        spacedScene.loadSceneText(formats::writeScene(description), "test.lws", dir.path()));
    ASSERT_NE(spacedScene.context.objects, nullptr);
    EXPECT_EQ(spacedScene.context.objects->pointCount, 3);
}

TEST_F(SceneReader, KeywordsAreOnlyRecognisedWhereTheyAreExpected) {
    // A LoadObject after AmbientColor is skipped like any other word; a light without
    // LightFalloff but with ShadowType reads normally.
    std::string text = formats::writeScene(description);
    text.replace(text.find("LightFalloff 1"), 14, "LoadObject x\n");
    text.replace(text.find("LightRange"), 10, "Unrelated");
    ASSERT_TRUE(load(text));
    int objects = 0;
    for (const SceneObject* o = scene.context.objects; o != nullptr; o = o->next) {
        ++objects;
    }
    EXPECT_EQ(objects, 2);
    EXPECT_EQ(scene.lights.tail->keyCount, 2);
}

TEST_F(SceneReader, CountsAreTruncated) {
    std::string text = formats::writeScene(description);
    const std::size_t at = text.find("CameraMotion (unnamed)\n  9\n  3");
    ASSERT_NE(at, std::string::npos);
    text.replace(at + 29, 1, "2.9");
    ASSERT_TRUE(load(text));
    EXPECT_EQ(scene.cameraKeyCount, 2);
}

struct Broken {
    const char* name;
    std::string from; // replaced in the written scene text ...
    std::string to;   // ... by this
    const char* problem;
    int line; // expected line of the problem, 0: not checked
};

TEST_F(SceneReader, RejectsBrokenFilesWithAReason) {
    const std::string good = formats::writeScene(description);
    const std::string longWord(80, 'x');
    const std::vector<Broken> cases = {
        {"no ambient colour", "AmbientColor", "Ambient",
         "end of file while looking for \"LoadObject\" or \"AmbientColor\"", 0},
        {"no light", "AddLight", "AddLite", "end of file while looking for \"AddLight\"", 0},
        {"no camera", "ShowCamera", "ShowCam", "\"ShowCamera\"", 0},
        {"no zoom", "ZoomFactor", "Zoom", "\"ZoomFactor\"", 0},
        {"word for a number", "AmbientColor 255", "AmbientColor red",
         "expected the ambient colour, found \"red\"", 28},
        {"infinite number", "ZoomFactor 3.2", "ZoomFactor 1e999", "out of range", 0},
        {"not a number", "ZoomFactor 3.2", "ZoomFactor nan", "out of range", 0},
        {"long word", "ShowObject 6 7", "ShowObject " + longWord, "longer than 79", 0},
        {"long path", "data\\boat.lwo", "data\\" + longWord + ".lwo", "longer than 79", 8},
        {"missing object", "data\\boat.lwo", "data\\ship.lwo", "cannot load object: ", 8},
        {"negative count", "ObjectMotion (unnamed)\n  9\n  2", "ObjectMotion (unnamed)\n  9\n  -1",
         "negative or more than the file can hold", 0},
        {"huge count", "ObjectMotion (unnamed)\n  9\n  2", "ObjectMotion (unnamed)\n  9\n  1e9",
         "negative or more than the file can hold", 0},
        {"frames out of order", "  30 0 0.0", "  0 0 0.0", "key frames must increase", 0},
        {"cut inside keys", "  30 0 0.0 0.0 0.0\nEndBehavior", "  30 0 0.0",
         "unexpected end of file", 0},
    };
    for (const Broken& c : cases) {
        std::string text = good;
        ASSERT_NE(text.find(c.from), std::string::npos) << c.name;
        for (std::size_t at = text.find(c.from); at != std::string::npos;
             at = text.find(c.from, at + c.to.size())) {
            text.replace(at, c.from.size(), c.to);
        }
        if (std::string(c.name) == "cut inside keys") {
            text.resize(text.find(c.to) + c.to.size());
        }
        Scene broken;
        std::string reason;
        EXPECT_FALSE(broken.loadSceneText(text, "test.lws", dir.path(), &reason)) << c.name;
        EXPECT_EQ(reason.rfind("test.lws:", 0), 0u) << c.name << ": " << reason;
        EXPECT_NE(reason.find(c.problem), std::string::npos) << c.name << ": " << reason;
        if (c.line != 0) {
            EXPECT_EQ(reason.rfind("test.lws:" + std::to_string(c.line) + ":", 0), 0u)
                << c.name << ": " << reason;
        }
    }
}

TEST_F(SceneReader, UnterminatedPathLineAndMissingFile) {
    std::string reason;
    EXPECT_FALSE(load("LoadObject data\\boat.lwo", &reason));
    EXPECT_NE(reason.find("does not end"), std::string::npos) << reason;
    EXPECT_FALSE(load("LoadObject", &reason));
    EXPECT_NE(reason.find("object path"), std::string::npos) << reason;
    EXPECT_FALSE(scene.loadScene(dir.path() / "none.lws", dir.path(), &reason));
    EXPECT_NE(reason.find("none.lws: cannot open"), std::string::npos) << reason;
}

TEST_F(SceneReader, FailedObjectLeavesEarlierObjectsInTheList) {
    description.objects.push_back({"data\\ship.lwo", {}});
    std::string reason;
    ASSERT_FALSE(load(formats::writeScene(description), &reason));
    ASSERT_NE(scene.context.objects, nullptr);
    EXPECT_EQ(scene.context.objects->next, scene.context.lastObject);
    EXPECT_EQ(scene.currentObject, scene.context.lastObject);
    EXPECT_NE(reason.find("ship.lwo"), std::string::npos) << reason;
}

// An object source in place of files: it is asked for each path as the scene writes it, what
// it gives is loaded, and its refusal is the scene's.
TEST_F(SceneReader, TakesObjectsFromTheSourceItIsGiven) {
    formats::ObjectDescription pentagon;
    pentagon.points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 2, 0}, {-1, 1, 0}};
    pentagon.polygons = {{0, 1, 2, 3, 4}};
    std::vector<std::string> asked;
    const ObjectSource memory = [&](std::string_view name, ObjectFile& file, std::string* reason) {
        asked.emplace_back(name);
        file.fileName = "memory:" + std::string(name);
        file.bytes = formats::writeObject(pentagon);
        return asked.size() == 1 || fail(reason, file.fileName, "gone");
    };
    std::string reason;
    EXPECT_FALSE(
        scene.loadSceneText(formats::writeScene(description), "test.lws", memory, &reason));
    EXPECT_EQ(asked, (std::vector<std::string>{"data\\boat.lwo", "data\\cloud.lwo"}));
    EXPECT_NE(reason.find(": cannot load object: memory:data\\cloud.lwo: gone"), std::string::npos)
        << reason;
    ASSERT_NE(scene.context.objects, nullptr);
    EXPECT_EQ(scene.context.objects->pointCount, 5);
}

TEST(ComputeExtents, TwiceTheLargestMagnitudePerAxis) {
    SceneObject object;
    EXPECT_EQ(object.extentX, 0.0);
    object.points = {{1, -3, 0.5}, {-2, 1, 0}};
    object.computeExtents();
    EXPECT_EQ(object.extentX, 4.0);
    EXPECT_EQ(object.extentY, 6.0);
    EXPECT_EQ(object.extentZ, 1.0);
    object.points.clear();
    object.computeExtents();
    EXPECT_EQ(object.extentY, 0.0);
}

} // namespace
} // namespace vardel

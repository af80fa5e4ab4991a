// The scene tool end to end on files made here: pictures written, bad requests refused.

#include <gtest/gtest.h>

#include <sstream>

#include "app/SceneTool.h"
#include "formats/ObjectWriter.h"
#include "formats/SceneWriter.h"
#include "support/TempDir.h"

namespace vardel {
namespace {

class SceneTool : public ::testing::Test {
protected:
    SceneTool() {
        formats::ObjectDescription square;
        square.points = {{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}};
        square.polygons = {{0, 1, 2}, {0, 2, 3}};
        dir.write("data/square.lwo", formats::writeObject(square));
        formats::SceneDescription scene;
        Key still;
        scene.objects = {{"data\\square.lwo", {still}}};
        Key light;
        light.z = -5;
        scene.lights = {{{light}}};
        Key camera;
        camera.z = -4;
        scene.cameraKeys = {camera};
        scenePath = dir.write("data/square.lws", formats::writeScene(scene)).string();
        std::vector<std::uint8_t> texture(16 * 16 * 3, 0x80);
        texturePath = dir.write("data/grey.raw", texture).string();
    }

    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return runSceneTool(args, out, err);
    }

    test::TempDir dir;
    std::string scenePath;
    std::string texturePath;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(SceneTool, WritesOnePicturePerTime) {
    const std::string prefix = (dir.path() / "shot").string();
    ASSERT_EQ(run({scenePath, "--data", dir.path().string(), "--times", "0,12.5", "--out", prefix,
                   "--depth", "--map", "1=" + texturePath + ":16x16:0,0,0"}),
              0)
        << err.str();
    EXPECT_TRUE(std::filesystem::exists(prefix + "-0.png"));
    EXPECT_GT(std::filesystem::file_size(prefix + "-12.5.png"), 100u);
    EXPECT_NE(out.str().find("shot-12.5.png"), std::string::npos);
}

TEST_F(SceneTool, RefusesBadRequestsWithAReason) {
    const std::string data = dir.path().string();
    const std::string prefix = (dir.path() / "shot").string();
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{}, 2, "no scene file"},
        {{scenePath, "--out", prefix}, 2, "no --times"},
        {{scenePath, "--times", "1,x", "--out", prefix}, 2, "--times wants numbers"},
        {{scenePath, "--times", "1", "--out", prefix, "--map", "1=grey.raw:16"}, 2, "--map wants"},
        {{scenePath, "--times", "1", "--out", prefix, "--bogus"}, 2, "unknown option --bogus"},
        {{scenePath, "--times", "1", "--out", prefix, "--data"}, 2, "--data needs a value"},
        {{scenePath, "--data", data, "--times", "1", "--out", prefix, "--map", "2=" + texturePath + ":16x16"}, 2, "no object 2"},
        {{scenePath, "--data", data, "--times", "1", "--out", prefix, "--map", "1=" + texturePath + ":32x32"}, 1, "fewer than 32 x 32"},
        {{scenePath, "--times", "1", "--out", prefix}, 1, "cannot load object"},
        {{data + "/none.lws", "--times", "1", "--out", prefix}, 1, "none.lws: cannot open"},
        {{scenePath, "--data", data, "--times", "1", "--out", data + "/no/such/dir/x"}, 1, "x-1.png"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args), c.status) << c.message;
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out.str().find("usage: vardel-scene"), std::string::npos);
}

} // namespace
} // namespace vardel

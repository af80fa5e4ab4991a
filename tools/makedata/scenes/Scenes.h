#pragma once

#include <vector>

#include "formats/SceneWriter.h"

namespace vardel::makedata {

// The scene files the demo loads. Object order matters: the demo maps its textures onto
// objects by their place in the scene.

// brodic1, the finale: two newspaper boats (objects 1 and 2) on a night sea under the moon.
formats::SceneDescription finaleScene();
// brodic2: a newspaper boat (1) inside spinning brass rings (2) before the beat-switched grid
// wall (3).
formats::SceneDescription gridScene();
// brodic3: newspaper boats (1, and 3 sailing the other way) among two cloud banks, the near
// one (2) and the far one (4), under a sky.
formats::SceneDescription cloudScene();
// screen: the 4:3 screen the pictures and the credits are shown on (object 1); the camera
// moves in until the screen fills the whole 320 x 240 picture and stays there.
formats::SceneDescription screenScene();

struct SceneFile {
    const char* name; // as the demo names it
    formats::SceneDescription (*build)();
};

const std::vector<SceneFile>& sceneFiles();

} // namespace vardel::makedata

#pragma once

namespace vardel {

// The camera's current state inside a Scene. `focal` is the projection scale in pixels,
// set by the render driver every frame; the rest is written by motion evaluation.
struct CameraState {
    double focal = 0.0;
    double posX = 0.0;
    double posY = 0.0;
    double posZ = 0.0;
    double pitch = 0.0;
    double heading = 0.0;
    double bank = 0.0;
    double scaleX = 1.0; // written from the track, affects nothing
    double scaleY = 1.0;
    double scaleZ = 1.0;
};

} // namespace vardel

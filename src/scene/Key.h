#pragma once

#include <array>
#include <memory>

namespace vardel {

// One motion key, in the order the scene file gives its ten values.
struct Key {
    double x = 0.0;       // file units
    double y = 0.0;
    double z = 0.0;
    double heading = 0.0; // degrees
    double pitch = 0.0;
    double bank = 0.0;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double scaleZ = 1.0;
    double frame = 0.0;   // scene frames

    // The nine animated channels in file order, for code that walks them uniformly.
    static constexpr std::array<double Key::*, 9> channels = {
        &Key::x, &Key::y, &Key::z, &Key::heading, &Key::pitch, &Key::bank,
        &Key::scaleX, &Key::scaleY, &Key::scaleZ};
};

// A track's key array. Copies of a light share their original's keys, so the array is
// reference counted rather than owned by one record.
using KeyArray = std::shared_ptr<Key[]>;

} // namespace vardel

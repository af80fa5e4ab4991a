#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "art/Mesh.h"

namespace vardel::makedata {

// One object file of the demo: its name, its single surface and how its shape is made.
struct ObjectFile {
    const char* name; // as the scene files write it
    const char* surface;
    std::array<std::uint8_t, 3> colour; // shown where no texture lands
    Mesh (*build)();
};

// Every object file, in the order they are written.
const std::vector<ObjectFile>& objectFiles();

} // namespace vardel::makedata

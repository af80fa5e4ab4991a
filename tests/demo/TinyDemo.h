#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "demo/DemoData.h"
#include "support/TempDir.h"

namespace vardel::test {

// A complete, small data folder: the nine textures at their sizes, each one flat colour; cubes
// for objects (two in scene 1, three in scene 2, four in scene 3, one on the screen); and a
// silent 20-row song (7.2 ticks a row) with W01 ... W04 on rows 2, 4, 6 and 8, W24 and W34 on
// rows 10 and 12, W05 on row 14 and, unless left out, W06 on row 16.
void writeTinyDemo(const TempDir& dir, bool endCue = true);

// One such folder for the whole test program, and its data loaded as start-up loads it.
const std::filesystem::path& tinyDemoRoot();
std::unique_ptr<DemoData> loadTinyDemo();

} // namespace vardel::test

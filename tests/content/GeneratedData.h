#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vardel::test {

// The demo's pictures (textures, objects, scenes) written once per test run into a
// temporary folder: generatedRoot() / "data" holds the files.
const std::filesystem::path& generatedRoot();

// Only the object files, written once per test run into a folder of their own (they take a
// fraction of the time the textures take).
const std::filesystem::path& generatedObjects();

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);

} // namespace vardel::test

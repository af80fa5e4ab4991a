#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vardel::makedata {

// Writes one file of the demo's data under the output folder (creating folders on the way).
// Returns false with a reason naming the file when it cannot be written.
bool writeDataFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
                   std::string& reason);
bool writeDataFile(const std::filesystem::path& path, const std::string& text, std::string& reason);

// Each part of the content writes its files into `data` (the folder named data, which the demo
// looks for). They are independent of each other and deterministic.
bool writeTextures(const std::filesystem::path& data, std::string& reason);
bool writeObjects(const std::filesystem::path& data, std::string& reason);
bool writeScenes(const std::filesystem::path& data, std::string& reason);
bool writeMusic(const std::filesystem::path& data, std::string& reason);

} // namespace vardel::makedata

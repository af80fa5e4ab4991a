#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vardel {

// Maps a data file name as the program and its scene files write it ("data\boat.lwo") onto
// the host: backslashes become the host's separator, and the name is placed under root
// (empty root: relative to the current directory).
std::filesystem::path hostPath(const std::filesystem::path& root, std::string_view name);

// Reads a whole file into bytes. Fails with a reason naming the file when it cannot be
// opened or read, or when it is larger than maxBytes (a guard against absurd inputs).
bool readFileBytes(const std::filesystem::path& path, std::size_t maxBytes,
                   std::vector<std::uint8_t>& bytes, std::string* reason);

// Stores "<file>: <problem>" in *reason when reason is not null; returns false so that
// readers can write `return fail(...)`.
bool fail(std::string* reason, const std::string& fileName, const std::string& problem);

} // namespace vardel

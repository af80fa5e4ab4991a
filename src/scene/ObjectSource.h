#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vardel {

// An object file a scene names: its name for messages and its bytes.
struct ObjectFile {
    std::string fileName;
    std::vector<std::uint8_t> bytes;
};

// Where a scene's objects come from. Called with the path as the scene writes it
// ("data\boat.lwo"), it fills `file` (the scene reader hands the same one to each call, so
// its buffer is reused) or returns false with "<file>: <problem>" in *reason.
using ObjectSource =
    std::function<bool(std::string_view name, ObjectFile& file, std::string* reason)>;

// The object files under dataRoot (empty: the current folder), found as hostPath maps the
// names; messages name the file's path.
ObjectSource objectFilesUnder(std::filesystem::path dataRoot);

} // namespace vardel

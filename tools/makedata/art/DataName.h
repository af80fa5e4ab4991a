#pragma once

#include <filesystem>
#include <string_view>

namespace vardel::makedata {

// Where a file the demo names "data\name.ext" goes inside the data folder being written.
inline std::filesystem::path fileInData(const std::filesystem::path& data, std::string_view name) {
    const std::size_t slash = name.find_last_of("\\/");
    return data / std::string(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

} // namespace vardel::makedata

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vardel::test {

// A fresh directory under the system's temporary folder, removed with everything in it when
// the object goes away. Tests write their fixture files here.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return root; }
    // Writes a file (creating folders on the way) and returns its full path.
    std::filesystem::path write(const std::string& name, std::string_view text) const;
    std::filesystem::path write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

private:
    std::filesystem::path root;
};

} // namespace vardel::test

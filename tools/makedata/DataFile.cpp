#include <cerrno>
#include <cstring>
#include <fstream>

#include "Makedata.h"

namespace vardel::makedata {

bool writeDataFile(const std::filesystem::path& path, const std::string& text, std::string& reason) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        reason = path.string() + ": cannot write: " + std::strerror(errno);
        return false;
    }
    return true;
}

bool writeDataFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
                   std::string& reason) {
    return writeDataFile(path, std::string(bytes.begin(), bytes.end()), reason);
}

} // namespace vardel::makedata

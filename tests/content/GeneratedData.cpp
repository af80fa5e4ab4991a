#include "GeneratedData.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "Makedata.h"
#include "support/TempDir.h"

namespace vardel::test {

const std::filesystem::path& generatedRoot() {
    static const TempDir folder;
    static const bool written = [] {
        std::string reason;
        const auto data = folder.path() / "data";
        if (!makedata::writeTextures(data, reason) || !makedata::writeObjects(data, reason) ||
            !makedata::writeScenes(data, reason)) {
            throw std::runtime_error("generating the data failed: " + reason);
        }
        return true;
    }();
    (void)written;
    return folder.path();
}

const std::filesystem::path& generatedObjects() {
    static const TempDir folder;
    static const std::filesystem::path data = [] {
        std::string reason;
        if (!makedata::writeObjects(folder.path() / "data", reason)) {
            throw std::runtime_error("writing the objects failed: " + reason);
        }
        return folder.path() / "data";
    }();
    return data;
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace vardel::test

#include "scene/DataPath.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace vardel {

std::filesystem::path hostPath(const std::filesystem::path& root, std::string_view name) {
    std::string mapped(name);
    for (char& c : mapped) {
        if (c == '\\') {
            c = '/';
        }
    }
    std::filesystem::path relative(mapped);
    return root.empty() ? relative : root / relative;
}

bool readFileBytes(const std::filesystem::path& path, std::size_t maxBytes,
                   std::vector<std::uint8_t>& bytes, std::string* reason) {
    const std::string name = path.string();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        return fail(reason, name, std::string("cannot open: ") + std::strerror(errno));
    }
    bytes.clear();
    // Read in large blocks until the end; works for pipes too, where the size is unknown.
    constexpr std::size_t kBlock = 1 << 20;
    for (;;) {
        const std::size_t used = bytes.size();
        if (used > maxBytes) {
            return fail(reason, name, "file is larger than " + std::to_string(maxBytes) + " bytes");
        }
        bytes.resize(used + kBlock);
        const std::size_t got = std::fread(bytes.data() + used, 1, kBlock, file.get());
        bytes.resize(used + got);
        if (got < kBlock) {
            break;
        }
    }
    if (std::ferror(file.get())) {
        return fail(reason, name, std::string("read error: ") + std::strerror(errno));
    }
    if (bytes.size() > maxBytes) {
        return fail(reason, name, "file is larger than " + std::to_string(maxBytes) + " bytes");
    }
    return true;
}

bool fail(std::string* reason, const std::string& fileName, const std::string& problem) {
    if (reason != nullptr) {
        *reason = fileName + ": " + problem;
    }
    return false;
}

} // namespace vardel

#include "app/DataLocation.h"

#include <system_error>

namespace vardel {

std::filesystem::path installedDataRoot(const std::filesystem::path& program) {
    return program.parent_path().parent_path() / "share" / "vardel";
}

std::filesystem::path chooseDataRoot(const std::filesystem::path& currentFolder,
                                     const std::filesystem::path& program) {
    std::error_code error;
    if (std::filesystem::is_directory(currentFolder / "data", error) || program.empty()) {
        return {};
    }
    const std::filesystem::path installed = installedDataRoot(program);
    if (std::filesystem::is_directory(installed / "data", error)) {
        return installed;
    }
    return {};
}

std::filesystem::path runningProgram() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program;
}

} // namespace vardel

#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "shell/SyncCues.h"

namespace openmpt {
class module;
}

namespace vardel {

// A module ready to play: libopenmpt's player of it, its sync cues and where it came from.
struct LoadedModule {
    LoadedModule();
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    std::string fileName;
    std::unique_ptr<openmpt::module> player;
    SyncCues cues;
    bool played = false; // has been played before, so must be rewound to play again
};

// Reads and parses a module file (any format libopenmpt knows). On failure returns null and
// puts "<file>: <problem>" in *reason.
std::unique_ptr<LoadedModule> loadModuleFile(const std::filesystem::path& path,
                                             std::string* reason);
std::unique_ptr<LoadedModule> loadModuleBytes(const std::vector<std::uint8_t>& bytes,
                                              const std::string& fileName, std::string* reason);

} // namespace vardel

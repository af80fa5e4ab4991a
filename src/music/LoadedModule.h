#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "music/SyncCues.h"

namespace openmpt {
class module;
namespace ext {
class interactive;
}
} // namespace openmpt

namespace vardel {

// A module ready to play: libopenmpt's player of it, its sync cues and where it came from.
struct LoadedModule {
    LoadedModule();
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    std::string fileName;
    std::unique_ptr<openmpt::module> player;
    // The player's interactive extension (channel muting), or null where the library lacks it,
    // and which channels the file itself mutes.
    openmpt::ext::interactive* interactive = nullptr;
    std::vector<bool> mutedByFile;
    SyncCues cues;
    // "<file>: <what is cut short>" when the file lacks part of an instrument or sample (it
    // plays as far as the file goes); empty for a complete file.
    std::string warning;
    bool played = false; // has been played before, so must be rewound to play again
};

// Reads and parses a module file (any format libopenmpt knows). On failure returns null and
// puts "<file>: <problem>" in *reason. An XM module whose pattern data is cut short fails.
std::unique_ptr<LoadedModule> loadModuleFile(const std::filesystem::path& path,
                                             std::string* reason);
// The same for a module in memory, called fileName in messages; the bytes are copied.
std::unique_ptr<LoadedModule> loadModuleBytes(std::span<const std::uint8_t> bytes,
                                              const std::string& fileName, std::string* reason);

} // namespace vardel

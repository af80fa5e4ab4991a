#include "music/LoadedModule.h"

#include <libopenmpt/libopenmpt.hpp>
#include <libopenmpt/libopenmpt_ext.hpp>
#include <sstream>
#include <vector>

#include "music/XmLayout.h"
#include "scene/DataPath.h"

namespace vardel {

namespace {

// Far above any real module; keeps a wrong file name from reading a disk image into memory.
constexpr std::size_t maxModuleBytes = std::size_t{256} << 20;

} // namespace

LoadedModule::LoadedModule() = default;
LoadedModule::~LoadedModule() = default;

std::unique_ptr<LoadedModule> loadModuleFile(const std::filesystem::path& path,
                                             std::string* reason) {
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(path, maxModuleBytes, bytes, reason)) {
        return nullptr;
    }
    return loadModuleBytes(bytes, path.string(), reason);
}

std::unique_ptr<LoadedModule> loadModuleBytes(std::span<const std::uint8_t> bytes,
                                              const std::string& fileName, std::string* reason) {
    if (bytes.empty()) {
        fail(reason, fileName, "empty file, not a module");
        return nullptr;
    }
    const int probe = openmpt::probe_file_header(openmpt::probe_file_header_flags_default2,
                                                 bytes.data(), bytes.size(), bytes.size());
    if (probe != openmpt::probe_file_header_result_success) {
        fail(reason, fileName, "not a module (no module format recognises its header)");
        return nullptr;
    }
    const XmTruncation truncation = findXmTruncation(bytes);
    if (!truncation.patterns.empty()) {
        fail(reason, fileName, "truncated: " + truncation.patterns);
        return nullptr;
    }
    auto loaded = std::make_unique<LoadedModule>();
    loaded->fileName = fileName;
    // The loader's warnings go to a private log; they only matter when loading fails.
    std::ostringstream log;
    try {
        auto player = std::make_unique<openmpt::module_ext>(bytes.data(), bytes.size(), log);
        loaded->interactive = static_cast<openmpt::ext::interactive*>(
            player->get_interface(openmpt::ext::interactive_id));
        loaded->player = std::move(player);
        if (loaded->interactive != nullptr) {
            for (std::int32_t c = 0; c < loaded->player->get_num_channels(); ++c) {
                loaded->mutedByFile.push_back(loaded->interactive->get_channel_mute_status(c));
            }
        }
    } catch (const std::exception& error) {
        std::string detail = log.str();
        while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r')) {
            detail.pop_back();
        }
        for (char& c : detail) {
            c = c == '\n' ? ';' : c;
        }
        fail(reason, fileName,
             std::string("not a valid module: ") + error.what() +
                 (detail.empty() ? "" : " (" + detail + ")"));
        return nullptr;
    }
    loaded->cues = SyncCues(*loaded->player);
    if (!truncation.instruments.empty()) {
        loaded->warning =
            fileName + ": cut short: " + truncation.instruments + "; plays as far as the file goes";
    }
    return loaded;
}

} // namespace vardel

#pragma once

#include <array>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace vardel {

// One texture mapping asked for on the scene tool's command line:
// OBJECT=FILE.raw:WIDTHxHEIGHT[:PITCH,HEADING,BANK].
struct MapRequest {
    int object = 0; // 1-based, in the scene's object order
    std::filesystem::path file;
    int width = 0;
    int height = 0;
    std::array<double, 3> rotation{0, 0, 0};
};

struct SceneToolOptions {
    std::filesystem::path scene;
    std::filesystem::path dataRoot;
    std::vector<double> times;
    std::string outPrefix;
    std::vector<MapRequest> maps;
    bool depth = false;
    bool vertexLit = false;
    bool wireframe = false;
    bool help = false;
};

// Parses the command line (without the program name). On a bad argument returns false with
// the problem in error.
bool parseSceneToolArgs(const std::vector<std::string>& args, SceneToolOptions& options,
                        std::string& error);

// The whole program: 0 on success, 1 when a file cannot be read or written, 2 on bad usage.
int runSceneTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vardel

// vardel-scene: loads one scene file, optionally maps raw textures onto its objects, and
// writes PNGs of it rendered at the given scene times.

#include "app/SceneTool.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <ostream>

#include "image/PngWriter.h"
#include "math/PointTransform.h"
#include "math/Rotation.h"
#include "render/Render.h"
#include "scene/Scene.h"
#include "scene/Texture.h"

namespace vardel {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
// A mapped object spans 1/1.1 of the texture around its centre, as the demo maps its scenes.
constexpr double kMapMargin = 1.1;

const char* const kUsage =
    "usage: vardel-scene SCENE.lws --times T1,T2,... --out PREFIX [options]\n"
    "Renders a scene at the given scene times (in frames of its keys) to PREFIX-TIME.png\n"
    "(320 x 240).\n"
    "  --data DIR     folder the scene's object paths (data\\name.lwo) are relative to\n"
    "                 (default: the current folder)\n"
    "  --map OBJECT=FILE.raw:WIDTHxHEIGHT[:PITCH,HEADING,BANK]\n"
    "                 maps a raw RGB texture flat onto object OBJECT (1 = first), turned by\n"
    "                 the angles in degrees, scaled to the object's size; may repeat\n"
    "  --depth        draw with a depth buffer instead of painter's order\n"
    "  --vertex-lit   light the points once with smoothed normals instead of per face\n"
    "  --wireframe    outline the front-facing polygons after drawing\n"
    "  --help         this text\n";

bool parseNumber(std::string_view text, double& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && std::isfinite(value);
}

bool parseInt(std::string_view text, int& value) {
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    return error == std::errc() && end == last;
}

bool parseList(std::string_view text, std::vector<double>& values) {
    values.clear();
    while (true) {
        const std::size_t comma = text.find(',');
        double value = 0.0;
        if (!parseNumber(text.substr(0, comma), value)) {
            return false;
        }
        values.push_back(value);
        if (comma == std::string_view::npos) {
            return true;
        }
        text.remove_prefix(comma + 1);
    }
}

bool parseMap(std::string_view text, MapRequest& map) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || !parseInt(text.substr(0, equals), map.object) ||
        map.object < 1) {
        return false;
    }
    std::string_view rest = text.substr(equals + 1);
    std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    if (rest.substr(colon + 1).find(',') != std::string_view::npos) {
        std::vector<double> angles;
        if (!parseList(rest.substr(colon + 1), angles) || angles.size() != 3) {
            return false;
        }
        map.rotation = {angles[0], angles[1], angles[2]};
        rest = rest.substr(0, colon);
        colon = rest.rfind(':');
        if (colon == std::string_view::npos) {
            return false;
        }
    }
    const std::string_view size = rest.substr(colon + 1);
    const std::size_t by = size.find('x');
    if (by == std::string_view::npos || !parseInt(size.substr(0, by), map.width) ||
        !parseInt(size.substr(by + 1), map.height) || map.width < 1 || map.height < 1 ||
        map.width > 8192 || map.height > 8192 || colon == 0) {
        return false;
    }
    map.file = std::string(rest.substr(0, colon));
    return true;
}

// Size of the object seen along the mapping direction: twice the largest |x| and |y| of its
// points turned by the negated angles (the extents when the rotation is zero).
std::array<double, 2> mappedExtent(const SceneObject& object, const std::array<double, 3>& rotation) {
    const Matrix3 turn = objectRotation(-rotation[0], -rotation[1], -rotation[2]);
    const Matrix43 frame = {{turn[0], turn[1], turn[2], {0, 0, 0}}};
    double largestX = 0.0;
    double largestY = 0.0;
    for (const Vec3& point : object.points) {
        const Vec3 turned = transformPoint(frame, point);
        largestX = std::max(largestX, std::abs(turned.x));
        largestY = std::max(largestY, std::abs(turned.y));
    }
    return {2.0 * largestX, 2.0 * largestY};
}

std::string timeLabel(double time) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", time);
    return text;
}

} // namespace

bool parseSceneToolArgs(const std::vector<std::string>& args, SceneToolOptions& options,
                        std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--depth") {
            options.depth = true;
        } else if (arg == "--vertex-lit") {
            options.vertexLit = true;
        } else if (arg == "--wireframe") {
            options.wireframe = true;
        } else if (arg == "--data") {
            if (!value(text)) {
                return false;
            }
            options.dataRoot = text;
        } else if (arg == "--out") {
            if (!value(options.outPrefix)) {
                return false;
            }
        } else if (arg == "--times") {
            if (!value(text)) {
                return false;
            }
            if (!parseList(text, options.times)) {
                error = "--times wants numbers separated by commas, not \"" + text + "\"";
                return false;
            }
        } else if (arg == "--map") {
            MapRequest map;
            if (!value(text)) {
                return false;
            }
            if (!parseMap(text, map)) {
                error = "--map wants OBJECT=FILE.raw:WIDTHxHEIGHT[:PITCH,HEADING,BANK], not \"" +
                        text + "\"";
                return false;
            }
            options.maps.push_back(map);
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (options.scene.empty()) {
            options.scene = arg;
        } else {
            error = "more than one scene file given (" + arg + ")";
            return false;
        }
    }
    if (options.help) {
        return true;
    }
    if (options.scene.empty()) {
        error = "no scene file given";
    } else if (options.times.empty()) {
        error = "no --times given";
    } else if (options.outPrefix.empty()) {
        error = "no --out given";
    }
    return error.empty();
}

int runSceneTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SceneToolOptions options;
    std::string error;
    if (!parseSceneToolArgs(args, options, error)) {
        err << "vardel-scene: " << error << "\n" << kUsage;
        return 2;
    }
    if (options.help) {
        out << kUsage;
        return 0;
    }
    auto scene = std::make_unique<Scene>();
    if (!scene->loadScene(options.scene, options.dataRoot, &error)) {
        err << "vardel-scene: " << error << "\n";
        return 1;
    }
    scene->width = kWidth;
    scene->height = kHeight;
    scene->faceLighting = options.vertexLit ? 0 : 1;
    scene->wireframe = options.wireframe ? 1 : 0;
    if (options.depth) {
        scene->createDepthBuffer();
    }

    std::vector<std::unique_ptr<Texture>> textures;
    for (const MapRequest& map : options.maps) {
        SceneObject* object = scene->context.objects;
        for (int n = 1; n < map.object && object != nullptr; ++n) {
            object = object->next;
        }
        if (object == nullptr) {
            err << "vardel-scene: --map: the scene has no object " << map.object << "\n";
            return 2;
        }
        auto texture = std::make_unique<Texture>();
        if (!texture->loadTexture(map.file, &error)) {
            err << "vardel-scene: " << error << "\n";
            return 1;
        }
        const auto needed = static_cast<std::size_t>(map.width) * static_cast<std::size_t>(map.height);
        if (texture->pixels.size() < needed) {
            err << "vardel-scene: " << map.file.string() << ": holds " << texture->pixels.size()
                << " pixels, fewer than " << map.width << " x " << map.height << "\n";
            return 1;
        }
        texture->width = map.width;
        texture->height = map.height;
        const std::array<double, 2> extent = mappedExtent(*object, map.rotation);
        object->applyPlanarMapping(*texture, map.rotation,
                                   {extent[0] / map.width * kMapMargin, extent[1] / map.height * kMapMargin});
        textures.push_back(std::move(texture));
    }

    std::vector<std::uint32_t> frame(static_cast<std::size_t>(kWidth * kHeight));
    scene->target = frame.data();
    for (double time : options.times) {
        std::fill(frame.begin(), frame.end(), 0u);
        render(*scene, time);
        const std::string path = options.outPrefix + "-" + timeLabel(time) + ".png";
        if (!writePng(path, frame.data(), kWidth, kHeight, 0, &error)) {
            err << "vardel-scene: " << error << "\n";
            return 1;
        }
        out << path << "\n";
    }
    return 0;
}

} // namespace vardel

// Object reader on arbitrary bytes: must accept or reject with a reason, never misbehave.

#include <cstdint>
#include <cstdlib>

#include "scene/SceneObject.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vardel::SceneObject object;
    std::string reason;
    if (object.loadObjectBytes({data, size}, "fuzz.lwo", &reason)) {
        // Every stored index must address a point.
        for (const vardel::Polygon& polygon : object.polygons) {
            for (int v = 0; v < (polygon.isLine() ? 2 : 3); ++v) {
                if (polygon.vertex[v] < 0 || polygon.vertex[v] >= object.pointCount) {
                    std::abort();
                }
            }
        }
    } else if (reason.empty()) {
        std::abort();
    }
    return 0;
}
